#include "ui/horizon_panel.h"

#include "astro/pvgis_horizon.h"
#include "state/dial_state.h"
#include "text/field_readers.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/caption_tags.h"
#include "ui/child_window.h"
#include "ui/file_chooser.h"
#include "ui/line_edit_field.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace zorva {
namespace {

enum Res {
    kLatitudeDms = 967,
    kLongitudeDms = 968,
    kNorth = 969,
    kSouth = 970,
    kEast = 971,
    kWest = 972,
    kPlatform = 973,
    kMinimumHint = 974,
    kMaxDistance = 975,
    kLoadGrid = 976,
    kGridFilter = 977,
    kStart = 978,
    kProfileFilter = 979,
    kSaveTitle = 980,
    kSaveButton = 982,
    kClose = 983,
    kLoadedTiles = 984,
    kSavePvgis = 987,
    kSavePvgisTitle = 988,
    kPvgisFilter = 989,
    kCancel = 929,
    kMinDistance = 460,
    kObserverHeight = 463,
};

}  // namespace

HorizonPanel::HorizonPanel(ChildHost& host, QWidget* parent) : QFrame(parent), host_(host) {
    setObjectName(QStringLiteral("horizonPanel"));
    setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(this);
    const auto label = [this](const char* name, int caption) { return NewTagged<QLabel>(name, caption, this); };
    const auto radios = [this](QButtonGroup*& group, const char* a, int ca, const char* b, int cb) {
        group = new QButtonGroup(this);
        auto* box = new QWidget(this);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        int id = 0;
        for (auto [name, caption] : {std::pair{a, ca}, std::pair{b, cb}}) {
            auto* r = new QRadioButton(box);
            r->setObjectName(QString::fromLatin1(name));
            SetCaptionTag(r, caption);
            group->addButton(r, id++);
            row->addWidget(r);
        }
        group->button(0)->setChecked(true);
        return box;
    };

    latLabel_ = label("centreLatitudeLabel", kLatitudeDms);
    latDeg_ = numberField("centreLatDeg", 40);
    latMin_ = numberField("centreLatMin", 40);
    latSec_ = numberField("centreLatSec", 40);
    lonLabel_ = label("centreLongitudeLabel", kLongitudeDms);
    lonDeg_ = numberField("centreLonDeg", 48);
    lonMin_ = numberField("centreLonMin", 40);
    lonSec_ = numberField("centreLonSec", 40);
    grid->addWidget(latLabel_, 0, 0);
    grid->addWidget(latDeg_, 0, 1);
    grid->addWidget(latMin_, 0, 2);
    grid->addWidget(latSec_, 0, 3);
    grid->addWidget(radios(northSouth_, "north", kNorth, "south", kSouth), 0, 4);
    grid->addWidget(lonLabel_, 1, 0);
    grid->addWidget(lonDeg_, 1, 1);
    grid->addWidget(lonMin_, 1, 2);
    grid->addWidget(lonSec_, 1, 3);
    grid->addWidget(radios(eastWest_, "east", kEast, "west", kWest), 1, 4);

    platformLabel_ = label("platformLabel", kPlatform);
    platformEdit_ = numberField("platformEdit", 56);
    minDistanceLabel_ = label("minDistanceLabel", kMinDistance);
    minDistanceEdit_ = numberField("minDistanceEdit", 56);
    maxDistanceLabel_ = label("maxDistanceLabel", kMaxDistance);
    maxDistanceEdit_ = numberField("maxDistanceEdit", 56);
    groundEdit_ = numberField("groundHeightEdit", 56);
    groundEdit_->setReadOnly(true);
    grid->addWidget(platformLabel_, 0, 5);
    grid->addWidget(platformEdit_, 0, 6);
    grid->addWidget(minDistanceLabel_, 1, 5);
    grid->addWidget(minDistanceEdit_, 1, 6);
    grid->addWidget(label("minimumHint", kMinimumHint), 1, 7);
    grid->addWidget(maxDistanceLabel_, 2, 5);
    grid->addWidget(maxDistanceEdit_, 2, 6);
    grid->addWidget(label("groundHeightLabel", kObserverHeight), 2, 0);
    grid->addWidget(groundEdit_, 2, 1);

    auto* loadButton = NewTagged<QPushButton>("loadGridButton", kLoadGrid, this);
    startButton_ = NewTagged<QPushButton>("startProfileButton", kStart, this);
    cancelButton_ = NewTagged<QPushButton>("cancelProfileButton", kCancel, this);
    cancelButton_->setEnabled(false);
    saveButton_ = NewTagged<QPushButton>("saveProfileButton", kSaveButton, this);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("profileProgress"));
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    tilesLabel_ = new QLabel(this);
    tilesLabel_->setObjectName(QStringLiteral("tilesLabel"));
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("profileStatus"));
    statusLabel_->setStyleSheet(QStringLiteral("color: blue"));
    grid->addWidget(loadButton, 3, 0);
    grid->addWidget(tilesLabel_, 3, 1, 1, 6);
    grid->addWidget(startButton_, 4, 0);
    grid->addWidget(cancelButton_, 4, 1, 1, 2);
    grid->addWidget(progress_, 4, 3, 1, 3);
    grid->addWidget(statusLabel_, 5, 0, 1, 8);
    grid->addWidget(saveButton_, 3, 7);
    auto* savePvgis = NewTagged<QPushButton>("savePvgisButton", kSavePvgis, this);
    grid->addWidget(savePvgis, 5, 7);
    connect(savePvgis, &QPushButton::clicked, this, [this] { saveProfile(ProfileFormat::PvgisCsv); });
    auto* closeButton = NewTagged<QPushButton>("closeProfilePanel", kClose, this);
    grid->addWidget(closeButton, 4, 7);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);

    connect(loadButton, &QPushButton::clicked, this, [this] { loadTile(); });
    connect(startButton_, &QPushButton::clicked, this, [this] { start(); });
    connect(cancelButton_, &QPushButton::clicked, this, &HorizonPanel::cancel);
    connect(saveButton_, &QPushButton::clicked, this, [this] { saveProfile(ProfileFormat::Ele); });

    // Each field is checked when it is left after an edit, naming itself by its label.
    struct Rule {
        QLineEdit* edit;
        QLabel* label;
        int lower, upper;
    };
    const Rule rules[] = {{latDeg_, latLabel_, 0, 90},        {latMin_, latLabel_, 0, 60},
                          {latSec_, latLabel_, 0, 60},        {lonDeg_, lonLabel_, 0, 180},
                          {lonMin_, lonLabel_, 0, 60},        {lonSec_, lonLabel_, 0, 60},
                          {platformEdit_, platformLabel_, 0, 300}, {minDistanceEdit_, minDistanceLabel_, 100, 400},
                          {maxDistanceEdit_, maxDistanceLabel_, 0, 300}};
    for (const Rule& r : rules) {
        connect(r.edit, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
        connect(r.edit, &QLineEdit::editingFinished, this, [this, r] {
            if (!r.edit->isModified()) return;
            r.edit->setModified(false);
            int v = 0;
            if (!readInt(r.edit, r.label, r.lower, r.upper, v)) return;
            if (r.edit == minDistanceEdit_) {
                minDistance_ = std::max(180, v);
                r.edit->setText(QString::number(minDistance_));
            } else if (r.edit == maxDistanceEdit_) {
                maxDistanceKm_ = v;
            } else if (r.edit == platformEdit_) {
                platform_ = v;
            }
        });
    }
    resetSettings();
    fillFromSite();
    updateTilesLabel();
}

