#pragma once
// The main window: the menus, the start-up sequence, the construction wizard, and the
// frame for the one child window that is open at a time.

#include "state/dial_state.h"
#include "ui/child_registry.h"
#include "ui/child_window.h"
#include "ui/lazy_printer.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <memory>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;

namespace zorva {

class FileChooser;
class HelpWindow;
class ColourPalette;
class QtTranslations;
class UserDialogs;

// The entries of the main menu in caption-table order (separators skipped).
enum class MenuEntry {
    FileMenu, Wizard, CloseWindows, PrinterSetup, Print, PrintWindow, Quit,
    OptionsMenu, Site, Type, Parameters, LoadDefaults, SaveIni, LoadIni, SaveDialData, LoadDialData,
    DrawingMenu, Drawing, FormatMenu, FormatA4, FormatA3, Palette,
    CalculationsMenu, RiseSet, SunPosition, TimeForPosition, EotDeclination,
    TablesMenu, TableRiseSet, TableEot, TableDeclination, TableNoon, GraphSunPosition, GraphEot,
    HelpMenu, HelpIndex, Wizard2, ExpertMode, LanguageMenu, German, English, Hints, About,
    Count
};

class MainWindow : public QMainWindow, public ChildHost {
    Q_OBJECT
public:
    // The options pop-up in menu order.
    enum OptionsEntry { kSaveSettings, kLoad, kSaveDates, kLoadDates, kSite, kType, kParameters, kDrawing, kHints, kClose, kOptionsCount };

    MainWindow(DialState& state, UserDialogs& dialogs, FileChooser& files, ChildRegistry registry,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up after creation: settings file, its language, the year's data, the welcome picture,
    // the screen and font checks. `configDir` empty: the usual place of "zor.ini".
    void startUp(const QString& configDir = {});

    // ChildHost
    DialState& state() override { return state_; }
    UserDialogs& dialogs() override { return dialogs_; }
    FileChooser& files() override { return files_; }
    Language language() const override { return state_.language; }
    int wizardStep() const override { return wizardStep_; }
    void setWizardStep(int step) override { wizardStep_ = step; }
    void cancelWizard() override;
    bool closeAllChildren() override;
    QMenu* popupMenu() override;
    void showHelp(int topic) override;
    void referenceYearChanged() override;

    bool lastDialogOk() const { return lastDialogOk_; }
    ChildWindow* activeChild() const;
    int childCount() const;
    QAction* action(MenuEntry entry) const { return actions_[static_cast<int>(entry)]; }
    QAction* wizardNextAction() const { return wizardNext_; }
    QAction* wizardCancelAction() const { return wizardCancel_; }
    QAction* mapOverlayAction() const { return mapOverlay_; }
    bool screenLikePrintout() const override { return screenLikePrintout_; }
    void setScreenLikePrintout(bool on) override;
    const QPixmap& welcomePicture() const { return welcome_; }
    QString settingsPath() const { return settingsPath_; }
    HelpWindow* helpWindow() const { return help_; }
    QtTranslations& qtTranslations() { return *qtTexts_; }

    // Commands of the menus, public for the tests.
    void startWizard();
    ChildWindow* openChild(ChildKind kind, const OpenRequest& request = {}) override;
    bool canOpen(ChildKind kind) const override { return registry_.has(kind); }
    void closeWindowsCommand();
    void loadDefaultsCommand();
    void saveIniCommand();
    void loadIniCommand();
    void saveDialDataCommand();
    void loadDialDataCommand();
    void saveSettingsCommand();
    void toggleExpertMode();
    void toggleMapOverlay();
    void setLanguage(Language lang);
    void toggleHints();
    // "&Farbpalette für Sonnenuhren" (Alt+F8), also offered by the drawing window.
    void showColourPalette() override;
    ColourPalette* colourPalette() const { return palette_; }
    // "Speichern Datum" / "LadDatum": the own date-line list to and from "zor_days.ini".
    void saveDateLinesCommand();
    void loadDateLinesCommand();
    QAction* optionsEntry(int index) const { return optionsEntries_[index]; }
    QString dateLinesPath() const override { return dateLinesPath_; }
    QString settingsFilePath() const override { return settingsPath_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    QAction* makeAction(MenuEntry entry, const QKeySequence& key = {});
    void createMenus();
    void createPopups();
    void retranslate();
    void updateMenus();
    void childClosed(ChildKind kind, bool abandoned);
    void finishWizard();
    void reopenChild(ChildKind kind);
    void wizardNextCommand();
    void showAbout();
    void printerSetup();
    void printActiveChild();
    void printActiveWindow();
    void showScreenAdvice();
    void showFontWarning();
    QList<QMdiSubWindow*> openSubWindows() const;
    void readSettingsAtStart(const QString& configDir);
    // Reads a settings or dial-data file with colours and date lines; false when the reader failed.
    bool readStateFileCommand(const QString& path);
    // After a load: the file's language, the year's data, then the site dialog.
    void afterStateLoaded();
    // The state written as a settings file differs from the settings file (or, without one,
    // from the defaults).
    bool settingsDifferFromFile() const;
    // Before quitting: asks whether changed settings shall be saved; false to stay open.
    bool settingsMayBeLeft();

    DialState& state_;
    UserDialogs& dialogs_;
    FileChooser& files_;
    ChildRegistry registry_;
    QMdiArea* mdi_ = nullptr;
    std::array<QAction*, static_cast<int>(MenuEntry::Count)> actions_{};
    QAction* mapOverlay_ = nullptr;
    QAction* wizardNext_ = nullptr;
    QAction* wizardCancel_ = nullptr;
    QAction* wizardHelp_ = nullptr;
    QMenu* wizardPopup_ = nullptr;
    QMenu* optionsPopup_ = nullptr;
    std::array<QAction*, kOptionsCount> optionsEntries_{};
    QPixmap welcome_;
    LazyPrinter printer_;
    QString settingsPath_;
    QString dateLinesPath_;
    QString dialDataDirectory_;
    HelpWindow* help_ = nullptr;
    ColourPalette* palette_ = nullptr;
    std::unique_ptr<QtTranslations> qtTexts_;
    int helpTopic_ = 100;
    // Reports a missing help file for the language; `switching` adds that help is off.
    bool checkHelpFile(bool switching);

    int wizardStep_ = kWizardNone;
    bool lastDialogOk_ = true;
    bool screenLikePrintout_ = true;
    bool suppressContinuation_ = false;
};

// Owns the one DialState of the run, the platform dialogs and the main window.
class Application {
public:
    Application();
    ~Application();
    int run();

private:
    DialState state_;
};

}  // namespace zorva
