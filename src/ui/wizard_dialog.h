#pragma once
// The base of the wizard's entry dialogs (site and year, dial type): their close and cancel
// buttons, the key rules of their number fields, and the check of a field the user leaves.
// A field that rejected its entry as the user left it for the close button keeps the dialog
// open: that click is not a request to close (a message box would have swallowed it).

#include "ui/child_window.h"
#include "ui/line_edit_field.h"

class QLineEdit;
class QPushButton;

namespace zorva {

class WizardDialog : public ChildWindow {
    Q_OBJECT
public:
    void cancelByKey() override;

protected:
    WizardDialog(ChildKind kind, ChildHost& host, NumberKeyFilter::Allowed keys, QWidget* parent);

    // A number field: only the allowed keys, RETURN moves on to the close button, and it is
    // checked when it is left.
    QLineEdit* newNumberEdit(const QString& name, int maxLength, int minWidth, int maxWidth);
    // Checks the field the user left; false when it rejected the entry.
    virtual bool checkLeftField(QObject* field) = 0;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The window title of wizard step `step` and the close button's caption: "Weiter" in the
    // wizard, "Schliessen" otherwise.
    void captionWizardStep(int step, Language lang);
    // "Abbruch": the wizard ends.
    virtual void cancelClicked();

    QPushButton* closeButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool wizard_ = false;
    bool checking_ = false;  // a check is running: leaving a field then is no entry to check

private:
    void closeClicked();

    NumberKeyFilter* keys_ = nullptr;
    bool rejectedOnLeave_ = false;
};

}  // namespace zorva
