#include "ui/main_window.h"

#include "astro/solar_ephemeris.h"
#include "help/help_system.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/caption_tags.h"
#include "ui/colour_palette.h"
#include "ui/file_chooser.h"
#include "ui/print_fit.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_translations.h"
#include "ui/resource_ids.h"
#include "ui/welcome_picture.h"

#include <QActionGroup>
#include <QVBoxLayout>
#include <QPushButton>
#include <QLabel>
#include <QDialog>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

namespace zorva {
namespace {

constexpr const char* kWindowTitle = "  Zorva  v. 3.9 ";

int idx(MenuEntry e) { return static_cast<int>(e); }

}  // namespace

MainWindow::MainWindow(DialState& state, UserDialogs& dialogs, FileChooser& files, ChildRegistry registry,
                       QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs), files_(files), registry_(std::move(registry)) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    auto* area = new WelcomeArea(this);
    area->setObjectName(QStringLiteral("mdiArea"));
    mdi_ = area;
    setCentralWidget(mdi_);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    qtTexts_ = std::make_unique<QtTranslations>();

    createActions();
    createMenus();
    createPopups();
    qApp->installEventFilter(this);  // hints on or off
    retranslate();
    updateMenus();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    suppressContinuation_ = true;
    // Children talk to this window while they close; close them while it still exists.
    for (QMdiSubWindow* sub : openSubWindows()) {
        if (auto* child = qobject_cast<ChildWindow*>(sub->widget())) child->markAbandoned();
        delete sub;
    }
}

QAction* MainWindow::makeAction(MenuEntry entry, const QKeySequence& key) {
    auto* a = new QAction(this);
    a->setObjectName(QStringLiteral("menuEntry%1").arg(idx(entry)));
    if (!key.isEmpty()) a->setShortcut(key);
    actions_[idx(entry)] = a;
    return a;
}

