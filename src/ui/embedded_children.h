#pragma once
// Windows built as plain widgets, seated as children of the main window: the wrapper carries
// the close check, the language, printing and the wizard's hand-over for them.

#include "state/dial_state.h"
#include "ui/child_window.h"

namespace zorva {

class ParameterDialog;
class SunPositionWindow;

class ParameterChild : public ChildWindow {
    Q_OBJECT
public:
    explicit ParameterChild(ChildHost& host, QWidget* parent = nullptr);
    bool closeCheck() override;
    void applyLanguage() override;
    int helpTopic() const override;
    void dateLinesChanged() override;
    ParameterDialog* dialog() const { return dialog_; }

protected:
    void restoreOpeningState() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ParameterDialog* dialog_;
    DialState opening_;
    bool checkedByDialog_ = false;
};

class SunPositionChild : public ChildWindow {
    Q_OBJECT
public:
    SunPositionChild(ChildHost& host, const OpenRequest& request, QWidget* parent = nullptr);
    bool closeCheck() override;
    void applyLanguage() override;
    bool canPrint() const override { return true; }
    void print(QPrinter& printer) override;
    // 700 plus the calculation mode: 701 rise and set, 702 position, 704 time for an
    // azimuth, 708 equation of time.
    int helpTopic() const override;
    SunPositionWindow* window() const { return window_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SunPositionWindow* window_;
};

// The fields of the state a dialog may not take back when it is abandoned: what other
// windows and the menus set while it was open.
void RestoreDialogFields(DialState& target, const DialState& opening);

}  // namespace zorva