HorizonPanel::~HorizonPanel() {
    if (thread_) {
        cancel_->store(true);
        thread_->wait();
        delete thread_;
    }
}

QLineEdit* HorizonPanel::numberField(const char* name, int width) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaximumWidth(width);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9.]*")), e));
    return e;
}

bool HorizonPanel::readInt(QLineEdit* edit, QLabel* label, int lower, int upper, int& value) {
    LineEditField field(edit, LineEditField::Refocus::AtOnce);
    bool error = false;
    int v = edit->text().trimmed().toInt();
    FieldReader{host_.dialogs(), host_.language()}.readIntInRange(field, lower, upper, error,
                                                                  StripAccelerators(label->text()).trimmed(), v);
    if (error) {
        edit->setFocus();
        return false;
    }
    value = v;
    return true;
}

void HorizonPanel::resetSettings() {
    minDistance_ = 200;
    maxDistanceKm_ = 60;
    platform_ = 0;
    platformEdit_->setText(QStringLiteral("0"));
    minDistanceEdit_->setText(QStringLiteral("200"));
    maxDistanceEdit_->setText(QStringLiteral("60"));
}

void HorizonPanel::fillFromSite() {
    const DialState& s = host_.state();
    const DegMinSec lat = ToDegMinSec(s.latitude), lon = ToDegMinSec(s.longitude);
    latDeg_->setText(QString::number(lat.degrees));
    latMin_->setText(QString::number(lat.minutes));
    latSec_->setText(QString::number(lat.seconds));
    northSouth_->button(lat.negative ? 1 : 0)->setChecked(true);
    lonDeg_->setText(QString::number(lon.degrees));
    lonMin_->setText(QString::number(lon.minutes));
    lonSec_->setText(QString::number(lon.seconds));
    // West positive inside the program: a positive longitude is "&West".
    eastWest_->button(lon.negative || s.longitude == 0 ? 0 : 1)->setChecked(true);
}

