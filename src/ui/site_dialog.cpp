#include "ui/site_dialog.h"

#include "state/dial_state.h"
#include "text/field_readers.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/caption_tags.h"
#include "ui/line_edit_field.h"
#include "ui/resource_ids.h"

#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace zorva {
namespace {

QWidget* hemisphereBox(QRadioButton* a, QRadioButton* b, QWidget* parent) {
    auto* box = new QGroupBox(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(a);
    layout->addWidget(b);
    auto* group = new QButtonGroup(box);
    group->addButton(a);
    group->addButton(b);
    return box;
}

// Beyond 180 degrees a longitude continues on the other side of the globe.
double WrapLongitude(double v) {
    while (v > 180.0) v -= 360.0;
    while (v < -180.0) v += 360.0;
    return v;
}

}  // namespace

SiteDialog::Dms SiteDialog::SplitAngle(double angle) {
    const double a = std::fabs(angle);
    Dms r{};
    r.degrees = static_cast<int>(std::trunc(a));
    const double minutes = (a - r.degrees) * 60.0;
    r.minutes = static_cast<int>(std::trunc(minutes));
    r.seconds = static_cast<int>(std::lround((minutes - r.minutes) * 60.0));
    if (r.seconds >= 60) {
        r.seconds = 0;
        ++r.minutes;
    }
    return r;
}

SiteDialog::SiteDialog(ChildHost& host, QWidget* parent)
    : WizardDialog(ChildKind::SiteDialog, host, NumberKeyFilter::Allowed::Digits, parent) {
    setObjectName(QStringLiteral("siteDialog"));
    SetCaptionTag(this, res::kSiteCaption);
    SetHintTag(this, res::kSiteHint);
    wizard_ = host.wizardStep() == kWizardSiteOpen;

    cancelButton_->setVisible(wizard_);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    const int headTags[3] = {res::kSiteDegrees, res::kSiteMinutes, res::kSiteSeconds};
    for (int c = 0; c < 3; ++c) {
        auto* head = new QLabel(this);
        SetCaptionTag(head, headTags[c]);
        grid->addWidget(head, 0, 1 + c, Qt::AlignLeft);
    }
    const int rowTags[3] = {res::kSiteLatitude, res::kSiteLongitude, res::kSiteZoneMeridian};
    const char* rowNames[3] = {"latitude", "longitude", "zone"};
    const char* partNames[3] = {"Degrees", "Minutes", "Seconds"};
    for (int r = 0; r < 3; ++r) {
        rowLabels_[r] = new QLabel(this);
        SetCaptionTag(rowLabels_[r], rowTags[r]);
        grid->addWidget(rowLabels_[r], 1 + r, 0);
        for (int p = 0; p < 3; ++p) {
            Field& f = fields_[r * 3 + p];
            f.row = static_cast<Row>(r);
            f.part = static_cast<Part>(p);
            f.upper = p == Degrees ? (r == Latitude ? 90 : 180) : 60;
            f.edit = makeEdit(QString::fromLatin1(rowNames[r]) + QString::fromLatin1(partNames[p]), p == 0 ? 48 : 36);
            grid->addWidget(f.edit, 1 + r, 1 + p);
        }
    }
    rowLabels_[Latitude]->setBuddy(fields_[0].edit);
    rowLabels_[Longitude]->setBuddy(fields_[3].edit);
    rowLabels_[Zone]->setBuddy(fields_[6].edit);

    north_ = NewTagged<QRadioButton>("north", res::kSiteNorth, this);
    south_ = NewTagged<QRadioButton>("south", res::kSiteSouth, this);
    east_ = NewTagged<QRadioButton>("east", res::kSiteEast, this);
    west_ = NewTagged<QRadioButton>("west", res::kSiteWest, this);
    zoneEast_ = NewTagged<QRadioButton>("zoneEast", res::kSiteZoneEast, this);
    zoneWest_ = NewTagged<QRadioButton>("zoneWest", res::kSiteZoneWest, this);
    grid->addWidget(hemisphereBox(north_, south_, this), 1, 4);
    grid->addWidget(hemisphereBox(east_, west_, this), 2, 4);
    grid->addWidget(hemisphereBox(zoneEast_, zoneWest_, this), 3, 4);

    yearLabel_ = new QLabel(this);
    SetCaptionTag(yearLabel_, res::kSiteYear);
    yearEdit_ = makeEdit(QStringLiteral("year"), 56);
    yearLabel_->setBuddy(yearEdit_);
    grid->addWidget(yearLabel_, 4, 0);
    grid->addWidget(yearEdit_, 4, 1);
    auto* yearsValid = new QLabel(this);
    SetCaptionTag(yearsValid, res::kSiteYearsValid);
    grid->addWidget(yearsValid, 4, 2, 1, 3);
    grid->setColumnStretch(5, 1);

    auto* emptyReturn = new QLabel(this);
    SetCaptionTag(emptyReturn, res::kSiteEmptyReturn);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(closeButton_);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addSpacing(8);
    outer->addWidget(emptyReturn);
    outer->addStretch(1);
    outer->addLayout(buttons);

    fillFromState();
    applyLanguage();
    fields_[0].edit->setFocus();
}

QLineEdit* SiteDialog::makeEdit(const QString& name, int width) { return newNumberEdit(name, 6, width, width + 24); }

void SiteDialog::fillFromState() {
    const DialState& s = state();
    const double values[3] = {s.latitude, s.longitude, s.zoneMeridian};
    for (int r = 0; r < 3; ++r) {
        const Dms d = SplitAngle(values[r]);
        const int parts[3] = {d.degrees, d.minutes, d.seconds};
        for (int p = 0; p < 3; ++p) {
            Field& f = fields_[r * 3 + p];
            f.value = parts[p];
            opening_[r * 3 + p] = parts[p];
            f.edit->setText(QString::number(parts[p]));
        }
    }
    (s.latitude >= 0 ? north_ : south_)->setChecked(true);
    (s.longitude >= 0 ? west_ : east_)->setChecked(true);
    (s.zoneMeridian >= 0 ? zoneWest_ : zoneEast_)->setChecked(true);
    openingNegative_ = {south_->isChecked(), east_->isChecked(), zoneEast_->isChecked()};
    year_ = s.referenceYear;
    yearEdit_->setText(QString::number(year_));
}

void SiteDialog::applyLanguage() {
    const Language lang = host().language();
    ApplyCaptionTags(this, lang);
    captionWizardStep(1, lang);
}

QString SiteDialog::rowName(Row row) const { return StripAccelerators(rowLabels_[row]->text()); }

SiteDialog::Field* SiteDialog::fieldOf(QObject* edit) {
    for (Field& f : fields_)
        if (f.edit == edit) return &f;
    return nullptr;
}

bool SiteDialog::checkField(Field& field) {
    const Language lang = host().language();
    QString name;
    switch (field.part) {
        case Degrees: name = rowName(field.row); break;
        case Minutes: name = title(17, lang); break;
        case Seconds: name = title(18, lang); break;
    }
    LineEditField edit(field.edit);
    bool error = false;
    FieldReader{host().dialogs(), lang}.readIntInRange(edit, 0, field.upper, error, name, field.value);
    return !error;
}

bool SiteDialog::checkYear() {
    LineEditField edit(yearEdit_);
    bool error = false;
    FieldReader{host().dialogs(), host().language()}.readIntInRange(
        edit, 1300, 2500, error, StripAccelerators(yearLabel_->text()), year_);
    return !error;
}

bool SiteDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::KeyPress && edit && edit->text().trimmed().isEmpty()) {
        // RETURN in an empty field brings back the old value (the label says so).
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (Field* f = fieldOf(watched)) edit->setText(QString::number(f->value));
            else if (watched == yearEdit_) edit->setText(QString::number(year_));
        }
    }
    return WizardDialog::eventFilter(watched, event);
}

