// The help pages: every topic a window opens lands on a page with its anchor in both
// languages, links and pictures inside the pages resolve, the search finds what the
// program's messages send the user to look for, and a topic without a page shows the contents.

#include "help/help_system.h"

#include "ui_test_support.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocumentFragment>

#include <set>

namespace zorva {
namespace {

constexpr Language kLanguages[] = {Language::German, Language::English};

QString Page(Language lang, const QString& name) {
    QFile f(HelpPagePath(lang, name));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool HasAnchor(const QString& html, const QString& anchor) {
    return html.contains(QStringLiteral("name=\"") + anchor + QLatin1Char('"'));
}

// The topic numbers the windows really open: every menu command that opens a window, and the
// parameter dialog for every kind of dial.
class HelpTopicsOfWindows : public test::UiTest {
protected:
    int topicAfter(MenuEntry entry) {
        window->closeAllChildren();
        test::Settle();
        window->action(entry)->trigger();
        test::Settle();
        ChildWindow* child = window->activeChild();
        return child ? child->helpTopic() : -1;
    }
};

TEST_F(HelpTopicsOfWindows, EveryTopicAWindowOpensHasAFilledPageWithItsAnchorInBothLanguages) {
    state.expertMode = true;
    std::set<int> topics{kHelpContentsTopic};
    for (MenuEntry e : {MenuEntry::Site, MenuEntry::Type, MenuEntry::Drawing, MenuEntry::RiseSet,
                        MenuEntry::SunPosition, MenuEntry::TimeForPosition, MenuEntry::EotDeclination,
                        MenuEntry::TableRiseSet, MenuEntry::TableEot, MenuEntry::TableDeclination,
                        MenuEntry::TableNoon, MenuEntry::GraphSunPosition, MenuEntry::GraphEot})
        topics.insert(topicAfter(e));
    struct Kind {
        char letter;
        bool umbrella;
        int quadrant, cylinder;
    };
    for (const Kind k : {Kind{'h', false, 0, 0}, Kind{'v', true, 0, 0}, Kind{'q', false, 0, 0}, Kind{'q', false, 1, 0},
                         Kind{'q', false, 2, 0}, Kind{'z', false, 0, 0}, Kind{'z', false, 0, 1}, Kind{'z', false, 0, 2},
                         Kind{'k', false, 0, 0}, Kind{'r', false, 0, 0}, Kind{'a', false, 0, 0}, Kind{'c', false, 0, 0},
                         Kind{'m', false, 0, 0}}) {
        state.dialType = k.letter;
        state.umbrellaDial = k.umbrella;
        state.quadrantKind = k.quadrant;
        state.cylinderKind = k.cylinder;
        topics.insert(topicAfter(MenuEntry::Parameters));
    }
    window->closeAllChildren();
    EXPECT_EQ(topics.count(-1), 0u) << "a menu command opened no window";
    // The calculation windows have a topic per mode; one shared number would hide that.
    EXPECT_GE(topics.size(), 25u);

    for (int topic : topics) {
        const QString name = HelpPageName(topic);
        EXPECT_FALSE(name.isEmpty()) << "no page for topic " << topic;
        for (Language lang : kLanguages) {
            const QUrl url = HelpTopicUrl(lang, topic);
            EXPECT_EQ(url.fragment(), QStringLiteral("topic%1").arg(topic)) << url.toString().toStdString();
            const QString html = Page(lang, name);
            EXPECT_TRUE(HasAnchor(html, url.fragment())) << "anchor missing: " << url.toString().toStdString();
            // Short stubs do not teach anything.
            EXPECT_GT(QTextDocumentFragment::fromHtml(html).toPlainText().simplified().size(), 400)
                << url.toString().toStdString();
        }
    }
}

TEST(HelpPages, EveryListedPageExistsInBothLanguagesWithTitleAndTopicAnchors) {
    const QList<HelpPage>& pages = HelpPages();
    ASSERT_GE(pages.size(), 20);
    EXPECT_EQ(pages.front().topics, QList<int>{kHelpContentsTopic});
    std::set<int> seen;
    for (const HelpPage& page : pages) {
        for (int t : page.topics) EXPECT_TRUE(seen.insert(t).second) << "topic " << t << " on two pages";
        for (Language lang : kLanguages) {
            const QString html = Page(lang, page.name);
            ASSERT_FALSE(html.isEmpty()) << HelpPagePath(lang, page.name).toStdString();
            EXPECT_NE(HelpPageTitle(lang, page.name), page.name) << page.name.toStdString();
            for (int t : page.topics)
                EXPECT_TRUE(HasAnchor(html, QStringLiteral("topic%1").arg(t))) << page.name.toStdString() << " " << t;
        }
    }
    // German and English titles differ: a page copied without translation shows.
    int same = 0;
    for (const HelpPage& page : pages)
        same += HelpPageTitle(Language::German, page.name) == HelpPageTitle(Language::English, page.name);
    EXPECT_LE(same, 2);
}

TEST(HelpPages, LinksAndPicturesInsideThePagesResolve) {
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    static const QRegularExpression img(QStringLiteral("<img src=\"([^\"]+)\""));
    int links = 0, pictures = 0;
    for (const HelpPage& page : HelpPages()) {
        for (Language lang : kLanguages) {
            const QString html = Page(lang, page.name);
            const QUrl base(QStringLiteral("qrc") + HelpPagePath(lang, page.name));
            for (auto it = href.globalMatch(html); it.hasNext();) {
                const QUrl target = base.resolved(QUrl(it.next().captured(1)));
                if (target.scheme() != QLatin1String("qrc")) continue;  // the web
                const QString path = QLatin1Char(':') + target.path();
                QFile f(path);
                ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << page.name.toStdString() << " -> " << path.toStdString();
                if (target.hasFragment()) {
                    EXPECT_TRUE(HasAnchor(QString::fromUtf8(f.readAll()), target.fragment()))
                        << page.name.toStdString() << " -> " << target.toString().toStdString();
                }
                ++links;
            }
            for (auto it = img.globalMatch(html); it.hasNext();) {
                const QString path = QLatin1Char(':') + base.resolved(QUrl(it.next().captured(1))).path();
                QImage picture(path);
                EXPECT_FALSE(picture.isNull()) << page.name.toStdString() << " -> " << path.toStdString();
                ++pictures;
            }
        }
    }
    EXPECT_GT(links, 40);
    EXPECT_GE(pictures, 16);  // the dials are shown by drawings of the program itself
}

TEST(HelpPages, TheSearchFindsWhatTheProgramsMessagesPointTo) {
    // Messages 33 and 35 send the user to the keyword "INI-Datei" / "INI-File".
    EXPECT_TRUE(SearchHelp(Language::German, QStringLiteral("INI-Datei")).contains(QStringLiteral("files")));
    EXPECT_TRUE(SearchHelp(Language::English, QStringLiteral("ini-file")).contains(QStringLiteral("files")));
    // "Zeigerhoehe beachten! (s. Hilfedatei)" on the azimuth dial: its page explains it.
    for (Language lang : kLanguages) {
        EXPECT_TRUE(HasAnchor(Page(lang, HelpPageName(18)), QStringLiteral("pointer")));
        EXPECT_TRUE(Page(lang, HelpPageName(18)).contains(QStringLiteral("r(h) · tan h")));
    }
    // All words must occur, in any case; nothing matches nonsense.
    const QStringList both = SearchHelp(Language::German, QStringLiteral("polstab WANDDEKLINATION"));
    EXPECT_TRUE(both.contains(QStringLiteral("planar")));
    EXPECT_FALSE(both.contains(QStringLiteral("tables")));
    EXPECT_TRUE(SearchHelp(Language::English, QStringLiteral("xyzzy-no-such-word")).isEmpty());
}

TEST(HelpWindowTest, AMissingTopicShowsTheContentsAndTheSearchFiltersTheList) {
    HelpWindow help;
    help.showTopic(Language::English, 4711);
    EXPECT_EQ(help.currentUrl(), HelpTopicUrl(Language::English, kHelpContentsTopic));
    EXPECT_GT(help.currentText().size(), 400);
    EXPECT_FALSE(help.windowTitle().isEmpty());

    auto* list = help.findChild<QListWidget*>(QStringLiteral("helpContents"));
    auto* search = help.findChild<QLineEdit*>(QStringLiteral("helpSearch"));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(search, nullptr);
    ASSERT_EQ(list->count(), HelpPages().size());
    auto visible = [list] {
        int n = 0;
        for (int i = 0; i < list->count(); ++i) n += !list->item(i)->isHidden();
        return n;
    };
    search->setText(QStringLiteral("pointer height"));
    EXPECT_GE(visible(), 1);
    EXPECT_LT(visible(), list->count());
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(help.currentUrl().path(), QStringLiteral("/help/en/azimuth.html"));
    search->clear();
    EXPECT_EQ(visible(), list->count());

    // The window follows a change of language with its list too.
    help.showTopic(Language::German, 10);
    EXPECT_EQ(help.currentUrl().toString(), QStringLiteral("qrc:/help/de/planar.html#topic10"));
    EXPECT_EQ(list->item(0)->text(), HelpPageTitle(Language::German, HelpPages().front().name));
}

}  // namespace
}  // namespace zorva
