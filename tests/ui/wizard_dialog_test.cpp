// What the site and the type dialog do alike: a wrong entry left for the close button is
// reported once and keeps the dialog open; the next click closes it once the entry is right;
// Escape leaves a wrong entry behind without a word.
#include "ui_test_support.h"

#include <QPushButton>

namespace zorva::test {
namespace {

struct WizardCase {
    ChildKind kind;
    const char* field;
    const char* wrong;
    const char* right;
};
void PrintTo(const WizardCase& c, std::ostream* os) { *os << c.field << " = " << c.wrong; }

class WizardDialogTest : public UiTest, public ::testing::WithParamInterface<WizardCase> {
protected:
    void open() {
        state.dialType = 'v';  // the type dialog shows the wall's declination
        ASSERT_NE(window->openChild(GetParam().kind), nullptr);
        Settle();
    }
    bool isOpen() const { return window->childCount() == 1; }
};

TEST_P(WizardDialogTest, AWrongEntryLeftForTheCloseButtonIsReportedOnceAndKeepsTheDialog) {
    const WizardCase& c = GetParam();
    open();
    type(QString::fromLatin1(c.field), QString::fromLatin1(c.wrong));
    click(QStringLiteral("closeButton"));  // the click takes the focus from the field first
    Settle();
    EXPECT_TRUE(isOpen());
    EXPECT_EQ(dialogs.events.size(), 1u);

    type(QString::fromLatin1(c.field), QString::fromLatin1(c.right));
    click(QStringLiteral("closeButton"));
    Settle();
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(dialogs.events.size(), 1u);
}

TEST_P(WizardDialogTest, EscapeLeavesAWrongEntryUncheckedAndTheStateAsItWas) {
    const WizardCase& c = GetParam();
    const double latitude = state.latitude, declination = state.wallDeclination;
    open();
    type(QString::fromLatin1(c.field), QString::fromLatin1(c.wrong));
    QTest::keyClick(edit(QString::fromLatin1(c.field)), Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(dialogs.events.empty());
    EXPECT_DOUBLE_EQ(state.latitude, latitude);
    EXPECT_DOUBLE_EQ(state.wallDeclination, declination);
}

INSTANTIATE_TEST_SUITE_P(SiteAndType, WizardDialogTest,
                         ::testing::Values(WizardCase{ChildKind::SiteDialog, "latitudeDegrees", "95", "40"},
                                           WizardCase{ChildKind::TypeDialog, "wallDeclination", "181", "-45"}),
                         [](const auto& info) { return info.param.kind == ChildKind::SiteDialog ? "Site" : "Type"; });

}  // namespace
}  // namespace zorva::test
