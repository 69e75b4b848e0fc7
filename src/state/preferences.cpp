#include "state/preferences.h"

#include "state/settings_location.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

#include <cmath>

namespace zorva {
namespace {

const QString kStyleKey = QStringLiteral("numerals/style");
const QString kHeightKey = QStringLiteral("numerals/heightMm");
const QString kPlotKey = QStringLiteral("numerals/inPlotFiles");
const QString kTerrainKey = QStringLiteral("horizon/sunriseOverTerrain");

QString StyleName(NumeralStyle style) {
    switch (style) {
    case NumeralStyle::Roman: return QStringLiteral("roman");
    case NumeralStyle::None: return QStringLiteral("none");
    case NumeralStyle::Arabic: break;
    }
    return QStringLiteral("arabic");
}

// Decimal text with "." (QString::number is locale-free), exact enough for a dimension in mm.
QString Number(double v) { return QString::number(v, 'g', 12); }
QString Flag(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }

double RealIn(const PreferencesFile& f, const QString& key, double low, double high, double fallback) {
    bool ok = false;
    const double v = f.value(key).trimmed().toDouble(&ok);
    return ok && std::isfinite(v) && v >= low && v <= high ? v : fallback;
}

bool FlagIn(const PreferencesFile& f, const QString& key, bool fallback) {
    const QString v = f.value(key).trimmed().toLower();
    if (v == QLatin1String("true") || v == QLatin1String("1")) return true;
    if (v == QLatin1String("false") || v == QLatin1String("0")) return false;
    return fallback;
}

HourReckoning ReckoningIn(const PreferencesFile& f, const QString& key, HourReckoning fallback) {
    bool ok = false;
    const int v = f.value(key).trimmed().toInt(&ok);
    return ok && v >= 0 && v <= 3 ? static_cast<HourReckoning>(v) : fallback;
}

}  // namespace

QString PreferencesFilePath(const QString& programDir, const QString& configDir) {
    return SettingsDirectory(programDir, configDir) + QLatin1String(kPreferencesFileName);
}

QString PreferencesPathBeside(const QString& settingsFilePath) {
    return QFileInfo(settingsFilePath).absoluteDir().filePath(QLatin1String(kPreferencesFileName));
}

bool PreferencesFile::load() {
    values_.clear();
    const QFileInfo info(path_);
    if (!info.exists()) return true;
    if (!info.isFile() || !info.isReadable()) return false;
    QSettings ini(path_, QSettings::IniFormat);
    for (const QString& key : ini.allKeys()) values_[key] = ini.value(key).toString();
    return ini.status() == QSettings::NoError;
}

bool PreferencesFile::save(SaveError* error) const {
    // Written by hand rather than by QSettings, so that the file goes through the one safe
    // save and an unwritable folder is reported instead of silently ignored.
    QMap<QString, QMap<QString, QString>> groups;
    for (auto it = values_.cbegin(); it != values_.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        const QString group = slash < 0 ? QStringLiteral("General") : it.key().left(slash);
        const QString name = slash < 0 ? it.key() : it.key().mid(slash + 1);
        groups[group][name] = it.value();
    }
    QByteArray text;
    for (auto g = groups.cbegin(); g != groups.cend(); ++g) {
        if (!text.isEmpty()) text += '\n';
        text += '[' + g.key().toUtf8() + "]\n";
        for (auto e = g.value().cbegin(); e != g.value().cend(); ++e) {
            QString value = e.value();
            // A value QSettings would read as a list or a comment is quoted.
            if (value.contains(QLatin1Char(',')) || value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('"')))
                value = QLatin1Char('"') + value.replace(QLatin1Char('"'), QStringLiteral("\\\"")) + QLatin1Char('"');
            text += e.key().toUtf8() + '=' + value.toUtf8() + '\n';
        }
    }
    SafeSaveFile file(path_);
    const bool ok = file.open() && file.write(text) == text.size() && file.commit();
    if (error) *error = file.error();
    return ok;
}

double UsableNumeralHeightMm(double h) {
    if (!std::isfinite(h) || h <= 0) return kDefaultNumeralHeightMm;
    return std::clamp(h, 1.0, 30.0);
}

void ReadNumeralPreferences(const PreferencesFile& file, DialState& s) {
    const QString style = file.value(kStyleKey).trimmed().toLower();
    s.numeralStyle = style == QLatin1String("roman") ? NumeralStyle::Roman
                     : style == QLatin1String("none") ? NumeralStyle::None
                                                      : NumeralStyle::Arabic;
    bool ok = false;
    const double h = file.value(kHeightKey).trimmed().toDouble(&ok);
    s.numeralHeightMm = ok ? UsableNumeralHeightMm(h) : kDefaultNumeralHeightMm;
    s.numeralsInPlotFiles = FlagIn(file, kPlotKey, false);
}

