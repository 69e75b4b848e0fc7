#include "ui/type_dialog.h"

#include "astro/angles.h"
#include "astro/solar_ephemeris.h"
#include "dials/quadrant_geometry.h"
#include "state/dial_state.h"
#include "text/field_readers.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/caption_tags.h"
#include "ui/dial_pictures.h"
#include "ui/line_edit_field.h"
#include "ui/preferences_save.h"
#include "ui/resource_ids.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

constexpr char kItemLetters[TypeDialog::kItemCount] = {'h', 'v', 'i', 'h', 'q', 'a', 'z', 'k', 'r', 'c', 'm', 'h', 'h'};
// Captions of the added kinds (the classic items number theirs from kTypeItemFirst).
constexpr int kAddedItemCaption[2] = {941, 942};
constexpr char kUmbrellaLetters[3] = {'h', 'i', 'v'};

bool isPlanar(char letter) { return letter == 'h' || letter == 'i' || letter == 'v'; }

QString realText(double v, int decimals) { return RealToText(decimals, decimals, v).trimmed(); }

// Integer fields take "15.7" as 15: the decimal part is cut off before the range check.
void cutDecimals(QLineEdit* edit) {
    QString t = edit->text();
    const int dot = t.indexOf(QRegularExpression(QStringLiteral("[.,]")));
    if (dot >= 0) {
        t.truncate(dot);
        edit->setText(t);
    }
}