void MainWindow::createActions() {
    using E = MenuEntry;
    connect(makeAction(E::Wizard, QKeySequence(Qt::ALT | Qt::Key_F1)), &QAction::triggered, this, &MainWindow::startWizard);
    connect(makeAction(E::CloseWindows, QKeySequence(Qt::ALT | Qt::Key_F3)), &QAction::triggered, this,
            &MainWindow::closeWindowsCommand);
    connect(makeAction(E::PrinterSetup), &QAction::triggered, this, &MainWindow::printerSetup);
    connect(makeAction(E::Print, QKeySequence(Qt::Key_F3)), &QAction::triggered, this, &MainWindow::printActiveChild);
    connect(makeAction(E::PrintWindow), &QAction::triggered, this, &MainWindow::printActiveWindow);
    connect(makeAction(E::Quit, QKeySequence(Qt::ALT | Qt::Key_X)), &QAction::triggered, this, &QWidget::close);

    connect(makeAction(E::Site, QKeySequence(Qt::Key_F5)), &QAction::triggered, this,
            [this] { openChild(ChildKind::SiteDialog); });
    connect(makeAction(E::Type, QKeySequence(Qt::Key_F6)), &QAction::triggered, this,
            [this] { openChild(ChildKind::TypeDialog); });
    connect(makeAction(E::Parameters, QKeySequence(Qt::Key_F7)), &QAction::triggered, this,
            [this] { openChild(ChildKind::ParameterDialog); });
    connect(makeAction(E::LoadDefaults), &QAction::triggered, this, &MainWindow::loadDefaultsCommand);
    // Alt+F4 closes the window and Alt+F2 runs a command on Linux desktops: the window manager
    // takes both before the program sees them, so the settings file goes with Shift.
    connect(makeAction(E::SaveIni, QKeySequence(Qt::SHIFT | Qt::Key_F2)), &QAction::triggered, this, &MainWindow::saveIniCommand);
    connect(makeAction(E::LoadIni, QKeySequence(Qt::SHIFT | Qt::Key_F4)), &QAction::triggered, this, &MainWindow::loadIniCommand);
    connect(makeAction(E::SaveDialData, QKeySequence(Qt::Key_F2)), &QAction::triggered, this,
            &MainWindow::saveDialDataCommand);
    connect(makeAction(E::LoadDialData, QKeySequence(Qt::Key_F4)), &QAction::triggered, this,
            &MainWindow::loadDialDataCommand);

    connect(makeAction(E::Drawing, QKeySequence(Qt::Key_F8)), &QAction::triggered, this,
            [this] { openChild(ChildKind::DrawingWindow); });
    auto* formats = new QActionGroup(this);
    for (E e : {E::FormatA4, E::FormatA3}) {
        QAction* a = makeAction(e);
        a->setCheckable(true);
        formats->addAction(a);
    }
    action(E::FormatA4)->setChecked(true);
    connect(action(E::FormatA4), &QAction::triggered, this, [this] { setScreenLikePrintout(true); });
    connect(action(E::FormatA3), &QAction::triggered, this, [this] { setScreenLikePrintout(false); });
    connect(makeAction(E::Palette, QKeySequence(Qt::ALT | Qt::Key_F8)), &QAction::triggered, this,
            &MainWindow::showColourPalette);

    auto calc = [this](E e, const QKeySequence& key, ChildKind kind, int mode, int tableKind) {
        connect(makeAction(e, key), &QAction::triggered, this,
                [this, kind, mode, tableKind] { openChild(kind, OpenRequest{mode, tableKind}); });
    };
    calc(E::RiseSet, QKeySequence(Qt::Key_F9), ChildKind::CalculationWindow, 1, 0);
    calc(E::SunPosition, QKeySequence(Qt::Key_F10), ChildKind::CalculationWindow, 2, 0);
    calc(E::TimeForPosition, QKeySequence(Qt::Key_F11), ChildKind::CalculationWindow, 4, 0);
    calc(E::EotDeclination, QKeySequence(Qt::Key_F12), ChildKind::CalculationWindow, 8, 0);
    calc(E::TableRiseSet, {}, ChildKind::TableWindow, 1, 0);
    calc(E::TableEot, {}, ChildKind::TableWindow, 8, 0);
    calc(E::TableDeclination, {}, ChildKind::TableWindow, 8, 2);
    calc(E::TableNoon, {}, ChildKind::TableWindow, 8, 3);
    calc(E::GraphSunPosition, QKeySequence(Qt::ALT | Qt::Key_F10), ChildKind::TableWindow, 32, 0);
    calc(E::GraphEot, QKeySequence(Qt::ALT | Qt::Key_F12), ChildKind::TableWindow, 16, 0);

    connect(makeAction(E::HelpIndex, QKeySequence(Qt::Key_F1)), &QAction::triggered, this, [this] { showHelp(100); });
    connect(makeAction(E::Wizard2), &QAction::triggered, this, &MainWindow::startWizard);
    QAction* expert = makeAction(E::ExpertMode, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_X));
    expert->setCheckable(true);
    connect(expert, &QAction::triggered, this, &MainWindow::toggleExpertMode);
    auto* languages = new QActionGroup(this);
    QAction* german = makeAction(E::German, QKeySequence(Qt::CTRL | Qt::Key_D));
    QAction* english = makeAction(E::English, QKeySequence(Qt::CTRL | Qt::Key_E));
    for (QAction* a : {german, english}) {
        a->setCheckable(true);
        languages->addAction(a);
    }
    connect(german, &QAction::triggered, this, [this] { setLanguage(Language::German); });
    connect(english, &QAction::triggered, this, [this] { setLanguage(Language::English); });
    QAction* hints = makeAction(E::Hints);
    hints->setCheckable(true);
    connect(hints, &QAction::triggered, this, &MainWindow::toggleHints);
    connect(makeAction(E::About), &QAction::triggered, this, &MainWindow::showAbout);

    // The map-overlay switch has no caption: it lives only as a key of the window.
    mapOverlay_ = new QAction(this);
    mapOverlay_->setObjectName(QStringLiteral("mapOverlaySwitch"));
    mapOverlay_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_M));
    connect(mapOverlay_, &QAction::triggered, this, &MainWindow::toggleMapOverlay);
    addAction(mapOverlay_);

    // F7 moves the wizard on; outside the wizard F7 is the parameter dialog.
    wizardNext_ = new QAction(this);
    wizardNext_->setObjectName(QStringLiteral("wizardNext"));
    wizardNext_->setShortcut(QKeySequence(Qt::Key_F7));
    connect(wizardNext_, &QAction::triggered, this, &MainWindow::wizardNextCommand);
    addAction(wizardNext_);
    wizardCancel_ = new QAction(this);
    wizardCancel_->setObjectName(QStringLiteral("wizardCancel"));
    connect(wizardCancel_, &QAction::triggered, this, &MainWindow::cancelWizard);
    wizardHelp_ = new QAction(this);
    connect(wizardHelp_, &QAction::triggered, this, [this] {
        ChildWindow* c = activeChild();
        showHelp(c ? c->helpTopic() : 100);
    });
    SetCaptionTag(wizardNext_, res::kPopupNext);
    SetCaptionTag(wizardCancel_, res::kPopupCancel);
    SetCaptionTag(wizardHelp_, res::kPopupHelp);
}

