#include "help/help_system.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

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

}  // namespace

QString HelpFilePath(Language lang) {
    return lang == Language::English ? QStringLiteral(":/help/zorva_e.html") : QStringLiteral(":/help/zorva_d.html");
}

bool HelpFileExists(Language lang) {
    EnsureResources();
    return QFile::exists(HelpFilePath(lang));
}

QUrl HelpTopicUrl(Language lang, int topic) {
    EnsureResources();
    QUrl url(QStringLiteral("qrc") + HelpFilePath(lang));
    QFile page(HelpFilePath(lang));
    const QString anchor = QStringLiteral("topic%1").arg(topic);
    if (page.open(QIODevice::ReadOnly) &&
        QString::fromUtf8(page.readAll()).contains(QStringLiteral("name=\"") + anchor + QLatin1Char('"')))
        url.setFragment(anchor);
    else
        url.setFragment(QStringLiteral("topic%1").arg(kHelpContentsTopic));
    return url;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(false);
    resize(640, 560);
}

void HelpWindow::showTopic(Language lang, int topic) {
    const QUrl url = HelpTopicUrl(lang, topic);
    browser_->setSource(url);
    browser_->scrollToAnchor(url.fragment());
    setWindowTitle(browser_->documentTitle());
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::currentUrl() const { return browser_->source(); }

}  // namespace zorva
