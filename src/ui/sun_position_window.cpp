#include "ui/sun_position_window.h"

#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "astro/terrain_rise_set.h"
#include "state/dial_state.h"
#include "text/field_readers.h"
#include "text/number_format.h"
#include "text/recording_dialogs.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/line_edit_field.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDate>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace zorva {
namespace {

// String resources of the window's captions.
namespace res {
constexpr int kLatitude = 802;
constexpr int kLongitude = 803;
constexpr int kEastNegative = 804;
constexpr int kZoneMeridian = 805;
constexpr int kYear = 806;
constexpr int kMonth = 807;
constexpr int kDay = 808;
constexpr int kCalculate = 809;
constexpr int kTables = 810;
constexpr int kGraph = 811;
constexpr int kAltitudeGraph = 812;
constexpr int kMoreTables = 813;
constexpr int kRiseSetTable = 814;
constexpr int kEoTTable = 815;
constexpr int kDeclinationTable = 816;
constexpr int kTransitTable = 817;
constexpr int kStartCalculation = 818;
constexpr int kPrintWithFormFeed = 819;
constexpr int kPrintWithoutFormFeed = 820;
constexpr int kPrintPage = 821;
constexpr int kEoTGraph = 822;
constexpr int kSunPositionGraph = 823;
constexpr int kEoT = 824;
constexpr int kDeclination = 825;
constexpr int kNoonValues = 826;
constexpr int kSunrise = 827;
constexpr int kSunset = 828;
constexpr int kTwilightBegin = 829;
constexpr int kTwilightEnd = 830;
constexpr int kMoonrise = 831;
constexpr int kMoonset = 832;
constexpr int kTwilight = 833;
constexpr int kTwilightKindFirst = 834;
constexpr int kTime = 837;
constexpr int kClockKind = 838;
constexpr int kClockKindFirst = 839;
constexpr int kAltitude = 842;
constexpr int kAzimuth = 843;
constexpr int kAzimuthInput = 844;
constexpr int kReachedAt = 846;
constexpr int kAzimuthScale = 847;
constexpr int kZoneTimeOnly = 848;
constexpr int kOverTerrain = 990;
constexpr int kNoProfileLoaded = 992;
}  // namespace res

// Indices of the calculation entries in the menu caption table.
constexpr int kMenuCaptionRiseSet = 23;
constexpr int kMenuCaptionPosition = 24;
constexpr int kMenuCaptionAzimuthTime = 25;
constexpr int kMenuCaptionEoT = 26;

constexpr int kLabelInput = 67;  // "Eingabe?"
constexpr int kLabelZoneFar = 46;
constexpr int kLabelZoneFarQuestion = 47;
constexpr int kMessageFormFeed = 11;
constexpr int kMessagePrintFailed = 42;


const QString kDefaultTime = QStringLiteral("12:00:00");
constexpr int kFirstYear = 1300;
constexpr int kLastYear = 2500;

bool ParseTrimmedReal(const QString& text, double& value) { return ParseReal(text.trimmed(), value); }

bool ParseTrimmedInt(const QString& text, int lower, int upper, int& value) {
    long long v = 0;
    if (!ParseInt(text.trimmed(), v) || v < lower || v > upper) return false;
    value = static_cast<int>(v);
    return true;
}

int ShownMode(int calcMode) {
    switch (calcMode) {
    case kModeRiseSet:
    case kModePosition:
    case kModeAzimuthTime:
        return calcMode;
    default:
        return kModeEoT;  // 8, and the graph modes 16 and 32
    }
}

QLabel* ResultLabel(const char* name) {
    auto* l = new QLabel;
    l->setObjectName(QString::fromLatin1(name));
    l->setMinimumWidth(150);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    QFont f = l->font();
    f.setFamily(QStringLiteral("Courier"));
    f.setStyleHint(QFont::TypeWriter);
    f.setBold(true);
    l->setFont(f);
    return l;
}

}  // namespace

// ---------------------------------------------------------------------------------------

TextPrintJob::TextPrintJob(QPrinter& printer) : printer_(printer) {}

TextPrintJob::~TextPrintJob() { finish(); }

bool TextPrintJob::isOpen() const { return painter_ && painter_->isActive(); }