void StoreNumeralPreferences(const DialState& s, PreferencesFile& file) {
    file.setValue(kStyleKey, StyleName(s.numeralStyle));
    file.setValue(kHeightKey, Number(UsableNumeralHeightMm(s.numeralHeightMm)));
    file.setValue(kPlotKey, Flag(s.numeralsInPlotFiles));
}

void ReadAddedDialPreferences(const PreferencesFile& f, DialState& s) {
    const QString kind = f.value(QStringLiteral("dial/kind")).trimmed();
    s.addedKind = kind == QLatin1String("analemmatic") ? AddedKind::Analemmatic
                  : kind == QLatin1String("bifilar")   ? AddedKind::Bifilar
                                                       : AddedKind::None;
    const AnalemmaticSettings da;
    AnalemmaticSettings& a = s.analemmatic;
    a.semiMajorMm = RealIn(f, QStringLiteral("analemmatic/semiMajorMm"), 10.0, 100000.0, da.semiMajorMm);
    a.vertical = FlagIn(f, QStringLiteral("analemmatic/vertical"), da.vertical);
    a.gnomonAngle = RealIn(f, QStringLiteral("analemmatic/gnomonAngle"), 5.0, 175.0, da.gnomonAngle);
    a.reckoning = ReckoningIn(f, QStringLiteral("analemmatic/reckoning"), da.reckoning);
    a.metres = FlagIn(f, QStringLiteral("analemmatic/metres"), da.metres);
    a.zodiacMarks = FlagIn(f, QStringLiteral("analemmatic/zodiacMarks"), da.zodiacMarks);
    const BifilarSettings db;
    BifilarSettings& b = s.bifilar;
    b.threadAMm = RealIn(f, QStringLiteral("bifilar/threadAMm"), 0.1, 100000.0, db.threadAMm);
    b.threadBMm = RealIn(f, QStringLiteral("bifilar/threadBMm"), 0.1, 100000.0, db.threadBMm);
    b.vertical = FlagIn(f, QStringLiteral("bifilar/vertical"), db.vertical);
    b.reckoning = ReckoningIn(f, QStringLiteral("bifilar/reckoning"), db.reckoning);
}

void StoreAddedDialPreferences(const DialState& s, PreferencesFile& f) {
    static const char* const kKinds[] = {"none", "analemmatic", "bifilar"};
    f.setValue(QStringLiteral("dial/kind"), QLatin1String(kKinds[static_cast<int>(s.addedKind)]));
    const AnalemmaticSettings& a = s.analemmatic;
    f.setValue(QStringLiteral("analemmatic/semiMajorMm"), Number(a.semiMajorMm));
    f.setValue(QStringLiteral("analemmatic/vertical"), Flag(a.vertical));
    f.setValue(QStringLiteral("analemmatic/gnomonAngle"), Number(a.gnomonAngle));
    f.setValue(QStringLiteral("analemmatic/reckoning"), QString::number(static_cast<int>(a.reckoning)));
    f.setValue(QStringLiteral("analemmatic/metres"), Flag(a.metres));
    f.setValue(QStringLiteral("analemmatic/zodiacMarks"), Flag(a.zodiacMarks));
    const BifilarSettings& b = s.bifilar;
    f.setValue(QStringLiteral("bifilar/threadAMm"), Number(b.threadAMm));
    f.setValue(QStringLiteral("bifilar/threadBMm"), Number(b.threadBMm));
    f.setValue(QStringLiteral("bifilar/vertical"), Flag(b.vertical));
    f.setValue(QStringLiteral("bifilar/reckoning"), QString::number(static_cast<int>(b.reckoning)));
}

bool LoadPreferences(DialState& s, const QString& path) {
    PreferencesFile file(path);
    const bool ok = file.load();
    ReadNumeralPreferences(file, s);
    ReadAddedDialPreferences(file, s);
    s.sunriseOverTerrain = FlagIn(file, kTerrainKey, false);
    return ok;
}

bool SavePreferences(const DialState& s, const QString& path, SaveError* error) {
    PreferencesFile file(path);
    file.load();
    StoreNumeralPreferences(s, file);
    StoreAddedDialPreferences(s, file);
    file.setValue(kTerrainKey, Flag(s.sunriseOverTerrain));
    return file.save(error);
}

}  // namespace zorva
