#include "ui/tables_window.h"

#include "astro/calendar.h"
#include "astro/table_export.h"
#include "state/dial_state.h"
#include "ui/preferences_save.h"
#include "text/field_readers.h"
#include "text/number_format.h"
#include "text/month_names.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/caption_tags.h"
#include "ui/file_chooser.h"
#include "ui/horizon_panel.h"
#include "ui/line_edit_field.h"
#include "ui/print_fit.h"
#include "astro/horizon_profile.h"
#include "astro/pvgis_horizon.h"
#include "dials/plane_sunlight.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDate>
#include <QFontMetricsF>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace zorva {
namespace {

// String resources of the window's controls (German number; English + 2000).
enum Res {
    kMonthCaption = 807,
    kTwilightGroup = 833,
    kTwilightFirst = 834,  // civil, nautical, astronomical
    kYearKindGroup = 901,
    kYearKindFirst = 902,  // EoT, EoT + longitude, declination, transit
    kPrint = 906,
    kSaveTable = 907,
    kPopupMonth = 908,
    kPopupEot = 909,
    kPopupDeclination = 910,
    kPopupTransit = 911,
    kPopupEotGraph = 914,
    kPopupSunPath = 915,
    kPopupPrint = 916,
    kFactor = 917,
    kMirror = 918,
    kCorrectionLine1 = 919,
    kCorrectionLine2 = 920,
    kLongitudeCorrection = 921,
    kSaveHpgl = 922,
    kSaveDxf = 923,
    kEotDefinition = 924,
    kPlaneSunlight = 925,
    kHpglFilter = 926,
    kDxfFilter = 927,
    kOk = 928,
    kCancel = 929,
    kFileCaption = 930,
    kSunPathHeading = 41,
    kPlaneLatitude = 960,
    kPlaneLongitude = 961,
    kPlaneDeviation = 962,
    kPlaneInclination = 963,
    kShowProfile = 964,
    kComputeProfile = 965,
    kLoadProfile = 966,
    kProfileOpenFilter = 981,
    kImportPvgis = 985,
    kOverTerrain = 990,
    kPvgisOpenFilter = 986,
    kTitleMonth = 65,
    kTitleEot = 66,
    kTitleDeclination = 67,
    kTitleTransit = 68,
    kTitleSunPath = 69,
    kTitleEotGraph = 70,
};

constexpr int kTableFontStart = 12;  // points
constexpr int kTableLines = 44;
constexpr int kTableFontSmallest = 9;  // points; below this a table is not readable, it scrolls

QFont FixedFont(int points, bool bold = false) {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

// A titled row of radio buttons named `itemName`0, 1, ... with the captions first, first + 1, ...
QGroupBox* RadioRow(const char* name, int title, const char* itemName, int first, int count, QButtonGroup* group) {
    auto* box = NewTagged<QGroupBox>(name, title);
    auto* layout = new QHBoxLayout(box);
    for (int i = 0; i < count; ++i) {
        auto* r = new QRadioButton;
        r->setObjectName(QString::fromLatin1(itemName) + QString::number(i));
        SetCaptionTag(r, first + i);
        group->addButton(r, i);
        layout->addWidget(r);
    }
    return box;
}

// The file the user picks to read (empty when cancelled): the dialog's title and filter are texts.
QString FileToRead(ChildHost& host, int title, int filter) {
    const Language lang = host.language();
    return host.files().openFileName(resourceTextPlain(title, lang), QString(), resourceText(filter, lang));
}

}  // namespace

// =========================================================================== TableView

TableView::TableView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tableView"));
    setAutoFillBackground(false);
}

void TableView::setLines(const QStringList& lines) {
    lines_ = lines;
    // The scroll area keeps the view at least this large and scrolls the rest.
    setMinimumSize(minimumSizeHint());
    update();
}

QSize TableView::minimumSizeHint() const {
    // The whole table at the smallest readable size; a smaller window scrolls.
    int widest = 0;
    for (const QString& l : lines_) widest = std::max(widest, static_cast<int>(l.size()));
    const QFontMetricsF fm(FixedFont(kTableFontSmallest), const_cast<TableView*>(this));
    const int rows = std::max<int>(kTableLines, static_cast<int>(lines_.size()) + 1);
    return {static_cast<int>(std::ceil(fm.horizontalAdvance(QString(std::max(widest, 1), QLatin1Char('M'))))) + 16,
            static_cast<int>(std::ceil(fm.lineSpacing() * rows)) + 8};
}