void MainWindow::createMenus() {
    using E = MenuEntry;
    constexpr E kLine = E::Count;  // a separator between the entries
    auto menuFor = [this](QMenuBar* bar, QMenu* parentMenu, E e, std::initializer_list<E> entries) {
        QMenu* m = bar ? bar->addMenu(QString()) : parentMenu->addMenu(QString());
        m->menuAction()->setObjectName(QStringLiteral("menuEntry%1").arg(idx(e)));
        actions_[idx(e)] = m->menuAction();
        for (E entry : entries) {
            if (entry == kLine) m->addSeparator();
            else m->addAction(action(entry));
        }
        return m;
    };
    QMenuBar* bar = menuBar();
    menuFor(bar, nullptr, E::FileMenu,
            {E::Wizard, E::CloseWindows, kLine, E::PrinterSetup, E::Print, E::PrintWindow, kLine, E::Quit});
    menuFor(bar, nullptr, E::OptionsMenu,
            {E::Site, E::Type, E::Parameters, kLine, E::LoadDefaults, E::SaveIni, E::LoadIni, kLine, E::SaveDialData,
             E::LoadDialData});
    QMenu* drawing = menuFor(bar, nullptr, E::DrawingMenu, {E::Drawing});
    menuFor(nullptr, drawing, E::FormatMenu, {E::FormatA4, E::FormatA3});
    drawing->addAction(action(E::Palette));
    QMenu* calc = menuFor(bar, nullptr, E::CalculationsMenu, {E::RiseSet, E::SunPosition, E::TimeForPosition, E::EotDeclination});
    menuFor(nullptr, calc, E::TablesMenu, {E::TableRiseSet, E::TableEot, E::TableDeclination, E::TableNoon});
    calc->addAction(action(E::GraphSunPosition));
    calc->addAction(action(E::GraphEot));
    QMenu* help = menuFor(bar, nullptr, E::HelpMenu, {E::HelpIndex, E::Wizard2, kLine, E::ExpertMode});
    menuFor(nullptr, help, E::LanguageMenu, {E::German, E::English});
    help->addAction(action(E::Hints));
    help->addSeparator();
    help->addAction(action(E::About));
}