// The characters a real field keeps, "," read as ".".
bool parseFiltered(const QString& text, double& value) {
    QString filtered;
    for (QChar c : text) {
        if (c == QLatin1Char(',')) filtered += QLatin1Char('.');
        else if (c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.') ||
                 (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            filtered += c;
    }
    return ParseReal(filtered, value);
}

}  // namespace

TypeDialog::Item TypeDialog::ItemForLetter(char letter, bool umbrella) {
    if (umbrella && isPlanar(letter)) return Umbrella;
    switch (letter) {
        case 'a': return Azimuth;
        case 'c': return Biazimuthal;
        case 'h': return Horizontal;
        case 'i': return Inclined;
        case 'k': return Hidokai;
        case 'm': return Hollander;
        case 'q': return Quadrant;
        case 'r': return Ring;
        case 'v': return Vertical;
        case 'z': return Cylinder;
        default: return Horizontal;
    }
}

double TypeDialog::HabermelDiameter(int quadrantKind, double gnomon, double latitude, double obliquity) {
    return zorva::HabermelDiameter(quadrantKind, gnomon, latitude, obliquity);
}

TypeDialog::TypeDialog(ChildHost& host, QWidget* parent)
    : WizardDialog(ChildKind::TypeDialog, host, NumberKeyFilter::Allowed::SignedReal, parent) {
    setObjectName(QStringLiteral("typeDialog"));
    SetCaptionTag(this, res::kTypeCaption);
    SetHintTag(this, res::kTypeHint);
    DialState& s = host.state();

    applyExpertRules();
    opening_ = {s.addedKind,      s.analemmatic.vertical, s.bifilar.vertical,
                s.dialType,       s.umbrellaDial,     s.cylinderKind,   s.quadrantKind,   s.azimuthKind,
                s.legendOffset,   s.gnomonLength,     s.cylinderGnomon, s.cylinderRadius, s.quadrantGnomon,
                s.wallDeclination, s.planeInclination, s.ringDiameter,  s.shepherdGnomon, s.hidokaiGnomon,
                s.monthScaleLength};

    // The list of kinds; the bi-azimuthal and Hollander dials only in expert mode.
    kindGroup_ = new QGroupBox(this);
    kindGroup_->setObjectName(QStringLiteral("dialKinds"));
    SetCaptionTag(kindGroup_, res::kTypeGroup);
    items_ = new QButtonGroup(this);
    auto* kindLayout = new QGridLayout(kindGroup_);
    itemButtons_.assign(kItemCount, nullptr);
    int place = 0;
    for (int i = 0; i < kItemCount; ++i) {
        if (!s.expertMode && (i == Biazimuthal || i == Hollander)) continue;
        auto* b = new QRadioButton(kindGroup_);
        b->setObjectName(QStringLiteral("item%1").arg(i));
        SetCaptionTag(b, i >= Analemmatic ? kAddedItemCaption[i - Analemmatic] : res::kTypeItemFirst + i);
        items_->addButton(b, i);
        itemButtons_[static_cast<size_t>(i)] = b;
        kindLayout->addWidget(b, place % 7, place / 7);
        ++place;
    }

    std::vector<QRadioButton*> planes;
    for (int i = 0; i < 3; ++i) {
        auto* b = new QRadioButton(this);
        b->setObjectName(QStringLiteral("umbrellaPlane%1").arg(i));
        planes.push_back(b);
    }
    umbrellaBox_ = makeChoiceGroup(QStringLiteral("umbrellaPlanes"), planes, umbrellaPlane_);
    std::vector<QRadioButton*> addedPlanes;
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(this);
        b->setObjectName(QStringLiteral("addedPlane%1").arg(i));
        SetCaptionTag(b, i == 0 ? 360 : 361);  // "horizontal", "vertical"
        addedPlanes.push_back(b);
    }
    addedPlaneBox_ = makeChoiceGroup(QStringLiteral("addedPlanes"), addedPlanes, addedPlane_);
    std::vector<QRadioButton*> cylinders, quadrants, azimuths;
    for (int i = 0; i < 3; ++i) {
        auto* c = new QRadioButton(this);
        c->setObjectName(QStringLiteral("cylinderKind%1").arg(i));
        SetCaptionTag(c, res::kCylinderKindFirst + i);
        c->setVisible(i == 0 || s.expertMode);
        cylinders.push_back(c);
        auto* q = new QRadioButton(this);
        q->setObjectName(QStringLiteral("quadrantKind%1").arg(i));
        SetCaptionTag(q, res::kQuadrantKindFirst + i);
        quadrants.push_back(q);
    }
    for (int i = 0; i < 2; ++i) {
        auto* a = new QRadioButton(this);
        a->setObjectName(QStringLiteral("azimuthKind%1").arg(i));
        SetCaptionTag(a, res::kAzimuthKindFirst + i);
        azimuths.push_back(a);
    }
    cylinderBox_ = makeChoiceGroup(QStringLiteral("cylinderKinds"), cylinders, cylinderKinds_);
    for (int i = 1; i < 3; ++i) cylinders[i]->setVisible(s.expertMode);
    quadrantBox_ = makeChoiceGroup(QStringLiteral("quadrantKinds"), quadrants, quadrantKinds_);
    azimuthBox_ = makeChoiceGroup(QStringLiteral("azimuthKinds"), azimuths, azimuthKinds_);

    auto tagged = [this](int tag) {
        auto* l = new QLabel(this);
        if (tag) SetCaptionTag(l, tag);
        return l;
    };
    gnomonLabel_ = tagged(res::kGnomonHeight);
    gnomonEdit_ = makeEdit(QStringLiteral("gnomon"));
    declinationLabel_ = tagged(0);
    eastNegativeLabel_ = tagged(res::kEastNegative);
    declinationEdit_ = makeEdit(QStringLiteral("wallDeclination"));
    inclinationLabel1_ = tagged(res::kInclinationLine1);
    inclinationLabel2_ = tagged(res::kInclinationLine2);
    inclinationEdit_ = makeEdit(QStringLiteral("inclination"));
    ringLabel_ = tagged(res::kRingDiameter);
    ringEdit_ = makeEdit(QStringLiteral("ringDiameter"));
    radiusLabel_ = tagged(res::kCylinderRadius);
    radiusEdit_ = makeEdit(QStringLiteral("cylinderRadius"));
    monthScaleLabel_ = tagged(0);
    monthScaleEdit_ = makeEdit(QStringLiteral("monthScale"));
    oldValueLabel_ = tagged(res::kOldValueReturn);
    gnomonLabel_->setBuddy(gnomonEdit_);
    declinationLabel_->setBuddy(declinationEdit_);
    inclinationLabel2_->setBuddy(inclinationEdit_);
    ringLabel_->setBuddy(ringEdit_);
    monthScaleLabel_->setBuddy(monthScaleEdit_);

    auto* fields = new QGridLayout;
    int row = 0;
    fields->addWidget(gnomonLabel_, row, 0);
    fields->addWidget(gnomonEdit_, row++, 1);
    fields->addWidget(declinationLabel_, row, 0);
    fields->addWidget(declinationEdit_, row, 1);
    fields->addWidget(eastNegativeLabel_, row++, 2);
    fields->addWidget(inclinationLabel1_, row++, 0);
    fields->addWidget(inclinationLabel2_, row, 0);
    fields->addWidget(inclinationEdit_, row++, 1);
    fields->addWidget(radiusLabel_, row, 0);
    fields->addWidget(radiusEdit_, row++, 1);
    fields->addWidget(monthScaleLabel_, row, 0);
    fields->addWidget(monthScaleEdit_, row++, 1);
    fields->addWidget(ringLabel_, row, 0);
    fields->addWidget(ringEdit_, row++, 1);
    fields->addWidget(oldValueLabel_, row++, 0, 1, 3);
    fields->setColumnStretch(3, 1);

    auto* choices = new QVBoxLayout;
    choices->addWidget(umbrellaBox_);
    choices->addWidget(addedPlaneBox_);
    choices->addWidget(cylinderBox_);
    choices->addWidget(quadrantBox_);
    choices->addWidget(azimuthBox_);
    choices->addLayout(fields);
    choices->addStretch(1);

    // A small picture of the chosen kind under the list.
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("kindPicture"));
    picture_->setFixedSize(200, 140);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    auto* left = new QVBoxLayout;
    left->addWidget(kindGroup_);
    left->addWidget(picture_, 0, Qt::AlignHCenter);
    left->addStretch(1);
    choicesPanel_ = new QWidget(this);
    choicesPanel_->setObjectName(QStringLiteral("kindChoices"));
    choicesPanel_->setLayout(choices);
    choices->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(choicesPanel_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(closeButton_);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addLayout(buttons);

    selectFromState();
    if (host.wizardStep() == kWizardSiteDone) {
        wizard_ = true;
        host.setWizardStep(kWizardTypeOpen);
    }
    cancelButton_->setVisible(wizard_);

    connect(items_, &QButtonGroup::idClicked, this, &TypeDialog::itemChosen);
    for (QButtonGroup* g : {umbrellaPlane_, cylinderKinds_, quadrantKinds_, azimuthKinds_})
        connect(g, &QButtonGroup::idClicked, this, &TypeDialog::subChoiceChanged);
    connect(addedPlane_, &QButtonGroup::idClicked, this, &TypeDialog::addedPlaneChanged);

    applyLanguage();
    updateVisibility();
    fillFields();
}