QSize TableView::sizeHint() const { return minimumSizeHint(); }

int TableView::fittedPointSize() const {
    // The widest line decides (a year table is wider than the month table's header).
    int widest = 0;
    for (const QString& l : lines_) widest = std::max(widest, static_cast<int>(l.size()));
    const QString sample(std::max(widest, 1), QLatin1Char('M'));
    // At least 44 lines, and every line of a longer table, fit the height.
    const int rows = std::max<int>(kTableLines, static_cast<int>(lines_.size()) + 1);
    int points = kTableFontStart;
    for (; points > kTableFontSmallest; --points) {
        const QFontMetricsF fm(FixedFont(points), const_cast<TableView*>(this));
        if (fm.horizontalAdvance(sample) + 12 <= width() - 4 && fm.lineSpacing() * rows <= height()) break;
    }
    return points;
}

void TableView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (lines_.isEmpty()) return;
    const int points = fittedPointSize();
    const QFont regular = FixedFont(points), bold = FixedFont(points, true);
    const QFontMetricsF fm(regular, this);
    const double lineH = fm.lineSpacing();
    const double left = 6;
    double widest = 0;
    for (const QString& l : lines_) widest = std::max(widest, fm.horizontalAdvance(l));
    const double tableH = lineH * lines_.size();
    p.setPen(Qt::black);
    for (int i = 0; i < lines_.size(); ++i) {
        p.setFont(i == 0 ? bold : regular);
        p.drawText(QPointF(left, 4 + lineH * i + fm.ascent()), lines_[i]);
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 2, std::min(widest + left + 6, width() - 4.0), std::min(tableH + 6, height() - 4.0)));
    p.drawLine(QPointF(2, 4 + 2.5 * lineH), QPointF(std::min(widest + left + 8, width() - 2.0), 4 + 2.5 * lineH));
}

// =========================================================================== GraphView

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("graphView"));
    // Below this the labels of the graphs run into each other; a smaller window scrolls.
    setMinimumSize(720, 520);
}

void GraphView::setPainter(Painter painter) {
    painter_ = std::move(painter);
    update();
}

void GraphView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (painter_) painter_(p, QRectF(rect()));
}

// =========================================================================== TablesWindow

TablesWindow::TablesWindow(ChildHost& host, const OpenRequest& request, QWidget* parent)
    : ChildWindow(ChildKind::TableWindow, host, parent) {
    setObjectName(QStringLiteral("TablesWindow"));
    if (state().calcMonth < 1 || state().calcMonth > 12) {
        const QDate today = QDate::currentDate();
        state().calcMonth = today.month();
        state().calcDay = today.day();
    }
    buildUi();
    buildPopup();
    showMode(request.calcMode, request.yearTableKind);
}

TablesWindow::~TablesWindow() = default;

QPrinter& TablesWindow::printer() { return *printer_; }

