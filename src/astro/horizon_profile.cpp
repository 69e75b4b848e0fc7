#include "astro/horizon_profile.h"

#include "state/text_lines.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <cmath>

namespace zorva {
namespace {

// Numbers of the file carry a decimal comma.
QString CommaReal(int width, int decimals, double x) {
    return RealToText(width, decimals, x).replace(QLatin1Char('.'), QLatin1Char(','));
}

// The leading number of a field ("  47,25\t Latitude ..." -> 47.25); false when there is none.
bool LeadingReal(const QString& field, double& value) {
    QString t = field.trimmed();
    int end = 0;
    while (end < t.size() && (t[end].isDigit() || t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+') ||
                              t[end] == QLatin1Char(',') || t[end] == QLatin1Char('.')))
        ++end;
    t.truncate(end);
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return !t.isEmpty() && ParseReal(t, value) && std::isfinite(value);
}

}  // namespace

HorizonProfile::HorizonProfile() {
    for (int k = 0; k < kHorizonRecordCount; ++k) records[k].azimuth = HorizonSectorAzimuth(k);
}

bool HorizonProfile::hasTerrain() const {
    for (const HorizonRecord& r : records)
        if (!r.empty) return true;
    return false;
}

int HorizonSectorIndex(double azimuth) {
    if (!std::isfinite(azimuth)) return 0;
    const long long k = std::llround((azimuth + 180.0) * 2.0);
    return static_cast<int>(((k % kHorizonRecordCount) + kHorizonRecordCount) % kHorizonRecordCount);
}

std::optional<double> HorizonElevation(const HorizonProfile& profile, double azimuth) {
    const HorizonRecord& r = profile.records[HorizonSectorIndex(azimuth)];
    if (r.empty) return std::nullopt;
    return r.elevation;
}

bool SunBehindTerrain(const HorizonProfile& profile, double azimuth, double altitude) {
    const std::optional<double> e = HorizonElevation(profile, azimuth);
    return e && *e > altitude;
}

QStringList HorizonProfileFileLines(const HorizonProfile& profile, Language lang) {
    const QString sep = QStringLiteral("\t ");
    QString observer = resourceText(463, lang);
    observer.chop(2);  // " :"
    QStringList lines;
    lines.reserve(kHorizonRecordCount + 3);
    lines << CommaReal(14, 10, profile.latitude) + sep + QStringLiteral(" Latitude (where South is negative)");
    // The file counts longitudes east positive.
    lines << CommaReal(14, 10, -profile.longitude) + sep + QStringLiteral("Longitude (where  West is negative)");
    lines << QString::number(kHorizonRecordCount) + sep + QStringLiteral("NPoints (Azimut, Elevation, Abstand),") +
                 sep + QString::number(profile.observerHeightMetres) + sep + QStringLiteral("= ") + observer + sep +
                 QString::number(profile.minDistanceMetres) + sep + QStringLiteral("= ") + resourceText(460, lang);
    const QString gap = QStringLiteral(" \t ");
    for (const HorizonRecord& r : profile.records) {
        const double elevation = r.empty ? 0.0 : r.elevation;
        const double distance = r.empty ? 0.0 : r.distanceMetres;
        lines << CommaReal(7, 2, r.azimuth) + gap + CommaReal(9, 4, elevation) + gap + CommaReal(7, 2, distance);
    }
    return lines;
}

bool WriteHorizonProfileFile(const QString& path, const HorizonProfile& profile, Language lang, SaveError* error) {
    return WriteLineFile(path, HorizonProfileFileLines(profile, lang), error);
}

bool ParseHorizonProfileLines(const QStringList& lines, HorizonProfile& profile) {
    if (lines.size() < 4) return false;
    HorizonProfile p;
    double lat = 0, lonEast = 0;
    if (!LeadingReal(lines[0], lat) || !LeadingReal(lines[1], lonEast)) return false;
    if (std::abs(lat) > 90.0 || std::abs(lonEast) > 180.0) return false;
    p.latitude = lat;
    p.longitude = -lonEast;
    // Line 3: count, then observer height and minimum distance in their own fields. The
    // count is not trusted: the point lines that follow are read as far as they go.
    const QStringList head = lines[2].split(QLatin1Char('\t'));
    double value = 0;
    if (head.size() > 2 && LeadingReal(head[2], value) && std::abs(value) < 1e6)
        p.observerHeightMetres = static_cast<int>(std::lround(value));
    if (head.size() > 4 && LeadingReal(head[4], value) && value >= 0 && value < 1e7)
        p.minDistanceMetres = static_cast<int>(std::lround(value));

    int points = 0;
    for (int i = 3; i < lines.size() && points < kHorizonRecordCount; ++i) {
        if (lines[i].trimmed().isEmpty()) continue;
        const QStringList f = lines[i].split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        double az = 0, el = 0, dist = 0;
        if (f.size() < 3 || !LeadingReal(f[0], az) || !LeadingReal(f[1], el) || !LeadingReal(f[2], dist)) return false;
        if (std::abs(az) > 360.0 || std::abs(el) > 90.0 || dist < 0.0) return false;
        HorizonRecord& r = p.records[HorizonSectorIndex(az)];
        r.azimuth = az;
        // The file keeps two decimals of the distance: what it would show as 0 is no terrain,
        // so that a profile reads back the same from the file it writes.
        if (dist >= 0.005) {
            r.elevation = el;
            r.distanceMetres = dist;
            r.empty = false;
        }
        ++points;
    }
    if (points == 0) return false;
    profile = p;
    return true;
}

HorizonFileStatus ReadHorizonProfileFile(const QString& path, HorizonProfile& profile) {
    QStringList lines;
    switch (ReadLineFile(path, lines)) {
    case LineFileStatus::Ok: break;
    case LineFileStatus::Missing: return HorizonFileStatus::Missing;
    case LineFileStatus::Unreadable:
    case LineFileStatus::NotAFile: return HorizonFileStatus::Unreadable;
    case LineFileStatus::TooLarge: return HorizonFileStatus::TooLarge;
    }
    return ParseHorizonProfileLines(lines, profile) ? HorizonFileStatus::Ok : HorizonFileStatus::Faulty;
}

QString HorizonFileSavedText(const QString& path, Language lang) {
    return path + (lang == Language::English ? QStringLiteral(" : File saved!")
                                             : QStringLiteral(" : Datei gespeichert!"));
}

QString HorizonFileSaveErrorText(const QString& path, const SaveError& error, Language lang) {
    return QStringLiteral("Save error: File  ") + path +
           (error.failed() ? QStringLiteral("\r\n") + SaveErrorText(error, lang) : QString());
}

}  // namespace zorva