void TypeDialog::keepWidthForEveryKind() {
    // The widest set of choices and fields decides the width once, so the dialog does not
    // change its width with the selection.
    QList<QWidget*> parts = choicesPanel_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QHash<QWidget*, bool> hidden;
    for (QWidget* w : parts) {
        hidden[w] = w->isHidden();
        w->setVisible(true);
    }
    choicesPanel_->setMinimumWidth(0);
    const int width = choicesPanel_->layout()->sizeHint().width();
    for (QWidget* w : parts) w->setVisible(!hidden[w]);
    choicesPanel_->setMinimumWidth(width);
}

QLineEdit* TypeDialog::makeEdit(const QString& name) { return newNumberEdit(name, 12, 70, 110); }

QGroupBox* TypeDialog::makeChoiceGroup(const QString& name, const std::vector<QRadioButton*>& buttons,
                                       QButtonGroup*& group) {
    auto* box = new QGroupBox(this);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 4, 8, 4);
    group = new QButtonGroup(box);
    int id = 0;
    for (QRadioButton* b : buttons) {
        b->setParent(box);
        layout->addWidget(b);
        group->addButton(b, id++);
    }
    return box;
}

void TypeDialog::applyExpertRules() {
    DialState& s = state();
    if (s.expertMode) return;
    if (s.dialType == 'c' || s.dialType == 'm') s.dialType = 'h';
    s.quadrantKind = 0;
    s.cylinderKind = 0;
    s.legendOffset = LegendOffsetFor(s.dialType);
}