void TablesWindow::buildUi() {
    auto* layout = new QVBoxLayout(this);
    heading_ = new QLabel;
    heading_->setObjectName(QStringLiteral("heading"));
    layout->addWidget(heading_);

    auto* controls = new QHBoxLayout;
    layout->addLayout(controls);

    // Twilight kind and month of the month table.
    twilightGroup_ = new QButtonGroup(this);
    twilightBox_ = RadioRow("twilightBox", kTwilightGroup, "twilight", kTwilightFirst, 3, twilightGroup_);
    controls->addWidget(twilightBox_);
    monthLabel_ = new QLabel;
    SetCaptionTag(monthLabel_, kMonthCaption);
    monthCombo_ = new QComboBox;
    monthCombo_->setObjectName(QStringLiteral("monthChoice"));
    for (int m = 1; m <= 12; ++m) monthCombo_->addItem(ShortMonthName(m, host().language()));
    monthLabel_->setBuddy(monthCombo_);
    controls->addWidget(monthLabel_);
    controls->addWidget(monthCombo_);
    overTerrainCheck_ = NewTagged<QCheckBox>("sunriseOverTerrainCheck", kOverTerrain);
    controls->addWidget(overTerrainCheck_);

    // Kind of the year table.
    yearKindGroup_ = new QButtonGroup(this);
    yearKindBox_ = RadioRow("yearKindBox", kYearKindGroup, "yearKind", kYearKindFirst, 4, yearKindGroup_);
    controls->addWidget(yearKindBox_);

    // The plane panel of the sun-position diagram: the plane, its sunlit limits and the
    // horizon profile. Its fields edit the site and the dial plane of the state.
    planePanel_ = new QWidget;
    planePanel_->setObjectName(QStringLiteral("planePanel"));
    // Two rows: the plane's four values, then the switches and the profile buttons.
    auto* planeLayout = new QGridLayout(planePanel_);
    planeLayout->setContentsMargins(0, 0, 0, 0);
    int column = 0;
    const auto planeField = [&](const char* name, int caption) {
        auto* l = new QLabel;
        SetCaptionTag(l, caption);
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        e->setMaximumWidth(110);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9.]*")), e));
        l->setBuddy(e);
        planeLayout->addWidget(l, 0, column++);
        planeLayout->addWidget(e, 0, column++);
        return e;
    };
    planeLatitude_ = planeField("planeLatitude", kPlaneLatitude);
    planeLongitude_ = planeField("planeLongitude", kPlaneLongitude);
    planeDeviation_ = planeField("planeDeviation", kPlaneDeviation);
    planeInclination_ = planeField("planeInclination", kPlaneInclination);
    planeLayout->setColumnStretch(column, 1);
    auto* switches = new QHBoxLayout;
    planeLayout->addLayout(switches, 1, 0, 1, column + 1);
    planeSunlightCheck_ = NewTagged<QCheckBox>("planeSunlightCheck", kPlaneSunlight);
    switches->addWidget(planeSunlightCheck_);
    horizonCheck_ = NewTagged<QCheckBox>("horizonProfileCheck", kShowProfile);
    switches->addWidget(horizonCheck_);
    auto* computeProfile = NewTagged<QPushButton>("computeProfileButton", kComputeProfile);
    switches->addWidget(computeProfile);
    auto* loadProfile = NewTagged<QPushButton>("loadProfileButton", kLoadProfile);
    switches->addWidget(loadProfile);
    auto* importPvgis = NewTagged<QPushButton>("importPvgisButton", kImportPvgis);
    switches->addWidget(importPvgis);
    switches->addStretch(1);
    longitudeCheck_ = NewTagged<QCheckBox>("longitudeCorrectionCheck", kLongitudeCorrection);
    controls->addWidget(longitudeCheck_);
    controls->addStretch(1);

    for (auto [button, name, caption] : {std::tuple{&printButton_, "printButton", kPrint},
                                         std::tuple{&saveTableButton_, "saveTableButton", kSaveTable},
                                         std::tuple{&saveHpglButton_, "saveHpglButton", kSaveHpgl},
                                         std::tuple{&saveDxfButton_, "saveDxfButton", kSaveDxf}}) {
        *button = NewTagged<QPushButton>(name, caption);
        controls->addWidget(*button);
    }

    // The options of a graph file, shown by the save buttons.
    graphOptions_ = new QFrame;
    graphOptions_->setObjectName(QStringLiteral("graphOptions"));
    graphOptions_->setFrameShape(QFrame::StyledPanel);
    auto* options = new QGridLayout(graphOptions_);
    factorLabel_ = new QLabel;
    SetCaptionTag(factorLabel_, kFactor);
    factorEdit_ = new QLineEdit(QStringLiteral("  1.0"));
    factorEdit_->setObjectName(QStringLiteral("factorEdit"));
    factorEdit_->setMaximumWidth(90);
    factorLabel_->setBuddy(factorEdit_);
    mirrorCheck_ = NewTagged<QCheckBox>("mirrorCheck", kMirror);
    correctionCheck_ = new QCheckBox;
    correctionCheck_->setObjectName(QStringLiteral("graphCorrectionCheck"));
    fileLabel_ = new QLabel;
    fileLabel_->setObjectName(QStringLiteral("graphFileLabel"));
    auto* ok = NewTagged<QPushButton>("graphSaveOk", kOk);
    auto* cancel = NewTagged<QPushButton>("graphSaveCancel", kCancel);
    options->addWidget(factorLabel_, 0, 0);
    options->addWidget(factorEdit_, 0, 1);
    options->addWidget(mirrorCheck_, 0, 2);
    options->addWidget(correctionCheck_, 1, 0, 1, 3);
    options->addWidget(fileLabel_, 0, 3);
    options->addWidget(ok, 0, 4);
    options->addWidget(cancel, 1, 4);
    graphOptions_->hide();
    layout->addWidget(graphOptions_);

    layout->addWidget(planePanel_);
    horizonPanel_ = new HorizonPanel(host(), this);
    horizonPanel_->hide();
    horizonPanel_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    layout->addWidget(horizonPanel_);

    stack_ = new QStackedWidget;
    tableView_ = new TableView;
    graphView_ = new GraphView;
    // Both scroll when the window is smaller than a readable table or graph.
    for (QWidget* view : {static_cast<QWidget*>(tableView_), static_cast<QWidget*>(graphView_)}) {
        auto* scroll = new QScrollArea;
        scroll->setObjectName(view->objectName() + QStringLiteral("Scroll"));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(view);
        stack_->addWidget(scroll);
    }
    layout->addWidget(stack_, 1);
    sunlightLabel_ = new QLabel;
    sunlightLabel_->setObjectName(QStringLiteral("sunlightLabel"));
    sunlightLabel_->setAlignment(Qt::AlignHCenter);
    layout->addWidget(sunlightLabel_);

    for (QLineEdit* e : {planeLatitude_, planeLongitude_, planeDeviation_, planeInclination_}) {
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            if (!e->isModified()) return;
            e->setModified(false);
            readPlaneField(e);
        });
        // RETURN moves on to the next field (after the read above).
        connect(e, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    }
    connect(horizonCheck_, &QCheckBox::toggled, this, [this](bool on) {
        if (!updating_) setShowHorizonProfile(on);
    });
    connect(computeProfile, &QPushButton::clicked, this, [this] {
        horizonPanel_->fillFromSite();
        horizonPanel_->show();
    });
    connect(loadProfile, &QPushButton::clicked, this, [this] { loadHorizonProfile(); });
    connect(importPvgis, &QPushButton::clicked, this, [this] { importPvgisHorizon(); });
    connect(horizonPanel_, &HorizonPanel::profileChanged, this, [this] { rebuild(); });

    connect(twilightGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        if (updating_) return;
        state().twilightKind = id;
        rebuild();
    });
    connect(overTerrainCheck_, &QCheckBox::toggled, this, [this](bool on) {
        if (updating_) return;
        state().sunriseOverTerrain = on;
        SavePreferencesBeside(state(), host().settingsFilePath(), host().dialogs());
        rebuild();
    });
    connect(monthCombo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (updating_ || index < 0) return;
        state().calcMonth = index + 1;
        rebuild();
    });
    connect(yearKindGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        if (!updating_) showMode(kTablesYear, id);
    });
    connect(planeSunlightCheck_, &QCheckBox::toggled, this, [this](bool on) {
        if (updating_) return;
        state().showPlaneSunlight = on;
        rebuild();
    });
    const auto setCorrection = [this](bool on) {
        if (updating_) return;
        state().eotLongitudeCorrection = on;
        rebuild();
    };
    connect(longitudeCheck_, &QCheckBox::toggled, this, setCorrection);
    connect(correctionCheck_, &QCheckBox::toggled, this, setCorrection);
    connect(mirrorCheck_, &QCheckBox::toggled, this, [this](bool on) { mirror_ = on; });
    connect(printButton_, &QPushButton::clicked, this, [this] { print(); });
    connect(saveTableButton_, &QPushButton::clicked, this, &TablesWindow::saveTable);
    connect(saveHpglButton_, &QPushButton::clicked, this, [this] { showGraphOptions(PlotFormat::Hpgl); });
    connect(saveDxfButton_, &QPushButton::clicked, this, [this] { showGraphOptions(PlotFormat::Dxf); });
    connect(ok, &QPushButton::clicked, this, &TablesWindow::confirmGraphSave);
    connect(cancel, &QPushButton::clicked, graphOptions_, &QWidget::hide);
    // Escape in the save options is their "Abbrechen".
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), graphOptions_);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
}

