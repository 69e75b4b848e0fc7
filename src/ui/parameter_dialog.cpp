#include "ui/parameter_dialog.h"

#include "astro/angles.h"
#include "dials/analemmatic_geometry.h"
#include "dials/bifilar_geometry.h"
#include "dials/planar_dial.h"
#include "dials/quadrant_geometry.h"
#include "state/date_lines.h"
#include "state/preferences.h"
#include "state/settings_file.h"
#include "state/settings_location.h"
#include "text/field_readers.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/field_binding.h"
#include "ui/parameter_texts.h"
#include "ui/preferences_save.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

namespace zorva {

namespace {

// German captions as the pages were laid out; the English ones come from the title table.
const char* const kPageCaptionsGerman[] = {
    "horizontale / vertikale / inklinierende Sonnenuhr",
    "Schirmsonnenuhr",
    "Quadrantsonnenuhr",
    "Zylindersonnenuhr",
    "horizontale Höhensonnenuhr",
    "Ringsonnenuhr",
    "Azimutalsonnenuhr",
    "biazimutale Sonnenuhr",
    "SU fuer mittlere Zeit",
    "analemmatische Sonnenuhr",
    "bifilare Sonnenuhr",
};
constexpr int kFirstPageTitle = 30;
// Captions of the analemmatic and bifilar pages (string resources).
constexpr int kSemiAxisCaption = 943;
constexpr int kGnomonAngleCaption = 944;
constexpr int kThreadACaption = 945;
constexpr int kThreadBCaption = 946;
constexpr int kTimeCaption = 947;  // and its four choices after it
constexpr int kMetresCaption = 952;
constexpr int kWalkOnCaption = 953;
constexpr int kCircularScaleCaption = 954;
constexpr int kEvenSpacingCaption = 955;
constexpr int kPageCount = 11;

const char* const kPagePrefix[] = {"planar", "umbrella", "quadrant", "cylinder", "hidokai",
                                   "ring",   "azimuth",  "biazimuthal", "meantime", "analemmatic", "bifilar"};

enum class ListKind {
    Hours,         // 0 .. 24
    Temporal,      // 0 .. 12
    Altitude,      // 10 .. 80 degrees
    Minutes5,      // 60, 30, 20, 15, 10 minutes as digits 0..4
    MeanMinutes,   // the same, 10 minutes kept as digit 6
    Minutes4,      // 60, 30, 20, 15 minutes
    TemporalStep,  // 1, 0.5, 0.333, 0.25 temporal hours
    AltitudeStep,  // 10, 5, 2.5 degrees
    DayMarks,
    LinesPerMonth,
};

// The hour-line families that several pages repeat: the switch, the range lists and the
// interval list write the same fields on every page, so twins move together.
enum class Family { Hour, MeanHour, OtherHour, Babylonian, Italian, Altitude, Temporal, QuadrantTemporal };

struct FamilyFields {
    const char* switchName;
    bool DialState::*flag;
    const char* range;
    int DialState::*from;
    int DialState::*to;
    ListKind rangeKind;
    const char* interval;
    char DialState::*digitInterval;  // kept as a digit ...
    int DialState::*intInterval;     // ... or as a number
    ListKind intervalKind;
};

const FamilyFields& FieldsOf(Family f) {
    using S = DialState;
    static const FamilyFields table[] = {
        {"apparentTimeLines", &S::apparentTimeLines, "hour", &S::hourFrom, &S::hourTo, ListKind::Hours,
         "hourLineInterval", &S::hourLineInterval, nullptr, ListKind::Minutes5},
        {"meanTimeLines", &S::meanTimeLines, "eotHour", &S::eotHourFrom, &S::eotHourTo, ListKind::Hours,
         "eotHourInterval", &S::eotHourInterval, nullptr, ListKind::MeanMinutes},
        {"apparentTimeLines", &S::apparentTimeLines, "otherHour", &S::otherHourFrom, &S::otherHourTo, ListKind::Hours,
         "otherHourInterval", &S::otherHourInterval, nullptr, ListKind::Minutes4},
        {"babylonianHours", &S::babylonianHours, "babylonian", &S::babylonianFrom, &S::babylonianTo, ListKind::Hours,
         "babylonianInterval", nullptr, &S::babylonianInterval, ListKind::Minutes4},
        {"italianHours", &S::italianHours, "italian", &S::italianFrom, &S::italianTo, ListKind::Hours,
         "italianInterval", nullptr, &S::italianInterval, ListKind::Minutes4},
        {"altitudeLines", &S::altitudeLines, "altitude", &S::altitudeFrom, &S::altitudeTo, ListKind::Altitude,
         "altitudeInterval", nullptr, &S::altitudeInterval, ListKind::AltitudeStep},
        {"temporalHours", &S::temporalHours, "temporal", &S::temporalFrom, &S::temporalTo, ListKind::Temporal,
         "temporalInterval", nullptr, &S::temporalInterval, ListKind::TemporalStep},
        {"temporalHours", &S::temporalHours, "quadrantTemporal", &S::quadrantTemporalFrom, &S::quadrantTemporalTo,
         ListKind::Temporal, "quadrantTemporalInterval", nullptr, &S::quadrantTemporalInterval, ListKind::TemporalStep},
    };
    return table[static_cast<int>(f)];
}

// Latitudes entered here obey the same rule as in the site dialog: never exactly 0, so that
// no construction divides by sin(0).
NumberAccess latitudeField(double DialState::*field) {
    return {[field](const DialState& s) { return s.*field; },
            [field](DialState& s, double v) { s.*field = std::fabs(v) < 1e-5 ? 1e-6 : v; },
            [field](const DialState& s) -> const void* { return &(s.*field); }};
}

// Longitude and zone meridian keep the flag that warns of a zone far from the site.
NumberAccess siteLongitudeField(double DialState::*field) {
    return {[field](const DialState& s) { return s.*field; },
            [field](DialState& s, double v) {
                s.*field = v;
                s.zoneFarFromLongitude = ZoneFarFromLongitude(s.longitude, s.zoneMeridian);
            },
            [field](const DialState& s) -> const void* { return &(s.*field); }};
}

// The plane of the mean-time dial and its leading shadow line share one stored digit:
// shadow line * 3 + plane (0 horizontal, 1 vertical, 2 inclined).
int HollanderCode(const DialState& s) {
    return (s.hollanderShadowLine >= 0 && s.hollanderShadowLine <= 8) ? s.hollanderShadowLine : 0;
}
IntAccess hollanderPlaneField() {
    return {[](const DialState& s) { return HollanderCode(s) % 3; },
            [](DialState& s, int v) { s.hollanderShadowLine = HollanderCode(s) / 3 * 3 + std::clamp(v, 0, 2); },
            [](const DialState& s) -> const void* { return &s.hollanderShadowLine; }};
}
IntAccess hollanderShadowField() {
    return {[](const DialState& s) { return HollanderCode(s) / 3; },
            [](DialState& s, int v) { s.hollanderShadowLine = std::clamp(v, 0, 2) * 3 + HollanderCode(s) % 3; },
            [](const DialState& s) -> const void* { return &s.hollanderShadowLine; }};
}

// A number and a flag of an added kind's own settings.
template <class Settings>
NumberAccess settingsReal(Settings DialState::*kind, double Settings::*field) {
    return {[kind, field](const DialState& s) { return (s.*kind).*field; },
            [kind, field](DialState& s, double v) { (s.*kind).*field = v; },
            [kind, field](const DialState& s) -> const void* { return &((s.*kind).*field); }};
}
template <class Settings>
IntAccess settingsFlag(Settings DialState::*kind, bool Settings::*field) {
    return {[kind, field](const DialState& s) { return (s.*kind).*field ? 1 : 0; },
            [kind, field](DialState& s, int v) { (s.*kind).*field = v != 0; },
            [kind, field](const DialState& s) -> const void* { return &((s.*kind).*field); }};
}

// A push button captioned by a string resource; it never takes RETURN from the fields.
QPushButton* TaggedButton(const QString& name, int tag, Language lang) {
    auto* button = new QPushButton(resourceText(tag, lang));
    button->setObjectName(name);
    setResourceTag(button, tag);
    button->setAutoDefault(false);
    return button;
}

// Two columns of a page, each a widget and/or a layout above a stretch.
QWidget* TwoColumns(QWidget* left, QLayout* leftExtra, QWidget* right, QLayout* rightExtra) {
    auto* content = new QWidget;
    auto* row = new QHBoxLayout(content);
    auto* l = new QVBoxLayout;
    if (left) l->addWidget(left);
    if (leftExtra) l->addLayout(leftExtra);
    l->addStretch(1);
    auto* r = new QVBoxLayout;
    if (right) r->addWidget(right);
    if (rightExtra) r->addLayout(rightExtra);
    r->addStretch(1);
    row->addLayout(l, 1);
    row->addLayout(r, 1);
    return content;
}

}  // namespace

// Builds the controls of one page; every control gets an object name "<page>_<field>" and
// the number of its caption.
struct ParameterDialog::Builder {
    ParameterDialog& d;
    FieldBindings& b;
    QString prefix;
    Language lang;