void MainWindow::createPopups() {
    wizardPopup_ = new QMenu(this);
    wizardPopup_->setObjectName(QStringLiteral("wizardPopup"));
    wizardPopup_->addAction(wizardNext_);
    wizardPopup_->addAction(wizardCancel_);
    wizardPopup_->addAction(wizardHelp_);

    optionsPopup_ = new QMenu(this);
    optionsPopup_->setObjectName(QStringLiteral("optionsPopup"));
    const int tags[kOptionsCount] = {res::kPopupSaveSettings, res::kPopupLoad,    res::kPopupSaveDates,
                                     res::kPopupLoadDates,    res::kPopupSite,    res::kPopupType,
                                     res::kPopupParameters,   res::kPopupDrawing, res::kPopupHints,
                                     res::kPopupClose};
    for (int i = 0; i < kOptionsCount; ++i) {
        optionsEntries_[i] = optionsPopup_->addAction(QString());
        SetCaptionTag(optionsEntries_[i], tags[i]);
    }
    optionsEntries_[kHints]->setCheckable(true);
    connect(optionsEntries_[kSaveSettings], &QAction::triggered, this, &MainWindow::saveSettingsCommand);
    connect(optionsEntries_[kLoad], &QAction::triggered, this, &MainWindow::loadDialDataCommand);
    connect(optionsEntries_[kSaveDates], &QAction::triggered, this, &MainWindow::saveDateLinesCommand);
    connect(optionsEntries_[kLoadDates], &QAction::triggered, this, &MainWindow::loadDateLinesCommand);
    connect(optionsEntries_[kSite], &QAction::triggered, this, [this] { openChild(ChildKind::SiteDialog); });
    connect(optionsEntries_[kType], &QAction::triggered, this, [this] { openChild(ChildKind::TypeDialog); });
    connect(optionsEntries_[kParameters], &QAction::triggered, this, [this] { openChild(ChildKind::ParameterDialog); });
    connect(optionsEntries_[kDrawing], &QAction::triggered, this, [this] { openChild(ChildKind::DrawingWindow); });
    connect(optionsEntries_[kHints], &QAction::triggered, this, &MainWindow::toggleHints);
    connect(optionsEntries_[kClose], &QAction::triggered, this, &MainWindow::closeAllChildren);
}

QMenu* MainWindow::popupMenu() {
    if (wizardStep_ != kWizardNone) return wizardPopup_;
    const ChildWindow* c = activeChild();
    const ChildKind active = c ? c->kind() : ChildKind::CalculationWindow;
    optionsEntries_[kSite]->setEnabled(active != ChildKind::SiteDialog);
    optionsEntries_[kType]->setEnabled(active != ChildKind::TypeDialog);
    optionsEntries_[kParameters]->setEnabled(active != ChildKind::ParameterDialog &&
                                             registry_.has(ChildKind::ParameterDialog));
    optionsEntries_[kDrawing]->setEnabled(registry_.has(ChildKind::DrawingWindow));
    optionsEntries_[kHints]->setChecked(state_.showHints);
    // The date-line file belongs to the parameter dialog's own list.
    const bool ownDates = c && active == ChildKind::ParameterDialog && state_.dateLineMode == '2';
    optionsEntries_[kSaveDates]->setVisible(ownDates);
    optionsEntries_[kLoadDates]->setVisible(ownDates);
    optionsEntries_[kLoadDates]->setEnabled(QFileInfo::exists(dateLinesPath_));
    return optionsPopup_;
}

void MainWindow::retranslate() {
    const Language lang = state_.language;
    // Qt's own buttons and dialogs follow; without Qt's translation file they stay English.
    qtTexts_->apply(lang);
    const QStringList captions = menuCaptions(lang);
    for (int i = 0; i < idx(MenuEntry::Count) && i < captions.size(); ++i) actions_[i]->setText(captions[i]);
    action(MenuEntry::German)->setChecked(lang == Language::German);
    action(MenuEntry::English)->setChecked(lang == Language::English);
    action(MenuEntry::ExpertMode)->setChecked(state_.expertMode);
    action(MenuEntry::Hints)->setChecked(state_.showHints);
    for (QAction* a : {wizardNext_, wizardCancel_, wizardHelp_}) a->setText(resourceText(CaptionTag(a), lang));
    for (QAction* a : optionsEntries_) a->setText(resourceText(CaptionTag(a), lang));
    for (QMdiSubWindow* sub : openSubWindows())
        if (auto* child = qobject_cast<ChildWindow*>(sub->widget())) child->applyLanguage();
    if (palette_) palette_->applyLanguage();
    static_cast<WelcomeArea*>(mdi_)->applyLanguage();
}

