#include "ui/embedded_children.h"

#include "ui/parameter_dialog.h"
#include "ui/sun_position_window.h"
#include "ui/preferences_save.h"

#include <QEvent>
#include <QPrintDialog>
#include <QTimer>
#include <QVBoxLayout>

namespace zorva {
namespace {

void seat(QWidget* outer, QWidget* inner) {
    auto* layout = new QVBoxLayout(outer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(inner);
    outer->setWindowTitle(inner->windowTitle());
    inner->installEventFilter(outer);
}

}  // namespace

void RestoreDialogFields(DialState& target, const DialState& opening) {
    DialState restored = opening;
    restored.colours = target.colours;
    restored.lineWidth = target.lineWidth;
    restored.language = target.language;
    restored.expertMode = target.expertMode;
    restored.showHints = target.showHints;
    restored.mapOverlay = target.mapOverlay;
    restored.mapBorders = target.mapBorders;
    restored.mapCoast = target.mapCoast;
    restored.zodiacDeclinations = target.zodiacDeclinations;
    target = std::move(restored);
}

ParameterChild::ParameterChild(ChildHost& host, QWidget* parent)
    : ChildWindow(ChildKind::ParameterDialog, host, parent),
      dialog_(new ParameterDialog(host.state(), host.dialogs(), this)),
      opening_(host.state()) {
    setObjectName(QStringLiteral("parameterChild"));
    dialog_->setWizardMode(host.wizardStep() >= kWizardTypeOpen);
    dialog_->setPopupMenu(host.popupMenu());
    if (!host.settingsFilePath().isEmpty())
        dialog_->setSettingsPaths(host.settingsFilePath(), host.dateLinesPath());
    seat(this, dialog_);
    connect(dialog_, &ParameterDialog::cancelRequested, this, [this] { this->host().cancelWizard(); });
    connect(dialog_, &ParameterDialog::helpRequested, this, [this](int topic) { this->host().showHelp(topic); });
    // Its own "Schliessen" has run the close check already.
    connect(dialog_, &ParameterDialog::closed, this, [this] {
        checkedByDialog_ = true;
        this->host().closeAllChildren();
    });
}

bool ParameterChild::closeCheck() {
    if (checkedByDialog_) {
        checkedByDialog_ = false;
        return true;
    }
    return dialog_->closeCheck();
}

void ParameterChild::applyLanguage() {
    dialog_->applyLanguage();
    setWindowTitle(dialog_->windowTitle());
}

int ParameterChild::helpTopic() const { return dialog_->helpTopic(); }

void ParameterChild::dateLinesChanged() { dialog_->refillDateList(); }

void ParameterChild::restoreOpeningState() { RestoreDialogFields(state(), opening_); }

bool ParameterChild::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_ && event->type() == QEvent::WindowTitleChange) setWindowTitle(dialog_->windowTitle());
    return ChildWindow::eventFilter(watched, event);
}

SunPositionChild::SunPositionChild(ChildHost& host, const OpenRequest& request, QWidget* parent)
    : ChildWindow(ChildKind::CalculationWindow, host, parent),
      window_(new SunPositionWindow(host.state(), host.dialogs(), request.calcMode, this)) {
    setObjectName(QStringLiteral("sunPositionChild"));
    seat(this, window_);
    // The pop-up's print entries let the user choose the printer before their first job.
    window_->setPrinterChooser([this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    });
    window_->setPreferencesSaver([&host] {
        SavePreferencesBeside(host.state(), host.settingsFilePath(), host.dialogs());
    });
    if (host.canOpen(ChildKind::TableWindow)) {
        ChildHost* h = &host;
        window_->setTableOpener([h](int mode, int kind) {
            // Not from inside this window's own handler: opening the table closes this window.
            QTimer::singleShot(0, dynamic_cast<QObject*>(h),
                               [h, mode, kind] { h->openChild(ChildKind::TableWindow, OpenRequest{mode, kind}); });
        });
    }
}

bool SunPositionChild::closeCheck() { return window_->closeCheck(); }

int SunPositionChild::helpTopic() const { return 700 + window_->calcMode(); }

void SunPositionChild::applyLanguage() {
    window_->applyLanguage();
    setWindowTitle(window_->windowTitle());
}

void SunPositionChild::print(QPrinter& printer) {
    window_->setPrinter(&printer);
    window_->printFromMainWindow();
}

bool SunPositionChild::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::WindowTitleChange) setWindowTitle(window_->windowTitle());
    return ChildWindow::eventFilter(watched, event);
}

}  // namespace zorva