void TablesWindow::buildPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("tablesPopup"));
    const auto entry = [this](const char* name, int caption, auto slot) {
        QAction* a = popup_->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        SetCaptionTag(a, caption);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    entry("popupMonthTable", kPopupMonth, [this] { showMode(kTablesMonth, 0); });
    entry("popupEotTable", kPopupEot, [this] { showMode(kTablesYear, 0); });
    entry("popupDeclinationTable", kPopupDeclination, [this] { showMode(kTablesYear, 2); });
    entry("popupTransitTable", kPopupTransit, [this] { showMode(kTablesYear, 3); });
    entry("popupEotGraph", kPopupEotGraph, [this] { showMode(kTablesEotGraph, static_cast<int>(kind_)); });
    entry("popupSunPath", kPopupSunPath, [this] { showMode(kTablesSunPath, static_cast<int>(kind_)); });
    popup_->addSeparator();
    entry("popupPrint", kPopupPrint, [this] { print(); });
    saveTableAction_ = entry("popupSaveTable", kSaveTable, [this] { saveTable(); });
}

void TablesWindow::contextMenuEvent(QContextMenuEvent* event) {
    popup_->exec(event->globalPos());
    event->accept();
}

void TablesWindow::showMode(int calcMode, int yearTableKind) {
    const int previous = mode_;
    mode_ = calcMode == kTablesYear || calcMode == kTablesEotGraph || calcMode == kTablesSunPath ? calcMode
                                                                                                   : kTablesMonth;
    if (yearTableKind >= 0 && yearTableKind <= 3) kind_ = static_cast<YearTableKind>(yearTableKind);
    graphOptions_->hide();
    if (mode_ == kTablesSunPath && (previous != kTablesSunPath || !planeFieldsFilled_)) {
        // The plane starts from the site and the dial plane; the profile settings from scratch.
        fillPlaneFields();
        horizonPanel_->resetSettings();
        planeFieldsFilled_ = true;
    }
    updateControls();
    applyLanguage();  // the title follows the mode; it also rebuilds the content
}

