#pragma once
// The help pages bundled with the program, one per language, a section per topic number,
// and the window that shows them.

#include "text/language.h"

#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace zorva {

inline constexpr int kHelpContentsTopic = 100;

// ":/help/zorva_d.html" or ":/help/zorva_e.html".
QString HelpFilePath(Language lang);
bool HelpFileExists(Language lang);
// The page of the language at the topic's anchor; the contents for a topic it lacks.
QUrl HelpTopicUrl(Language lang, int topic);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void showTopic(Language lang, int topic);
    QUrl currentUrl() const;

private:
    QTextBrowser* browser_;
};

}  // namespace zorva
