#pragma once
// Binds the field readers to a QLineEdit, and the key rules of the number fields.

#include "text/field_readers.h"

#include <QObject>
#include <QPointer>

class QLineEdit;
class QWidget;

namespace zorva {

class LineEditField : public EditField {
public:
    // How a rejected field gets the focus back. AfterEvent: once more when the event that
    // triggered the check has been handled, with its text selected, so that a message box or
    // a focus change in progress cannot take it away again. AtOnce: only now (for windows
    // that put the focus back themselves after the check).
    enum class Refocus { AfterEvent, AtOnce };
    explicit LineEditField(QLineEdit* edit, Refocus refocus = Refocus::AfterEvent) : edit_(edit), refocus_(refocus) {}
    QString text() const override;
    void setText(const QString& text) override;
    void setFocus() override;

private:
    QLineEdit* edit_;
    Refocus refocus_;
};

// Typed characters other than the allowed ones are dropped; Return/Enter moves the focus
// to `enterTarget` (the dialog's close button).
class NumberKeyFilter : public QObject {
    Q_OBJECT
public:
    // SignedReal: digits, "-" and "."; AnyReal also "+" and the decimal comma.
    enum class Allowed { Digits, SignedReal, AnyReal };
    // `enterTarget` null: RETURN stays with the field (it confirms the entry there).
    NumberKeyFilter(Allowed allowed, QWidget* enterTarget, QObject* parent);
    void install(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Allowed allowed_;
    QPointer<QWidget> enterTarget_;
    bool hasEnterTarget_ = false;
};

}  // namespace zorva
