#include "ui/line_edit_field.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace zorva {

QString LineEditField::text() const { return edit_->text(); }

void LineEditField::setText(const QString& text) { edit_->setText(text); }

void LineEditField::setFocus() {
    QPointer<QLineEdit> edit = edit_;
    edit->setFocus(Qt::OtherFocusReason);
    if (refocus_ == Refocus::AtOnce) return;
    QTimer::singleShot(0, edit, [edit] {
        if (edit && edit->isVisible()) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    });
}

NumberKeyFilter::NumberKeyFilter(Allowed allowed, QWidget* enterTarget, QObject* parent)
    : QObject(parent), allowed_(allowed), enterTarget_(enterTarget), hasEnterTarget_(enterTarget != nullptr) {}

void NumberKeyFilter::install(QLineEdit* edit) { edit->installEventFilter(this); }

bool NumberKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (!hasEnterTarget_) return false;
        if (enterTarget_) enterTarget_->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;  // shortcuts, copy/paste
    const QString text = key->text();
    if (text.isEmpty()) return false;  // navigation, Backspace, Delete, function keys
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) continue;
        if (allowed_ != Allowed::Digits && (c == QLatin1Char('-') || c == QLatin1Char('.'))) continue;
        if (allowed_ == Allowed::AnyReal && (c == QLatin1Char('+') || c == QLatin1Char(','))) continue;
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) continue;  // control characters
        return true;
    }
    return false;
}

}  // namespace zorva
