// Every text a user can meet — menus, windows, pages, buttons, lists, tooltips, status hints and
// messages — in the chosen language only. The walk opens each window for each dial kind in each
// language and looks for giveaway words of the other language.
#include "ui_test_support.h"

#include "text/texts.h"
#include "ui/colour_palette.h"
#include "ui/qt_translations.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <map>
#include <set>

namespace zorva::test {
namespace {

// Words that give a text away as German, and as English. Words that both languages use
// (Hidokai, Habermel, Gunter, HPGL, DXF, Info, Format, Plot, Graph, Jan, Feb) are in neither list.
const std::set<QString>& GermanWords() {
    static const std::set<QString> words = {
        "und", "der", "die", "das", "mit", "für", "nicht", "ist", "ein", "aus", "auf", "pro", "bis", "von",
        "Datei", "speichern", "Speichern", "laden", "Laden", "Schliessen", "Schließen", "Abbruch", "Abbrechen",
        "Sonnenuhr", "Breite", "Länge", "Jahr", "Monat", "Tag", "Zeitgleichung", "Drucken", "Hilfe", "Zeichnung",
        "Datum", "Höhe", "Fehler", "Ortszeit", "Zonenzeit", "Stunden", "Grad", "Minuten", "Sekunden", "Nord",
        "Süd", "Ost", "Weiter", "Nächstes", "Teil", "Tabelle", "Grafik", "Farben", "Sonne", "Mär",
        "Mrz", "Mai", "Okt", "Dez", "März", "Juni", "Juli", "Januar", "Jänner", "Februar", "Oktober", "Dezember",
        "Achtung", "Warnung", "Frage", "Ja", "Nein", "Zeige", "Datumslinien", "Wandabweichung", "Azimut"};
    return words;
}

const std::set<QString>& EnglishWords() {
    static const std::set<QString> words = {
        "the", "and", "of", "to", "with", "per", "for", "on", "is", "not", "save", "Save", "Print", "print",
        "Colors", "Colours", "Photo", "Gallery", "choose", "select", "File", "file", "saved", "Include", "Dial",
        "Sundial", "sundial", "vertical", "Close", "Cancel", "Load", "Next", "Help", "Yes", "No", "Mar", "May",
        "Oct", "Dec", "March", "June", "July", "December", "Error", "Latitude", "Longitude", "Year", "Month",
        "Day", "Time", "Height", "Width", "lines", "hours", "Table", "Sun", "sun", "Equation",
        "Declination", "Settings", "Drawing", "Hour", "Date", "Dates", "below", "horizon", "found", "Attention",
        "Warning", "Question", "Step", "Part", "Azimuth", "azimuth"};
    return words;
}

QString plain(QString text) {
    if (Qt::mightBeRichText(text)) text = QTextDocumentFragment::fromHtml(text).toPlainText();
    return text.remove(QLatin1Char('&'));
}

// The first giveaway word of the other language in `text`, or empty.
QString Giveaway(const QString& text, Language lang) {
    const std::set<QString>& foreign = lang == Language::German ? EnglishWords() : GermanWords();
    static const QRegularExpression nonLetters(QStringLiteral("[^\\p{L}]+"));
    const QString clean = plain(text);
    for (const QString& word : clean.split(nonLetters, Qt::SkipEmptyParts))
        if (foreign.count(word)) return word;
    if (lang == Language::English) {
        for (QChar c : clean)
            if (QStringLiteral("äöüÄÖÜß").contains(c)) return QString(c);
    }
    return {};
}

// Collects every text of a widget tree, each with where it was found.
void CollectTexts(QWidget* root, std::map<QString, QString>& out) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        const QString where = QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
        auto add = [&](const QString& text, const char* what) {
            if (!text.trimmed().isEmpty()) out.emplace(text, where + QLatin1Char(' ') + QLatin1String(what));
        };
        add(w->windowTitle(), "title");
        add(w->toolTip(), "tooltip");
        add(w->statusTip(), "status hint");
        add(w->whatsThis(), "what's this");
        if (auto* b = qobject_cast<QAbstractButton*>(w)) add(b->text(), "text");
        if (auto* l = qobject_cast<QLabel*>(w)) add(l->text(), "text");
        if (auto* g = qobject_cast<QGroupBox*>(w)) add(g->title(), "title");
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) add(c->itemText(i), "item");
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) add(t->tabText(i), "tab");
        if (auto* e = qobject_cast<QTextEdit*>(w)) add(e->toPlainText(), "content");
        if (auto* e = qobject_cast<QPlainTextEdit*>(w)) add(e->toPlainText(), "content");
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model()) {
            const QAbstractItemModel* m = v->model();
            for (int r = 0; r < m->rowCount(); ++r)
                for (int c = 0; c < m->columnCount(); ++c) add(m->index(r, c).data().toString(), "cell");
            for (int c = 0; c < m->columnCount(); ++c) add(m->headerData(c, Qt::Horizontal).toString(), "header");
        }
        for (QAction* a : w->actions()) {
            add(a->text(), "action");
            add(a->toolTip() == QString(a->text()).remove(QLatin1Char('&')) ? QString() : a->toolTip(), "action tip");
            add(a->statusTip(), "action status hint");
        }
    }
}