void MainWindow::showColourPalette() {
    if (!palette_) {
        palette_ = new ColourPalette(state_, dialogs_, this);
        connect(palette_, &ColourPalette::closed, this, [this] {
            // The open window shows the new colours in the view it had (the same graph, the
            // same drawing) and has the focus again.
            if (ChildWindow* c = activeChild()) {
                c->coloursChanged();
                c->setFocus();
            }
        });
    }
    palette_->setSettingsPath(settingsPath_);
    palette_->refresh();
    palette_->adjustSize();
    if (!state_.dialogsNormalSize) palette_->move(mapToGlobal(QPoint(10, 10)));
    palette_->show();
    palette_->raise();
    palette_->activateWindow();
}

void MainWindow::updateMenus() {
    using E = MenuEntry;
    const bool wizard = wizardStep_ != kWizardNone;
    const bool hasChild = childCount() > 0;
    auto enable = [this](E e, bool on) { action(e)->setEnabled(on); };
    enable(E::Wizard, !wizard);
    enable(E::Wizard2, !wizard);
    enable(E::OptionsMenu, !wizard);
    enable(E::CalculationsMenu, !wizard);
    // Entries of a disabled menu are disabled too, so that their keys are dead as well.
    for (E e : {E::Site, E::Type, E::LoadDefaults, E::SaveIni, E::LoadIni, E::SaveDialData, E::LoadDialData})
        enable(e, !wizard);
    enable(E::Parameters, !wizard && registry_.has(ChildKind::ParameterDialog));
    enable(E::Drawing, !wizard && registry_.has(ChildKind::DrawingWindow));
    enable(E::Palette, !wizard);
    for (E e : {E::RiseSet, E::SunPosition, E::TimeForPosition, E::EotDeclination})
        enable(e, !wizard && registry_.has(ChildKind::CalculationWindow));
    const bool tables = !wizard && registry_.has(ChildKind::TableWindow);
    for (E e : {E::TablesMenu, E::TableRiseSet, E::TableEot, E::TableDeclination, E::TableNoon, E::GraphSunPosition, E::GraphEot})
        enable(e, tables);
    enable(E::CloseWindows, hasChild || wizard);
    enable(E::PrintWindow, hasChild);
    const ChildWindow* c = activeChild();
    enable(E::Print, c && c->canPrint());
    const bool help = HelpFileExists(state_.language);
    enable(E::HelpIndex, help);
    wizardNext_->setEnabled(wizard);
    wizardCancel_->setEnabled(wizard);
    wizardHelp_->setEnabled(wizard && help);
}

QList<QMdiSubWindow*> MainWindow::openSubWindows() const {
    QList<QMdiSubWindow*> out;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (auto* child = qobject_cast<ChildWindow*>(sub->widget()); child && !child->property("zorvaClosed").toBool())
            out << sub;
    return out;
}

int MainWindow::childCount() const { return static_cast<int>(openSubWindows().size()); }

ChildWindow* MainWindow::activeChild() const {
    const QList<QMdiSubWindow*> subs = openSubWindows();
    if (subs.isEmpty()) return nullptr;
    QMdiSubWindow* active = mdi_->activeSubWindow();
    if (!active || !subs.contains(active)) active = subs.last();
    return qobject_cast<ChildWindow*>(active->widget());
}

bool MainWindow::closeAllChildren() {
    bool ok = true;
    for (QMdiSubWindow* sub : openSubWindows()) {
        if (!sub->close()) {
            ok = false;
            break;
        }
    }
    lastDialogOk_ = ok;
    updateMenus();
    return ok;
}

ChildWindow* MainWindow::openChild(ChildKind kind, const OpenRequest& request) {
    if (!registry_.has(kind)) return nullptr;
    if (!closeAllChildren() || !lastDialogOk_) return nullptr;
    ChildWindow* child = registry_.create(kind, *this, request);
    if (!child) return nullptr;
    child->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdi_->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    connect(child, &ChildWindow::closed, this, [this, child](ChildKind k, bool abandoned) {
        child->setProperty("zorvaClosed", true);
        childClosed(k, abandoned);
    });
    child->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(child, &QWidget::customContextMenuRequested, this,
            [this, child](const QPoint& pos) { popupMenu()->popup(child->mapToGlobal(pos)); });
    // The drawing, the tables and the graphs need all the room there is (they scroll when
    // that is too small for readable text).
    const bool needsRoom = kind == ChildKind::DrawingWindow || kind == ChildKind::TableWindow;
    if (state_.dialogsNormalSize && !needsRoom) {
        sub->adjustSize();
        sub->show();
    } else {
        sub->showMaximized();
    }
    mdi_->setActiveSubWindow(sub);
    child->setFocus();
    updateMenus();
    return child;
}

