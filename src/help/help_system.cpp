#include "help/help_system.h"
#include "text/bilingual.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

#include <map>

static void InitHelpResources() { Q_INIT_RESOURCE(help); }

namespace zorva {
namespace {

// The pages live in a static library: its resources must be registered before the first use.
void EnsureResources() {
    static const bool done = [] {
        InitHelpResources();
        return true;
    }();
    (void)done;
}

QString Folder(Language lang) { return lang == Language::English ? QStringLiteral("en") : QStringLiteral("de"); }

QString ReadPage(Language lang, const QString& name) {
    EnsureResources();
    QFile file(HelpPagePath(lang, name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The plain text of every page of a language, read once: the search runs on every keystroke.
const std::map<QString, QString>& PlainTexts(Language lang) {
    static std::map<Language, std::map<QString, QString>> cache;
    auto& texts = cache[lang];
    if (texts.empty())
        for (const HelpPage& page : HelpPages())
            texts[page.name] = QTextDocumentFragment::fromHtml(ReadPage(lang, page.name)).toPlainText();
    return texts;
}

}  // namespace

const QList<HelpPage>& HelpPages() {
    static const QList<HelpPage> pages = [] {
        EnsureResources();
        QList<HelpPage> list;
        QFile file(QStringLiteral(":/help/pages.txt"));
        if (!file.open(QIODevice::ReadOnly)) return list;
        for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            const QString line = raw.section(QLatin1Char('#'), 0, 0).simplified();
            if (line.isEmpty()) continue;
            const QStringList words = line.split(QLatin1Char(' '));
            HelpPage page{words.front(), {}};
            for (qsizetype i = 1; i < words.size(); ++i) {
                bool ok = false;
                const int topic = words[i].toInt(&ok);
                if (ok) page.topics << topic;
            }
            list << page;
        }
        return list;
    }();
    return pages;
}

QString HelpPageName(int topic) {
    for (const HelpPage& page : HelpPages())
        if (page.topics.contains(topic)) return page.name;
    return {};
}

QString HelpPagePath(Language lang, const QString& name) {
    return QStringLiteral(":/help/") + Folder(lang) + QLatin1Char('/') + name + QStringLiteral(".html");
}

QString HelpFilePath(Language lang) {
    const QList<HelpPage>& pages = HelpPages();
    return HelpPagePath(lang, pages.isEmpty() ? QStringLiteral("overview") : pages.front().name);
}

bool HelpFileExists(Language lang) {
    EnsureResources();
    return QFile::exists(HelpFilePath(lang));
}

QUrl HelpTopicUrl(Language lang, int topic) {
    EnsureResources();
    QString name = HelpPageName(topic);
    if (name.isEmpty() || !QFile::exists(HelpPagePath(lang, name))) {
        name = HelpPageName(kHelpContentsTopic);
        topic = kHelpContentsTopic;
    }
    QUrl url(QStringLiteral("qrc") + HelpPagePath(lang, name));
    url.setFragment(QStringLiteral("topic%1").arg(topic));
    return url;
}

QString HelpPageTitle(Language lang, const QString& name) {
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = title.match(ReadPage(lang, name));
    const QString text = m.hasMatch() ? QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText().simplified() : QString();
    return text.isEmpty() ? name : text;
}

QStringList SearchHelp(Language lang, const QString& query) {
    const QStringList words = query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList found;
    const auto& texts = PlainTexts(lang);
    for (const HelpPage& page : HelpPages()) {
        const auto it = texts.find(page.name);
        if (it == texts.end() || it->second.isEmpty()) continue;
        bool all = true;
        for (const QString& w : words) all = all && it->second.contains(w, Qt::CaseInsensitive);
        if (all) found << page.name;
    }
    return found;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      search_(new QLineEdit),
      contents_(new QListWidget),
      browser_(new QTextBrowser),
      back_(new QPushButton),
      home_(new QPushButton),
      searchLabel_(new QLabel) {
    setObjectName(QStringLiteral("helpWindow"));
    search_->setObjectName(QStringLiteral("helpSearch"));
    search_->setClearButtonEnabled(true);
    contents_->setObjectName(QStringLiteral("helpContents"));
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    searchLabel_->setBuddy(search_);

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(home_);
    sideLayout->addLayout(buttons);
    sideLayout->addWidget(searchLabel_);
    sideLayout->addWidget(search_);
    sideLayout->addWidget(contents_, 1);

    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 620});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    connect(search_, &QLineEdit::textChanged, this, &HelpWindow::filterContents);
    connect(search_, &QLineEdit::returnPressed, this, &HelpWindow::openFirstMatch);
    connect(contents_, &QListWidget::itemActivated, this, &HelpWindow::openListedPage);
    connect(contents_, &QListWidget::itemClicked, this, &HelpWindow::openListedPage);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(home_, &QPushButton::clicked, this, [this] { browser_->setSource(HelpTopicUrl(language_, kHelpContentsTopic)); });
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(browser_->documentTitle()); });
    back_->setEnabled(false);
    resize(860, 600);
}

void HelpWindow::setLanguage(Language lang) {
    if (languageSet_ && lang == language_) return;
    language_ = lang;
    languageSet_ = true;
    back_->setText(Tr(lang, "< Zurück", "< Back"));
    home_->setText(Tr(lang, "Inhalt", "Contents"));
    searchLabel_->setText(Tr(lang, "&Suchen:", "&Search:"));
    contents_->clear();
    for (const HelpPage& page : HelpPages()) {
        if (!QFile::exists(HelpPagePath(lang, page.name))) continue;
        auto* item = new QListWidgetItem(HelpPageTitle(lang, page.name), contents_);
        item->setData(Qt::UserRole, page.name);
    }
    filterContents(search_->text());
}

void HelpWindow::filterContents(const QString& query) {
    const QStringList found = query.trimmed().isEmpty() ? QStringList() : SearchHelp(language_, query);
    for (int i = 0; i < contents_->count(); ++i) {
        QListWidgetItem* item = contents_->item(i);
        item->setHidden(!query.trimmed().isEmpty() && !found.contains(item->data(Qt::UserRole).toString()));
    }
}

void HelpWindow::openListedPage() {
    QListWidgetItem* item = contents_->currentItem();
    if (!item) return;
    browser_->setSource(QUrl(QStringLiteral("qrc") + HelpPagePath(language_, item->data(Qt::UserRole).toString())));
    // A search marks its first word on the page.
    const QString first = search_->text().simplified().section(QLatin1Char(' '), 0, 0);
    if (!first.isEmpty()) browser_->find(first);
}

void HelpWindow::openFirstMatch() {
    for (int i = 0; i < contents_->count(); ++i) {
        if (contents_->item(i)->isHidden()) continue;
        contents_->setCurrentRow(i);
        openListedPage();
        return;
    }
}

void HelpWindow::showTopic(Language lang, int topic) {
    setLanguage(lang);
    const QUrl url = HelpTopicUrl(lang, topic);
    browser_->setSource(url);
    browser_->scrollToAnchor(url.fragment());
    const QString name = url.path().section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    for (int i = 0; i < contents_->count(); ++i)
        if (contents_->item(i)->data(Qt::UserRole).toString() == name) contents_->setCurrentRow(i);
    setWindowTitle(browser_->documentTitle());
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::currentUrl() const { return browser_->source(); }

QString HelpWindow::currentText() const { return browser_->toPlainText(); }

}  // namespace zorva
