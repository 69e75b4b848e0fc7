#include "astro/pvgis_horizon.h"

#include "state/text_lines.h"
#include "state/input_file.h"
#include "text/bilingual.h"
#include "text/named_texts.h"
#include "text/number_format.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

constexpr qint64 kMaxFileBytes = 16 << 20;  // a horizon file is a few kilobytes

// "0 = N" / "N = 0" (also with a degree sign) in a legend or a description.
bool StatedZero(const QString& text, AzimuthZero& zero) {
    static const QRegularExpression zeroIs(QStringLiteral("(?:^|[^0-9.])0\\s*(?:°|deg)?\\s*=\\s*([NnSs])"));
    static const QRegularExpression isZero(QStringLiteral("\\b([NnSs])\\s*=\\s*0(?![0-9.])"));
    QRegularExpressionMatch m = zeroIs.match(text);
    if (!m.hasMatch()) m = isZero.match(text);
    if (!m.hasMatch()) return false;
    zero = m.captured(1).toUpper() == QLatin1String("N") ? AzimuthZero::North : AzimuthZero::South;
    return true;
}

AzimuthZero ZeroFromRange(const std::vector<double>& azimuths) {
    const auto [lo, hi] = std::minmax_element(azimuths.begin(), azimuths.end());
    if (*lo < 0.0) return AzimuthZero::South;
    return *hi > 180.0 ? AzimuthZero::North : AzimuthZero::South;
}

bool Number(const QString& text, double& value) {
    return ParseReal(text.trimmed(), value) && std::isfinite(value);
}

QStringList Fields(const QString& line) {
    static const QRegularExpression separators(QStringLiteral("[\\t,;]|\\s{2,}"));
    QStringList f = line.trimmed().split(separators, Qt::SkipEmptyParts);
    if (f.size() == 1) f = line.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& s : f) s = s.trimmed();
    return f;
}

bool CheckPoints(const QString& name, PvgisHorizon& h, QString& problem, Language lang) {
    if (h.azimuths.size() < 3) {
        problem = name + Tr(lang, ": Keine Horizontpunkte (Spalten A und H_hor) gefunden.",
                            ": No horizon points (columns A and H_hor) found.");
        return false;
    }
    for (std::size_t i = 0; i < h.azimuths.size(); ++i) {
        if (std::abs(h.azimuths[i]) > 360.0 || std::abs(h.heights[i]) > 90.0) {
            problem = name + Tr(lang, ": Unmöglicher Horizontpunkt ", ": Impossible horizon point ") +
                      QString::number(h.azimuths[i]) + QStringLiteral(" / ") + QString::number(h.heights[i]);
            return false;
        }
    }
    return true;
}

bool ParseJson(const QString& name, const QByteArray& bytes, PvgisHorizon& h, QString& problem, Language lang) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        problem = name + Tr(lang, ": Kein lesbares JSON: ", ": No readable JSON: ") + error.errorString();
        return false;
    }
    const QJsonObject root = doc.object();
    const QJsonArray points = root.value(QStringLiteral("outputs")).toObject().value(QStringLiteral("horizon_profile")).toArray();
    for (const QJsonValue& v : points) {
        const QJsonObject p = v.toObject();
        const QJsonValue a = p.value(QStringLiteral("A")), hh = p.value(QStringLiteral("H_hor"));
        if (!a.isDouble() || !hh.isDouble()) {
            problem = name + Tr(lang, ": Ein Horizontpunkt ohne Zahlen A und H_hor.",
                                ": A horizon point without numbers A and H_hor.");
            return false;
        }
        h.azimuths.push_back(a.toDouble());
        h.heights.push_back(hh.toDouble());
    }
    if (!CheckPoints(name, h, problem, lang)) return false;
    const QString description = root.value(QStringLiteral("meta"))
                                    .toObject()
                                    .value(QStringLiteral("outputs"))
                                    .toObject()
                                    .value(QStringLiteral("horizon_profile"))
                                    .toObject()
                                    .value(QStringLiteral("variables"))
                                    .toObject()
                                    .value(QStringLiteral("A"))
                                    .toObject()
                                    .value(QStringLiteral("description"))
                                    .toString();
    if (!StatedZero(description, h.zero)) h.zero = ZeroFromRange(h.azimuths);
    const QJsonObject location = root.value(QStringLiteral("inputs")).toObject().value(QStringLiteral("location")).toObject();
    if (location.value(QStringLiteral("latitude")).isDouble() && location.value(QStringLiteral("longitude")).isDouble()) {
        h.latitude = location.value(QStringLiteral("latitude")).toDouble();
        h.longitudeEast = location.value(QStringLiteral("longitude")).toDouble();
        h.hasSite = std::abs(h.latitude) <= 90.0 && std::abs(h.longitudeEast) <= 180.0;
    }
    return true;
}