bool HorizonPanel::readSettings(ProfileSettings& settings) {
    int v[9] = {};
    QLineEdit* edits[9] = {latDeg_, latMin_, latSec_, lonDeg_, lonMin_, lonSec_, platformEdit_, minDistanceEdit_,
                           maxDistanceEdit_};
    QLabel* labels[9] = {latLabel_, latLabel_, latLabel_, lonLabel_, lonLabel_, lonLabel_, platformLabel_,
                         minDistanceLabel_, maxDistanceLabel_};
    const int lower[9] = {0, 0, 0, 0, 0, 0, 0, 100, 0};
    const int upper[9] = {90, 60, 60, 180, 60, 60, 300, 400, 300};
    for (int i = 0; i < 9; ++i)
        if (!readInt(edits[i], labels[i], lower[i], upper[i], v[i])) return false;
    double lat = v[2] / 3600.0 + v[1] / 60.0 + v[0];
    double lon = v[5] / 3600.0 + v[4] / 60.0 + v[3];
    if (lat > 90.0 || lon > 180.0) {
        host_.dialogs().inform(caption(CaptionKind::Error, host_.language()), message(24, host_.language()),
                               Icon::Error);
        return false;
    }
    if (std::abs(lat) < 1e-4) lat = 1e-6;
    if (northSouth_->checkedId() == 1) lat = -lat;
    if (eastWest_->checkedId() == 0) lon = -lon;
    settings.latitude = lat;
    settings.longitude = lon;
    settings.platformMetres = v[6];
    settings.minDistanceMetres = std::max(180, v[7]);
    settings.maxDistanceMetres = v[8] * 1000.0;
    minDistance_ = settings.minDistanceMetres;
    platform_ = v[6];
    maxDistanceKm_ = v[8];
    return true;
}

bool HorizonPanel::loadTile() {
    const Language lang = host_.language();
    const QString path =
        host_.files().openFileName(resourceTextPlain(kLoadGrid, lang).trimmed(), QString(),
                                   resourceText(kGridFilter, lang) + (lang == Language::English
                                                                          ? QStringLiteral("|SRTM tiles (*.hgt)|*.hgt|GeoTIFF (*.tif *.tiff)|*.tif;*.tiff")
                                                                          : QStringLiteral("|SRTM-Kacheln (*.hgt)|*.hgt|GeoTIFF (*.tif *.tiff)|*.tif;*.tiff")));
    if (path.isEmpty()) return false;
    QString problem;
    if (!tiles_.add(path, problem, lang)) {
        host_.dialogs().inform(caption(CaptionKind::Error, lang), problem, Icon::Error);
        return false;
    }
    updateTilesLabel();
    return true;
}

void HorizonPanel::updateTilesLabel() {
    QStringList names;
    for (const TerrainGridHeader& t : tiles_.tiles()) names << QFileInfo(t.path).fileName();
    tilesLabel_->setText(resourceText(kLoadedTiles, host_.language()) + names.join(QStringLiteral(", ")));
}