    QString name(const QString& field) const { return prefix + QLatin1Char('_') + field; }

    QLabel* label(int tag) {
        auto* l = new QLabel(resourceText(tag, lang));
        setResourceTag(l, tag);
        return l;
    }

    QCheckBox* check(const QString& field, int tag, IntAccess access, int on = 1, int off = 0) {
        auto* box = new QCheckBox(resourceText(tag, lang));
        box->setObjectName(name(field));
        setResourceTag(box, tag);
        b.bindCheck(box, std::move(access), on, off);
        return box;
    }

    QGroupBox* radio(const QString& field, int groupTag, std::initializer_list<int> itemTags, IntAccess access,
                     QVector<int> values = {}) {
        auto* box = new QGroupBox(resourceText(groupTag, lang));
        box->setObjectName(name(field));
        setResourceTag(box, groupTag);
        auto* layout = new QVBoxLayout(box);
        auto* group = new QButtonGroup(box);
        group->setObjectName(name(field) + QStringLiteral("_group"));
        int id = 0;
        for (int tag : itemTags) {
            auto* item = new QRadioButton(resourceText(tag, lang));
            item->setObjectName(name(field) + QStringLiteral("_") + QString::number(id));
            setResourceTag(item, tag);
            group->addButton(item, id++);
            layout->addWidget(item);
        }
        b.bindRadio(group, std::move(access), std::move(values));
        return box;
    }

    QComboBox* list(const QString& field, ListKind kind, IntAccess access) {
        auto* combo = new QComboBox;
        combo->setObjectName(name(field));
        QVector<int> values;
        switch (kind) {
            case ListKind::Hours:
            case ListKind::Temporal:
                for (int i = 0; i <= (kind == ListKind::Hours ? 24 : 12); ++i)
                    combo->addItem(QStringLiteral("  ") + QString::number(i));
                break;
            case ListKind::Altitude:
                for (int i = 1; i <= 8; ++i) {
                    combo->addItem(QString::number(10 * i) + QStringLiteral("°"));
                    values << 10 * i;
                }
                break;
            case ListKind::Minutes5:
            case ListKind::MeanMinutes:
                for (const char* t : {" 60 min", " 30 min", " 20 min", " 15 min", " 10 min"})
                    combo->addItem(QString::fromLatin1(t));
                if (kind == ListKind::MeanMinutes) values = {0, 1, 2, 3, 6};
                break;
            case ListKind::Minutes4:
                for (const char* t : {"60 min", "30 min", "20 min", "15 min"}) combo->addItem(QString::fromLatin1(t));
                break;
            case ListKind::TemporalStep:
                for (const char* t : {"1", "0.5", "0.333", "0.25"}) combo->addItem(QString::fromLatin1(t));
                break;
            case ListKind::AltitudeStep:
                for (const char* t : {"10 °", "5 °", "2.5 °"}) combo->addItem(QString::fromUtf8(t));
                break;
            case ListKind::DayMarks:
                for (const char* t : {"(  1.  )", "( 1.,  15. )", "( 7.,  22. )", "( 1., 11., 21. )",
                                      "( 1., 8., 15., 22. )"})
                    combo->addItem(QString::fromLatin1(t));
                break;
            case ListKind::LinesPerMonth:
                for (int i = 0; i < 4; ++i) combo->addItem(resourceText(ptext::OnePerMonth + i, lang));
                setItemTags(combo, ptext::OnePerMonth, 4);
                values = {1, 2, 3, 4};
                break;
        }
        b.bindList(combo, std::move(access), values);
        return combo;
    }

    // A labelled number field in two cells of a grid.
    QLineEdit* number(QGridLayout* grid, int row, const QString& field, int labelTag, NumberAccess access,
                      NumberSpec rule) {
        QLabel* caption = label(labelTag);
        auto* edit = new QLineEdit;
        edit->setObjectName(name(field));
        edit->setMaxLength(24);
        edit->setMinimumWidth(90);
        caption->setBuddy(edit);
        rule.nameLabel = caption;
        b.bindNumber(edit, std::move(access), rule);
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
        // The label goes and comes with its field.
        d.visibleRules_.push_back({caption, [edit](const DialState&) { return !edit->isHidden(); }});
        return edit;
    }

    // A line family: its switch, first and last value and the interval, all greyed while
    // the family is off.
    void lineRow(QGridLayout* grid, int row, QWidget* head, const QString& rangeField, IntAccess from, IntAccess to,
                 ListKind rangeKind, const QString& intervalField, IntAccess interval, ListKind intervalKind,
                 std::function<bool(const DialState&)> enabled) {
        grid->addWidget(head, row, 0);
        QComboBox* first = list(rangeField + QStringLiteral("From"), rangeKind, std::move(from));
        QComboBox* last = list(rangeField + QStringLiteral("To"), rangeKind, std::move(to));
        QComboBox* step = list(intervalField, intervalKind, std::move(interval));
        grid->addWidget(first, row, 1);
        grid->addWidget(last, row, 2);
        grid->addWidget(step, row, 3);
        if (enabled)
            for (QWidget* w : {static_cast<QWidget*>(first), static_cast<QWidget*>(last), static_cast<QWidget*>(step)})
                d.enabledRules_.push_back({w, enabled});
    }

    // A family row headed by its own switch, greyed while the switch is off.
    QCheckBox* family(QGridLayout* grid, int row, Family f, int switchTag) {
        const FamilyFields& fields = FieldsOf(f);
        QCheckBox* head = check(QString::fromLatin1(fields.switchName), switchTag, flagField(fields.flag));
        bool DialState::*flag = fields.flag;
        familyRow(grid, row, f, head, [flag](const DialState& s) { return s.*flag; });
        return head;
    }

    // A family row under another head (a label, or a switch of a different field).
    void familyRow(QGridLayout* grid, int row, Family f, QWidget* head, std::function<bool(const DialState&)> enabled) {
        const FamilyFields& fields = FieldsOf(f);
        IntAccess interval = fields.digitInterval ? digitField(fields.digitInterval) : intField(fields.intInterval);
        lineRow(grid, row, head, QString::fromLatin1(fields.range), intField(fields.from), intField(fields.to), fields.rangeKind,
                QString::fromLatin1(fields.interval), std::move(interval), fields.intervalKind, std::move(enabled));
    }

    void rangeHeader(QGridLayout* grid, int row) {
        grid->addWidget(label(ptext::From), row, 1);
        grid->addWidget(label(ptext::To), row, 2);
        grid->addWidget(label(ptext::Interval), row, 3);
    }

    QGroupBox* group(int tag, QLayout* layout) {
        auto* box = new QGroupBox(resourceText(tag, lang));
        setResourceTag(box, tag);
        box->setLayout(layout);
        return box;
    }

    // A button that changes the state at once; the page's fields follow.
    QPushButton* action(const QString& field, int tag, std::function<void(DialState&)> apply) {
        QPushButton* button = TaggedButton(name(field), tag, lang);
        ParameterDialog* dialog = &d;
        QObject::connect(button, &QPushButton::clicked, dialog, [dialog, apply] {
            apply(dialog->state_);
            dialog->bindings_->refreshAll();
            dialog->updateDependents();
        });
        return button;
    }

