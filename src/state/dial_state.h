#pragma once
// The one state of a Zorva run: site, dial selection, dimensions, options, colours.
// Owned by the application and passed by reference; constructions only read it.

#include "state/added_dials.h"
#include "text/language.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>

namespace zorva {

// 24-bit colour as 0xRRGGBB (no QtGui below ui/ and dials/).
using Rgb = std::uint32_t;

inline constexpr double kZoomStep = 1.189207115002721;  // fourth root of 2

// Years the calculations are made for (the site dialog's range); the ephemeris and the
// calendar are not valid far beyond it.
inline constexpr int kFirstReferenceYear = 1300;
inline constexpr int kLastReferenceYear = 2500;
constexpr bool ReferenceYearInRange(long long year) {
    return year >= kFirstReferenceYear && year <= kLastReferenceYear;
}

// How the hour lines of a planar dial are numbered.
enum class NumeralStyle { Arabic = 0, Roman = 1, None = 2 };
inline constexpr double kDefaultNumeralHeightMm = 4.0;

// A zone meridian more than this many degrees from the site's longitude is asked about.
inline constexpr double kZoneFarDegrees = 14.0;
bool ZoneFarFromLongitude(double longitude, double zoneMeridian);
// The latitude every construction and calculation is given: never exactly 0, because
// they divide by its sine and tangent.
double NonZeroLatitude(double latitude);

struct HorizonProfile;  // astro/horizon_profile.h

struct DialState {
    // --- site record; longitudes west positive, degrees
    double latitude = 47.25;
    double longitude = -9.59;
    double zoneMeridian = -15.0;
    int referenceYear = 2013;
    double latitude2 = 47.25;
    double longitude2 = -15.0;
    bool zoneFarFromLongitude = false;

    // --- dial selection
    char dialType = 'v';
    bool umbrellaDial = false;
    int cylinderKind = 0;
    int cylinderHourStyle = 0;
    int dateLinesPerMonth = 1;
    int quadrantKind = 0;
    int azimuthKind = 1;
    int altitudeCircleSpacing = 1;
    int hollanderShadowLine = 0;
    bool expertMode = true;

    // --- dial dimensions, millimetres and degrees
    double gnomonLength = 35.0;
    double wallDeclination = -11.7;
    double wallDeclination2 = 78.3;
    double planeInclination = 25.4589;
    double coneAxisInclination = 47.25;
    double coneHalfAngle = 12.0;
    double umbrellaCircleRatio = 0.35;  // fraction, entered as percent
    double quadrantGnomon = 37.0;
    int quadrantSize = 150;
    double ringDiameter = 150.0;
    double ringWidth = 80.0;
    double ringAngle = 30.0;
    double cylinderRadius = 250.0;
    double cylinderGnomon = 51.0;
    int shepherdGnomon = 70;
    int hidokaiGnomon = 25;
    int monthScaleLength = 270;
    int maxShadowLength = 160;
    int hidokaiMonthScale = 120;
    int hidokaiHorizontalScale = 180;
    int drawingScale = 100;
    double observerDistanceCm = 30.0;
    double basePlateDiameterCm = 18.0;
    int analemmaHour = 13;

    // --- hour-line and date-line options; digits are kept as the characters stored in files
    char dateLineMode = '0';
    char eotHourInterval = '0';
    bool linesToStyleFoot = false;
    bool apparentTimeLines = true;
    bool meanTimeLines = false;
    bool markAnalemma = true;
    bool babylonianHours = false;
    bool italianHours = false;
    bool altitudeLines = false;
    bool temporalHours = false;
    bool mirrorLeftQuadrant = false;
    bool constructWithEoT = false;
    bool apparentTimeScale = true;
    int timeSystem = 0;
    bool outerLineArrangement = false;
    bool localTimeDisplay = true;
    bool monthScaleSideBySide = false;
    bool cylinderWithEoT = false;
    char hourLineInterval = '1';
    bool hidokaiVerticalDial = true;
    bool wholeYearBand = false;
    bool localTimeReading = false;
    bool drawPoleTriangle = false;
    int dayMarkings = 1;
    bool declinationScale = true;
    int rayDeflection = 0;
    bool noonLineHorizontal = true;
    char lineWidth = '1';
    bool hollanderOption = false;
    bool biazimuthalVertical = false;
    int quadrantDateScale = 0;
    bool wholeHourDaylengthLines = false;
    bool includeAzimuthLines = true;
    bool drawEcliptic = true;
    bool reservedOptionFlag = true;  // option-string position 3: unused here, kept for other installations

