// A rejected field takes the focus back: by default once more after the event that checked it
// (a click moving the focus on must not take it away), or only at once for windows that put
// the focus back themselves.
#include "ui/line_edit_field.h"

#include "ui_test_support.h"

#include <QLineEdit>

namespace zorva::test {
namespace {

class LineEditFieldFocus : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        Settle();
    }
    QWidget window;
    QLineEdit* rejected = new QLineEdit(QStringLiteral("181"), &window);
    QLineEdit* next = new QLineEdit(&window);
};

TEST_F(LineEditFieldFocus, AfterTheEventTheFieldWinsOverAFocusChangeInProgress) {
    LineEditField(rejected).setFocus();
    EXPECT_TRUE(rejected->hasFocus());
    next->setFocus();  // the click that left the field goes on
    EXPECT_TRUE(WaitFor([&] { return rejected->hasFocus(); }));
    EXPECT_EQ(rejected->selectedText(), QStringLiteral("181"));
}

TEST_F(LineEditFieldFocus, AtOnceLeavesTheRestToTheWindow) {
    LineEditField(rejected, LineEditField::Refocus::AtOnce).setFocus();
    EXPECT_TRUE(rejected->hasFocus());
    next->setFocus();
    Settle();
    EXPECT_TRUE(next->hasFocus());
    EXPECT_FALSE(rejected->hasSelectedText());
}

}  // namespace
}  // namespace zorva::test