void MainWindow::childClosed(ChildKind kind, bool abandoned) {
    lastDialogOk_ = true;
    QTimer::singleShot(0, this, [this] {
        updateMenus();
        mdi_->viewport()->update();
    });
    if (suppressContinuation_ || abandoned) return;
    switch (kind) {
        case ChildKind::SiteDialog:
            if (wizardStep_ == kWizardSiteDone) {
                QTimer::singleShot(0, this, [this] {
                    if (wizardStep_ == kWizardSiteDone) openChild(ChildKind::TypeDialog);
                });
            } else if (wizardStep_ == kWizardSiteOpen) {
                // Closed by its window frame instead of "Nächstes": the wizard cannot go on.
                QTimer::singleShot(0, this, [this] { finishWizard(); });
            }
            break;
        case ChildKind::TypeDialog:
            if (wizardStep_ >= kWizardSiteDone) {
                wizardStep_ = kWizardTypeDone;
                QTimer::singleShot(0, this, [this] {
                    if (wizardStep_ != kWizardTypeDone) return;
                    if (!registry_.has(ChildKind::ParameterDialog) || !openChild(ChildKind::ParameterDialog))
                        finishWizard();
                });
            }
            break;
        case ChildKind::ParameterDialog:
            if (wizardStep_ > 2) {
                QTimer::singleShot(0, this, [this] {
                    finishWizard();
                    openChild(ChildKind::DrawingWindow);
                });
            }
            break;
        default: break;
    }
}

void MainWindow::startWizard() {
    if (wizardStep_ != kWizardNone) return;
    if (!closeAllChildren()) return;
    wizardStep_ = kWizardSiteOpen;
    updateMenus();
    if (!openChild(ChildKind::SiteDialog)) finishWizard();
}

void MainWindow::finishWizard() {
    wizardStep_ = kWizardNone;
    updateMenus();
}

void MainWindow::cancelWizard() {
    suppressContinuation_ = true;
    for (QMdiSubWindow* sub : openSubWindows()) {
        if (auto* child = qobject_cast<ChildWindow*>(sub->widget())) child->markAbandoned();
        sub->close();
    }
    suppressContinuation_ = false;
    lastDialogOk_ = true;
    finishWizard();
}

void MainWindow::wizardNextCommand() {
    if (wizardStep_ == kWizardNone) return;
    if (ChildWindow* c = activeChild()) c->wizardNext();
}

void MainWindow::closeWindowsCommand() {
    if (wizardStep_ != kWizardNone) cancelWizard();
    else closeAllChildren();
}

void MainWindow::reopenChild(ChildKind kind) {
    const int step = wizardStep_;
    suppressContinuation_ = true;
    const bool closed = closeAllChildren();
    suppressContinuation_ = false;
    if (!closed) return;
    // A wizard dialog opened again shows its wizard captions again.
    if (kind == ChildKind::TypeDialog && step == kWizardTypeOpen) wizardStep_ = kWizardSiteDone;
    openChild(kind);
}

void MainWindow::referenceYearChanged() {
    state_.zodiacDeclinations = ZodiacDeclinations(state_.referenceYear).zodiac;
}

void MainWindow::startUp(const QString& configDir) {
    if (state_.programDirectory.isEmpty())
        state_.programDirectory = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    welcome_ = LoadWelcomePicture();
    static_cast<WelcomeArea*>(mdi_)->setPicture(welcome_);
    static_cast<WelcomeArea*>(mdi_)->installPictures(state_);
    showScreenAdvice();
    readSettingsAtStart(configDir);
    setLanguage(state_.language);
    referenceYearChanged();
    showFontWarning();
    updateMenus();
}

