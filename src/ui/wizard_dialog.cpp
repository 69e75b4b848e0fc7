#include "ui/wizard_dialog.h"

#include "text/texts.h"
#include "ui/caption_tags.h"
#include "ui/resource_ids.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>

namespace zorva {

WizardDialog::WizardDialog(ChildKind kind, ChildHost& host, NumberKeyFilter::Allowed keys, QWidget* parent)
    : ChildWindow(kind, host, parent) {
    closeButton_ = new QPushButton(this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    closeButton_->setAutoDefault(true);
    cancelButton_ = new QPushButton(this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    SetCaptionTag(cancelButton_, res::kCancel);
    keys_ = new NumberKeyFilter(keys, closeButton_, this);
    connect(closeButton_, &QPushButton::clicked, this, &WizardDialog::closeClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &WizardDialog::cancelClicked);
}

QLineEdit* WizardDialog::newNumberEdit(const QString& name, int maxLength, int minWidth, int maxWidth) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    e->setMinimumWidth(minWidth);
    e->setMaximumWidth(maxWidth);
    keys_->install(e);
    e->installEventFilter(this);
    return e;
}

bool WizardDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) rejectedOnLeave_ = false;
    if (event->type() == QEvent::FocusOut && !checking_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A message box or a menu taking the focus is not the user leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            checking_ = true;
            rejectedOnLeave_ = !checkLeftField(watched);
            checking_ = false;
        }
    }
    return ChildWindow::eventFilter(watched, event);
}

void WizardDialog::captionWizardStep(int step, Language lang) {
    if (wizard_) {
        setWindowTitle(title(11, lang) + QString::number(step));
        closeButton_->setText(title(26, lang));
    } else {
        closeButton_->setText(resourceText(res::kClose, lang));
    }
}

void WizardDialog::closeClicked() {
    if (rejectedOnLeave_) {
        rejectedOnLeave_ = false;
        return;
    }
    wizardNext();
}

void WizardDialog::cancelClicked() { host().cancelWizard(); }

void WizardDialog::cancelByKey() {
    // Leaving a field on the way out is no entry to check.
    checking_ = true;
    ChildWindow::cancelByKey();
}

}  // namespace zorva