    // The plane and the hour reckoning of an added kind; its plane also sets the letter.
    template <class Settings>
    void addedKindOptions(QVBoxLayout* options, Settings DialState::*kind) {
        IntAccess plane{[kind](const DialState& s) { return (s.*kind).vertical ? 1 : 0; },
                        [kind](DialState& s, int v) {
                            (s.*kind).vertical = v == 1;
                            s.dialType = v == 1 ? 'v' : 'h';
                        },
                        [kind](const DialState& s) -> const void* { return &(s.*kind).vertical; }};
        options->addWidget(radio(QStringLiteral("plane"), ptext::Plane, {ptext::Horizontal, ptext::Vertical}, plane));
        IntAccess time{[kind](const DialState& s) { return static_cast<int>((s.*kind).reckoning); },
                       [kind](DialState& s, int v) { (s.*kind).reckoning = static_cast<HourReckoning>(std::clamp(v, 0, 3)); },
                       [kind](const DialState& s) -> const void* { return &(s.*kind).reckoning; }};
        options->addWidget(radio(QStringLiteral("reckoning"), kTimeCaption,
                                 {kTimeCaption + 1, kTimeCaption + 2, kTimeCaption + 3, kTimeCaption + 4}, time));
    }

    // The usual page: its dimensions above its hour lines on the left, the options on the right.
    void columnsPage(Page page, QGridLayout* dimensions, QGridLayout* lines, QVBoxLayout* options) {
        auto* left = new QVBoxLayout;
        left->addWidget(group(ptext::Dimensions, dimensions));
        left->addWidget(group(ptext::HourLines, lines));
        d.addPage(page, TwoColumns(nullptr, left, nullptr, options));
    }
};

ParameterDialog::ParameterDialog(DialState& state, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs) {
    setObjectName(QStringLiteral("ParameterDialog"));
    setResourceTag(this, 0);
    applyOpeningRules();
    bindings_ = new FieldBindings(state_, dialogs_, this);
    connect(bindings_, &FieldBindings::fieldWritten, this, &ParameterDialog::onFieldWritten);
    settingsPath_ = SettingsFilePath(state_.programDirectory);
    dateLinesPath_ = DateLinesFilePath(state_.programDirectory);
    build();
    refill();

    if (!state_.dialogsNormalSize) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        fitToPage();
        if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    }
}

void ParameterDialog::fitToPage() {
    // The page's whole content should be in view without scrolling where the screen allows.
    auto* scroll = static_cast<QScrollArea*>(pages_[static_cast<std::size_t>(page_)]);
    const QSize content = scroll->widget()->sizeHint();
    scroll->setMinimumSize(content);
    QSize want = sizeHint();
    scroll->setMinimumSize(0, 0);
    if (QScreen* screen = this->screen()) want = want.boundedTo(screen->availableGeometry().size());
    resize(want);
}

ParameterDialog::~ParameterDialog() = default;

void ParameterDialog::applyOpeningRules() {
    DialState& s = state_;
    if (!s.expertMode) {
        if (s.dialType == 'c' || s.dialType == 'm') s.dialType = 'h';
        s.quadrantKind = 0;
        s.cylinderKind = 0;
        if (s.azimuthKind > 2) s.azimuthKind -= 3;
    }
}

ParameterDialog::Page ParameterDialog::PageFor(const DialState& s) {
    if (s.addedKind == AddedKind::Analemmatic) return Page::Analemmatic;
    if (s.addedKind == AddedKind::Bifilar) return Page::Bifilar;
    switch (s.dialType) {
        case 'h':
        case 'i':
        case 'v': return s.umbrellaDial ? Page::Umbrella : Page::Planar;
        case 'q': return Page::Quadrant;
        case 'z': return Page::Cylinder;
        case 'k': return Page::Hidokai;
        case 'r': return Page::Ring;
        case 'a': return Page::Azimuth;
        case 'c': return s.expertMode ? Page::Biazimuthal : Page::Planar;
        case 'm': return s.expertMode ? Page::MeanTime : Page::Planar;
        default: return Page::Planar;
    }
}

QString ParameterDialog::PageCaption(Page page, Language lang) {
    const int i = static_cast<int>(page);
    if (lang == Language::German) return QString::fromUtf8(kPageCaptionsGerman[i]);
    if (page == Page::Analemmatic) return QStringLiteral("Analemmatic Sundial");
    if (page == Page::Bifilar) return QStringLiteral("Bifilar Sundial");
    return title(kFirstPageTitle + i, lang);
}

QString ParameterDialog::TitleFor(const DialState& s) {
    const Language lang = s.language;
    const bool english = lang == Language::English;
    if (!s.umbrellaDial && PageFor(s) == Page::Planar) {
        const char* kind = nullptr;
        switch (s.dialType) {
            case 'h': kind = english ? "horizontal SUNDIAL" : "horizontale SONNENUHR"; break;
            case 'v': kind = english ? "vertical SUNDIAL" : "vertikale SONNENUHR"; break;
            case 'i': kind = english ? "inclining SUNDIAL" : "inklinierende SONNENUHR"; break;
            default: break;
        }
        // A blank between the caption and the kind, which would otherwise run together.
        if (kind) return QStringLiteral(" ") + caption(CaptionKind::Achtung, lang) + u' ' + QString::fromLatin1(kind);
    }
    return title(44, lang) + PageCaption(PageFor(s), lang);
}

int ParameterDialog::helpTopic() const {
    switch (page_) {
        case Page::Planar: return 10;
        case Page::Umbrella: return 12;
        case Page::Quadrant: return 14 + state_.quadrantKind;
        case Page::Cylinder: return state_.cylinderKind == 1 ? 27 : state_.cylinderKind == 2 ? 48 : 3;
        case Page::Hidokai: return 19;
        case Page::Ring: return 20;
        case Page::Azimuth: return 18;
        case Page::Biazimuthal: return 212;
        case Page::MeanTime: return 22;
        case Page::Analemmatic: return 230;
        case Page::Bifilar: return 231;
    }
    return 10;
}

void ParameterDialog::build() {
    auto* outer = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    outer->addLayout(body, 1);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("pages"));
    body->addWidget(tabs_, 1);

    buildPlanarPage();
    buildUmbrellaPage();
    buildQuadrantPage();
    buildCylinderPage();
    buildHidokaiPage();
    buildRingPage();
    buildAzimuthPage();
    buildBiazimuthalPage();
    buildMeanTimePage();
    buildAnalemmaticPage();
    buildBifilarPage();
    buildDateLines(*body);
    buildButtons(*outer);
}

