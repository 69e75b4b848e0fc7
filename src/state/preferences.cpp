#include "state/preferences.h"

#include "state/settings_location.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>

#include <cmath>

namespace zorva {
namespace {

const QString kStyleKey = QStringLiteral("numerals/style");
const QString kHeightKey = QStringLiteral("numerals/heightMm");
const QString kPlotKey = QStringLiteral("numerals/inPlotFiles");

QString StyleName(NumeralStyle style) {
    switch (style) {
    case NumeralStyle::Roman: return QStringLiteral("roman");
    case NumeralStyle::None: return QStringLiteral("none");
    case NumeralStyle::Arabic: break;
    }
    return QStringLiteral("arabic");
}

// Short decimal text with "." (QString::number is locale-free).
QString Number(double v) { return QString::number(v, 'g', 6); }

}  // namespace

QString PreferencesFilePath(const QString& programDir, const QString& configDir) {
    return SettingsDirectory(programDir, configDir) + QLatin1String(kPreferencesFileName);
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
    const QString plot = file.value(kPlotKey).trimmed().toLower();
    s.numeralsInPlotFiles = plot == QLatin1String("true") || plot == QLatin1String("1");
}

void StoreNumeralPreferences(const DialState& s, PreferencesFile& file) {
    file.setValue(kStyleKey, StyleName(s.numeralStyle));
    file.setValue(kHeightKey, Number(UsableNumeralHeightMm(s.numeralHeightMm)));
    file.setValue(kPlotKey, s.numeralsInPlotFiles ? QStringLiteral("true") : QStringLiteral("false"));
}

bool LoadPreferences(DialState& s, const QString& path) {
    PreferencesFile file(path);
    const bool ok = file.load();
    ReadNumeralPreferences(file, s);
    return ok;
}

bool SavePreferences(const DialState& s, const QString& path, SaveError* error) {
    PreferencesFile file(path);
    file.load();
    StoreNumeralPreferences(s, file);
    return file.save(error);
}

}  // namespace zorva