int TypeDialog::itemCount() const {
    return static_cast<int>(std::count_if(itemButtons_.begin(), itemButtons_.end(), [](auto* b) { return b != nullptr; }));
}

void TypeDialog::selectFromState() {
    DialState& s = state();
    Item item = ItemForLetter(s.dialType, s.umbrellaDial);
    if (s.addedKind == AddedKind::Analemmatic) item = Analemmatic;
    if (s.addedKind == AddedKind::Bifilar) item = Bifilar;
    if (item == Horizontal && s.dialType != 'h') {
        s.dialType = 'h';  // a letter no dialog offers
        s.umbrellaDial = false;
        s.legendOffset = LegendOffsetFor('h');
    }
    if (QRadioButton* b = itemButtons_[item]) b->setChecked(true);
    const bool wall = s.addedKind == AddedKind::Bifilar ? s.bifilar.vertical : s.analemmatic.vertical;
    addedPlane_->button(wall ? 1 : 0)->setChecked(true);
    for (int i = 0; i < 3; ++i)
        if (kUmbrellaLetters[i] == s.dialType) umbrellaPlane_->button(i)->setChecked(true);
    if (auto* b = cylinderKinds_->button(std::clamp(s.cylinderKind, 0, 2))) b->setChecked(true);
    if (auto* b = quadrantKinds_->button(std::clamp(s.quadrantKind, 0, 2))) b->setChecked(true);
    azimuthKinds_->button(s.azimuthKind == 0 ? 0 : 1)->setChecked(true);
}

void TypeDialog::itemChosen(int item) {
    DialState& s = state();
    s.addedKind = AddedKind::None;
    if (item == Analemmatic || item == Bifilar) {
        s.addedKind = item == Analemmatic ? AddedKind::Analemmatic : AddedKind::Bifilar;
        s.umbrellaDial = false;
        const bool wall = item == Analemmatic ? s.analemmatic.vertical : s.bifilar.vertical;
        s.dialType = wall ? 'v' : 'h';
        addedPlane_->button(wall ? 1 : 0)->setChecked(true);
    } else if (item == Umbrella) {
        s.umbrellaDial = true;
        if (!isPlanar(s.dialType)) s.dialType = 'h';
        for (int i = 0; i < 3; ++i)
            if (kUmbrellaLetters[i] == s.dialType) umbrellaPlane_->button(i)->setChecked(true);
    } else {
        s.umbrellaDial = false;
        s.dialType = kItemLetters[item];
    }
    s.legendOffset = LegendOffsetFor(s.dialType);
    updateVisibility();
    fillFields();
}

void TypeDialog::addedPlaneChanged() {
    DialState& s = state();
    const bool wall = addedPlane_->checkedId() == 1;
    if (s.addedKind == AddedKind::Analemmatic) s.analemmatic.vertical = wall;
    if (s.addedKind == AddedKind::Bifilar) s.bifilar.vertical = wall;
    if (s.addedKind != AddedKind::None) s.dialType = wall ? 'v' : 'h';
    s.legendOffset = LegendOffsetFor(s.dialType);
    updateVisibility();
    fillFields();
}

void TypeDialog::subChoiceChanged() {
    DialState& s = state();
    if (s.umbrellaDial && umbrellaPlane_->checkedId() >= 0) s.dialType = kUmbrellaLetters[umbrellaPlane_->checkedId()];
    if (cylinderKinds_->checkedId() >= 0) s.cylinderKind = cylinderKinds_->checkedId();
    if (quadrantKinds_->checkedId() >= 0) s.quadrantKind = quadrantKinds_->checkedId();
    s.azimuthKind = azimuthKinds_->checkedId() == 0 ? 0 : 1;
    s.legendOffset = LegendOffsetFor(s.dialType);
    updateVisibility();
    fillFields();
}