void TablesWindow::updateControls() {
    updating_ = true;
    const bool month = mode_ == kTablesMonth, year = mode_ == kTablesYear;
    const bool graph = mode_ == kTablesEotGraph || mode_ == kTablesSunPath;
    twilightBox_->setVisible(month);
    monthLabel_->setVisible(month);
    monthCombo_->setVisible(month);
    overTerrainCheck_->setVisible(month);
    overTerrainCheck_->setChecked(state().sunriseOverTerrain);
    yearKindBox_->setVisible(year);
    planePanel_->setVisible(mode_ == kTablesSunPath);
    if (mode_ != kTablesSunPath) horizonPanel_->hide();
    horizonCheck_->setChecked(state().showHorizonProfile);
    longitudeCheck_->setVisible(graph);
    saveTableButton_->setVisible(!graph);
    saveTableAction_->setEnabled(!graph);
    saveHpglButton_->setVisible(graph);
    saveDxfButton_->setVisible(graph);
    heading_->setVisible(graph);
    mirrorCheck_->setEnabled(mode_ == kTablesEotGraph);
    if (QAbstractButton* b = twilightGroup_->button(std::clamp(state().twilightKind, 0, 2))) b->setChecked(true);
    monthCombo_->setCurrentIndex(std::clamp(state().calcMonth, 1, 12) - 1);
    if (QAbstractButton* b = yearKindGroup_->button(static_cast<int>(kind_))) b->setChecked(true);
    planeSunlightCheck_->setChecked(state().showPlaneSunlight);
    longitudeCheck_->setChecked(state().eotLongitudeCorrection);
    correctionCheck_->setChecked(state().eotLongitudeCorrection);
    stack_->setCurrentIndex(graph ? 1 : 0);
    updating_ = false;
}

GraphKind TablesWindow::graphKind() const {
    return mode_ == kTablesSunPath ? GraphKind::SunPath : GraphKind::EquationOfTime;
}

SunPathExtras TablesWindow::sunPathExtras(bool print) const { return StateSunPathExtras(state(), print); }

QString TablesWindow::sunlightLabelText() const {
    return mode_ == kTablesSunPath && state().showPlaneSunlight ? PlaneSunlightLabel(state()) : QString();
}

void TablesWindow::fillPlaneFields() {
    const DialState& s = state();
    planeLatitude_->setText(RealToText(13, 6, s.latitude).trimmed());
    planeLongitude_->setText(RealToText(13, 6, s.longitude).trimmed());
    planeDeviation_->setText(RealToText(6, 2, s.wallDeclination).trimmed());
    planeInclination_->setText(RealToText(6, 2, s.planeInclination).trimmed());
}