class LanguageWalkTest : public UiTest, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override {
        state.showHints = true;
        UiTest::SetUp();
        window->setLanguage(GetParam());
        dialogs.answerAll = false;
    }
    void collectAll() {
        CollectTexts(window.get(), texts);
        if (ChildWindow* c = window->activeChild()) {
            if (auto* sub = qobject_cast<QMdiSubWindow*>(c->parentWidget())) CollectTexts(sub, texts);
        }
        for (QMenu* m : window->findChildren<QMenu*>()) CollectTexts(m, texts);
        CollectTexts(window->popupMenu(), texts);
        texts.emplace(window->statusBar()->currentMessage(), "status bar");
    }
    void open(ChildKind kind, OpenRequest request = {}) {
        ASSERT_NE(window->openChild(kind, request), nullptr) << int(kind);
        Settle();
        collectAll();
    }
    void expectOneLanguage() {
        const Language lang = GetParam();
        for (const DialogEvent& e : dialogs.events) {
            texts.emplace(e.caption, "message caption");
            texts.emplace(e.text, "message");
        }
        int faults = 0;
        for (const auto& [text, where] : texts) {
            const QString word = Giveaway(text, lang);
            if (word.isEmpty()) continue;
            ADD_FAILURE() << where.toStdString() << ": \"" << text.toStdString() << "\" has \"" << word.toStdString()
                          << "\"";
            if (++faults > 200) break;
        }
    }
    std::map<QString, QString> texts;
};