bool SiteDialog::checkLeftField(QObject* field) {
    // An emptied field that is merely left stays empty: "Schliessen" then says what is missing.
    auto* edit = qobject_cast<QLineEdit*>(field);
    if (edit && edit->text().trimmed().isEmpty()) return true;
    if (Field* f = fieldOf(field)) return checkField(*f);
    if (field == yearEdit_) return checkYear();
    return true;
}

bool SiteDialog::closeCheck() {
    checking_ = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{checking_};

    if (!reportMissingEntry()) return false;
    for (Field& f : fields_)
        if (!checkField(f)) return false;

    const DialState& stored = state();
    const bool negative[3] = {south_->isChecked(), east_->isChecked(), zoneEast_->isChecked()};
    auto unchanged = [&](Row r) {
        for (int p = 0; p < 3; ++p)
            if (fields_[r * 3 + p].value != opening_[r * 3 + p]) return false;
        return negative[r] == openingNegative_[r];
    };
    auto total = [this](Row r) {
        const Field* f = &fields_[r * 3];
        return f[0].value + f[1].value / 60.0 + f[2].value / 3600.0;
    };
    double latitude = total(Latitude);
    latitude = NonZeroLatitude(latitude);
    if (latitude > 90.0) latitude = 90.0;
    double longitude = total(Longitude);
    double zone = total(Zone);
    if (negative[Latitude]) latitude = -latitude;
    if (negative[Longitude]) longitude = -longitude;
    if (negative[Zone]) zone = -zone;
    longitude = WrapLongitude(longitude);
    zone = WrapLongitude(zone);
    if (unchanged(Latitude)) latitude = stored.latitude;
    if (unchanged(Longitude)) longitude = stored.longitude;
    if (unchanged(Zone)) zone = stored.zoneMeridian;

    if (!checkYear()) return false;

    const Language lang = host().language();
    if (std::fabs(zone - longitude) > 15.0) {
        const QString question = label(46, lang) + label(47, lang);
        if (host().dialogs().ask(caption(CaptionKind::Warning, lang), question, Buttons::YesNo, Icon::Warning) !=
            Answer::Yes) {
            LineEditField(fields_[3].edit).setFocus();
            return false;
        }
    }

    // Everything passed: the site is written as a whole.
    DialState& s = state();
    s.latitude = latitude;
    s.longitude = longitude;
    s.zoneMeridian = zone;
    s.referenceYear = year_;
    s.zoneFarFromLongitude = ZoneFarFromLongitude(longitude, zone);
    host().referenceYearChanged();
    return true;
}