bool HorizonPanel::start() {
    if (thread_) return false;
    const Language lang = host_.language();
    ProfileSettings settings;
    if (!readSettings(settings)) return false;
    if (tiles_.empty() && !loadTile()) return false;
    // Offer to load neighbouring tiles as long as the distance circle leaves the data.
    for (;;) {
        const QString missing =
            tiles_.missingDirections(settings.latitude, settings.longitude, settings.maxDistanceMetres, lang);
        if (missing.isEmpty() || !tiles_.covers(settings.latitude, settings.longitude)) break;
        if (host_.dialogs().ask(caption(CaptionKind::Question, lang), LoadMissingTilesQuestion(missing, lang),
                                Buttons::YesNo) != Answer::Yes ||
            !loadTile())
            break;
    }
    if (!tiles_.covers(settings.latitude, settings.longitude)) {
        host_.dialogs().inform(caption(CaptionKind::Error, lang), CentreOutsideText(lang), Icon::Error);
        return false;
    }
    host_.dialogs().inform(HorizonCaption(lang), HorizonStartText(tiles_, settings, lang));

    result_ = std::make_shared<ProfileResult>();
    done_ = std::make_shared<std::atomic<long long>>(0);
    total_ = std::make_shared<std::atomic<long long>>(1);
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    statusLabel_->clear();
    progress_->setValue(0);
    thread_ = QThread::create([tiles = tiles_, settings, lang, result = result_, done = done_, total = total_,
                               cancel = cancel_] {
        *result = ComputeHorizonProfile(
            tiles, settings,
            [&](long long d, long long t) {
                done->store(d);
                total->store(t);
                return !cancel->load();
            },
            lang);
    });
    connect(thread_, &QThread::finished, this, &HorizonPanel::finish);
    if (!poll_) {
        poll_ = new QTimer(this);
        poll_->setInterval(100);
        connect(poll_, &QTimer::timeout, this, [this] {
            if (done_ && total_)
                progress_->setValue(static_cast<int>(1000.0 * done_->load() / std::max(1LL, total_->load())));
        });
    }
    poll_->start();
    startButton_->setEnabled(false);
    cancelButton_->setEnabled(true);
    thread_->start();
    return true;
}

void HorizonPanel::cancel() {
    if (cancel_) cancel_->store(true);
}

void HorizonPanel::finish() {
    poll_->stop();
    thread_->wait();
    thread_->deleteLater();
    thread_ = nullptr;
    startButton_->setEnabled(true);
    cancelButton_->setEnabled(false);
    const Language lang = host_.language();
    const ProfileResult& r = *result_;
    for (const QString& note : r.notes) host_.dialogs().inform(caption(CaptionKind::Information, lang), note);
    if (r.status == ProfileStatus::Ok) {
        progress_->setValue(progress_->maximum());
        host_.state().horizonProfile = std::make_shared<const HorizonProfile>(r.profile);
        groundEdit_->setText(QString::number(r.groundHeightMetres));
        host_.dialogs().inform(HorizonCaption(lang), HorizonDoneText(r.groundHeightMetres, lang));
        statusLabel_->setText(HorizonCalculatedText(lang));
        emit profileChanged();
    } else {
        progress_->setValue(0);
        statusLabel_->setText(r.failure);
        // The previous profile stays; a cancel needs no box.
        if (r.status == ProfileStatus::Failed)
            host_.dialogs().inform(caption(CaptionKind::Error, lang), message(24, lang), Icon::Error);
    }
    emit finished();
}

bool HorizonPanel::saveProfile(ProfileFormat format) {
    const Language lang = host_.language();
    const DialState& s = host_.state();
    if (!s.horizonProfile) {
        host_.dialogs().inform(caption(CaptionKind::Error, lang), message(24, lang), Icon::Error);
        return false;
    }
    const bool csv = format == ProfileFormat::PvgisCsv;
    const QString path = host_.files().saveFileName(resourceText(csv ? kSavePvgisTitle : kSaveTitle, lang),
                                                    csv ? QStringLiteral("Horizont.csv") : QStringLiteral("Horizont.ele"),
                                                    resourceText(csv ? kPvgisFilter : kProfileFilter, lang),
                                                    csv ? QStringLiteral("csv") : QStringLiteral("ele"));
    if (path.isEmpty()) return false;
    SaveError error;
    if (!(csv ? WritePvgisCsvFile(path, *s.horizonProfile, &error)
              : WriteHorizonProfileFile(path, *s.horizonProfile, lang, &error))) {
        host_.dialogs().inform(caption(CaptionKind::Error, lang), HorizonFileSaveErrorText(path, error, lang),
                               Icon::Error);
        return false;
    }
    host_.dialogs().inform(caption(CaptionKind::Information, lang), HorizonFileSavedText(path, lang));
    return true;
}

void HorizonPanel::applyLanguage() {
    ApplyCaptionTags(this, host_.language());
    updateTilesLabel();
}

}  // namespace zorva