TypeDialog::Gnomon TypeDialog::gnomonKind() const {
    const DialState& s = state();
    // Their lengths are on their parameter page.
    if (s.addedKind != AddedKind::None) return Gnomon::Hidden;
    switch (s.dialType) {
        case 'h': case 'i': case 'v': case 'm': return Gnomon::Planar;
        case 'z': return s.cylinderKind == 2 ? Gnomon::PolarCylinder : Gnomon::Shepherd;
        case 'q': return s.quadrantKind == 0 ? Gnomon::Hidden : Gnomon::Habermel;
        case 'k': return Gnomon::Hidokai;
        default: return Gnomon::Hidden;  // 'a', 'c', 'r'
    }
}

void TypeDialog::updateVisibility() {
    const DialState& s = state();
    const char t = s.dialType;
    const bool polarCylinder = t == 'z' && s.cylinderKind == 2;
    umbrellaBox_->setVisible(s.umbrellaDial);
    addedPlaneBox_->setVisible(s.addedKind != AddedKind::None);
    cylinderBox_->setVisible(t == 'z');
    quadrantBox_->setVisible(t == 'q' && s.expertMode);
    azimuthBox_->setVisible(t == 'a');
    const bool gnomon = gnomonKind() != Gnomon::Hidden;
    gnomonLabel_->setVisible(gnomon);
    gnomonEdit_->setVisible(gnomon);
    const bool declination = t == 'v' || t == 'i' || polarCylinder;
    declinationLabel_->setVisible(declination);
    declinationEdit_->setVisible(declination);
    eastNegativeLabel_->setVisible(declination);
    SetCaptionTag(declinationLabel_, polarCylinder ? res::kGnomonDeviation : res::kWallDeclination);
    declinationLabel_->setText(resourceText(CaptionTag(declinationLabel_), host().language()));
    inclinationLabel1_->setVisible(t == 'i');
    inclinationLabel2_->setVisible(t == 'i');
    inclinationEdit_->setVisible(t == 'i');
    ringLabel_->setVisible(t == 'r');
    ringEdit_->setVisible(t == 'r');
    radiusLabel_->setVisible(polarCylinder);
    radiusEdit_->setVisible(polarCylinder);
    const bool monthScale = t == 'z' && s.cylinderKind != 2;
    monthScaleLabel_->setVisible(monthScale);
    monthScaleEdit_->setVisible(monthScale);
    SetCaptionTag(monthScaleLabel_, res::kMonthScaleFirst + 8 * std::clamp(s.cylinderKind, 0, 1));
    monthScaleLabel_->setText(resourceText(CaptionTag(monthScaleLabel_), host().language()));
    oldValueLabel_->setVisible(t != 'a' && t != 'c' && t != 'q');
    picture_->setPixmap(DialThumbnail(s, picture_->size() - QSize(6, 6)));
    growToFit();
}

void TypeDialog::show(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    shown_[edit] = text;
}

bool TypeDialog::untouched(const QLineEdit* edit) const {
    auto it = shown_.find(edit);
    return it != shown_.end() && it->second == edit->text();
}

void TypeDialog::fillFields() {
    const DialState& s = state();
    switch (gnomonKind()) {
        case Gnomon::Planar: show(gnomonEdit_, realText(s.gnomonLength, 2)); break;
        case Gnomon::Shepherd: show(gnomonEdit_, QString::number(s.shepherdGnomon)); break;
        case Gnomon::PolarCylinder: show(gnomonEdit_, realText(s.cylinderGnomon, 2)); break;
        case Gnomon::Habermel: show(gnomonEdit_, realText(s.quadrantGnomon, 2)); break;
        case Gnomon::Hidokai: show(gnomonEdit_, QString::number(s.hidokaiGnomon)); break;
        case Gnomon::Hidden: show(gnomonEdit_, QString()); break;
    }
    show(declinationEdit_, realText(s.wallDeclination, 2));
    show(inclinationEdit_, realText(s.planeInclination, 2));
    show(radiusEdit_, realText(s.cylinderRadius, 0));
    show(monthScaleEdit_, QString::number(s.monthScaleLength));
    show(ringEdit_, realText(s.ringDiameter, 0));
}

