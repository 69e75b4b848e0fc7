#pragma once
// Reading numbers from edit fields with range checks and bilingual messages.
// The logic works on the EditField interface so it can be tested without widgets;
// ui/ binds it to QLineEdit.

#include "text/language.h"

#include <QString>

namespace zorva {

class UserDialogs;

class EditField {
public:
    virtual ~EditField() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void setFocus() = 0;
};

// A field that is just a string, for tests and for zorva-cli.
class TextField : public EditField {
public:
    explicit TextField(QString t = {}) : value(std::move(t)) {}
    QString text() const override { return value; }
    void setText(const QString& t) override { value = t; }
    void setFocus() override { focused = true; }
    QString value;
    bool focused = false;
};

struct FieldReader {
    UserDialogs& dialogs;
    Language lang;

    // Empty field: shows the current value. Not a number: message 4, field cleared,
    // error set. Otherwise the value is stored.
    void readReal(EditField& edit, double& value, bool& error) const;
    // Keeps only + - . and digits (',' read as '.'); outside [lower, upper] the range
    // message names the value; on any error the value stays as it was.
    void readRealInRange(EditField& edit, double& value, const QString& name, bool& error,
                         double upper, double lower) const;
    enum class IntBox { OkCancel, RetryQuestion };
    // OkCancel: any answer sets error. RetryQuestion ("Nochmals eingeben?"): Yes sets error,
    // No clears it. The value is stored only when it is a valid integer inside the range.
    void readIntInRange(EditField& edit, int lower, int upper, bool& error, const QString& name,
                        int& value, IntBox box = IntBox::OkCancel) const;
};

}  // namespace zorva