    // --- time ranges (hour indices 0..24 unless noted)
    int hourFrom = 8, hourTo = 19;
    int eotHourFrom = 9, eotHourTo = 17;
    int babylonianFrom = 0, babylonianTo = 20;
    int italianFrom = 5, italianTo = 24;
    int temporalFrom = 1, temporalTo = 11;
    int altitudeFrom = 20, altitudeTo = 70;  // degrees
    int otherHourFrom = 10, otherHourTo = 18;
    int quadrantTemporalFrom = 1, quadrantTemporalTo = 6;
    int babylonianInterval = 0, italianInterval = 1;
    int temporalInterval = 0, quadrantTemporalInterval = 0;
    int altitudeInterval = 1;
    char otherHourInterval = '0';

    // --- drawing style and run-time settings
    std::array<Rgb, 12> colours = defaultColours();
    Language language = Language::German;
    bool dialogsNormalSize = true;
    bool mapOverlay = false;
    bool mapBorders = false;
    bool mapCoast = true;
    double zoomFactor = 1.0;
    double zoomStep = kZoomStep;
    bool showHints = false;
    QString plotFileName;
    QString programDirectory;  // with trailing separator
    QStringList dateLineList;  // "dd/mm" plus optional comment per entry

    // --- settings of the calculation windows (not stored in files)
    int twilightKind = 1;  // 0 civil, 1 nautical, 2 astronomical
    // Date and time of the calculation windows; month and day 0 until the first of them
    // opens and takes today's date.
    int calcMonth = 0;
    int calcDay = 0;
    QString calcTime = QStringLiteral("12");
    bool eotLongitudeCorrection = false;
    bool showPlaneSunlight = false;
    bool showHorizonProfile = false;
    // The horizon profile computed or loaded in the tables window; none until then.
    std::shared_ptr<const HorizonProfile> horizonProfile;
    // Declinations at the entry into the zodiac signs, index 1..7 (index 0 unused):
    // 1 = winter solstice, 4 = equinox, 7 = summer solstice.
    std::array<double, 8> zodiacDeclinations = {0.0, -23.44, -20.15, -11.47, 0.0, 11.47, 20.15, 23.44};

    // --- preferences the classic files have no place for (zorva.conf)
    NumeralStyle numeralStyle = NumeralStyle::Arabic;
    double numeralHeightMm = kDefaultNumeralHeightMm;
    // Plot files keep their classic commands unless numerals are asked for there too.
    bool numeralsInPlotFiles = false;
    // Rise and set of the sun over the loaded horizon profile instead of the flat horizon.
    bool sunriseOverTerrain = false;

    // --- drawing window and plot output
    int plotLineWeight = 1;  // 1 fine, 2 medium, 3 thick
    int legendOffset = 0;    // first legend row of the dial family minus 1
    double originX = 0, originY = 0;  // gnomon foot placed by a click, window pixels
    double centreX = 0, centreY = 0;

    // --- dial kinds without a letter of their own (kept in zorva.conf, not in zor.ini)
    AddedKind addedKind = AddedKind::None;
    AnalemmaticSettings analemmatic;
    BifilarSettings bifilar;

    static constexpr std::array<Rgb, 12> defaultColours() {
        return {0x000000, 0x0000FF, 0xFF0000, 0x000080, 0x808000, 0x008000,
                0x00FFFF, 0x808080, 0x00FF00, 0xFF00FF, 0x808080, 0xDFE0A0};
    }
    int languageIndex() const { return static_cast<int>(language); }
    bool english() const { return language == Language::English; }
};

// Sets every field to its default except those a user keeps across "load defaults"
// (dial kind, chosen line systems, colours, language, ...).
void LoadDefaults(DialState& s);
void ResetColours(DialState& s);
// The state as it is at program start, before the settings file is read.
DialState StartupState();
// First legend row of the colour palette for a dial-type letter, minus 1.
int LegendOffsetFor(char dialType);

}  // namespace zorva