void MainWindow::loadDefaultsCommand() {
    if (!closeAllChildren()) return;
    LoadDefaults(state_);
    referenceYearChanged();
    openChild(ChildKind::SiteDialog);
}

void MainWindow::toggleExpertMode() {
    state_.expertMode = !state_.expertMode;
    action(MenuEntry::ExpertMode)->setChecked(state_.expertMode);
    const Language lang = state_.language;
    if (state_.expertMode) {
        dialogs_.inform(QStringLiteral("Zorva 3.9 , Info"), message(68, lang) + (state_.english() ? QStringLiteral(" on!") : QStringLiteral("ein!")));
    } else {
        dialogs_.inform(QStringLiteral("Zorva, v. 3.9 "), message(67, lang));
        // The kinds only offered to experts fall back to what everyone may choose.
        if (state_.dialType == 'c' || state_.dialType == 'm') state_.dialType = 'h';
        state_.cylinderKind = 0;
        state_.quadrantKind = 0;
        state_.legendOffset = LegendOffsetFor(state_.dialType);
    }
    if (ChildWindow* c = activeChild()) {
        const ChildKind k = c->kind();
        if (k == ChildKind::DrawingWindow || k == ChildKind::TypeDialog || k == ChildKind::ParameterDialog)
            reopenChild(k);
    }
}

void MainWindow::toggleMapOverlay() {
    state_.mapOverlay = !state_.mapOverlay;
    dialogs_.inform(QStringLiteral("Zorva 3.9 "), state_.english()
                                                      ? (state_.mapOverlay ? QStringLiteral("Map overlay is allowed!")
                                                                           : QStringLiteral("Map overlay not possible!"))
                                                      : (state_.mapOverlay ? QStringLiteral("Overlay von Landkarten ist möglich!")
                                                                           : QStringLiteral("Overlay von Landkarten ist gesperrt!")));
    const ChildWindow* c = activeChild();
    const char t = state_.dialType;
    if (c && c->kind() == ChildKind::DrawingWindow && (t == 'c' || t == 'h' || t == 'i' || t == 'v' || t == 'z'))
        reopenChild(ChildKind::DrawingWindow);
}

void MainWindow::setScreenLikePrintout(bool on) {
    screenLikePrintout_ = on;
    action(MenuEntry::FormatA4)->setChecked(on);
    action(MenuEntry::FormatA3)->setChecked(!on);
}

void MainWindow::setLanguage(Language lang) {
    state_.language = lang;
    retranslate();
    if (checkHelpFile(true) && help_ && help_->isVisible()) help_->showTopic(lang, helpTopic_);
    updateMenus();
}