void TablesWindow::readPlaneField(QLineEdit* edit) {
    struct Rule {
        QLineEdit* edit;
        double DialState::*field;
        double lower, upper;
    };
    const Rule rules[] = {{planeLatitude_, &DialState::latitude, -90, 90},
                          {planeLongitude_, &DialState::longitude, -180, 180},
                          {planeDeviation_, &DialState::wallDeclination, -180, 180},
                          {planeInclination_, &DialState::planeInclination, 0, 180}};
    for (const Rule& r : rules) {
        if (r.edit != edit) continue;
        LineEditField field(edit, LineEditField::Refocus::AtOnce);
        bool error = false;
        double value = state().*r.field;
        QString name;
        for (QLabel* l : planePanel_->findChildren<QLabel*>())
            if (l->buddy() == edit) name = StripAccelerators(l->text()).trimmed();
        FieldReader{host().dialogs(), host().language()}.readRealInRange(field, value, name, error, r.upper, r.lower);
        if (error) {
            edit->setFocus();
            return;
        }
        state().*r.field = value;
        rebuild();
    }
}

void TablesWindow::setShowHorizonProfile(bool on) {
    if (on && !state().horizonProfile) {
        const Language lang = host().language();
        if (host().dialogs().ask(caption(CaptionKind::Question, lang), NoProfileQuestion(lang), Buttons::YesNo) ==
            Answer::Yes)
            loadHorizonProfile();
        if (!state().horizonProfile) on = false;
    }
    state().showHorizonProfile = on;
    rebuild();
}

bool TablesWindow::loadHorizonProfile() {
    const Language lang = host().language();
    const QString path = FileToRead(host(), kLoadProfile, kProfileOpenFilter);
    if (path.isEmpty()) return false;
    HorizonProfile profile;
    if (ReadHorizonProfileFile(path, profile) != HorizonFileStatus::Ok) {
        host().dialogs().inform(caption(CaptionKind::Error, lang), message(24, lang), Icon::Error);
        return false;
    }
    adoptProfile(profile);
    return true;
}

bool TablesWindow::importPvgisHorizon() {
    const Language lang = host().language();
    const QString path = FileToRead(host(), kImportPvgis, kPvgisOpenFilter);
    if (path.isEmpty()) return false;
    PvgisHorizon horizon;
    QString problem;
    if (!ReadPvgisHorizonFile(path, horizon, problem, lang)) {
        host().dialogs().inform(caption(CaptionKind::Error, lang), problem, Icon::Error);
        return false;
    }
    const DialState& s = state();
    adoptProfile(horizon.hasSite ? ProfileFromPvgis(horizon, horizon.latitude, -horizon.longitudeEast)
                                 : ProfileFromPvgis(horizon, s.latitude, s.longitude));
    return true;
}

void TablesWindow::adoptProfile(const HorizonProfile& profile) {
    const Language lang = host().language();
    DialState& s = state();
    if (std::abs(profile.latitude - s.latitude) > 1e-6 || std::abs(profile.longitude - s.longitude) > 1e-6) {
        host().dialogs().inform(caption(CaptionKind::Information, lang), message(70, lang));
        s.latitude = profile.latitude;
        s.longitude = profile.longitude;
        fillPlaneFields();
    }
    s.horizonProfile = std::make_shared<const HorizonProfile>(profile);
    rebuild();
}

QStringList TablesWindow::displayedLines() const {
    return mode_ == kTablesMonth ? MonthTableDisplayLines(state(), lines_) : lines_;
}

void TablesWindow::rebuild() {
    updateControls();
    const DialState& s = state();
    switch (mode_) {
    case kTablesMonth:
        lines_ = BuildMonthTable(s, s.referenceYear, std::clamp(s.calcMonth, 1, 12));
        tableView_->setLines(displayedLines());
        break;
    case kTablesYear:
        lines_ = BuildYearTable(s, kind_, TableTarget::Window);
        tableView_->setLines(lines_);
        break;
    default: {
        lines_.clear();
        const GraphKind kind = graphKind();
        // The EoT graph takes 85 % of the height, the sun-position diagram 85 % of the width, centred.
        graphView_->setPainter([this, kind](QPainter& p, const QRectF& r) {
            const QRectF area = kind == GraphKind::EquationOfTime
                                    ? QRectF(r.left(), r.top(), r.width(), r.height() * 0.85)
                                    : QRectF(r.left() + r.width() * 0.075, r.top(), r.width() * 0.85, r.height());
            PaintGraph(p, kind, area, state(), sunPathExtras());
        });
        break;
    }
    }
    const QString sunlight = sunlightLabelText();
    sunlightLabel_->setText(sunlight);
    sunlightLabel_->setVisible(!sunlight.isEmpty());
}