void TypeDialog::applyLanguage() {
    const Language lang = host().language();
    ApplyCaptionTags(this, lang);
    for (int i = 0; i < 3; ++i) umbrellaPlane_->button(i)->setText(label(22 + i, lang));
    captionWizardStep(2, lang);
    keepWidthForEveryKind();
    // The picture's labels follow the language (the first one is drawn by updateVisibility).
    if (!picture_->pixmap().isNull()) picture_->setPixmap(DialThumbnail(state(), picture_->size() - QSize(6, 6)));
}

QString TypeDialog::nameOf(QLabel* label) const { return StripAccelerators(label->text()); }

bool TypeDialog::readGnomon(bool closing) {
    DialState& s = state();
    const FieldReader reader{host().dialogs(), host().language()};
    LineEditField edit(gnomonEdit_);
    const QString name = nameOf(gnomonLabel_);
    bool error = false;
    switch (gnomonKind()) {
        case Gnomon::Hidden: return true;
        case Gnomon::Planar:
            if (closing && s.dialType != 'm') reader.readRealInRange(edit, s.gnomonLength, name, error, 120, 3);
            else reader.readRealInRange(edit, s.gnomonLength, name, error, 200, 5);
            break;
        case Gnomon::Shepherd:
            cutDecimals(gnomonEdit_);
            reader.readIntInRange(edit, closing ? 3 : 4, closing ? 220 : 110, error, name, s.shepherdGnomon);
            break;
        case Gnomon::PolarCylinder:
            reader.readRealInRange(edit, s.cylinderGnomon, name, error, closing ? 220 : 110, closing ? 3 : 4);
            break;
        case Gnomon::Habermel: {
            double gnomon = s.quadrantGnomon;
            reader.readRealInRange(edit, gnomon, name, error, 100, 9);
            if (error) break;
            const double obliquity = ZodiacDeclinations(s.referenceYear).obliquity;
            // A disc that cannot exist at the latitude (no longest or shortest shadow) is
            // refused as well as one that is too large.
            if (!(HabermelDiameter(s.quadrantKind, gnomon, s.latitude, obliquity) <= kHabermelMaxDiameter)) {
                const Language lang = host().language();
                host().dialogs().inform(
                    caption(CaptionKind::Warning, lang),
                    lang == Language::English
                        ? QStringLiteral(" Gnomon is too high!  Allowed Maximum\r\n for resulting dial diameter is 190 mm. ")
                        : QStringLiteral(" Zeiger der Sonnenuhr zu groß!  Höchstwert für  \r\n den resultierenden Kreisdurchmesser ist 190 mm. "),
                    Icon::Warning);
                edit.setFocus();
                error = true;
                break;
            }
            s.quadrantGnomon = gnomon;
            break;
        }
        case Gnomon::Hidokai:
            cutDecimals(gnomonEdit_);
            reader.readIntInRange(edit, closing ? 3 : 1, closing ? 220 : 110, error, name, s.hidokaiGnomon);
            break;
    }
    return !error;
}

