#pragma once
// The horizon-profile panel of the sun-position diagram: centre, distances and platform,
// the elevation tiles, "Start Berechnung" with a progress bar, and saving the profile.
// The computation runs on a worker thread so that the window stays responsive and the
// user can cancel it; the result is handed to the state on the GUI thread.

#include "astro/terrain_profile.h"

#include <QFrame>

#include <atomic>
#include <memory>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

namespace zorva {

class ChildHost;

class HorizonPanel : public QFrame {
    Q_OBJECT
public:
    explicit HorizonPanel(ChildHost& host, QWidget* parent = nullptr);
    ~HorizonPanel() override;

    // "Horizontprofil berechnen ...": the centre from the site, the distances as they are.
    void fillFromSite();
    // The distances and platform as the window opens them: 60 km, 0 m, 200 m.
    void resetSettings();

    // Reads every field; false after a message when one is wrong.
    bool readSettings(ProfileSettings& settings);
    // "  SRTM-Höhendaten laden  ": one more tile through the open dialog.
    bool loadTile();
    // "Start Berechnung": asks for missing tiles, then starts the worker. False when nothing started.
    bool start();
    void cancel();
    bool running() const { return thread_ != nullptr; }
    // "Horizontprofil speichern ..." (.ele) and "Als PVGIS-CSV speichern ...": the save
    // dialog, then the file.
    enum class ProfileFormat { Ele, PvgisCsv };
    bool saveProfile(ProfileFormat format = ProfileFormat::Ele);

    const TerrainTiles& tiles() const { return tiles_; }
    void applyLanguage();

signals:
    // The state holds a new profile.
    void profileChanged();
    // The worker ended (done, failed or cancelled).
    void finished();

private:
    void finish();
    QLineEdit* numberField(const char* name, int width);
    bool readInt(QLineEdit* edit, QLabel* label, int lower, int upper, int& value);
    void updateTilesLabel();

    ChildHost& host_;
    TerrainTiles tiles_;
    double minDistance_ = 200, maxDistanceKm_ = 60, platform_ = 0;

    QLineEdit* latDeg_ = nullptr;
    QLineEdit* latMin_ = nullptr;
    QLineEdit* latSec_ = nullptr;
    QLineEdit* lonDeg_ = nullptr;
    QLineEdit* lonMin_ = nullptr;
    QLineEdit* lonSec_ = nullptr;
    QButtonGroup* northSouth_ = nullptr;
    QButtonGroup* eastWest_ = nullptr;
    QLineEdit* platformEdit_ = nullptr;
    QLineEdit* minDistanceEdit_ = nullptr;
    QLineEdit* maxDistanceEdit_ = nullptr;
    QLineEdit* groundEdit_ = nullptr;
    QLabel* latLabel_ = nullptr;
    QLabel* lonLabel_ = nullptr;
    QLabel* platformLabel_ = nullptr;
    QLabel* minDistanceLabel_ = nullptr;
    QLabel* maxDistanceLabel_ = nullptr;
    QLabel* tilesLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;

    // The worker and what it shares with the GUI thread.
    QThread* thread_ = nullptr;
    QTimer* poll_ = nullptr;
    std::shared_ptr<ProfileResult> result_;
    std::shared_ptr<std::atomic<long long>> done_, total_;
    std::shared_ptr<std::atomic<bool>> cancel_;
};

}  // namespace zorva