void TablesWindow::applyLanguage() {
    const Language lang = host().language();
    ApplyCaptionTags(this, lang);
    if (popup_) ApplyCaptionTags(popup_, lang);
    horizonPanel_->applyLanguage();
    correctionCheck_->setText(resourceText(kCorrectionLine1, lang) + QLatin1Char('\n') +
                              resourceText(kCorrectionLine2, lang));
    for (int m = 1; m <= 12; ++m) monthCombo_->setItemText(m - 1, ShortMonthName(m, lang));
    const QString year = QStringLiteral("  ") + QString::number(state().referenceYear);
    switch (mode_) {
    case kTablesMonth: setWindowTitle(resourceTextPlain(kTitleMonth, lang)); break;
    case kTablesYear:
        setWindowTitle(resourceTextPlain(kind_ == YearTableKind::Declination ? kTitleDeclination
                                         : kind_ == YearTableKind::Transit   ? kTitleTransit
                                                                             : kTitleEot,
                                         lang));
        break;
    case kTablesEotGraph:
        setWindowTitle(resourceTextPlain(kTitleEotGraph, lang) + year);
        heading_->setText(resourceText(kEotDefinition, lang));
        break;
    default:
        setWindowTitle(resourceTextPlain(kTitleSunPath, lang) + year);
        heading_->setText(resourceText(kSunPathHeading, lang));
        break;
    }
    rebuild();
}

// --------------------------------------------------------------------------- export

void TablesWindow::saveTable() {
    if (mode_ != kTablesMonth && mode_ != kTablesYear) return;
    const Language lang = host().language();
    int filter = 0;
    const QString chosen = host().files().saveFileNameWithFilter(
        caption(CaptionKind::SaveTable, lang), QString::fromLatin1(kDefaultTableFileName), TableFileFilter(lang),
        {ProposedTableFileName(TableFileKind::Text), ProposedTableFileName(TableFileKind::Csv)}, filter);
    if (chosen.isEmpty()) return;
    const TableFileKind fileKind = filter == 1 ? TableFileKind::Csv : TableFileKind::Text;
    const TableFamily family = mode_ == kTablesMonth                ? TableFamily::Month
                               : kind_ == YearTableKind::Transit ? TableFamily::TransitYear
                                                                 : TableFamily::Year;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString text = TableFileText(lines_, family, fileKind, state());
    QApplication::restoreOverrideCursor();
    SaveTableFile(TableFileName(chosen, fileKind), text, host().dialogs(), lang);
}

void TablesWindow::showGraphOptions(PlotFormat format) {
    pendingFormat_ = format;
    const bool eot = mode_ == kTablesEotGraph;
    fileLabel_->setText(resourceText(kFileCaption, host().language()) +
                        (format == PlotFormat::Hpgl ? (eot ? QStringLiteral("EoT.plt") : QStringLiteral("Azi.plt"))
                                                    : (eot ? QStringLiteral("Eot.dxf")
                                                           : QStringLiteral("Sonnenpositionen.dxf"))));
    mirrorCheck_->setEnabled(eot);
    if (!eot) mirrorCheck_->setChecked(false);
    graphOptions_->show();
    factorEdit_->setFocus();
}

bool TablesWindow::confirmGraphSave() {
    const Language lang = host().language();
    LineEditField field(factorEdit_, LineEditField::Refocus::AtOnce);
    bool error = false;
    double factor = factor_;
    FieldReader{host().dialogs(), lang}.readRealInRange(field, factor, StripAccelerators(factorLabel_->text()), error,
                                                        kMaxGraphFactor, kMinGraphFactor);
    if (error) {
        factorEdit_->setFocus();
        return false;
    }
    factor_ = factor;
    const GraphKind kind = graphKind();
    const PlotFormat format = pendingFormat_;
    const QString chosen = host().files().saveFileName(
        caption(CaptionKind::SaveDrawing, lang), GraphFileName(kind, format),
        resourceText(format == PlotFormat::Dxf ? kDxfFilter : kHpglFilter, lang),
        format == PlotFormat::Dxf ? QStringLiteral("dxf") : QStringLiteral("plt"));
    if (chosen.isEmpty()) return false;
    graphOptions_->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = SaveGraph(kind, state(), GraphPlotOptions{factor_, mirror_ && kind == GraphKind::EquationOfTime},
                              sunPathExtras(), chosen, format, host().dialogs());
    QApplication::restoreOverrideCursor();
    return ok;
}

// --------------------------------------------------------------------------- printing