bool TypeDialog::readField(FieldId id, bool closing) {
    static const std::map<FieldId, QLineEdit* TypeDialog::*> edits = {
        {GnomonField, &TypeDialog::gnomonEdit_},   {DeclinationField, &TypeDialog::declinationEdit_},
        {InclinationField, &TypeDialog::inclinationEdit_}, {RingField, &TypeDialog::ringEdit_},
        {RadiusField, &TypeDialog::radiusEdit_},   {MonthScaleField, &TypeDialog::monthScaleEdit_}};
    if (untouched(this->*edits.at(id))) return true;
    DialState& s = state();
    const Language lang = host().language();
    const FieldReader reader{host().dialogs(), lang};
    bool error = false;
    switch (id) {
        case GnomonField: return readGnomon(closing);
        case DeclinationField: {
            double v = 0;
            if (declinationEdit_->text().trimmed().isEmpty()) {
                declinationEdit_->setText(realText(s.wallDeclination, 2));
                return true;
            }
            if (!parseFiltered(declinationEdit_->text(), v) || std::fabs(v) > 180.0) {
                host().dialogs().inform(caption(CaptionKind::Problem, lang), message(0, lang), Icon::Warning);
                declinationEdit_->setText(realText(s.wallDeclination, 2));
                LineEditField(declinationEdit_).setFocus();
                return false;
            }
            // Due north, from either side: kept just inside the range the constructions handle.
            s.wallDeclination = std::fabs(v) == 180.0 ? 179.9999 : v;
            return true;
        }
        case InclinationField: {
            double v = 0;
            if (inclinationEdit_->text().trimmed().isEmpty()) {
                inclinationEdit_->setText(realText(s.planeInclination, 2));
                return true;
            }
            // 0 would be the horizontal dial, whose own construction the user is pointed to.
            if (!parseFiltered(inclinationEdit_->text(), v) || v <= 0.0 || v > 175.0) {
                host().dialogs().inform(caption(CaptionKind::Error, lang), message(3, lang), Icon::Error);
                inclinationEdit_->setText(realText(s.planeInclination, 2));
                LineEditField(inclinationEdit_).setFocus();
                return false;
            }
            s.planeInclination = v;
            return true;
        }
        case RingField: {
            LineEditField edit(ringEdit_);
            reader.readRealInRange(edit, s.ringDiameter, nameOf(ringLabel_), error, 300, 10);
            return !error;
        }
        case RadiusField: {
            LineEditField edit(radiusEdit_);
            reader.readRealInRange(edit, s.cylinderRadius, nameOf(radiusLabel_), error, 500, 4);
            return !error;
        }
        case MonthScaleField: {
            cutDecimals(monthScaleEdit_);
            LineEditField edit(monthScaleEdit_);
            reader.readIntInRange(edit, 3, 290, error, nameOf(monthScaleLabel_), s.monthScaleLength,
                                  FieldReader::IntBox::RetryQuestion);
            // "Do not enter again": the field shows the value that stays.
            if (!error) show(monthScaleEdit_, QString::number(s.monthScaleLength));
            return !error;
        }
    }
    return true;
}

bool TypeDialog::checkLeftField(QObject* field) {
    if (field == gnomonEdit_) return readField(GnomonField, false);
    if (field == declinationEdit_) return readField(DeclinationField, false);
    if (field == inclinationEdit_) return readField(InclinationField, false);
    if (field == ringEdit_) return readField(RingField, false);
    if (field == radiusEdit_) return readField(RadiusField, false);
    if (field == monthScaleEdit_) return readField(MonthScaleField, false);
    return true;
}

bool TypeDialog::closeCheck() {
    checking_ = true;
    const std::pair<FieldId, QLineEdit*> order[] = {{GnomonField, gnomonEdit_},        {DeclinationField, declinationEdit_},
                                                    {InclinationField, inclinationEdit_}, {RadiusField, radiusEdit_},
                                                    {MonthScaleField, monthScaleEdit_}, {RingField, ringEdit_}};
    bool ok = true;
    for (const auto& [id, edit] : order) {
        if (edit->isHidden()) continue;
        if (!readField(id, true)) {
            ok = false;
            break;
        }
    }
    checking_ = false;
    if (!ok) host().dialogs().beep();
    if (ok) SaveAddedDialPreferences(state(), host().settingsFilePath(), host().dialogs());
    return ok;
}

void TypeDialog::restoreOpeningState() {
    DialState& s = state();
    const Snapshot& o = opening_;
    s.addedKind = o.addedKind;
    s.analemmatic.vertical = o.analemmaticVertical;
    s.bifilar.vertical = o.bifilarVertical;
    s.dialType = o.dialType;
    s.umbrellaDial = o.umbrellaDial;
    s.cylinderKind = o.cylinderKind;
    s.quadrantKind = o.quadrantKind;
    s.azimuthKind = o.azimuthKind;
    s.legendOffset = o.legendOffset;
    s.gnomonLength = o.gnomonLength;
    s.cylinderGnomon = o.cylinderGnomon;
    s.cylinderRadius = o.cylinderRadius;
    s.quadrantGnomon = o.quadrantGnomon;
    s.wallDeclination = o.wallDeclination;
    s.planeInclination = o.planeInclination;
    s.ringDiameter = o.ringDiameter;
    s.shepherdGnomon = o.shepherdGnomon;
    s.hidokaiGnomon = o.hidokaiGnomon;
    s.monthScaleLength = o.monthScaleLength;
}

}  // namespace zorva