bool TextPrintJob::write(const QStringList& lines) {
    if (!isOpen()) {
        painter_ = std::make_unique<QPainter>();
        if (!painter_->begin(&printer_)) {
            painter_.reset();
            return false;
        }
        QFont font(QStringLiteral("Courier"), 11);
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        painter_->setFont(font);
        painter_->setPen(Qt::black);
        y_ = 0;
    }
    const QFontMetrics metrics(painter_->font(), painter_->device());
    const int pageHeight = printer_.height();
    for (const QString& line : lines) {
        if (y_ > 0 && y_ + metrics.lineSpacing() > pageHeight) {
            printer_.newPage();
            y_ = 0;
        }
        painter_->drawText(0, y_ + metrics.ascent(), line);
        y_ += metrics.lineSpacing();
    }
    return true;
}

void TextPrintJob::finish() {
    if (painter_) {
        if (painter_->isActive()) painter_->end();
        painter_.reset();
    }
    y_ = 0;
}

// ---------------------------------------------------------------------------------------

SunPositionWindow::SunPositionWindow(DialState& state, UserDialogs& dialogs, int calcMode, QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs), mode_(calcMode) {
    setObjectName(QStringLiteral("SunPositionWindow"));
    ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_ = ownPrinter_.get();
    buildUi();
    loadFields();
    applyLanguage();
    updateTableEntries();
}

SunPositionWindow::~SunPositionWindow() {
    // An open job holds lines not yet on paper: the page goes out with the window.
    job_.reset();
}

QLineEdit* SunPositionWindow::addEdit(const char* name, FieldKind kind) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->installEventFilter(this);
    e->setMaximumWidth(140);
    fields_.push_back({e, kind});
    return e;
}