bool ParseCsv(const QString& name, const QByteArray& bytes, PvgisHorizon& h, QString& problem, Language lang) {
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    int columnA = -1, columnH = -1;
    bool inData = false, dataDone = false, stated = false;
    bool haveLat = false, haveLon = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (inData && !dataDone) {
            const QStringList f = Fields(line);
            double a = 0, v = 0;
            if (f.size() > std::max(columnA, columnH) && Number(f[columnA], a) && Number(f[columnH], v)) {
                h.azimuths.push_back(a);
                h.heights.push_back(v);
                continue;
            }
            dataDone = true;  // the legend may follow
        }
        if (columnA < 0) {
            const QStringList f = Fields(line);
            const int a = static_cast<int>(f.indexOf(QStringLiteral("A"))), v = static_cast<int>(f.indexOf(QStringLiteral("H_hor")));
            if (a >= 0 && v >= 0) {
                columnA = a;
                columnH = v;
                inData = true;
                continue;
            }
        }
        const int colon = static_cast<int>(line.indexOf(QLatin1Char(':')));
        if (colon > 0) {
            const QString key = line.left(colon).toLower();
            double value = 0;
            if (key.startsWith(QLatin1String("latitude")) && Number(line.mid(colon + 1), value)) {
                h.latitude = value;
                haveLat = true;
            } else if (key.startsWith(QLatin1String("longitude")) && Number(line.mid(colon + 1), value)) {
                h.longitudeEast = value;
                haveLon = true;
            }
            // The legend of the azimuth column: "A: Azimuth (0 = S, 90 = W, -90 = E) (degree)."
            if (key.trimmed() == QLatin1String("a") || key.contains(QLatin1String("azimuth")))
                stated = StatedZero(line.mid(colon + 1), h.zero) || stated;
        }
    }
    if (columnA < 0) {
        problem = name + Tr(lang, ": Keine Spalten A und H_hor gefunden.", ": No columns A and H_hor found.");
        return false;
    }
    if (!CheckPoints(name, h, problem, lang)) return false;
    if (!stated) h.zero = ZeroFromRange(h.azimuths);
    h.hasSite = haveLat && haveLon && std::abs(h.latitude) <= 90.0 && std::abs(h.longitudeEast) <= 180.0;
    return true;
}

// Program azimuth (0 = south, west positive) in [-180, 180).
double SouthBased(double azimuth, AzimuthZero zero) {
    double a = zero == AzimuthZero::North ? azimuth - 180.0 : azimuth;
    a = std::fmod(a + 180.0, 360.0);
    if (a < 0.0) a += 360.0;
    return a - 180.0;
}

}  // namespace

bool ParsePvgisHorizon(const QString& name, const QByteArray& raw, PvgisHorizon& horizon, QString& problem,
                       Language lang) {
    QByteArray bytes = raw;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    PvgisHorizon h;
    const bool json = bytes.trimmed().startsWith('{');
    if (!(json ? ParseJson(name, bytes, h, problem, lang) : ParseCsv(name, bytes, h, problem, lang))) return false;
    horizon = std::move(h);
    return true;
}

bool ReadPvgisHorizonFile(const QString& path, PvgisHorizon& horizon, QString& problem, Language lang) {
    QFile f;
    // Regular files only, and no horizon file is near 64 MB.
    if (OpenInputFile(path, 64 << 20, f) != InputFileStatus::Ok) {
        problem = TextOf(TextId::FileUnreadable, lang) + path;
        return false;
    }
    if (f.size() > kMaxFileBytes) {
        problem = path + Tr(lang, ": Zu groß für eine Horizontdatei.", ": Too large for a horizon file.");
        return false;
    }
    return ParsePvgisHorizon(path, f.read(kMaxFileBytes), horizon, problem, lang);
}

HorizonProfile ProfileFromPvgis(const PvgisHorizon& horizon, double latitude, double longitudeWest) {
    struct Point {
        double azimuth, height;
    };
    std::vector<Point> points;
    for (std::size_t i = 0; i < horizon.azimuths.size(); ++i)
        points.push_back({SouthBased(horizon.azimuths[i], horizon.zero), horizon.heights[i]});
    std::stable_sort(points.begin(), points.end(), [](const Point& a, const Point& b) { return a.azimuth < b.azimuth; });
    // -180 and +180 are one direction: keep the first of equal azimuths.
    points.erase(std::unique(points.begin(), points.end(),
                             [](const Point& a, const Point& b) { return std::abs(a.azimuth - b.azimuth) < 1e-9; }),
                 points.end());
    HorizonProfile p;
    p.latitude = latitude;
    p.longitude = longitudeWest;
    p.observerHeightMetres = 0;
    p.minDistanceMetres = 0;
    const std::size_t n = points.size();
    for (int k = 0; k < kHorizonRecordCount && n > 0; ++k) {
        const double z = HorizonSectorAzimuth(k);
        // The neighbours of z around the circle.
        std::size_t hi = std::lower_bound(points.begin(), points.end(), z,
                                          [](const Point& a, double v) { return a.azimuth < v; }) -
                         points.begin();
        const Point& b = points[hi % n];
        const Point& a = points[(hi + n - 1) % n];
        double za = a.azimuth, zb = b.azimuth;
        if (hi == 0) za -= 360.0;
        if (hi == n) zb += 360.0;
        const double t = zb - za > 1e-12 ? (z - za) / (zb - za) : 0.0;
        HorizonRecord& r = p.records[k];
        r.elevation = a.height + t * (b.height - a.height);
        r.distanceMetres = kPvgisDistanceMetres;
        r.empty = false;
    }
    return p;
}

QStringList PvgisCsvLines(const HorizonProfile& profile) {
    QStringList lines;
    lines << QStringLiteral("Latitude (decimal degrees):\t") + QString::number(profile.latitude, 'f', 6)
          << QStringLiteral("Longitude (decimal degrees):\t") + QString::number(-profile.longitude, 'f', 6)
          << QString() << QStringLiteral("A\tH_hor");
    for (const HorizonRecord& r : profile.records)
        lines << QString::number(r.azimuth, 'f', 1) + QLatin1Char('\t') +
                     QString::number(r.empty ? 0.0 : r.elevation, 'f', 4);
    lines << QString() << QStringLiteral("A: Azimuth (0 = S, 90 = W, -90 = E) (degree).")
          << QStringLiteral("H_hor: Horizon height (degree).");
    return lines;
}

bool WritePvgisCsvFile(const QString& path, const HorizonProfile& profile, SaveError* error) {
    return WriteLineFile(path, PvgisCsvLines(profile), error);
}

}  // namespace zorva
