#pragma once
// Binds dialog controls to fields of the DialState. A field may be shown by several
// controls on different pages; a change in one writes the field at once and moves all the
// others. Number fields are written only after their range check passed.
//
// Controls also carry the number of their caption text (property "resourceTag"), so that
// ApplyResourceCaptions re-captions a whole window in one pass after a language switch.

#include "state/dial_state.h"
#include "text/field_readers.h"
#include "ui/line_edit_field.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace zorva {

class NumberKeyFilter;
class UserDialogs;

// An integer view of one field: choices, flags and digit characters all map to int.
struct IntAccess {
    std::function<int(const DialState&)> get;
    std::function<void(DialState&, int)> set;
    // The storage in the state, so that controls of the same field find each other
    // even through different views of it.
    std::function<const void*(const DialState&)> storage;
};
IntAccess flagField(bool DialState::*field);
IntAccess intField(int DialState::*field);
// A field kept as a digit character ('0'..'9'); the int is the digit's value.
IntAccess digitField(char DialState::*field);

// How a number field is read when it is left, on RETURN and in the close check.
enum class NumberCheck {
    Real,         // any real
    RealRange,    // real within [lower, upper], range message
    IntRange,     // integer within [lower, upper], range message (decimals rejected)
    Declination,  // |v| <= 180, own message; exactly +-180 is kept as 179.9999
    Inclination,  // 0 < v <= 175, own message with the hint to the horizontal dial
    Percent,      // -100 .. 200 percent, own message
};

struct NumberAccess {
    std::function<double(const DialState&)> get;  // the value as shown in the field
    std::function<void(DialState&, double)> set;  // store a value entered in the field
    std::function<const void*(const DialState&)> storage;
};
NumberAccess realField(double DialState::*field);
NumberAccess integerField(int DialState::*field);

struct NumberSpec {
    NumberCheck check = NumberCheck::Real;
    double lower = 0;
    double upper = 0;
    int decimals = 2;          // shown decimals of a real
    QLabel* nameLabel = nullptr;  // its caption names the value in messages
    QString name;              // used when there is no label
};

inline NumberSpec NumberRule(NumberCheck check, double lower = 0, double upper = 0, int decimals = 2) {
    NumberSpec s;
    s.check = check;
    s.lower = lower;
    s.upper = upper;
    s.decimals = decimals;
    return s;
}

class FieldBindings : public QObject {
    Q_OBJECT
public:
    FieldBindings(DialState& state, UserDialogs& dialogs, QObject* parent = nullptr);

    // A check box: checked exactly when the field holds `onValue`; ticking stores `onValue`,
    // unticking stores `offValue` (only while the field still holds `onValue`, so that a
    // box standing for one value of a multi-valued field does not undo another choice).
    void bindCheck(QAbstractButton* box, IntAccess access, int onValue = 1, int offValue = 0);
    // A pick list or radio group: item i stores values[i]; without values, item i stores i.
    // A field value no item stands for selects nothing (radio) or the nearest item (list),
    // without writing the field.
    void bindList(QComboBox* list, IntAccess access, QVector<int> values = {});
    void bindRadio(QButtonGroup* group, IntAccess access, QVector<int> values = {});
    void bindNumber(QLineEdit* edit, NumberAccess access, NumberSpec rule);

    // Puts every control in line with the state (after the state changed from outside).
    void refreshAll();
    // Reads one number field into `target` with its check and messages. False when it
    // was rejected; `target` is then unchanged.
    bool readNumber(QLineEdit* edit, DialState& target);
    // The number fields among the descendants of `root` that are shown there.
    QVector<QLineEdit*> numberFieldsIn(const QWidget* root) const;
    // The text a field shows for a value of the state.
    QString numberText(QLineEdit* edit, const DialState& s) const;

    DialState& state() { return state_; }
    Language language() const { return state_.language; }

signals:
    // After a control wrote its field; `storage` identifies the field.
    void fieldWritten(const void* storage);

private:
    enum class Kind { Check, List, Radio, Number };
    struct Control {
        Kind kind = Kind::Check;
        QObject* object = nullptr;
        IntAccess access{};
        int onValue = 1;
        int offValue = 0;
        QVector<int> values{};
        NumberAccess number{};
        NumberSpec rule{};
    };

    // Adds a control and puts it in line with the state.
    void add(Control c);
    // The user chose item `index` of a pick list or radio group.
    void choose(QObject* control, int index);
    void write(Control& c, int value);
    void refreshControl(const Control& c);
    void refreshStorage(const void* storage);
    Control* find(QObject* object);
    QString valueName(const Control& c) const;
    bool readInto(Control& c, DialState& target);

    DialState& state_;
    UserDialogs& dialogs_;
    std::vector<Control> controls_;
    bool refreshing_ = false;
    bool reading_ = false;  // a message box of a reader must not start a second read
    NumberKeyFilter* keys_ = nullptr;
};

// Tags a control with the number of its caption text.
void setResourceTag(QObject* widget, int resourceNumber);
// Tags a pick list whose items are the string resources first .. first + count - 1.
void setItemTags(QComboBox* list, int first, int count);
// Re-captions every tagged descendant of `root` (buttons, labels, group boxes, pick lists,
// tab pages tagged through their page widget) in the given language.
void ApplyResourceCaptions(QWidget* root, Language lang);

}  // namespace zorva
