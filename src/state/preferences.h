#pragma once
// Preferences the classic settings layout has no place for, kept in "zorva.conf" (INI) in
// the folder of zor.ini. Missing or unreadable entries take their defaults; saving keeps
// every entry this program version does not know, so later preferences share the file.

#include "state/dial_state.h"
#include "state/safe_save.h"

#include <QMap>
#include <QString>

namespace zorva {

inline constexpr char kPreferencesFileName[] = "zorva.conf";

// "zorva.conf" beside the settings file of `programDir` (see SettingsDirectory).
QString PreferencesFilePath(const QString& programDir, const QString& configDir = {});
// "zorva.conf" in the folder of `settingsFilePath` (the path of a zor.ini).
QString PreferencesPathBeside(const QString& settingsFilePath);

class PreferencesFile {
public:
    explicit PreferencesFile(QString path) : path_(std::move(path)) {}

    // Reads the file; a missing file is an empty one. False when it exists but cannot be read.
    bool load();
    // Writes every entry (numbers with ".", whatever the locale) through the safe save.
    bool save(SaveError* error = nullptr) const;

    // Keys are "group/name".
    QString value(const QString& key, const QString& fallback = {}) const { return values_.value(key, fallback); }
    void setValue(const QString& key, const QString& value) { values_[key] = value; }
    const QString& path() const { return path_; }

private:
    QString path_;
    QMap<QString, QString> values_;
};

// The numeral preferences into the state (defaults for what is missing or faulty) and back.
void ReadNumeralPreferences(const PreferencesFile& file, DialState& state);
void StoreNumeralPreferences(const DialState& state, PreferencesFile& file);
// The dial kinds without a letter in zor.ini (kind "none" when absent) and their dimensions;
// a value that is missing, unreadable or out of range takes its default.
void ReadAddedDialPreferences(const PreferencesFile& file, DialState& state);
void StoreAddedDialPreferences(const DialState& state, PreferencesFile& file);
// The numeral height a drawing uses: the default for nonsense, at least 1 mm, at most 30 mm.
double UsableNumeralHeightMm(double heightMm);

// Loads every preference of `path` into the state; true when the file was readable or absent.
bool LoadPreferences(DialState& state, const QString& path);
// Stores the state's preferences into `path`, keeping the file's other entries.
bool SavePreferences(const DialState& state, const QString& path, SaveError* error = nullptr);

}  // namespace zorva