void MainWindow::toggleHints() {
    state_.showHints = !state_.showHints;
    action(MenuEntry::Hints)->setChecked(state_.showHints);
    optionsEntries_[kHints]->setChecked(state_.showHints);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Pop-up hints only when switched on; the status bar shows them always.
    if (event->type() == QEvent::ToolTip && !state_.showHints) return true;
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::checkHelpFile(bool switching) {
    if (HelpFileExists(state_.language)) return true;
    const bool en = state_.english();
    QString text = (en ? QStringLiteral("Help file ") : QStringLiteral("Hilfedatei ")) + HelpFilePath(state_.language) +
                   (en ? QStringLiteral(" not found!") : QStringLiteral(" nicht gefunden!"));
    if (switching)
        text += en ? QStringLiteral("\r\nTherefore no help information included!")
                   : QStringLiteral("\r\nDaher ist keine Hilfe verfügbar!");
    dialogs_.inform(caption(CaptionKind::Information, state_.language), text);
    return false;
}

void MainWindow::showHelp(int topic) {
    if (!HelpFileExists(state_.language)) return;
    if (!help_) help_ = new HelpWindow(this);
    helpTopic_ = topic;
    help_->showTopic(state_.language, topic);
}

void MainWindow::showAbout() {
    // The information panel: the program's picture with the version a third down.
    auto* panel = new QDialog(this);
    panel->setObjectName(QStringLiteral("aboutPanel"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowTitle(state_.english() ? QStringLiteral("About Zorva") : QStringLiteral("Info Zorva"));
    auto* layout = new QVBoxLayout(panel);
    auto* name = new QLabel(QStringLiteral("Zorva"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignHCenter);
    auto* version = new QLabel(QStringLiteral("3.9 "));
    version->setObjectName(QStringLiteral("versionLabel"));
    version->setAlignment(Qt::AlignHCenter);
    auto* picture = new QLabel;
    picture->setPixmap(welcome_.isNull() ? BuiltInWelcomePicture(106, QSize(360, 240))
                                         : welcome_.scaled(360, 240, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->setAlignment(Qt::AlignHCenter);
    auto* close = new QPushButton(state_.english() ? QStringLiteral("Close") : QStringLiteral("Schliessen"));
    close->setObjectName(QStringLiteral("aboutClose"));
    connect(close, &QPushButton::clicked, panel, &QDialog::accept);
    layout->addStretch(1);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addStretch(2);
    layout->addWidget(picture);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    panel->resize(420, 460);
    panel->show();
}

void MainWindow::printerSetup() {
    QPageSetupDialog dialog(&*printer_, this);
    dialog.exec();
}

void MainWindow::printActiveChild() {
    ChildWindow* c = activeChild();
    if (c && c->canPrint()) c->print(*printer_);
}

void MainWindow::printActiveWindow() {
    ChildWindow* c = activeChild();
    if (!c) return;
    const QPixmap picture = c->grab();
    // Landscape for windows wider than high, so the picture fills more of the paper.
    printer_->setPageOrientation(picture.width() > picture.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&*printer_, this);
    if (dialog.exec() == QDialog::Accepted) {
        QPainter p(&*printer_);
        const QRect page = p.viewport();
        p.fillRect(page, Qt::white);
        p.drawPixmap(FitPictureOnPage(picture.size(), page), picture);
    }
    printer_->setPageOrientation(QPageLayout::Portrait);
}

void MainWindow::showScreenAdvice() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize size = screen->size();
    const int dpi = qRound(screen->logicalDotsPerInch());
    const bool largeFonts = dpi >= 120;
    const bool wideScreen = size.width() >= 1000;
    if (!((!wideScreen && largeFonts) || (size.width() <= 800 && largeFonts))) return;
    const Language lang = state_.language;
    dialogs_.inform(caption(CaptionKind::Information, lang),
                    message(50, lang) + QString::number(size.width()) + QStringLiteral(" x ") +
                        QString::number(size.height()) + message(dpi == 120 ? 51 : 52, lang) + QStringLiteral("\n\r") +
                        message(19, lang));
}

void MainWindow::showFontWarning() {
    if (ZodiacSignsInstalled()) return;
    const Language lang = state_.language;
    dialogs_.inform(caption(CaptionKind::Warning, lang), message(60, lang) + QStringLiteral("\r\n") + message(61, lang),
                    Icon::Warning);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    const int step = wizardStep_;
    wizardStep_ = kWizardNone;
    suppressContinuation_ = true;
    const bool closed = closeAllChildren();
    suppressContinuation_ = false;
    if (!closed || !settingsMayBeLeft()) {
        wizardStep_ = closed ? kWizardNone : step;
        updateMenus();
        event->ignore();
        return;
    }
    event->accept();
}

Application::Application() : state_(StartupState()) {}
Application::~Application() = default;

int Application::run() {
    QtDialogs dialogs;
    QtFileChooser files;
    ChildRegistry registry;
    RegisterStandardChildren(registry);
    MainWindow w(state_, dialogs, files, std::move(registry));
    dialogs.setParent(&w);
    files = QtFileChooser(&w);
    // Maximized, the window manager fits the frame, the menus and the status bar on the
    // screen whatever its size and the height of its title bars and panels.
    w.showMaximized();
    w.startUp();
    return QApplication::exec();
}

}  // namespace zorva