void ParameterDialog::addPage(Page page, QWidget* content) {
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QString::fromLatin1(kPagePrefix[static_cast<int>(page)]) + QStringLiteral("_page"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    pages_.push_back(scroll);
    tabs_->addTab(scroll, PageCaption(page, state_.language));
}

ParameterDialog::Builder ParameterDialog::builderFor(Page page) {
    return Builder{*this, *bindings_, QString::fromLatin1(kPagePrefix[static_cast<int>(page)]), state_.language};
}

// The planar and umbrella pages: their dimensions, and the hour lines and date-line options
// they share.
void ParameterDialog::addPlanarPage(Page page, Builder& b, QGridLayout* dimensions) {
    auto* grid = new QGridLayout;
    b.rangeHeader(grid, 0);
    b.family(grid, 1, Family::Hour, ptext::ApparentLines);
    QCheckBox* foot =
        b.check(QStringLiteral("linesToStyleFoot"), ptext::ToStyleFoot, flagField(&DialState::linesToStyleFoot));
    enabledRules_.push_back({foot, [](const DialState& s) { return s.apparentTimeLines; }});
    grid->addWidget(foot, 2, 0, 1, 4);
    b.family(grid, 3, Family::MeanHour, ptext::MeanTimeLines);
    grid->addWidget(
        b.check(QStringLiteral("markAnalemma"), ptext::MarkAnalemma, flagField(&DialState::markAnalemma)), 4, 0);
    {
        auto* sub = new QGridLayout;
        b.number(sub, 0, QStringLiteral("analemmaHour"), ptext::AnalemmaHour, integerField(&DialState::analemmaHour),
                 NumberRule(NumberCheck::IntRange, 1, 23));
        sub->addWidget(b.label(ptext::DayMarks), 1, 0);
        sub->addWidget(b.list(QStringLiteral("dayMarkings"), ListKind::DayMarks, intField(&DialState::dayMarkings)),
                       1, 1);
        grid->addLayout(sub, 4, 1, 2, 3);
    }
    b.family(grid, 6, Family::Babylonian, ptext::Babylonian);
    b.family(grid, 7, Family::Italian, ptext::Italian);
    b.family(grid, 8, Family::Altitude, ptext::Altitude);
    b.family(grid, 9, Family::Temporal, ptext::Temporal);
    QGroupBox* lines = b.group(ptext::HourLines, grid);

    auto* options = new QVBoxLayout;
    options->addWidget(b.radio(QStringLiteral("localTimeDisplay"), ptext::TimeDisplayPlanar,
                               {ptext::LocalApparent, ptext::ZoneApparent}, flagField(&DialState::localTimeDisplay),
                               {1, 0}));
    options->addWidget(b.radio(QStringLiteral("dateLineMode"), ptext::DateLines,
                               {ptext::DateMonthly, ptext::DateSeventh, ptext::DateOwn, ptext::DateNone},
                               digitField(&DialState::dateLineMode)));
    options->addWidget(
        b.check(QStringLiteral("drawPoleTriangle"), ptext::PoleTriangle, flagField(&DialState::drawPoleTriangle)));
    options->addWidget(b.check(QStringLiteral("wholeHourDaylengthLines"), ptext::WholeHourLines,
                               flagField(&DialState::wholeHourDaylengthLines)));
    // Numbers of the lines: a preference of zorva.conf, saved as soon as it changes.
    auto* numerals = new QGridLayout;
    IntAccess style{[](const DialState& s) { return static_cast<int>(s.numeralStyle); },
                    [](DialState& s, int v) { s.numeralStyle = static_cast<NumeralStyle>(std::clamp(v, 0, 2)); },
                    [](const DialState& s) -> const void* { return &s.numeralStyle; }};
    numerals->addWidget(b.radio(QStringLiteral("numeralStyle"), ptext::Numerals,
                                {ptext::NumeralsArabic, ptext::NumeralsRoman, ptext::NumeralsNone}, style),
                        0, 0, 1, 2);
    b.number(numerals, 1, QStringLiteral("numeralHeightMm"), ptext::NumeralHeight, realField(&DialState::numeralHeightMm),
             NumberRule(NumberCheck::RealRange, 1, 30, 1));
    numerals->addWidget(b.check(QStringLiteral("numeralsInPlotFiles"), ptext::NumeralsInPlot,
                                flagField(&DialState::numeralsInPlotFiles)),
                        2, 0, 1, 2);
    options->addLayout(numerals);
    options->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(b.group(ptext::Dimensions, dimensions));
    right->addLayout(options);
    addPage(page, TwoColumns(lines, nullptr, nullptr, right));
}

void ParameterDialog::buildPlanarPage() {
    Builder b = builderFor(Page::Planar);
    auto* grid = new QGridLayout;
    b.number(grid, 0, QStringLiteral("gnomonLength"), ptext::Gnomon, realField(&DialState::gnomonLength),
             NumberRule(NumberCheck::RealRange, 5, 200));
    QLineEdit* decl = b.number(grid, 1, QStringLiteral("wallDeclination"), ptext::WallDeclination,
                               realField(&DialState::wallDeclination), NumberRule(NumberCheck::Declination, -180, 180, 4));
    QLineEdit* incl = b.number(grid, 2, QStringLiteral("planeInclination"), ptext::Inclination,
                               realField(&DialState::planeInclination), NumberRule(NumberCheck::Inclination, 0, 175, 4));
    visibleRules_.insert(visibleRules_.begin(),
                         {decl, [](const DialState& s) { return s.dialType == 'v' || s.dialType == 'i'; }});
    visibleRules_.insert(visibleRules_.begin(), {incl, [](const DialState& s) { return s.dialType == 'i'; }});
    addPlanarPage(Page::Planar, b, grid);
}

void ParameterDialog::buildUmbrellaPage() {
    Builder b = builderFor(Page::Umbrella);
    auto* grid = new QGridLayout;
    b.number(grid, 0, QStringLiteral("gnomonLength"), ptext::Gnomon, realField(&DialState::gnomonLength),
             NumberRule(NumberCheck::RealRange, 3, 500));
    b.number(grid, 1, QStringLiteral("planeInclination"), ptext::Inclination, realField(&DialState::planeInclination),
             NumberRule(NumberCheck::Real, 0, 0, 4));
    b.number(grid, 2, QStringLiteral("wallDeclination"), ptext::WallDeviation, realField(&DialState::wallDeclination),
             NumberRule(NumberCheck::RealRange, -180, 180, 4));
    NumberAccess ratio{[](const DialState& s) { return s.umbrellaCircleRatio * 100.0; },
                       [](DialState& s, double v) { s.umbrellaCircleRatio = v / 100.0; },
                       [](const DialState& s) -> const void* { return &s.umbrellaCircleRatio; }};
    b.number(grid, 3, QStringLiteral("umbrellaCircleRatio"), ptext::CircleRatio, ratio,
             NumberRule(NumberCheck::Percent, -100, 200, 1));
    addPlanarPage(Page::Umbrella, b, grid);
}

void ParameterDialog::buildQuadrantPage() {
    Builder b = builderFor(Page::Quadrant);
    auto* grid = new QGridLayout;
    QLineEdit* gnomon = b.number(grid, 0, QStringLiteral("quadrantGnomon"), ptext::QuadrantGnomon,
                                 realField(&DialState::quadrantGnomon), NumberRule(NumberCheck::RealRange, 9, 100, 1));
    visibleRules_.insert(visibleRules_.begin(), {gnomon, [](const DialState& s) { return s.quadrantKind != 0; }});
    // The unit stands beside the field; messages name the field by its caption.
    QLabel* sizeCaption = b.label(ptext::QuadrantRadius);
    QLabel* unit = b.label(ptext::Millimetres);
    auto* size = new QLineEdit;
    size->setObjectName(b.name(QStringLiteral("quadrantSize")));
    size->setMinimumWidth(90);
    sizeCaption->setBuddy(size);
    bindings_->bindNumber(size, integerField(&DialState::quadrantSize), [sizeCaption] { NumberSpec sp = NumberRule(NumberCheck::IntRange, 80, 200, 0); sp.nameLabel = sizeCaption; return sp; }());
    grid->addWidget(sizeCaption, 1, 0);
    grid->addWidget(size, 1, 1);
    grid->addWidget(unit, 1, 2);
    for (QWidget* w : {static_cast<QWidget*>(sizeCaption), static_cast<QWidget*>(unit), static_cast<QWidget*>(size)})
        visibleRules_.push_back({w, [](const DialState& s) { return s.quadrantKind == 0; }});

    auto* lines = new QGridLayout;
    b.rangeHeader(lines, 0);
    auto notWholeYear = [](const DialState& s) { return !s.wholeYearBand; };
    b.familyRow(lines, 1, Family::OtherHour, b.label(ptext::Hours), notWholeYear);
    QCheckBox* temporal = b.check(QStringLiteral("temporalTimeSystem"), ptext::QuadrantTemporal,
                                  intField(&DialState::timeSystem), 2, 0);
    b.familyRow(lines, 2, Family::QuadrantTemporal, temporal, [](const DialState& s) { return s.timeSystem == 2; });
    visibleRules_.push_back({temporal, [](const DialState& s) { return s.quadrantKind == 0; }});

    auto* options = new QVBoxLayout;
    options->addWidget(b.radio(QStringLiteral("timeSystem"), ptext::TimeDisplay,
                               {ptext::ApparentTime, ptext::ZoneTime}, intField(&DialState::timeSystem)));
    options->addWidget(
        b.check(QStringLiteral("constructWithEoT"), ptext::WithEoT, flagField(&DialState::constructWithEoT)));
    options->addWidget(
        b.check(QStringLiteral("mirrorLeftQuadrant"), ptext::MirrorLeft, flagField(&DialState::mirrorLeftQuadrant)));
    options->addWidget(
        b.check(QStringLiteral("wholeYearBand"), ptext::WholeYearQuadrant, flagField(&DialState::wholeYearBand)));
    QGroupBox* arrangement = b.radio(QStringLiteral("outerLineArrangement"), ptext::Arrangement,
                                     {ptext::ArcJuneOutside, ptext::ArcJuneInside},
                                     flagField(&DialState::outerLineArrangement), {1, 0});
    enabledRules_.push_back({arrangement, notWholeYear});
    options->addWidget(arrangement);
    options->addWidget(b.radio(QStringLiteral("quadrantDateScale"), ptext::DateCircles,
                               {ptext::CalendarDate, ptext::Zodiac, ptext::Stereographic},
                               intField(&DialState::quadrantDateScale)));
    b.columnsPage(Page::Quadrant, grid, lines, options);
}

void ParameterDialog::buildCylinderPage() {
    Builder b = builderFor(Page::Cylinder);
    auto* grid = new QGridLayout;
    auto polar = [](const DialState& s) { return s.cylinderKind == 2; };
    auto notPolar = [](const DialState& s) { return s.cylinderKind != 2; };
    QLineEdit* g2 = b.number(grid, 0, QStringLiteral("cylinderGnomon"), ptext::CylinderGnomon,
                             realField(&DialState::cylinderGnomon), NumberRule(NumberCheck::RealRange, 4, 110, 1));
    QLineEdit* radius = b.number(grid, 1, QStringLiteral("cylinderRadius"), ptext::CylinderRadius,
                                 realField(&DialState::cylinderRadius), NumberRule(NumberCheck::RealRange, 4, 500, 1));
    QLineEdit* dev = b.number(grid, 2, QStringLiteral("wallDeclination"), ptext::Deviation,
                              realField(&DialState::wallDeclination), NumberRule(NumberCheck::RealRange, -180, 180, 2));
    QLineEdit* g01 = b.number(grid, 3, QStringLiteral("shepherdGnomon"), ptext::CylinderGnomon,
                              integerField(&DialState::shepherdGnomon), NumberRule(NumberCheck::IntRange, 4, 110));
    QLineEdit* month = b.number(grid, 4, QStringLiteral("monthScaleLength"), ptext::MonthAxis,
                                integerField(&DialState::monthScaleLength), NumberRule(NumberCheck::IntRange, 0, 400));
    b.number(grid, 5, QStringLiteral("maxShadowLength"), ptext::MaxShadow, integerField(&DialState::maxShadowLength),
             NumberRule(NumberCheck::IntRange, 0, 200));
    for (QLineEdit* e : {g2, radius, dev}) visibleRules_.insert(visibleRules_.begin(), {e, polar});
    for (QLineEdit* e : {g01, month}) visibleRules_.insert(visibleRules_.begin(), {e, notPolar});

    auto* lines = new QGridLayout;
    b.rangeHeader(lines, 0);
    b.family(lines, 1, Family::OtherHour, ptext::CylApparent);
    b.family(lines, 2, Family::Temporal, ptext::Temporal);
    // Babylonian and Italian hours are drawn on cylinders in expert mode only.
    b.family(lines, 3, Family::Babylonian, ptext::Babylonian);
    b.family(lines, 4, Family::Italian, ptext::Italian);
    for (int r = 3; r <= 4; ++r)
        for (int c = 0; c < 4; ++c)
            visibleRules_.push_back({lines->itemAtPosition(r, c)->widget(),
                                     [](const DialState& s) { return s.expertMode; }});
    lines->addWidget(
        b.check(QStringLiteral("altitudeLines"), ptext::CylAltitude, flagField(&DialState::altitudeLines)), 5, 0);
    QCheckBox* eot =
        b.check(QStringLiteral("cylinderWithEoT"), ptext::WithEoT, flagField(&DialState::cylinderWithEoT));
    // A shepherd's dial with temporal hours has no use for the equation of time.
    enabledRules_.push_back({eot, [](const DialState& s) { return !(s.cylinderKind == 0 && s.temporalHours); }});
    lines->addWidget(eot, 6, 0, 1, 4);

    auto* options = new QVBoxLayout;
    // Where the polar style stands: the gnomon length and deviation above place it.
    QGroupBox* stylePlace = b.radio(QStringLiteral("cylinderHourStyle"), ptext::StylePosition,
                                    {ptext::StyleOnAxis, ptext::StyleOffset, ptext::StyleOnRim},
                                    intField(&DialState::cylinderHourStyle));
    visibleRules_.push_back({stylePlace, polar});
    options->addWidget(stylePlace);
    options->addWidget(b.radio(QStringLiteral("timeSystem"), ptext::TrueTime, {ptext::ApparentTime, ptext::ZoneTime},
                               intField(&DialState::timeSystem)));
    options->addWidget(b.radio(QStringLiteral("monthScaleSideBySide"), ptext::MonthScale,
                               {ptext::MonthCombined, ptext::MonthSideBySide},
                               flagField(&DialState::monthScaleSideBySide)));
    options->addWidget(b.radio(QStringLiteral("outerLineArrangement"), ptext::Arrangement,
                               {ptext::JanuaryOutside, ptext::DecemberOutside},
                               flagField(&DialState::outerLineArrangement), {1, 0}));
    options->addWidget(b.radio(QStringLiteral("dateLineMode"), ptext::DateCount,
                               {ptext::DateMonthly, ptext::DateSeventh, ptext::DateOwn, ptext::DateNone},
                               digitField(&DialState::dateLineMode)));
    b.columnsPage(Page::Cylinder, grid, lines, options);
}

void ParameterDialog::buildHidokaiPage() {
    Builder b = builderFor(Page::Hidokai);
    auto* grid = new QGridLayout;
    b.number(grid, 0, QStringLiteral("hidokaiGnomon"), ptext::HidokaiGnomon, integerField(&DialState::hidokaiGnomon),
             NumberRule(NumberCheck::IntRange, 4, 110));
    b.number(grid, 1, QStringLiteral("hidokaiMonthScale"), ptext::HidokaiMonth,
             integerField(&DialState::hidokaiMonthScale), NumberRule(NumberCheck::IntRange, 0, 180));
    b.number(grid, 2, QStringLiteral("hidokaiHorizontalScale"), ptext::HidokaiHorizontal,
             integerField(&DialState::hidokaiHorizontalScale), NumberRule(NumberCheck::IntRange, 0, 260));

    auto* lines = new QGridLayout;
    b.rangeHeader(lines, 0);
    b.family(lines, 1, Family::OtherHour, ptext::CylApparent);
    b.family(lines, 2, Family::QuadrantTemporal, ptext::Temporal);
    lines->addWidget(
        b.check(QStringLiteral("cylinderWithEoT"), ptext::WithEoT, flagField(&DialState::cylinderWithEoT)), 3, 0, 1,
        4);

    auto* options = new QVBoxLayout;
    options->addWidget(b.check(QStringLiteral("hidokaiVerticalDial"), ptext::VerticalFace,
                               flagField(&DialState::hidokaiVerticalDial)));
    options->addWidget(b.radio(QStringLiteral("timeSystem"), ptext::TrueTime, {ptext::ApparentTime, ptext::ZoneTime},
                               intField(&DialState::timeSystem)));
    options->addWidget(b.radio(QStringLiteral("monthScaleSideBySide"), ptext::MonthScale,
                               {ptext::MonthCombined, ptext::MonthSideBySide},
                               flagField(&DialState::monthScaleSideBySide)));
    b.columnsPage(Page::Hidokai, grid, lines, options);
}

void ParameterDialog::buildRingPage() {
    Builder b = builderFor(Page::Ring);
    auto* grid = new QGridLayout;
    b.number(grid, 0, QStringLiteral("ringDiameter"), ptext::RingDiameter, realField(&DialState::ringDiameter),
             NumberRule(NumberCheck::RealRange, 10, 300, 1));
    b.number(grid, 1, QStringLiteral("ringWidth"), ptext::RingWidth, realField(&DialState::ringWidth),
             NumberRule(NumberCheck::RealRange, 4.5, 150, 1));
    b.number(grid, 2, QStringLiteral("ringAngle"), ptext::RingAngle, realField(&DialState::ringAngle),
             NumberRule(NumberCheck::RealRange, 0, 90, 1));

    auto* lines = new QGridLayout;
    b.rangeHeader(lines, 0);
    b.familyRow(lines, 1, Family::OtherHour, b.label(ptext::Hours), {});

    auto* options = new QVBoxLayout;
    options->addWidget(b.radio(QStringLiteral("rayDeflection"), ptext::RayDeflection,
                               {ptext::NotConsidered, ptext::Considered, ptext::BothShown},
                               intField(&DialState::rayDeflection)));
    options->addWidget(b.check(QStringLiteral("noonLineHorizontal"), ptext::NoonHorizontal,
                               flagField(&DialState::noonLineHorizontal)));
    options->addWidget(
        b.check(QStringLiteral("wholeYearBand"), ptext::SingleBand, flagField(&DialState::wholeYearBand)));
    options->addWidget(b.radio(QStringLiteral("localTimeReading"), ptext::TimeReading,
                               {ptext::ApparentTime, ptext::ZoneTime}, flagField(&DialState::localTimeReading),
                               {1, 0}));
    b.columnsPage(Page::Ring, grid, lines, options);
}

void ParameterDialog::buildAzimuthPage() {
    Builder b = builderFor(Page::Azimuth);
    auto* grid = new QGridLayout;
    b.number(grid, 0, QStringLiteral("observerDistance"), ptext::ObserverDistance,
             realField(&DialState::observerDistanceCm), NumberRule(NumberCheck::RealRange, 10, 400, 1));
    b.number(grid, 1, QStringLiteral("basePlateDiameterCm"), ptext::BasePlate, realField(&DialState::basePlateDiameterCm),
             NumberRule(NumberCheck::RealRange, 3, 200, 1));

    auto* lines = new QGridLayout;
    b.rangeHeader(lines, 0);
    b.family(lines, 1, Family::Hour, ptext::ApparentNoEoT);
    b.family(lines, 2, Family::MeanHour, ptext::MeanTimeLines);
    b.family(lines, 3, Family::Babylonian, ptext::Babylonian);
    b.family(lines, 4, Family::Italian, ptext::Italian);
    b.family(lines, 5, Family::Temporal, ptext::Temporal);
    lines->addWidget(b.label(ptext::LinesPerMonth), 6, 0);
    lines->addWidget(
        b.list(QStringLiteral("dateLinesPerMonth"), ListKind::LinesPerMonth, intField(&DialState::dateLinesPerMonth)),
        6, 1, 1, 3);
    lines->addWidget(b.check(QStringLiteral("wholeHourDaylengthLines"), ptext::WholeHourLines,
                             flagField(&DialState::wholeHourDaylengthLines)),
                     7, 0, 1, 4);

    auto* options = new QVBoxLayout;
    options->addWidget(b.radio(QStringLiteral("timeSystem"), ptext::TimeGroup,
                               {ptext::LocalApparentShort, ptext::ZoneTime}, intField(&DialState::timeSystem)));
    options->addWidget(
        b.check(QStringLiteral("constructWithEoT"), ptext::WithEoT, flagField(&DialState::constructWithEoT)));
    options->addWidget(b.radio(QStringLiteral("declinationScale"), ptext::DateCirclesShow,
                               {ptext::CalendarDate, ptext::Zodiac}, flagField(&DialState::declinationScale)));
    options->addWidget(b.radio(QStringLiteral("altitudeCircleSpacing"), ptext::CircleSpacing,
                               {ptext::EqualSpacing, ptext::TonneSpacing, ptext::StereoDial},
                               intField(&DialState::altitudeCircleSpacing)));
    options->addWidget(b.check(QStringLiteral("includeAzimuthLines"), ptext::AzimuthLines,
                               flagField(&DialState::includeAzimuthLines)));
    QCheckBox* ecliptic =
        b.check(QStringLiteral("drawEcliptic"), ptext::Ecliptic, flagField(&DialState::drawEcliptic));
    visibleRules_.push_back({ecliptic, [](const DialState& s) { return s.altitudeCircleSpacing == 2; }});
    options->addWidget(ecliptic);
    b.columnsPage(Page::Azimuth, grid, lines, options);
}

void ParameterDialog::buildBiazimuthalPage() {
    Builder b = builderFor(Page::Biazimuthal);
    auto* grid = new QGridLayout;
    b.number(grid, 0, QStringLiteral("latitude"), ptext::Latitude1, latitudeField(&DialState::latitude),
             NumberRule(NumberCheck::RealRange, -90, 90, 4));
    b.number(grid, 1, QStringLiteral("longitude"), ptext::Longitude1, siteLongitudeField(&DialState::longitude),
             NumberRule(NumberCheck::RealRange, -180, 180, 4));
    b.number(grid, 2, QStringLiteral("latitude2"), ptext::Latitude2, latitudeField(&DialState::latitude2),
             NumberRule(NumberCheck::RealRange, -90, 90, 4));
    b.number(grid, 3, QStringLiteral("longitude2"), ptext::Longitude2, realField(&DialState::longitude2),
             NumberRule(NumberCheck::RealRange, -180, 180, 4));
    b.number(grid, 4, QStringLiteral("zoneMeridian"), ptext::ZoneMeridian,
             siteLongitudeField(&DialState::zoneMeridian), NumberRule(NumberCheck::RealRange, -180, 180, 2));
    grid->addWidget(b.label(ptext::WestPositive), 5, 0, 1, 2);
    b.number(grid, 6, QStringLiteral("wallDeclination"), ptext::WallDeclination1,
             realField(&DialState::wallDeclination), NumberRule(NumberCheck::RealRange, -180, 180, 4));
    b.number(grid, 7, QStringLiteral("wallDeclination2"), ptext::WallDeclination2,
             realField(&DialState::wallDeclination2), NumberRule(NumberCheck::RealRange, -180, 180, 4));
    b.number(grid, 8, QStringLiteral("gnomonLength"), ptext::RodHeight, realField(&DialState::gnomonLength),
             NumberRule(NumberCheck::RealRange, 5, 500, 2));
    b.number(grid, 9, QStringLiteral("drawingScale"), ptext::Scaling, integerField(&DialState::drawingScale),
             NumberRule(NumberCheck::IntRange, 5, 1000));
    QGroupBox* dims = b.group(ptext::Dimensions, grid);

    auto* options = new QVBoxLayout;
    options->addWidget(b.radio(QStringLiteral("biazimuthalVertical"), ptext::Plane,
                               {ptext::Horizontal, ptext::Vertical}, flagField(&DialState::biazimuthalVertical)));
    auto* analemma = new QGridLayout;
    analemma->addWidget(
        b.check(QStringLiteral("markAnalemma"), ptext::MarkAnalemma, flagField(&DialState::markAnalemma)), 0, 0, 1,
        2);
    b.number(analemma, 1, QStringLiteral("analemmaHour"), ptext::AnalemmaHour, integerField(&DialState::analemmaHour),
             NumberRule(NumberCheck::IntRange, 1, 23));
    options->addLayout(analemma);
    addPage(Page::Biazimuthal, TwoColumns(dims, nullptr, nullptr, options));
}

// The cone-shadow dial showing mean time.
void ParameterDialog::buildMeanTimePage() {
    Builder b = builderFor(Page::MeanTime);
    auto* grid = new QGridLayout;
    b.number(grid, 0, QStringLiteral("gnomonLength"), ptext::RodHeight, realField(&DialState::gnomonLength),
             NumberRule(NumberCheck::RealRange, 5, 500, 2));
    NumberAccess coneAxis{[](const DialState& s) { return s.coneAxisInclination; },
                          // A negative axis inclination is the same cone seen from the other side.
                          [](DialState& s, double v) { s.coneAxisInclination = v < 0 ? v + 180.0 : v; },
                          [](const DialState& s) -> const void* { return &s.coneAxisInclination; }};
    b.number(grid, 1, QStringLiteral("coneAxisInclination"), ptext::ConeAxis, coneAxis,
             NumberRule(NumberCheck::RealRange, -175, 175, 2));
    b.number(grid, 2, QStringLiteral("coneHalfAngle"), ptext::ConeHalfAngle, realField(&DialState::coneHalfAngle),
             NumberRule(NumberCheck::RealRange, 0, 85, 2));
    b.number(grid, 3, QStringLiteral("drawingScale"), ptext::Scaling, integerField(&DialState::drawingScale),
             NumberRule(NumberCheck::IntRange, 5, 1000));
    QLineEdit* decl = b.number(grid, 4, QStringLiteral("wallDeclination"), ptext::WallDeclination,
                               realField(&DialState::wallDeclination), NumberRule(NumberCheck::RealRange, -180, 180, 4));
    QLineEdit* incl = b.number(grid, 5, QStringLiteral("planeInclination"), ptext::Inclination,
                               realField(&DialState::planeInclination), NumberRule(NumberCheck::Inclination, 0, 175, 4));
    visibleRules_.insert(visibleRules_.begin(), {decl, [](const DialState& s) { return HollanderCode(s) % 3 != 0; }});
    visibleRules_.insert(visibleRules_.begin(), {incl, [](const DialState& s) { return HollanderCode(s) % 3 == 2; }});
    b.number(grid, 6, QStringLiteral("analemmaHour"), ptext::AnalemmaHour, integerField(&DialState::analemmaHour),
             NumberRule(NumberCheck::IntRange, 1, 23));

    auto* lines = new QGridLayout;
    b.rangeHeader(lines, 0);
    b.familyRow(lines, 1, Family::Hour, b.label(ptext::Hours), {});
    lines->addWidget(b.label(ptext::LinesPerMonth), 2, 0);
    lines->addWidget(
        b.list(QStringLiteral("dateLinesPerMonth"), ListKind::LinesPerMonth, intField(&DialState::dateLinesPerMonth)),
        2, 1, 1, 3);
    lines->addWidget(b.label(ptext::DayMarks), 3, 0);
    lines->addWidget(b.list(QStringLiteral("dayMarkings"), ListKind::DayMarks, intField(&DialState::dayMarkings)), 3,
                     1, 1, 3);

    auto* options = new QVBoxLayout;
    options->addWidget(b.radio(QStringLiteral("plane"), ptext::Plane,
                               {ptext::Horizontal, ptext::Vertical, ptext::Inclined}, hollanderPlaneField()));
    options->addWidget(b.radio(QStringLiteral("hollanderShadowLine"), ptext::ShadowLine,
                               {ptext::ShadowBoth, ptext::ShadowSummer, ptext::ShadowWinter},
                               hollanderShadowField()));
    options->addWidget(b.radio(QStringLiteral("timeSystem"), ptext::TimeGroup,
                               {ptext::LocalApparentShort, ptext::ZoneTime}, intField(&DialState::timeSystem)));
    options->addWidget(
        b.check(QStringLiteral("hollanderOption"), ptext::ApexFoot, flagField(&DialState::hollanderOption)));
    b.columnsPage(Page::MeanTime, grid, lines, options);
}

// The analemmatic and bifilar pages: their kinds are kept in zorva.conf.
void ParameterDialog::buildAnalemmaticPage() {
    Builder b = builderFor(Page::Analemmatic);
    auto* grid = new QGridLayout;
    b.number(grid, 0, QStringLiteral("semiMajor"), kSemiAxisCaption,
             settingsReal(&DialState::analemmatic, &AnalemmaticSettings::semiMajorMm),
             NumberRule(NumberCheck::RealRange, 10, 100000, 1));
    b.number(grid, 1, QStringLiteral("gnomonAngle"), kGnomonAngleCaption,
             settingsReal(&DialState::analemmatic, &AnalemmaticSettings::gnomonAngle),
             NumberRule(NumberCheck::RealRange, 5, 175, 2));
    b.number(grid, 2, QStringLiteral("wallDeclination"), ptext::WallDeclination,
             realField(&DialState::wallDeclination), NumberRule(NumberCheck::RealRange, -180, 180, 4));
    QGroupBox* dims = b.group(ptext::Dimensions, grid);
    auto* presets = new QVBoxLayout;
    presets->addWidget(b.action(QStringLiteral("walkOn"), kWalkOnCaption, [](DialState& s) {
        s.analemmatic = WalkOnPreset();
        s.dialType = 'h';
    }));
    presets->addWidget(b.action(QStringLiteral("circularScale"), kCircularScaleCaption, [](DialState& s) {
        s.analemmatic.gnomonAngle = CircularScaleGnomonAngle(s.latitude);
    }));
    auto* left = new QVBoxLayout;
    left->addWidget(dims);
    left->addLayout(presets);

    auto* options = new QVBoxLayout;
    b.addedKindOptions(options, &DialState::analemmatic);
    options->addWidget(b.check(QStringLiteral("metres"), kMetresCaption,
                               settingsFlag(&DialState::analemmatic, &AnalemmaticSettings::metres)));
    addPage(Page::Analemmatic, TwoColumns(nullptr, left, nullptr, options));
}

void ParameterDialog::buildBifilarPage() {
    Builder b = builderFor(Page::Bifilar);
    auto* grid = new QGridLayout;
    // Zero and equal distances pass here: the construction refuses them with its message.
    b.number(grid, 0, QStringLiteral("threadA"), kThreadACaption, settingsReal(&DialState::bifilar, &BifilarSettings::threadAMm),
             NumberRule(NumberCheck::RealRange, 0, 100000, 1));
    b.number(grid, 1, QStringLiteral("threadB"), kThreadBCaption, settingsReal(&DialState::bifilar, &BifilarSettings::threadBMm),
             NumberRule(NumberCheck::RealRange, 0, 100000, 1));
    b.number(grid, 2, QStringLiteral("wallDeclination"), ptext::WallDeclination,
             realField(&DialState::wallDeclination), NumberRule(NumberCheck::RealRange, -180, 180, 4));
    QGroupBox* dims = b.group(ptext::Dimensions, grid);
    QPushButton* even = b.action(QStringLiteral("evenSpacing"), kEvenSpacingCaption, [](DialState& s) {
        const PlaneFrame frame = s.bifilar.vertical ? FrameOfPlane(90.0, s.wallDeclination) : FrameOfPlane(0.0, 0.0);
        if (const auto b = EvenSpacingThread(frame, s.latitude, s.bifilar.threadAMm)) s.bifilar.threadBMm = *b;
    });
    auto* left = new QVBoxLayout;
    left->addWidget(dims);
    left->addWidget(even);
    auto* options = new QVBoxLayout;
    b.addedKindOptions(options, &DialState::bifilar);
    addPage(Page::Bifilar, TwoColumns(nullptr, left, nullptr, options));
}

// The own date lines, beside the planar and umbrella pages.
void ParameterDialog::buildDateLines(QHBoxLayout& body) {
    const Language lang = state_.language;
    Builder b{*this, *bindings_, QStringLiteral("dates"), lang};
    auto* layout = new QVBoxLayout;
    dateList_ = new QListWidget;
    dateList_->setObjectName(QStringLiteral("dateList"));
    layout->addWidget(dateList_, 1);
    auto* entry = new QHBoxLayout;
    QLabel* caption = b.label(ptext::DateField);
    dateEdit_ = new QLineEdit;
    dateEdit_->setObjectName(QStringLiteral("dateEdit"));
    dateEdit_->setMaxLength(40);
    caption->setBuddy(dateEdit_);
    entry->addWidget(caption);
    entry->addWidget(dateEdit_, 1);
    layout->addLayout(entry);
    for (const auto& [name, tag] : {std::pair{"addDate", ptext::AddDate}, std::pair{"removeDate", ptext::RemoveDate},
                                    std::pair{"saveDates", ptext::SaveDates}, std::pair{"loadDates", ptext::LoadDates}})
        layout->addWidget(TaggedButton(QString::fromLatin1(name), tag, lang));
    dateGroup_ = b.group(ptext::OwnDates, layout);
    dateGroup_->setObjectName(QStringLiteral("dateGroup"));
    dateGroup_->setMinimumWidth(260);
    enabledRules_.push_back({dateGroup_, [](const DialState& s) { return s.dateLineMode == '2'; }});
    body.addWidget(dateGroup_);
}

void ParameterDialog::buildButtons(QVBoxLayout& outer) {
    const Language lang = state_.language;
    auto* buttons = new QHBoxLayout;
    loadButton_ = TaggedButton(QStringLiteral("loadParameters"), ptext::LoadParameters, lang);
    cancelButton_ = TaggedButton(QStringLiteral("cancel"), ptext::Cancel, lang);
    closeButton_ = TaggedButton(QStringLiteral("close"), ptext::Close, lang);
    buttons->addWidget(loadButton_);
    buttons->addStretch(1);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(closeButton_);
    outer.addLayout(buttons);
    cancelButton_->setVisible(false);

    connect(findChild<QPushButton*>(QStringLiteral("addDate")), &QPushButton::clicked, this,
            [this] { addDateLine(dateEdit_->text()); });
    connect(dateEdit_, &QLineEdit::returnPressed, this, [this] { addDateLine(dateEdit_->text()); });
    connect(findChild<QPushButton*>(QStringLiteral("removeDate")), &QPushButton::clicked, this,
            &ParameterDialog::removeMarkedDateLine);
    connect(findChild<QPushButton*>(QStringLiteral("saveDates")), &QPushButton::clicked, this,
            [this] { SaveDateLines(state_, state_.dateLineList, settingsPath_, dialogs_); });
    connect(findChild<QPushButton*>(QStringLiteral("loadDates")), &QPushButton::clicked, this, [this] {
        QStringList shown;
        LoadDateLines(state_, &shown, settingsPath_, dateLinesPath_, dialogs_);
        refillDateList();
    });
    connect(loadButton_, &QPushButton::clicked, this, [this] {
        // Reloads the dial's parameters from the settings file; colours and the own date
        // lines stay as the user has them.
        ReadStateFile(state_, settingsPath_, false, false, dialogs_);
        refill();
    });
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(cancelButton_, &QPushButton::clicked, this, &ParameterDialog::cancelRequested);
}

void ParameterDialog::setSettingsPaths(const QString& settingsPath, const QString& dateLinesPath) {
    settingsPath_ = settingsPath;
    dateLinesPath_ = dateLinesPath;
}

void ParameterDialog::refillDateList() {
    const int row = dateList_->currentRow();
    dateList_->clear();
    for (const QString& entry : state_.dateLineList) dateList_->addItem(DateLineDisplayText(entry, state_.language));
    if (row >= 0 && row < dateList_->count()) dateList_->setCurrentRow(row);
}

bool ParameterDialog::addDateLine(const QString& text) {
    const DateLineCheck check = ValidateDateLine(text.trimmed(), state_.referenceYear, &dialogs_, state_.language);
    if (!check.valid) {
        dateEdit_->setFocus();
        return false;
    }
    // The list stays in calendar order, which the date-line table of the dial relies on.
    const int index = SortedInsertIndex(state_.dateLineList, check.key);
    state_.dateLineList.insert(index, FormatDateLine(check));
    refillDateList();
    dateList_->setCurrentRow(index);
    dateEdit_->clear();
    return true;
}

bool ParameterDialog::removeMarkedDateLine() {
    const int row = dateList_->currentRow();
    if (row < 0 || row >= state_.dateLineList.size()) return false;
    state_.dateLineList.removeAt(row);
    refillDateList();
    return true;
}

void ParameterDialog::refill() {
    applyOpeningRules();
    bindings_->refreshAll();
    refillDateList();
    showPage(PageFor(state_));
    updateDependents();
}

void ParameterDialog::showPage(Page page) {
    if (page == Page::Ring && (page != page_ || !pageShown_)) ringQuestionPending_ = true;
    page_ = page;
    pageShown_ = true;
    const int index = static_cast<int>(page);
    for (int i = 0; i < kPageCount; ++i) tabs_->setTabVisible(i, i == index);
    tabs_->setCurrentIndex(index);
    dateGroup_->setVisible(page == Page::Planar || page == Page::Umbrella);
    setWindowTitle(TitleFor(state_));
    applyWizardCaptions();
}

void ParameterDialog::updateDependents() {
    for (const Rule& r : visibleRules_) r.widget->setVisible(r.when(state_));
    for (const Rule& r : enabledRules_) r.widget->setEnabled(r.when(state_));
}

void ParameterDialog::onFieldWritten(const void* storage) {
    DialState& s = state_;
    if (storage == &s.temporalHours && s.temporalHours && s.dialType == 'z' && s.cylinderKind == 0 &&
        s.apparentTimeLines) {
        // The shepherd's dial shows either temporal hours or apparent time.
        s.apparentTimeLines = false;
        bindings_->refreshAll();
    }
    if (storage == &s.ringDiameter || storage == &s.ringWidth || storage == &s.ringAngle) ringQuestionPending_ = true;
    if (storage == &s.numeralStyle || storage == &s.numeralHeightMm || storage == &s.numeralsInPlotFiles)
        savePreferences();
    updateDependents();
}

void ParameterDialog::savePreferences() { SavePreferencesBeside(state_, settingsPath_, dialogs_); }

void ParameterDialog::applyLanguage() {
    const Language lang = state_.language;
    ApplyResourceCaptions(this, lang);
    for (int i = 0; i < kPageCount; ++i) tabs_->setTabText(i, PageCaption(static_cast<Page>(i), lang));
    setWindowTitle(TitleFor(state_));
    if (dateList_) refillDateList();
    applyWizardCaptions();
}

void ParameterDialog::setWizardMode(bool on) {
    wizardMode_ = on;
    cancelButton_->setVisible(on);
    closeButton_->setText(resourceText(ptext::Close, state_.language));
    setWindowTitle(TitleFor(state_));
    applyWizardCaptions();
}

void ParameterDialog::applyWizardCaptions() {
    // The third step of the wizard reads like the first two.
    if (!wizardMode_) return;
    setWindowTitle(title(11, state_.language) + QStringLiteral("3"));
    closeButton_->setText(title(26, state_.language));
}

QLineEdit* ParameterDialog::fieldNamed(const QString& name) const { return findChild<QLineEdit*>(name); }

bool ParameterDialog::closeCheck() {
    QWidget* page = pages_[static_cast<std::size_t>(page_)];
    // Checked on a copy: a rejected field leaves nothing of the check in the state.
    DialState scratch = state_;
    bool ok = true;
    for (QLineEdit* edit : bindings_->numberFieldsIn(page)) {
        if (!bindings_->readNumber(edit, scratch)) {
            ok = false;
            break;
        }
    }
    if (ok) ok = pageRules(scratch);
    if (ok) {
        state_ = scratch;
        bindings_->refreshAll();
        updateDependents();
        SaveAddedDialPreferences(state_, settingsPath_, dialogs_);
    } else {
        dialogs_.beep();
    }
    lastCheckOk_ = ok;
    emit closeChecked(ok);
    return ok;
}

bool ParameterDialog::pageRules(DialState& scratch) {
    switch (page_) {
        case Page::Umbrella: return umbrellaRatioOk(scratch);
        case Page::Quadrant: return quadrantDiameterOk(scratch);
        case Page::Ring: return ringScaleOk(scratch);
        default: return true;
    }
}

bool ParameterDialog::umbrellaRatioOk(const DialState& s) {
    if (s.dialType != 'i') return true;
    const Language lang = s.language;
    switch (CheckInclinedUmbrella(s.umbrellaCircleRatio, s.planeInclination)) {
    case UmbrellaProblem::NoDisc:
        dialogs_.inform(caption(CaptionKind::Error, lang), message(21, lang), Icon::Error);
        if (QLineEdit* e = fieldNamed(QStringLiteral("umbrella_umbrellaCircleRatio"))) e->setFocus();
        return false;
    case UmbrellaProblem::PlaneIntoDisc:
        dialogs_.inform(caption(CaptionKind::Error, lang), message(17, lang), Icon::Error);
        if (QLineEdit* e = fieldNamed(QStringLiteral("umbrella_planeInclination"))) e->setFocus();
        return false;
    case UmbrellaProblem::None: break;
    }
    return true;
}

bool ParameterDialog::quadrantDiameterOk(const DialState& s) {
    if (s.quadrantKind != 1 && s.quadrantKind != 2) return true;
    const double h = s.quadrantGnomon;
    // The dial is the same for southern sites, mirrored; not finite where no disc can exist.
    const double eps = s.zodiacDeclinations[7];
    const double diameter = HabermelDiameter(s.quadrantKind, h, s.latitude, eps);
    TextField field(std::isfinite(diameter) ? RealToText(8, 2, diameter) : QStringLiteral("99999"));
    double value = diameter;
    bool error = false;
    FieldReader{dialogs_, s.language}.readRealInRange(field, value, resourceText(ptext::DialDiameter, s.language),
                                                      error, 190, 20);
    if (!std::isfinite(diameter)) error = true;
    if (error)
        if (QLineEdit* e = fieldNamed(QStringLiteral("quadrant_quadrantGnomon"))) e->setFocus();
    return !error;
}

bool ParameterDialog::ringScaleOk(const DialState& s) {
    if (!ringQuestionPending_) return true;
    const double eps = s.zodiacDeclinations[7];
    // The scale of a southern ring is the mirror image of the northern one.
    if ((90 - std::fabs(s.latitude) + eps) * 2 + s.ringAngle <= 180) return true;
    ringQuestionPending_ = false;
    const Answer a = dialogs_.ask(caption(CaptionKind::Warning, s.language), message(59, s.language), Buttons::YesNo,
                                  Icon::Warning);
    if (a == Answer::Yes) {
        if (QLineEdit* e = fieldNamed(QStringLiteral("ring_ringAngle"))) e->setFocus();
        return false;
    }
    return true;
}

void ParameterDialog::closeEvent(QCloseEvent* event) {
    if (!closeCheck()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

void ParameterDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) applyLanguage();
    QWidget::changeEvent(event);
}

bool ParameterDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) refill();
    return QWidget::event(event);
}

void ParameterDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(helpTopic());
        return;
    }
    QWidget::keyPressEvent(event);
}

void ParameterDialog::contextMenuEvent(QContextMenuEvent* event) {
    if (popup_) popup_->exec(event->globalPos());
}

}  // namespace zorva