void TablesWindow::print(QPrinter& p) {
    if (printer_.setUp(p)) printContents(p);
}

void TablesWindow::printContents(QPrinter& printer) {
    const bool graph = mode_ == kTablesEotGraph || mode_ == kTablesSunPath;
    if (!graph)
        printer.setPageOrientation(mode_ == kTablesYear && kind_ == YearTableKind::Transit ? QPageLayout::Landscape
                                                                                            : QPageLayout::Portrait);
    printer.setFullPage(true);
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    QPainter painter;
    bool ok = painter.begin(&printer);
    if (ok) {
        // One unit is 0.1 mm from the corner of the paper.
        const double scale = printer.resolution() / 254.0;
        painter.scale(scale, scale);
        const QRectF paper = printer.pageLayout().fullRectPoints();
        const QRectF page(0, 0, paper.width() * 254.0 / 72.0, paper.height() * 254.0 / 72.0);
        if (graph)
            PaintGraph(painter, graphKind(), GraphPrintArea(graphKind(), landscape), state(), sunPathExtras(true));
        else printTable(painter, page);
        ok = painter.end();
    }
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!ok) host().dialogs().inform(caption(CaptionKind::Error, host().language()), message(42, host().language()),
                                     Icon::Error);
}

void TablesWindow::printTable(QPainter& p, const QRectF& page) {
    const DialState& s = state();
    QStringList lines;
    int headerLines = 0, footerStart = -1;
    if (mode_ == kTablesMonth) {
        lines = MonthTableHeader(s);
        headerLines = lines.size();
        lines += lines_;
        footerStart = lines.size() - kMonthTableFooterLines;
    } else {
        lines = BuildYearTable(s, kind_, TableTarget::Print);
        if (lines.isEmpty() || lines.front() != QStringLiteral(" ")) lines.prepend(QStringLiteral(" "));
    }
    // Text heights in 0.1 mm; the big line is the first of the month table, the second
    // (the title) of a year table.
    const int bigLine = mode_ == kTablesMonth ? 0 : 1;
    const auto font = [](double height) {
        QFont f(QStringLiteral("Courier New"));
        f.setStyleHint(QFont::TypeWriter);
        f.setFixedPitch(true);
        f.setBold(true);
        f.setPixelSize(static_cast<int>(height));
        return f;
    };
    // A wide table (twelve month columns) is set smaller rather than cut at the paper's edge.
    const double margin = mode_ == kTablesMonth ? 300.0 : 50.0;
    double widest = 0;
    for (const QString& l : lines) widest = std::max(widest, QFontMetricsF(font(40)).horizontalAdvance(l));
    const double fit = TableFitScale(widest, page.width() - 2 * margin);
    const double bigHeight = 50 * fit, normalHeight = 40 * fit;
    const QFont big = font(bigHeight), normal = font(normalHeight);
    widest = 0;
    for (const QString& l : lines) widest = std::max(widest, QFontMetricsF(normal).horizontalAdvance(l));
    const double x0 = mode_ == kTablesMonth ? margin : std::max(margin, (page.width() - widest) / 2);
    const double top = mode_ == kTablesMonth ? 200.0 : (kind_ == YearTableKind::Transit ? 200.0 : 400.0);
    const double bottom = page.height() - 150;
    double y = top;
    double frameTop = top - 20;
    const auto closeFrame = [&](double yEnd) {
        if (mode_ != kTablesMonth) return;
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(QRectF(x0 - 30, frameTop, widest + 60, yEnd - frameTop + 10));
    };
    p.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i) {
        const double height = i == bigLine ? bigHeight : normalHeight;
        if (y + height * 1.2 > bottom) {
            closeFrame(y);
            static_cast<QPrinter*>(p.device())->newPage();
            y = top;
            frameTop = top - 20;
        }
        if (i == footerStart) {
            p.setPen(QPen(Qt::black, 3));
            p.drawLine(QPointF(x0 - 30, y + 5), QPointF(x0 + widest + 30, y + 5));
        }
        p.setPen(Qt::black);
        p.setFont(i == bigLine ? big : normal);
        y += height * 1.2;
        p.drawText(QPointF(x0, y), lines[i]);
        if (headerLines > 0 && i == headerLines - 1) {
            p.setPen(QPen(Qt::black, 3));
            p.drawLine(QPointF(x0 - 30, y + 12), QPointF(x0 + widest + 30, y + 12));
        }
    }
    closeFrame(y);
}

}  // namespace zorva