void SunPositionWindow::buildUi() {
    auto caption = [this](QObject* o, int n) { captions_.emplace_back(o, n); };
    // A caption with an accelerator sends the focus to its field.
    auto captionLabel = [&](int n, QWidget* buddy = nullptr) {
        auto* l = new QLabel;
        caption(l, n);
        if (buddy) l->setBuddy(buddy);
        return l;
    };
    // A captioned result: caption in `column`, the value (a label named `name`) beside it.
    auto result = [&](QGridLayout* g, int row, int column, int n, const char* name) {
        QLabel* value = ResultLabel(name);
        g->addWidget(captionLabel(n), row, column);
        g->addWidget(value, row, column + 1);
        return value;
    };
    // One of the four panels of results; the mode shows one of them.
    auto panel = [](const char* name, QGroupBox*& box) {
        box = new QGroupBox;
        box->setObjectName(QString::fromLatin1(name));
        return new QGridLayout(box);
    };
    // A group of three radio buttons captioned by consecutive resources.
    auto radioGroup = [&](const char* boxName, int boxCaption, const std::array<const char*, 3>& names,
                          int firstCaption, QButtonGroup*& group) {
        auto* box = new QGroupBox;
        box->setObjectName(QString::fromLatin1(boxName));
        caption(box, boxCaption);
        auto* layout = new QVBoxLayout(box);
        group = new QButtonGroup(this);
        for (int i = 0; i < 3; ++i) {
            auto* r = new QRadioButton;
            r->setObjectName(QString::fromLatin1(names[i]));
            caption(r, firstCaption + i);
            group->addButton(r, i);
            layout->addWidget(r);
        }
        return box;
    };
    auto button = [&](const char* name, int n) {
        auto* b = new QPushButton;
        b->setObjectName(QString::fromLatin1(name));
        caption(b, n);
        return b;
    };

    // Site and date.
    auto* siteBox = new QGroupBox;
    siteBox->setObjectName(QStringLiteral("siteBox"));
    auto* siteGrid = new QGridLayout(siteBox);
    latitudeEdit_ = addEdit("latitudeEdit", FieldKind::Real);
    longitudeEdit_ = addEdit("longitudeEdit", FieldKind::Real);
    zoneEdit_ = addEdit("zoneEdit", FieldKind::Real);
    yearEdit_ = addEdit("yearEdit", FieldKind::Integer);
    monthEdit_ = addEdit("monthEdit", FieldKind::Integer);
    dayEdit_ = addEdit("dayEdit", FieldKind::Integer);
    siteGrid->addWidget(captionLabel(res::kLatitude, latitudeEdit_), 0, 0);
    siteGrid->addWidget(latitudeEdit_, 0, 1);
    siteGrid->addWidget(captionLabel(res::kLongitude, longitudeEdit_), 1, 0);
    siteGrid->addWidget(longitudeEdit_, 1, 1);
    siteGrid->addWidget(captionLabel(res::kEastNegative), 1, 2);
    siteGrid->addWidget(captionLabel(res::kZoneMeridian, zoneEdit_), 2, 0);
    siteGrid->addWidget(zoneEdit_, 2, 1);
    siteGrid->addWidget(captionLabel(res::kYear, yearEdit_), 0, 3);
    siteGrid->addWidget(yearEdit_, 0, 4);
    siteGrid->addWidget(captionLabel(res::kMonth, monthEdit_), 1, 3);
    siteGrid->addWidget(monthEdit_, 1, 4);
    siteGrid->addWidget(captionLabel(res::kDay, dayEdit_), 2, 3);
    siteGrid->addWidget(dayEdit_, 2, 4);
    siteGrid->setColumnStretch(5, 1);

    QGroupBox *panelEoT, *panelRise, *panelPosition, *panelAzimuth;
    {
        QGridLayout* g = panel("panelEoT", panelEoT);
        eotLabel_ = result(g, 0, 0, res::kEoT, "eotLabel");
        eotDeclinationLabel_ = result(g, 1, 0, res::kDeclination, "eotDeclinationLabel");
        g->addWidget(captionLabel(res::kNoonValues), 2, 0, 1, 2);
        g->setColumnStretch(2, 1);
    }

    {
        QGridLayout* g = panel("panelRise", panelRise);
        riseEotLabel_ = result(g, 0, 0, res::kEoT, "riseEotLabel");
        riseDeclinationLabel_ = result(g, 0, 2, res::kDeclination, "riseDeclinationLabel");
        sunriseLabel_ = result(g, 1, 0, res::kSunrise, "sunriseLabel");
        sunsetLabel_ = result(g, 1, 2, res::kSunset, "sunsetLabel");
        twilightBeginLabel_ = result(g, 2, 0, res::kTwilightBegin, "twilightBeginLabel");
        twilightEndLabel_ = result(g, 2, 2, res::kTwilightEnd, "twilightEndLabel");
        moonriseLabel_ = result(g, 3, 0, res::kMoonrise, "moonriseLabel");
        moonsetLabel_ = result(g, 3, 2, res::kMoonset, "moonsetLabel");
        g->addWidget(radioGroup("twilightKindBox", res::kTwilight, {"civilRadio", "nauticalRadio", "astronomicalRadio"},
                                res::kTwilightKindFirst, twilightKind_),
                     0, 4, 4, 1);
        g->addWidget(captionLabel(res::kZoneTimeOnly), 4, 0, 1, 5);
        // Sunrise and sunset over the loaded horizon profile, a preference of zorva.conf.
        overTerrainCheck_ = new QCheckBox;
        overTerrainCheck_->setObjectName(QStringLiteral("sunriseOverTerrainCheck"));
        caption(overTerrainCheck_, res::kOverTerrain);
        noProfileLabel_ = captionLabel(res::kNoProfileLoaded);
        noProfileLabel_->setObjectName(QStringLiteral("noProfileLabel"));
        g->addWidget(overTerrainCheck_, 5, 0, 1, 3);
        g->addWidget(noProfileLabel_, 5, 3, 1, 2);
        g->setColumnStretch(5, 1);
    }

    {
        QGridLayout* g = panel("panelPosition", panelPosition);
        timeEdit_ = addEdit("timeEdit", FieldKind::Time);
        g->addWidget(captionLabel(res::kTime, timeEdit_), 0, 0);
        g->addWidget(timeEdit_, 0, 1);
        altitudeLabel_ = result(g, 1, 0, res::kAltitude, "altitudeLabel");
        azimuthLabel_ = result(g, 2, 0, res::kAzimuth, "azimuthLabel");
        positionEotLabel_ = result(g, 3, 0, res::kEoT, "positionEotLabel");
        positionDeclinationLabel_ = result(g, 4, 0, res::kDeclination, "positionDeclinationLabel");
        g->addWidget(captionLabel(res::kAzimuthScale), 5, 0, 1, 3);
        g->addWidget(radioGroup("clockKindBox", res::kClockKind, {"trueLocalRadio", "meanLocalRadio", "zoneTimeRadio"},
                                res::kClockKindFirst, clockKind_),
                     0, 2, 5, 1);
        clockKind_->button(static_cast<int>(ClockKind::Zone))->setChecked(true);
        g->setColumnStretch(3, 1);
    }

    {
        QGridLayout* g = panel("panelAzimuth", panelAzimuth);
        azimuthEdit_ = addEdit("azimuthEdit", FieldKind::Real);
        g->addWidget(captionLabel(res::kAzimuthInput, azimuthEdit_), 0, 0);
        g->addWidget(azimuthEdit_, 0, 1);
        g->addWidget(captionLabel(res::kAzimuthScale), 1, 0, 1, 3);
        reachedAtLabel_ = result(g, 2, 0, res::kReachedAt, "reachedAtLabel");
        reachedAltitudeLabel_ = result(g, 3, 0, res::kAltitude, "reachedAltitudeLabel");
        g->addWidget(captionLabel(res::kZoneTimeOnly), 4, 0, 1, 3);
        g->setColumnStretch(2, 1);
    }

    const int shown = ShownMode(mode_);
    panelEoT->setVisible(shown == kModeEoT);
    panelRise->setVisible(shown == kModeRiseSet);
    panelPosition->setVisible(shown == kModePosition);
    panelAzimuth->setVisible(shown == kModeAzimuthTime);

    results_ = {eotLabel_,        eotDeclinationLabel_, riseEotLabel_,     riseDeclinationLabel_,
                sunriseLabel_,    sunsetLabel_,         twilightBeginLabel_, twilightEndLabel_,
                moonriseLabel_,   moonsetLabel_,        altitudeLabel_,    azimuthLabel_,
                positionEotLabel_, positionDeclinationLabel_, reachedAtLabel_, reachedAltitudeLabel_};

    // Buttons.
    calculateButton_ = button("calculateButton", res::kCalculate);
    calculateButton_->setAutoDefault(true);
    tablesButton_ = button("tablesButton", res::kTables);
    graphButton_ = button("graphButton", res::kGraph);
    altitudeGraphButton_ = button("altitudeGraphButton", res::kAltitudeGraph);
    altitudeGraphButton_->setVisible(shown == kModePosition);
    moreTablesButton_ = button("moreTablesButton", res::kMoreTables);

    // "Weitere Tabellen ...": the month table and the year tables of kinds 0, 2 and 3.
    moreTablesMenu_ = new QMenu(this);
    moreTablesMenu_->setObjectName(QStringLiteral("moreTablesMenu"));
    caption(moreTablesMenu_, res::kMoreTables);
    const struct {
        const char* name;
        int resource;
        int calcMode;
        int kind;
    } tables[] = {{"riseSetTableAction", res::kRiseSetTable, 1, 0},
                  {"eotTableAction", res::kEoTTable, 8, 0},
                  {"declinationTableAction", res::kDeclinationTable, 8, 2},
                  {"transitTableAction", res::kTransitTable, 8, 3}};
    for (const auto& t : tables) {
        QAction* a = moreTablesMenu_->addAction(QString());
        a->setObjectName(QString::fromLatin1(t.name));
        caption(a, t.resource);
        const int m = t.calcMode, k = t.kind;
        connect(a, &QAction::triggered, this, [this, m, k] { openTables(m, k); });
    }
    moreTablesButton_->setMenu(moreTablesMenu_);

    connect(calculateButton_, &QPushButton::clicked, this, &SunPositionWindow::calculate);
    connect(tablesButton_, &QPushButton::clicked, this, [this] {
        if (mode_ == kModeRiseSet) openTables(1, 0);
        else openTables(8, 0);
    });
    connect(graphButton_, &QPushButton::clicked, this, [this] { openTables(16, 0); });
    connect(altitudeGraphButton_, &QPushButton::clicked, this, [this] { openTables(32, 0); });

    // Pop-up menu.
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("popupMenu"));
    auto addPopup = [&](const char* name, int resource, auto slot) {
        QAction* a = popup_->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        caption(a, resource);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    addPopup("calculateAction", res::kStartCalculation, [this] { calculate(); });
    popup_->addSeparator();
    addPopup("printWithFormFeedAction", res::kPrintWithFormFeed, [this] { printWithFormFeed(); });
    addPopup("printWithoutFormFeedAction", res::kPrintWithoutFormFeed, [this] { printWithoutFormFeed(); });
    addPopup("printPageAction", res::kPrintPage, [this] { finishPrintPage(); });
    popup_->addSeparator();
    addPopup("eotGraphAction", res::kEoTGraph, [this] { openTables(16, 0); });
    addPopup("sunPositionGraphAction", res::kSunPositionGraph, [this] { openTables(32, 0); });
    popup_->addMenu(moreTablesMenu_);

    // The twilight kind is one setting with the tables window; a change clears the results.
    connect(twilightKind_, &QButtonGroup::idClicked, this, [this](int id) {
        state_.twilightKind = id;
        clearResults();
    });
    overTerrainCheck_->setChecked(state_.sunriseOverTerrain);
    connect(overTerrainCheck_, &QCheckBox::toggled, this, [this](bool on) {
        state_.sunriseOverTerrain = on;
        if (preferencesSaver_) preferencesSaver_();
        updateTerrainHint();
        if (resultsShown_) showResults(false);
    });
    updateTerrainHint();
    // A change of the time kind recomputes at once.
    connect(clockKind_, &QButtonGroup::idClicked, this, [this](int) { calculate(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(calculateButton_);
    buttons->addWidget(tablesButton_);
    buttons->addWidget(graphButton_);
    buttons->addWidget(altitudeGraphButton_);
    buttons->addWidget(moreTablesButton_);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(siteBox);
    layout->addWidget(panelEoT);
    layout->addWidget(panelRise);
    layout->addWidget(panelPosition);
    layout->addWidget(panelAzimuth);
    layout->addLayout(buttons);
    layout->addStretch(1);

    // Enter moves from field to field in this order and from the last input to the button.
    QWidget* order[] = {latitudeEdit_, longitudeEdit_, zoneEdit_, yearEdit_, monthEdit_, dayEdit_,
                        shown == kModePosition ? timeEdit_ : azimuthEdit_, calculateButton_};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void SunPositionWindow::loadFields() {
    if (state_.calcMonth < 1 || state_.calcMonth > 12 || state_.calcDay < 1 || state_.calcDay > 31) {
        const QDate today = QDate::currentDate();
        state_.calcMonth = today.month();
        state_.calcDay = today.day();
    }
    latitudeEdit_->setText(RealToText(13, 6, state_.latitude));
    longitudeEdit_->setText(RealToText(13, 6, state_.longitude));
    zoneEdit_->setText(RealToText(7, 2, state_.zoneMeridian));
    yearEdit_->setText(QString::number(state_.referenceYear));
    monthEdit_->setText(QString::number(state_.calcMonth));
    dayEdit_->setText(QString::number(state_.calcDay));
    timeEdit_->setText(state_.calcTime);
    azimuthEdit_->setText(RealToText(1, 1, azimuth_));
    const int kind = state_.twilightKind >= 0 && state_.twilightKind <= 2 ? state_.twilightKind : 1;
    twilightKind_->button(kind)->setChecked(true);
}

SunPositionWindow::Field* SunPositionWindow::fieldOf(QObject* object) {
    for (Field& f : fields_)
        if (f.edit == object) return &f;
    return nullptr;
}

// The exit rules of the fields: a valid value is stored; an empty field shows the stored
// value again; anything else keeps what was typed, says what is wrong (once per entry) and
// keeps the stored value until the field is corrected. False for a rejected entry.
bool SunPositionWindow::leaveField(QLineEdit* edit, Exit how) {
    const QString text = edit->text();
    const bool empty = text.trimmed().isEmpty();
    double real = 0;
    int whole = 0;
    auto reject = [&](const QString& range) {
        rejectEntry(edit, range);
        return false;
    };
    auto realRange = [](double limit) {
        return QStringLiteral("[") + QString::number(-limit) + QStringLiteral(" .. ") + QString::number(limit) +
               QStringLiteral("]");
    };
    auto intRange = [](int lower, int upper) {
        return QStringLiteral("[") + QString::number(lower) + QStringLiteral(" .. ") + QString::number(upper) +
               QStringLiteral("]");
    };
    if (edit == latitudeEdit_) {
        if (empty) {
            edit->setText(RealToText(13, 6, state_.latitude));
        } else if (ParseTrimmedReal(text, real) && std::abs(real) <= 90) {
            // No construction may divide by sin(0).
            state_.latitude = NonZeroLatitude(real);
        } else {
            return reject(realRange(90));
        }
    } else if (edit == longitudeEdit_ || edit == zoneEdit_) {
        double& value = edit == longitudeEdit_ ? state_.longitude : state_.zoneMeridian;
        const double before = value;
        if (empty) edit->setText(edit == longitudeEdit_ ? RealToText(13, 6, value) : RealToText(7, 2, value));
        else if (ParseTrimmedReal(text, real) && std::abs(real) <= 180) value = real;
        else return reject(realRange(180));
        // Leaving the field asks anew; a calculation that only takes the fields asks anew
        // only when the value changed, so that a Yes holds until then.
        if (how == Exit::Left || value != before)
            state_.zoneFarFromLongitude = ZoneFarFromLongitude(state_.longitude, state_.zoneMeridian);
    } else if (edit == yearEdit_) {
        if (empty) {
            edit->setText(QString::number(state_.referenceYear));
        } else if (ParseTrimmedInt(text, kFirstYear, kLastYear, whole)) {
            if (whole != state_.referenceYear) {
                state_.referenceYear = whole;
                // The dial constructions draw the zodiac lines of the reference year.
                state_.zodiacDeclinations = ZodiacDeclinations(whole).zodiac;
            }
        } else {
            return reject(intRange(kFirstYear, kLastYear));
        }
    } else if (edit == monthEdit_) {
        if (empty) edit->setText(QString::number(state_.calcMonth));
        else if (ParseTrimmedInt(text, 1, 12, whole)) state_.calcMonth = whole;
        else return reject(intRange(1, 12));
    } else if (edit == dayEdit_) {
        if (empty) edit->setText(QString::number(state_.calcDay));
        else if (ParseTrimmedInt(text, 1, 31, whole)) state_.calcDay = whole;
        else return reject(intRange(1, 31));
    } else if (edit == timeEdit_) {
        if (empty) edit->setText(kDefaultTime);
        else if (!ParseClockTime(text)) return reject(QString());
        state_.calcTime = edit->text();
    }
    if (reportedEdit_ == edit) reportedEdit_ = nullptr;  // corrected: a new mistake is reported anew
    return true;
}

void SunPositionWindow::rejectEntry(QLineEdit* edit, const QString& range) {
    // The box takes the focus from the field; that is no second exit to report.
    if (reporting_) return;
    const QString text = edit->text();
    QPointer<QLineEdit> e(edit);
    QTimer::singleShot(0, this, [e] {
        if (e) e->setFocus();
    });
    if (reportedEdit_ == edit && reportedText_ == text) return;
    reportedEdit_ = edit;
    reportedText_ = text;
    const Language lang = state_.language;
    const bool en = lang == Language::English;
    QString name;  // the field's caption without its accelerator and closing colon
    for (QLabel* l : findChildren<QLabel*>())
        if (l->buddy() == edit) name = QString(l->text()).remove(QLatin1Char('&')).trimmed();
    if (name.endsWith(QLatin1Char(':'))) name = name.chopped(1).trimmed();
    QString why;
    if (edit == timeEdit_) {
        why = en ? QStringLiteral("This is no clock time: hours 0 .. 23, minutes and seconds 0 .. 59!")
                 : QStringLiteral("Das ist keine Uhrzeit: Stunden 0 .. 23, Minuten und Sekunden 0 .. 59!");
    } else {
        why = message(13, lang).trimmed() + QLatin1Char(' ') + range + QStringLiteral(" !");
    }
    reporting_ = true;
    dialogs_.inform(caption(CaptionKind::Warning, lang), name + QStringLiteral(" = ") + text.trimmed() +
                                                             QStringLiteral("\r\n") + why,
                    Icon::Warning);
    reporting_ = false;
}

bool SunPositionWindow::leaveAllFields() {
    bool ok = true;
    for (QLineEdit* e : {latitudeEdit_, longitudeEdit_, zoneEdit_, yearEdit_, monthEdit_, dayEdit_})
        if (ok) ok = leaveField(e, Exit::Taken);
    return ok;
}

bool SunPositionWindow::askZoneQuestion() {
    if (!state_.zoneFarFromLongitude) return true;
    const Language lang = state_.language;
    const Answer a = dialogs_.ask(caption(CaptionKind::Question, lang),
                                  label(kLabelZoneFar, lang) + label(kLabelZoneFarQuestion, lang), Buttons::YesNo,
                                  Icon::Question);
    if (a != Answer::Yes) return false;
    state_.zoneFarFromLongitude = false;
    return true;
}

ReportSite SunPositionWindow::site() const {
    return {state_.latitude, state_.longitude, state_.zoneMeridian, state_.referenceYear, state_.calcMonth,
            state_.calcDay};
}

void SunPositionWindow::calculate() {
    // A calculation started from the pop-up menu leaves no field; take every field as its
    // exit would, so that the values shown are the values used.
    if (!leaveAllFields()) return;
    if (!askZoneQuestion()) return;
    // The ten days the calendar reform skipped are computed, shown and printed as the
    // first day after it, once message 26 has said so.
    if (state_.referenceYear == 1582 && state_.calcMonth == 10 && state_.calcDay >= 5 && state_.calcDay <= 14) {
        JulianDayNumber(state_.calcDay, state_.calcMonth, state_.referenceYear, &dialogs_, state_.language);
        state_.calcDay = 15;
        dayEdit_->setText(QString::number(state_.calcDay));
    }
    showResults(true);
}

// Computes the mode's results into the labels; with `appendToPrintList` also the block of
// the print list and the boxes of the azimuth search.
void SunPositionWindow::showResults(bool appendToPrintList) {
    const Language lang = state_.language;
    const ReportSite s = site();
    // An empty entry field asks for its input and takes the focus.
    const auto promptIfEmpty = [lang](QLineEdit* edit) {
        if (!edit->text().trimmed().isEmpty()) return false;
        edit->setText(label(kLabelInput, lang));
        edit->setFocus();
        return true;
    };
    QStringList block;
    switch (ShownMode(mode_)) {
    case kModeEoT: {
        const EoTDeclinationReport r = EoTDeclinationAtNoon(s, lang);
        eotLabel_->setText(r.eotText);
        eotDeclinationLabel_->setText(r.declinationText);
        block = r.printLines;
        break;
    }
    case kModeRiseSet: {
        updateTerrainHint();
        const RiseSetReport r = RiseSetOfDay(s, state_.twilightKind, lang, RiseSetTerrain(state_));
        riseEotLabel_->setText(r.noon.eotText);
        riseDeclinationLabel_->setText(r.noon.declinationText);
        sunriseLabel_->setText(r.sunRise);
        sunsetLabel_->setText(r.sunSet);
        twilightBeginLabel_->setText(r.twilightBegin);
        twilightEndLabel_->setText(r.twilightEnd);
        moonriseLabel_->setText(r.moonRise);
        moonsetLabel_->setText(r.moonSet);
        block = r.printLines;
        break;
    }
    case kModePosition: {
        if (promptIfEmpty(timeEdit_)) return;
        const std::optional<double> hours = ParseClockTime(timeEdit_->text().trimmed());
        if (!hours) {
            rejectEntry(timeEdit_, QString());
            timeEdit_->setFocus();
            return;
        }
        state_.calcTime = timeEdit_->text();
        const auto kind = static_cast<ClockKind>(std::max(0, clockKind_->checkedId()));
        const PositionReport r = SunPositionAt(s, *hours, kind, lang);
        altitudeLabel_->setText(r.altitudeText);
        azimuthLabel_->setText(r.azimuthText);
        positionEotLabel_->setText(r.eotText);
        positionDeclinationLabel_->setText(r.declinationText);
        block = r.printLines;
        break;
    }
    case kModeAzimuthTime: {
        if (promptIfEmpty(azimuthEdit_)) return;
        LineEditField edit(azimuthEdit_, LineEditField::Refocus::AtOnce);
        bool error = false;
        FieldReader{dialogs_, lang}.readRealInRange(edit, azimuth_, StripAccelerators(resourceText(res::kAzimuth, lang)),
                                                    error, 180, -180);
        if (error) return;
        // Refreshing the texts must not repeat the search's boxes.
        RecordingDialogs silent;
        UserDialogs& boxes = appendToPrintList ? dialogs_ : static_cast<UserDialogs&>(silent);
        const AzimuthTimeReport r = SunAtAzimuth(s, azimuth_, boxes, lang);
        reachedAtLabel_->setText(r.timeText);
        reachedAltitudeLabel_->setText(r.altitudeText);
        block = r.printLines;
        break;
    }
    }
    resultsShown_ = true;
    if (appendToPrintList) printList_ << block;
}

void SunPositionWindow::updateTerrainHint() {
    noProfileLabel_->setVisible(state_.sunriseOverTerrain && !state_.horizonProfile);
}

void SunPositionWindow::clearResults() {
    for (QLabel* l : results_) l->clear();
    resultsShown_ = false;
}

void SunPositionWindow::removeLastBlock() {
    int i = static_cast<int>(printList_.size()) - 1;
    if (i < 0) return;
    if (IsPrintRule(printList_[i])) --i;  // the closing rule
    while (i >= 0 && !IsPrintRule(printList_[i])) --i;
    if (i > 0 && printList_[i - 1].isEmpty()) --i;  // the blank line before the opening rule
    printList_.erase(printList_.begin() + std::max(0, i), printList_.end());
}

void SunPositionWindow::setPrinter(QPrinter* printer) {
    if (printer == printer_) return;
    job_.reset();  // a job belongs to the printer it was opened on
    printer_ = printer ? printer : ownPrinter_.get();
    printerChosen_ = printer != nullptr;
}

void SunPositionWindow::printList(bool formFeed) {
    if (!printList_.isEmpty()) {
        if (!job_ && printerChooser_ && !printerChosen_) {
            if (!printerChooser_(*printer_)) return;
            printerChosen_ = true;
        }
        if (!job_) job_ = std::make_unique<TextPrintJob>(*printer_);
        if (!job_->write(printList_)) {
            job_.reset();
            dialogs_.inform(caption(CaptionKind::Error, state_.language), message(kMessagePrintFailed, state_.language),
                            Icon::Error);
            return;
        }
        // The lines are on the page now; printing again must not repeat them.
        printList_.clear();
    }
    if (formFeed) finishPrintPage();
}

void SunPositionWindow::printWithFormFeed() { printList(true); }

void SunPositionWindow::printWithoutFormFeed() { printList(false); }

void SunPositionWindow::finishPrintPage() { job_.reset(); }

void SunPositionWindow::printFromMainWindow() {
    const Language lang = state_.language;
    switch (dialogs_.ask(caption(CaptionKind::Question, lang), message(kMessageFormFeed, lang), Buttons::YesNoCancel,
                         Icon::Question)) {
    case Answer::Yes:
        printList(true);
        break;
    case Answer::No:
        printList(false);
        break;
    default:
        removeLastBlock();
        break;
    }
}

void SunPositionWindow::setTableOpener(TableOpener opener) {
    tableOpener_ = std::move(opener);
    updateTableEntries();
}

void SunPositionWindow::updateTableEntries() {
    const bool on = static_cast<bool>(tableOpener_);
    for (QWidget* w : {static_cast<QWidget*>(tablesButton_), static_cast<QWidget*>(graphButton_),
                       static_cast<QWidget*>(altitudeGraphButton_), static_cast<QWidget*>(moreTablesButton_)})
        w->setEnabled(on);
    for (QAction* a : moreTablesMenu_->actions()) a->setEnabled(on);
    moreTablesMenu_->menuAction()->setEnabled(on);
    for (QAction* a : popup_->actions())
        if (a->objectName() == QLatin1String("eotGraphAction") ||
            a->objectName() == QLatin1String("sunPositionGraphAction"))
            a->setEnabled(on);
}

void SunPositionWindow::openTables(int calcMode, int yearTableKind) {
    if (!tableOpener_) return;
    // The tables and graphs read the site, the year and the twilight kind from the state.
    if (!leaveAllFields()) return;
    tableOpener_(calcMode, yearTableKind);
}

bool SunPositionWindow::closeCheck() { return askZoneQuestion(); }

void SunPositionWindow::closeEvent(QCloseEvent* event) {
    if (!closeCheck()) {
        event->ignore();
        return;
    }
    event->accept();
}

void SunPositionWindow::contextMenuEvent(QContextMenuEvent* event) { popup_->exec(event->globalPos()); }

void SunPositionWindow::applyLanguage() {
    const Language lang = state_.language;
    for (auto& [object, number] : captions_) {
        if (!object) continue;
        const QString text = resourceText(number, lang);
        if (auto* l = qobject_cast<QLabel*>(object)) l->setText(text);
        else if (auto* b = qobject_cast<QAbstractButton*>(object)) b->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(object)) g->setTitle(text);
        else if (auto* m = qobject_cast<QMenu*>(object)) m->setTitle(text);
        else if (auto* a = qobject_cast<QAction*>(object)) a->setText(text);
    }
    int captionIndex = kMenuCaptionEoT;
    switch (ShownMode(mode_)) {
    case kModeRiseSet: captionIndex = kMenuCaptionRiseSet; break;
    case kModePosition: captionIndex = kMenuCaptionPosition; break;
    case kModeAzimuthTime: captionIndex = kMenuCaptionAzimuthTime; break;
    default: break;
    }
    setWindowTitle(menuCaptions(lang).value(captionIndex).remove(QLatin1Char('&')));
    if (resultsShown_) showResults(false);
}

bool SunPositionWindow::eventFilter(QObject* watched, QEvent* event) {
    Field* field = fieldOf(watched);
    if (!field) return QWidget::eventFilter(watched, event);
    QLineEdit* edit = field->edit;

    switch (event->type()) {
    case QEvent::FocusOut:
        leaveField(edit, Exit::Left);
        break;
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        // Letting go of Ctrl after a shortcut types nothing either.
        const bool modifierKey = key->key() == Qt::Key_Control || key->key() == Qt::Key_Shift ||
                                 key->key() == Qt::Key_Alt || key->key() == Qt::Key_Meta;
        if (!(key->modifiers() & Qt::ControlModifier) && !modifierKey) clearResults();
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (field->kind == FieldKind::Time) calculateButton_->setFocus();
            else focusNextChild();
            return true;
        }
        if (key->modifiers() & Qt::ControlModifier) break;
        const QString text = key->text();
        if (text.isEmpty() || text.at(0) < QLatin1Char(' ')) break;  // Backspace, navigation
        if (field->kind == FieldKind::Time && text == QLatin1String(" ")) {
            edit->insert(QStringLiteral(":"));
            return true;
        }
        for (QChar c : text) {
            const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
            bool allowed = digit;
            if (field->kind == FieldKind::Real) allowed = digit || c == QLatin1Char('-') || c == QLatin1Char('.');
            if (field->kind == FieldKind::Time) allowed = digit || c == QLatin1Char(':');
            if (!allowed) return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zorva
