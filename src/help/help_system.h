#pragma once
// The help pages bundled with the program: one HTML page per topic and language, listed in
// ":/help/pages.txt" with the topic numbers the windows open on each; the window that shows
// them with a list of contents and a search field.

#include "text/language.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace zorva {

inline constexpr int kHelpContentsTopic = 100;

struct HelpPage {
    QString name;       // file name without ".html" in the language's folder
    QList<int> topics;  // topic numbers that open this page
};

// The pages in the order of the contents; the first is the contents page.
const QList<HelpPage>& HelpPages();
// The page a topic number opens; empty when no page carries it.
QString HelpPageName(int topic);
// ":/help/de/NAME.html" or ":/help/en/NAME.html".
QString HelpPagePath(Language lang, const QString& name);
// The contents page of the language, whose presence tells that the help is there at all.
QString HelpFilePath(Language lang);
bool HelpFileExists(Language lang);
// The page of the topic at the topic's anchor ("topicN"); the contents page for a topic
// without a page, or whose page is missing in the language.
QUrl HelpTopicUrl(Language lang, int topic);
// The page's title (its <title>), the page name when it has none.
QString HelpPageTitle(Language lang, const QString& name);
// Names of the pages of the language whose text holds every word of `query` (any case),
// in contents order.
QStringList SearchHelp(Language lang, const QString& query);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void showTopic(Language lang, int topic);
    QUrl currentUrl() const;
    // The text shown, without markup.
    QString currentText() const;

private:
    void setLanguage(Language lang);
    void filterContents(const QString& query);
    void openListedPage();
    void openFirstMatch();

    Language language_ = Language::German;
    bool languageSet_ = false;
    QLineEdit* search_;
    QListWidget* contents_;
    QTextBrowser* browser_;
    QPushButton* back_;
    QPushButton* home_;
    QLabel* searchLabel_;
};

}  // namespace zorva
