// The texts and print-list blocks of the sun-position window, as the window and
// zorva-cli show and print them. Reference site of the rise/set examples:
// 47.25 N, 9.55 E (longitude -9.55), zone meridian -15, 21 June 1999.
#include "astro/sun_position_report.h"
#include "support/test_support.h"
#include "text/texts.h"

#include <cmath>

namespace zorva {
namespace {

constexpr Language kDe = Language::German;
constexpr Language kEn = Language::English;

const ReportSite kSite{47.25, -9.55, -15.0, 1999, 6, 21};

const QString kRule = QStringLiteral("  ____________________________________________________________________________");

QStringList Head(const QString& date = QStringLiteral("1999- 6-21")) {
    return {QString(), kRule, QString(), QStringLiteral("    Datum:           ") + date,
            QStringLiteral("    Geogr. Breite:    47.25 Grad"),
            QStringLiteral("    Geogr. Länge:      -9.55 Grad         Zonenmeridian:  -15.0 Grad")};
}

// Minutes of time between two zone times.
double Minutes(double a, double b) { return (a - b) * 60.0; }

TEST(PrintBlock, RuleAndHead) {
    EXPECT_EQ(kRule.size(), 78);
    EXPECT_EQ(PrintRule(), kRule);
    EXPECT_TRUE(IsPrintRule(kRule));
    EXPECT_FALSE(IsPrintRule(QStringLiteral("    Datum:")));
    EXPECT_EQ(PrintBlockHead(kSite, kDe), Head());

    // Eastern zone with a longitude west of Greenwich and a southern latitude, English.
    const ReportSite west{-33.5, 70.66, 75.0, 2013, 12, 3};
    EXPECT_EQ(PrintBlockHead(west, kEn),
              (QStringList{QString(), kRule, QString(), QStringLiteral("    Date:            2013-12- 3"),
                           QStringLiteral("    Latitude:        -33.50 deg "),
                           QStringLiteral("    Longitude:         70.66 deg          Zone meridian:   75.0 deg ")}));
}

TEST(EoTDeclinationAtNoon, TextsAndBlock) {
    const EoTDeclinationReport r = EoTDeclinationAtNoon(kSite, kDe);
    // Near the June solstice: declination at its maximum, the sundial about 1.6 min slow.
    EXPECT_NEAR(r.declination, 23.44, 0.01);
    EXPECT_NEAR(r.eot * 4, -1.65, 0.05);
    EXPECT_EQ(r.eotText, QStringLiteral(" -1:39  min:sec"));
    EXPECT_EQ(r.declinationText, QStringLiteral(" 23.44 Grad"));
    QStringList expected = Head();
    expected << QStringLiteral("    Zeitgleichung:      -1:39  min:sec   Werte fuer 12 Uhr Zonenzeit")
             << QStringLiteral("    Sonnendeklination:  23.44 Grad") << kRule;
    EXPECT_EQ(r.printLines, expected);

    // Early November the sundial is about 16 minutes fast; mid-February 14 minutes slow.
    EXPECT_NEAR(EoTDeclinationAtNoon({47.25, -9.55, -15, 2000, 11, 3}, kDe).eot * 4, 16.4, 0.1);
    EXPECT_NEAR(EoTDeclinationAtNoon({47.25, -9.55, -15, 2000, 2, 12}, kDe).eot * 4, -14.2, 0.1);
}

TEST(EoTDeclinationAtNoon, ValuesBelongToNoonOfTheZone) {
    // The same date seen from a zone 12 hours further west is half a day later in UT; the
    // declination moves by about 0.2 degrees a day in March.
    const ReportSite east{0, 0, -90, 2000, 3, 1};
    const ReportSite west{0, 0, 90, 2000, 3, 1};
    const double d = EoTDeclinationAtNoon(west, kDe).declination - EoTDeclinationAtNoon(east, kDe).declination;
    EXPECT_NEAR(d, 0.5 * 0.38, 0.03);
}

TEST(RiseSetOfDay, ReferenceDayWithUnits) {
    const RiseSetReport r = RiseSetOfDay(kSite, 1, kDe);
    EXPECT_EQ(r.sunRise, QStringLiteral("  4:25 hh:min"));
    EXPECT_EQ(r.sunSet, QStringLiteral(" 20:21 hh:min"));
    EXPECT_EQ(r.twilightBegin, QStringLiteral("  2:50 hh:min"));
    EXPECT_EQ(r.twilightEnd, QStringLiteral(" 21:57 hh:min"));
    EXPECT_EQ(r.moonRise, QStringLiteral(" 12:59 hh:min"));
    EXPECT_EQ(r.moonSet, QStringLiteral("  0:51 hh:min"));
    EXPECT_EQ(r.noon.eotText, QStringLiteral(" -1:39  min:sec"));
    EXPECT_EQ(r.noon.declinationText, QStringLiteral(" 23.44 Grad"));

    QStringList expected = Head();
    expected << QStringLiteral("    Zeitgleichung:      -1:39  min:sec   Werte fuer 12 Uhr Zonenzeit")
             << QStringLiteral("    Sonnendeklination:  23.44 Grad")
             << QStringLiteral("    Sonne Aufgang:      4:25 hh:min     Sonne Untergang:  20:21 hh:min")
             << QStringLiteral("    Dämmerung Beginn:   2:50 hh:min     Dämmerung Ende:   21:57 hh:min")
             << QStringLiteral("                        [ Angezeigte Dämmerungsart: nautisch (6°-12°)]")
             << QStringLiteral("    Mond Aufgang:      12:59 hh:min     Mond Untergang:    0:51 hh:min") << kRule;
    EXPECT_EQ(r.printLines, expected);
}

TEST(RiseSetOfDay, MissingEventsDropTheUnit) {
    // 70 N at midsummer: the sun never sets, the twilight never comes.
    const RiseSetReport polar = RiseSetOfDay({70, -9.55, -15, 1999, 6, 21}, 1, kDe);
    EXPECT_EQ(polar.sunRise, label(68, kDe));
    EXPECT_EQ(polar.sunSet, label(68, kDe));
    EXPECT_EQ(polar.twilightBegin, label(69, kDe));
    EXPECT_FALSE(polar.printLines.join('\n').contains(QStringLiteral("hh:min     Sonne")));
    EXPECT_EQ(polar.printLines[8], QStringLiteral("    Sonne Aufgang:    immer sichtbar     Sonne Untergang: immer sichtbar"));

    // 19 June 1999: the moon rises at 10:49 and does not set; the sun keeps its unit.
    const RiseSetReport r = RiseSetOfDay({47.25, -9.55, -15, 1999, 6, 19}, 1, kEn);
    EXPECT_EQ(r.moonRise, QStringLiteral(" 10:49"));
    EXPECT_EQ(r.moonSet, QStringLiteral(" -----"));
    EXPECT_TRUE(r.sunRise.endsWith(QStringLiteral(" hh:min")));
    EXPECT_EQ(r.printLines[11], QStringLiteral("    Moonrise:          10:49     Moonset:          -----"));
}

TEST(RiseSetOfDay, TwilightKindSelectsTheCircleAndTheNote) {
    const RiseSetReport civil = RiseSetOfDay(kSite, 0, kEn);
    const RiseSetReport astro = RiseSetOfDay({60, -9.55, -15, 1999, 6, 21}, 2, kDe);
    EXPECT_EQ(civil.printLines[10], QStringLiteral("                        [ Twilight shown: civil (0.83°-6°)]"));
    // Civil twilight ends long before the nautical one.
    EXPECT_LT(civil.twilightEnd, QStringLiteral(" 21:57"));
    EXPECT_EQ(astro.twilightBegin, label(69, kDe));
    EXPECT_EQ(astro.printLines[10],
              QStringLiteral("                        [ Angezeigte Dämmerungsart: astronom.(12°-18°)]"));
    // A kind outside 0..2 is read as nautical, never as a label outside the table.
    EXPECT_EQ(RiseSetOfDay(kSite, 7, kDe).printLines, RiseSetOfDay(kSite, 1, kDe).printLines);
}

TEST(ParseClockTime, AcceptsClockTextsOnly) {
    EXPECT_DOUBLE_EQ(*ParseClockTime(QStringLiteral("12:00:00")), 12.0);
    EXPECT_DOUBLE_EQ(*ParseClockTime(QStringLiteral("12")), 12.0);
    EXPECT_DOUBLE_EQ(*ParseClockTime(QStringLiteral("7:30")), 7.5);
    EXPECT_DOUBLE_EQ(*ParseClockTime(QStringLiteral(" 0:0:36 ")), 0.01);
    EXPECT_DOUBLE_EQ(*ParseClockTime(QStringLiteral("23:59:59")), 23 + 59 / 60.0 + 59 / 3600.0);
    for (const char* bad : {"", ":", "24:00:00", "12:60", "12:00:60", "12::30", "1:2:3:4", "123", "-1:00",
                            "12.5", "Fehler!", "Eingabe?", "12:3a"})
        EXPECT_FALSE(ParseClockTime(QString::fromLatin1(bad)).has_value()) << bad;
}

TEST(SunPositionAt, TimeKindsMeetAtTrueNoon) {
    const EoTDeclinationReport noon = EoTDeclinationAtNoon(kSite, kDe);
    // True local noon: the sun stands exactly south at 90 - phi + decl.
    const PositionReport trueNoon = SunPositionAt(kSite, 12.0, ClockKind::TrueLocal, kDe);
    EXPECT_EQ(trueNoon.position.azimuth, 0.0);
    EXPECT_NEAR(trueNoon.position.altitude, 90 - 47.25 + noon.declination, 0.001);
    // Mean local time runs EoT behind: true noon at 12:00 - EoT.
    const double meanNoon = 12.0 - noon.eot / 15.0;
    EXPECT_NEAR(SunPositionAt(kSite, meanNoon, ClockKind::MeanLocal, kDe).position.azimuth, 0.0, 0.01);
    // Zone time adds the 5.45 degrees between the longitude and the zone meridian: 21.8 min.
    const double zoneNoon = meanNoon + (-9.55 + 15.0) / 15.0;
    EXPECT_NEAR(SunPositionAt(kSite, zoneNoon, ClockKind::Zone, kDe).position.azimuth, 0.0, 0.01);
    // A kind mixed up with another would put the sun a quarter hour or more off south.
    EXPECT_GT(std::abs(SunPositionAt(kSite, 12.0, ClockKind::Zone, kDe).position.azimuth), 3.0);
    EXPECT_GT(std::abs(SunPositionAt(kSite, zoneNoon, ClockKind::MeanLocal, kDe).position.azimuth), 3.0);
}

TEST(SunPositionAt, TextsAndBlock) {
    const PositionReport r = SunPositionAt(kSite, 10.5, ClockKind::Zone, kDe);
    EXPECT_EQ(r.altitudeText, QStringLiteral("  57.15"));
    EXPECT_EQ(r.azimuthText, QStringLiteral(" -53.47"));
    EXPECT_EQ(r.eotText, QStringLiteral(" -1:38  min:sec"));
    EXPECT_EQ(r.declinationText, QStringLiteral("  23.44 Grad"));
    QStringList expected = Head();
    expected << QStringLiteral("    Uhrzeit:       10:30:00  Zonenzeit")
             << QStringLiteral("    Sonnenhöhe:     57.15 Grad")
             << QStringLiteral("    Azimut:       -53.47 Grad  [negativ bei Abweichung gegen Osten]")
             << QStringLiteral("    Sonnendeklination:   23.44 Grad")
             << QStringLiteral("    Zeitgleichung:      -1:38  min:sec") << kRule;
    EXPECT_EQ(r.printLines, expected);
}

TEST(SunPositionAt, NightAddsTheBelowHorizonLine) {
    const PositionReport night = SunPositionAt(kSite, 23.0 + 59 / 60.0, ClockKind::TrueLocal, kEn);
    EXPECT_LT(night.position.altitude, 0);
    EXPECT_GT(std::abs(night.position.azimuth), 179);  // north, below the pole
    EXPECT_EQ(night.printLines[6], QStringLiteral("    Time:          23:59:00  Local Apparent Time"));
    EXPECT_EQ(night.printLines[11], QStringLiteral("    The sun is below the horizon!"));
    EXPECT_EQ(night.printLines.size(), 13);
    EXPECT_EQ(SunPositionAt(kSite, 9, ClockKind::MeanLocal, kDe).printLines.size(), 12);
}

TEST(SunAtAzimuth, FindsTheTimeOfTheAzimuth) {
    RecordingDialogs dialogs;
    const AzimuthTimeReport r = SunAtAzimuth(kSite, 45, dialogs, kDe);
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join('|').toStdString();
    ASSERT_TRUE(r.search.found);
    EXPECT_EQ(r.timeText, QStringLiteral(" 13:53:44  hh:mm:ss"));
    EXPECT_EQ(r.altitudeText, QStringLiteral(" 60.1 Grad"));
    // The time found puts the sun there within the search's 0.005 degrees.
    const PositionReport check = SunPositionAt(kSite, r.search.zoneTime, ClockKind::Zone, kDe);
    EXPECT_NEAR(check.position.azimuth, 45, 0.01);
    QStringList expected = Head();
    expected << QStringLiteral("    Azimut:        45.00 Grad  [negativ bei Abweichung gegen Osten]")
             << QStringLiteral("    Sonnenstand erreicht um: 13:53:44  hh:mm:ss")
             << QStringLiteral("    Sonnenhöhe:    60.1 Grad") << kRule;
    EXPECT_EQ(r.printLines, expected);

    // Azimuth 0 is the meridian transit: true noon in zone time, 12:23:27 that day.
    const AzimuthTimeReport south = SunAtAzimuth(kSite, 0, dialogs, kDe);
    const double zoneNoon = 12.0 - EoTDeclinationAtNoon(kSite, kDe).eot / 15.0 + 5.45 / 15.0;
    EXPECT_NEAR(Minutes(south.search.zoneTime, zoneNoon), 0.0, 0.1);
}

TEST(SunAtAzimuth, UnreachedAzimuthLeavesTheTimeEmpty) {
    // At 10 N in June the sun passes the meridian north of the zenith: never due south.
    RecordingDialogs dialogs;
    const AzimuthTimeReport r = SunAtAzimuth({10, -9.55, -15, 1999, 6, 21}, 0, dialogs, kEn);
    EXPECT_FALSE(r.search.found);
    EXPECT_TRUE(r.timeText.isEmpty());
    EXPECT_TRUE(r.altitudeText.isEmpty());
    EXPECT_EQ(dialogs.texts(), (QStringList{message(44, kEn), message(24, kEn)}));
    EXPECT_EQ(r.printLines.mid(6), (QStringList{QStringLiteral("    Azimuth:        0.00 deg   [negative for deviation towards east]"),
                                                QStringLiteral("    Sun position reached at: -----"), kRule}));
}

TEST(SunAtAzimuth, AzimuthReachedAtNightSaysSo) {
    // North-east in December is passed long before sunrise.
    RecordingDialogs dialogs;
    const AzimuthTimeReport r = SunAtAzimuth({47.25, -9.55, -15, 1999, 12, 21}, -135, dialogs, kDe);
    ASSERT_TRUE(r.search.found);
    EXPECT_LT(r.search.altitude, 0);
    EXPECT_EQ(r.altitudeText, QStringLiteral("-60.1 Grad"));
    EXPECT_EQ(r.printLines.mid(8), (QStringList{QStringLiteral("    Sonnenhöhe:   -60.1 Grad"),
                                                QStringLiteral("    Die Sonne steht unter dem Horizont!"), kRule}));
}

}  // namespace
}  // namespace zorva
