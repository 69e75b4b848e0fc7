// Controls bound to fields of the state: the value an item stands for is what is written,
// controls of one field move together, and putting a control in line with the state never
// writes the state back.
#include "ui/field_binding.h"

#include "state/dial_state.h"
#include "text/recording_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zorva::test {
namespace {

class FieldBindingTest : public ::testing::Test {
protected:
    QComboBox* list(int items) {
        auto* c = new QComboBox(&owner);
        for (int i = 0; i < items; ++i) c->addItem(QString::number(i));
        return c;
    }
    QButtonGroup* radios(int items) {
        auto* group = new QButtonGroup(&owner);
        for (int i = 0; i < items; ++i) group->addButton(new QRadioButton(&owner), i);
        return group;
    }
    // Counts the writes the bindings report.
    int writes() const { return written; }

    QWidget owner;
    DialState state;
    RecordingDialogs dialogs;
    FieldBindings bindings{state, dialogs};
    int written = 0;
    QMetaObject::Connection counter =
        QObject::connect(&bindings, &FieldBindings::fieldWritten, [this](const void*) { ++written; });
};

TEST_F(FieldBindingTest, ListsAndRadiosWriteTheValueTheirItemStandsFor) {
    state.dateLinesPerMonth = 2;
    QComboBox* perMonth = list(4);
    bindings.bindList(perMonth, intField(&DialState::dateLinesPerMonth), {1, 2, 3, 4});
    EXPECT_EQ(perMonth->currentIndex(), 1);
    perMonth->setCurrentIndex(3);
    EXPECT_EQ(state.dateLinesPerMonth, 4);

    // Values listed backwards: the first item stands for 1.
    state.outerLineArrangement = false;
    QButtonGroup* arrangement = radios(2);
    bindings.bindRadio(arrangement, flagField(&DialState::outerLineArrangement), {1, 0});
    EXPECT_EQ(arrangement->checkedId(), 1);
    arrangement->button(0)->click();
    EXPECT_TRUE(state.outerLineArrangement);

    // Without values an item stands for its place.
    state.timeSystem = 0;
    QButtonGroup* time = radios(3);
    bindings.bindRadio(time, intField(&DialState::timeSystem));
    time->button(2)->click();
    EXPECT_EQ(state.timeSystem, 2);
    QComboBox* from = list(25);
    bindings.bindList(from, intField(&DialState::hourFrom));
    from->setCurrentIndex(7);
    EXPECT_EQ(state.hourFrom, 7);
    EXPECT_EQ(writes(), 4);
}

TEST_F(FieldBindingTest, ControlsOfOneFieldMoveTogetherWithoutWritingItAgain) {
    state.timeSystem = 1;
    QButtonGroup* onOnePage = radios(2);
    QComboBox* onAnother = list(3);
    QCheckBox* zoneTime = new QCheckBox(&owner);
    bindings.bindRadio(onOnePage, intField(&DialState::timeSystem));
    bindings.bindList(onAnother, intField(&DialState::timeSystem));
    bindings.bindCheck(zoneTime, intField(&DialState::timeSystem), 1, 0);
    EXPECT_EQ(writes(), 0);  // binding shows the state, it does not write it
    EXPECT_EQ(onOnePage->checkedId(), 1);
    EXPECT_TRUE(zoneTime->isChecked());

    onOnePage->button(0)->click();
    EXPECT_EQ(state.timeSystem, 0);
    EXPECT_EQ(onAnother->currentIndex(), 0);
    EXPECT_FALSE(zoneTime->isChecked());
    EXPECT_EQ(writes(), 1);

    onAnother->setCurrentIndex(2);
    EXPECT_EQ(state.timeSystem, 2);
    // No radio item stands for 2: none is shown selected, and the state keeps its value.
    EXPECT_EQ(onOnePage->checkedId(), -1);
    EXPECT_EQ(writes(), 2);

    state.timeSystem = 1;
    bindings.refreshAll();
    EXPECT_EQ(onOnePage->checkedId(), 1);
    EXPECT_EQ(onAnother->currentIndex(), 1);
    EXPECT_TRUE(zoneTime->isChecked());
    EXPECT_EQ(state.timeSystem, 1);
    EXPECT_EQ(writes(), 2);
}

TEST_F(FieldBindingTest, AListShowsTheNearestItemForAValueBetweenItsOwn) {
    state.altitudeFrom = 33;  // the list offers 10, 20, ... 80 degrees
    QComboBox* from = list(8);
    bindings.bindList(from, intField(&DialState::altitudeFrom), {10, 20, 30, 40, 50, 60, 70, 80});
    EXPECT_EQ(from->currentIndex(), 2);
    EXPECT_EQ(state.altitudeFrom, 33);
    EXPECT_EQ(writes(), 0);
    from->setCurrentIndex(7);
    EXPECT_EQ(state.altitudeFrom, 80);
}

}  // namespace
}  // namespace zorva::test