bool SiteDialog::reportMissingEntry() {
    const Language lang = host().language();
    QLineEdit* missing = nullptr;
    QString name;
    for (Field& f : fields_) {
        if (!f.edit->text().trimmed().isEmpty()) continue;
        missing = f.edit;
        const QString part = f.part == Degrees ? resourceTextPlain(res::kSiteDegrees, lang)
                             : f.part == Minutes ? title(17, lang)
                                                 : title(18, lang);
        name = rowName(f.row).trimmed() + QStringLiteral(" (") + part.trimmed() + QLatin1Char(')');
        break;
    }
    if (!missing && yearEdit_->text().trimmed().isEmpty()) {
        missing = yearEdit_;
        name = StripAccelerators(yearLabel_->text()).trimmed();
    }
    if (!missing) return true;
    const QString text = name + (lang == Language::English ? QStringLiteral(": entry missing!")
                                                           : QStringLiteral(": Eingabe fehlt!")) +
                         QStringLiteral("\r\n") + resourceTextPlain(res::kSiteEmptyReturn, lang).trimmed();
    host().dialogs().inform(caption(CaptionKind::Warning, lang), text, Icon::Warning);
    LineEditField(missing).setFocus();
    return false;
}

void SiteDialog::wizardNext() {
    if (host().wizardStep() == kWizardSiteOpen) host().setWizardStep(kWizardSiteDone);
    host().closeAllChildren();
}

void SiteDialog::cancelClicked() {
    if (host().wizardStep() == kWizardSiteOpen) host().setWizardStep(kWizardSiteDone);
    host().cancelWizard();
}

}  // namespace zorva
