#pragma once
// The child windows of the main window and what they may ask of it.
// At most one child is open at a time; a child's close check can veto its closing.

#include "text/language.h"

#include <QWidget>

class QMenu;
class QPrinter;

namespace zorva {

struct DialState;
class ChildWindow;
class UserDialogs;
class FileChooser;

enum class ChildKind {
    SiteDialog,
    TypeDialog,
    ParameterDialog,
    DrawingWindow,
    CalculationWindow,  // single calculations: rise/set, sun position, time for a position, EoT
    TableWindow,        // year and month tables and the two graphs
};

// Which view a calculation or table window is opened for.
struct OpenRequest {
    int calcMode = 0;       // 1 rise/set, 2 position, 4 time for a position, 8 EoT/declination, 16 EoT graph, 32 sun-position graph
    int yearTableKind = 0;  // 0 equation of time, 2 declination, 3 local apparent noon
};

// Wizard steps: 0 none, 1 site dialog open, 3 site confirmed, 4 type dialog open,
// 5 type confirmed and parameter dialog open.
inline constexpr int kWizardNone = 0;
inline constexpr int kWizardSiteOpen = 1;
inline constexpr int kWizardSiteDone = 3;
inline constexpr int kWizardTypeOpen = 4;
inline constexpr int kWizardTypeDone = 5;

// The main window as its children see it.
class ChildHost {
public:
    virtual ~ChildHost() = default;
    virtual DialState& state() = 0;
    virtual UserDialogs& dialogs() = 0;
    virtual FileChooser& files() = 0;
    virtual Language language() const = 0;

    virtual int wizardStep() const = 0;
    virtual void setWizardStep(int step) = 0;
    // "Abbruch": ends the wizard (or just closes the children outside it) without the close checks.
    virtual void cancelWizard() = 0;
    // Closes every child, each through its close check; false when one vetoed.
    virtual bool closeAllChildren() = 0;
    // Opens another child in place of the open one (after its close check).
    virtual ChildWindow* openChild(ChildKind kind, const OpenRequest& request) = 0;
    virtual bool canOpen(ChildKind kind) const = 0;
    // The pop-up menu for a dialog: the wizard's during the wizard, else the options menu.
    virtual QMenu* popupMenu() = 0;
    virtual void showHelp(int topic) = 0;
    // Recomputes the data that depend on the reference year (zodiac declinations).
    virtual void referenceYearChanged() = 0;
    // Screen layout of the drawing: like the printout (A4, default) or like the saved file (A3).
    virtual bool screenLikePrintout() const { return true; }
    virtual void setScreenLikePrintout(bool) {}
    // Where the settings file and the date-line file are; empty: their usual place.
    virtual QString settingsFilePath() const { return {}; }
    virtual QString dateLinesPath() const { return {}; }
    // The colour palette over the open window.
    virtual void showColourPalette() {}
};

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    ChildWindow(ChildKind kind, ChildHost& host, QWidget* parent = nullptr);

    ChildKind kind() const { return kind_; }

    // Validates the input and stores it in the state; false vetoes the close and leaves
    // the focus in the offending field.
    virtual bool closeCheck() { return true; }
    // Re-captions every text in the current language.
    virtual void applyLanguage() = 0;
    // "Weiter" of the wizard (button, pop-up menu or F7).
    virtual void wizardNext() { host_.closeAllChildren(); }
    // Help topic shown by the pop-up menu's "Hilfe".
    virtual int helpTopic() const { return 100; }
    // "Drucken...": prints the window's content on the main window's printer, asking first
    // whatever the window asks.
    virtual bool canPrint() const { return false; }
    virtual void print(QPrinter&) {}
    // The own date-line list of the state was replaced from outside the window.
    virtual void dateLinesChanged() {}
    // The colours of the state changed (the palette): show them, keeping the view as it is.
    virtual void coloursChanged() { update(); }
    // The next close skips the close check, and the state is put back as it was before the
    // window opened ("Abbruch").
    void markAbandoned();
    // Escape in a dialog: like "Abbruch" — the wizard ends, or the dialog closes and the state
    // stays as it was before it opened.
    virtual void cancelByKey();

signals:
    // Emitted once the window has agreed to close (after its close check).
    void closed(zorva::ChildKind kind, bool abandoned);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Called by abandon() before closing: undo whatever was written to the state while open.
    virtual void restoreOpeningState() {}
    // After controls were shown or hidden: the frame grows so that nothing is squeezed.
    void growToFit();
    ChildHost& host() { return host_; }
    const ChildHost& host() const { return host_; }
    DialState& state() const { return host_.state(); }

private:
    ChildKind kind_;
    ChildHost& host_;
    bool abandoning_ = false;
    bool closedEmitted_ = false;
};

}  // namespace zorva