TEST_P(LanguageWalkTest, EveryWindowSpeaksOneLanguage) {
    collectAll();
    // The calculation windows in each mode, the tables and both graphs.
    for (int mode : {1, 2, 4, 8}) open(ChildKind::CalculationWindow, OpenRequest{mode, 0});
    for (OpenRequest r : {OpenRequest{1, 0}, OpenRequest{8, 0}, OpenRequest{8, 2}, OpenRequest{8, 3},
                          OpenRequest{16, 0}, OpenRequest{32, 0}})
        open(ChildKind::TableWindow, r);
    open(ChildKind::SiteDialog);
    window->closeAllChildren();
    // Each dial kind: its page of the type dialog with every choice, its parameters and its drawing.
    open(ChildKind::TypeDialog);
    const int kinds = static_cast<int>(window->activeChild()->findChildren<QRadioButton*>(
                                           QRegularExpression(QStringLiteral("^item\\d+$"))).size());
    ASSERT_GT(kinds, 10);
    for (int i = 0; i < kinds; ++i) {
        if (!window->activeChild() || window->activeChild()->kind() != ChildKind::TypeDialog)
            open(ChildKind::TypeDialog);
        click(QStringLiteral("item%1").arg(i));
        collectAll();
        for (const char* group : {"umbrellaPlane", "cylinderKind", "quadrantKind", "azimuthKind"}) {
            for (int k = 0; k < 3; ++k) {
                auto* b = find<QRadioButton>(QString::fromLatin1(group) + QString::number(k));
                if (!b || !b->isVisible()) continue;
                click(b->objectName());
                collectAll();
            }
        }
        dialogs.answers.clear();
        click(QStringLiteral("closeButton"));
        Settle();
        if (window->activeChild()) {  // a value out of range: leave the kind as it was
            window->cancelWizard();
            continue;
        }
        open(ChildKind::ParameterDialog);
        open(ChildKind::DrawingWindow);
        window->closeAllChildren();
    }
    window->showColourPalette();
    Settle();
    ASSERT_NE(window->colourPalette(), nullptr);
    CollectTexts(static_cast<QWidget*>(window->colourPalette()), texts);
    window->toggleExpertMode();
    window->toggleExpertMode();
    window->toggleMapOverlay();
    window->toggleMapOverlay();
    // The walk saw the windows it claims to check: the status hints of the dialogs, the pages
    // of the parameter dialog and the date-line buttons are among the texts.
    const Language lang = GetParam();
    for (int tag : {601, 621, 283, 341, 347, 636, 906}) {
        bool seen = false;
        for (const auto& [text, where] : texts) seen = seen || text == resourceText(tag, lang);
        EXPECT_TRUE(seen) << tag << " " << resourceText(tag, lang).toStdString();
    }
    EXPECT_GT(texts.size(), 400u);
    expectOneLanguage();
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguageWalkTest, ::testing::Values(Language::German, Language::English),
                         [](const auto& info) { return info.param == Language::German ? "German" : "English"; });

// The giveaway check itself: it must notice a foreign word and leave the own language alone.
TEST(LanguageGiveaway, FindsForeignWordsOnly) {
    EXPECT_EQ(Giveaway(QStringLiteral("Datei hor.plt gespeichert!"), Language::German), QString());
    EXPECT_EQ(Giveaway(QStringLiteral("File hor.plt saved!"), Language::German), QStringLiteral("File"));
    EXPECT_EQ(Giveaway(QStringLiteral("&Print"), Language::German), QStringLiteral("Print"));
    EXPECT_EQ(Giveaway(QStringLiteral("21. März"), Language::English), QStringLiteral("März"));
    EXPECT_EQ(Giveaway(QStringLiteral("<b>Mai</b>"), Language::English), QStringLiteral("Mai"));
    EXPECT_EQ(Giveaway(QStringLiteral("Größe"), Language::English), QStringLiteral("ö"));
    EXPECT_EQ(Giveaway(QStringLiteral("21 March"), Language::English), QString());
}

// Qt's own buttons (Yes/No/Cancel of every question) follow the program's language.
TEST_F(UiTest, QtButtonsFollowTheLanguage) {
    if (window->qtTranslations().germanFile().isEmpty()) GTEST_SKIP() << "Qt's German translation is not installed";
    window->setLanguage(Language::German);
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ja"));
        EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nein"));
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Abbrechen"));
    }
    QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
    Settle();
    ASSERT_EQ(state.language, Language::English);
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("?"), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Yes"));
}

TEST(QtTranslationsFile, MissingFileKeepsQtEnglishAndWorks) {
    QtTranslations missing({QStringLiteral("/nonexistent-folder")});
    EXPECT_TRUE(missing.germanFile().isEmpty());
    EXPECT_FALSE(missing.apply(Language::German));
    EXPECT_TRUE(missing.apply(Language::English));
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("?"), QMessageBox::Yes);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Yes"));
}

}  // namespace
}  // namespace zorva::test
