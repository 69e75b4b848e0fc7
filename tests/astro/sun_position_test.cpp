#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_position.h"
#include "support/test_support.h"
#include "text/texts.h"

#include <cmath>

namespace zorva {
namespace {

TEST(HorizontalFromHourAngle, MeridianConventions) {
    // Noon at 47.25 N: the sun stands due south; at 10 N on a June noon it stands north.
    EXPECT_EQ(HorizontalFromHourAngle(0, 23.44, 47.25).azimuth, 0.0);
    EXPECT_EQ(HorizontalFromHourAngle(0, 23.44, 10).azimuth, 180.0);
    EXPECT_NEAR(HorizontalFromHourAngle(0, 23.44, 47.25).altitude, 90 - 47.25 + 23.44, 1e-6);
    // Sun in the zenith.
    EXPECT_EQ(HorizontalFromHourAngle(0, 20, 20).azimuth, 0.0);
    // Morning east (negative), afternoon west; 6 h at the equinox: due east / west on the horizon.
    const HorizontalPosition am = HorizontalFromHourAngle(-90, 0, 47.25);
    EXPECT_NEAR(am.azimuth, -90, 1e-6);
    EXPECT_NEAR(am.altitude, 0, 1e-6);
    EXPECT_NEAR(HorizontalFromHourAngle(90, 0, 47.25).azimuth, 90, 1e-6);
    // Midnight sun due north.
    EXPECT_NEAR(std::abs(HorizontalFromHourAngle(180, 23.44, 70).azimuth), 180, 1e-6);
    EXPECT_NEAR(HorizontalFromHourAngle(180, 23.44, 70).altitude, 23.44 - 20, 1e-6);
}

TEST(HorizontalFromHourAngle, HourAngleNormalisedBeforeTheSign) {
    const HorizontalPosition p = HorizontalFromHourAngle(-180.0001, 10, 47.25);
    EXPECT_GT(p.azimuth, 179.99);  // +179.9999: west side, not -180
    const HorizontalPosition q = HorizontalFromHourAngle(-30 - 720, 10, 47.25);
    const HorizontalPosition r = HorizontalFromHourAngle(-30, 10, 47.25);
    EXPECT_NEAR(q.azimuth, r.azimuth, 1e-9);
    EXPECT_NEAR(q.altitude, r.altitude, 1e-9);
}

TEST(HorizontalFromHourAngle, AtThePoleTheHourAngleIsTheAzimuth) {
    for (double t : {-150.0, -90.0, -20.0, 45.0, 120.0}) {
        const HorizontalPosition p = HorizontalFromHourAngle(t, 15, 90);
        EXPECT_NEAR(p.azimuth, t, 1e-6) << t;
        EXPECT_NEAR(p.altitude, 15, 1e-6);
    }
    // Nothing becomes NaN at the poles or for a body at the celestial pole.
    for (double phi : {-90.0, 90.0})
        for (double decl : {-90.0, 0.0, 90.0})
            for (double t : {-180.0, -1.0, 0.0, 1.0, 180.0}) {
                const HorizontalPosition p = HorizontalFromHourAngle(t, decl, phi);
                EXPECT_TRUE(std::isfinite(p.altitude) && std::isfinite(p.azimuth)) << phi << " " << decl << " " << t;
            }
}

TEST(EquatorialFromHorizontal, InvertsHorizontalFromHourAngle) {
    for (double phi : {-60.0, -10.0, 20.0, 47.25, 70.0})
        for (double decl : {-23.44, -5.0, 0.0, 11.47, 23.44})
            for (double t = -165; t <= 165; t += 15) {
                if (t == 0) continue;
                const HorizontalPosition h = HorizontalFromHourAngle(t, decl, phi);
                const EquatorialPosition e = EquatorialFromHorizontal(phi, h.altitude, h.azimuth);
                EXPECT_NEAR(e.hourAngle, t, 1e-5) << phi << " " << decl << " " << t;
                EXPECT_NEAR(e.declination, decl, 1e-6) << phi << " " << decl << " " << t;
            }
    const EquatorialPosition east = EquatorialFromHorizontal(47.25, 0, -90);
    EXPECT_NEAR(east.hourAngle, -90, 1e-4);
    EXPECT_NEAR(east.declination, 0, 1e-6);
    const EquatorialPosition west = EquatorialFromHorizontal(47.25, 0, 90 + 360);
    EXPECT_NEAR(west.hourAngle, 90, 1e-4);
    // The nadir of a site in the south: the south celestial pole is below the northern horizon.
    EXPECT_NEAR(EquatorialFromHorizontal(47.25, -47.25, 0).declination, -90, 1e-3);
    EXPECT_TRUE(std::isfinite(EquatorialFromHorizontal(90, 30, 10).hourAngle));
}

TEST(SunPosition, TimeKindsAndEphemerisInstant) {
    const int year = 1999, doy = DayOfYear(1999, 6, 21);
    // 12:00 zone time at 9.55 E with zone -15: the mean sun reaches the meridian 21.8 min later.
    const SunPositionResult zone = SunPosition(year, doy, 12.0, 47.25, -9.55, -15, true);
    const DeclinationEoT de = SolarDeclinationEoT(year, doy - 1.0 / 24);
    EXPECT_DOUBLE_EQ(zone.declination, de.declination);
    EXPECT_DOUBLE_EQ(zone.eot, de.eot);
    const HorizontalPosition expected = HorizontalFromHourAngle(-(-9.55 + 15) + de.eot, de.declination, 47.25);
    EXPECT_DOUBLE_EQ(zone.azimuth, expected.azimuth);
    EXPECT_LT(zone.azimuth, 0);
    // True local noon with lambda = zone and `apparent` clear: the sun is on the meridian.
    EXPECT_EQ(SunPosition(year, doy, 12.0, 47.25, -15, -15, false).azimuth, 0.0);
    // Noon ephemeris: declination of 12:00 zone time whatever the time asked.
    const SunPositionResult morning = SunPositionNoonEphemeris(year, doy, 7.0, 47.25, -9.55, -15, true);
    EXPECT_DOUBLE_EQ(morning.declination, SolarDeclinationEoT(year, doy - 15.0 / 360).declination);
    EXPECT_LT(morning.azimuth, -90);  // June morning: north of east
    const HorizontalPosition fixed = SunPositionForDeclination(12.0 + 5.45 / 15, 47.25, -9.55, -15, 0);
    EXPECT_NEAR(fixed.altitude, 90 - 47.25, 1e-6);
    EXPECT_NEAR(fixed.azimuth, 0, 1e-6);
    EXPECT_GT(SunPositionForDeclination(12.5, 47.25, -9.55, -15, 0).azimuth, 0);
}

TEST(PlaneIsSunlit, FacesTowardAndAwayFromTheSun) {
    // Vertical south wall (normal altitude 0, azimuth 0) at noon: lit; north wall: dark.
    EXPECT_TRUE(PlaneIsSunlit(12, 10, 47.25, 0, 0));
    EXPECT_FALSE(PlaneIsSunlit(12, 10, 47.25, 0, 180));
    // Summer morning at 5 h the sun is north of east: an east wall is lit, a south wall not.
    EXPECT_TRUE(PlaneIsSunlit(5, 23.44, 47.25, 0, -90));
    EXPECT_FALSE(PlaneIsSunlit(5, 23.44, 47.25, 0, 0));
    EXPECT_NEAR(IncidenceCosine(30, 20, 30, 20), 1.0, 1e-12);
    EXPECT_NEAR(IncidenceCosine(0, -90, 0, 90), -1.0, 1e-12);
    EXPECT_NEAR(IncidenceCosine(90, 0, 0, 0), 0.0, 1e-9);
}


TEST(TimeForAzimuth, FindsTheTimeOfEachAzimuth) {
    RecordingDialogs dialogs;
    const int doy = DayOfYear(1999, 6, 21);
    for (double az : {-120.0, -90.0, -45.0, -0.5, 0.0, 30.0, 90.0, 115.0}) {
        const AzimuthTimeResult r = TimeForAzimuth(1999, 6, 21, az, 47.25, -9.55, -15, dialogs, Language::German);
        ASSERT_TRUE(r.found) << az;
        const SunPositionResult p = SunPosition(1999, doy, r.zoneTime, 47.25, -9.55, -15, true);
        EXPECT_NEAR(p.azimuth, az == 0 ? 0.0001 : az, 0.005) << az;
        EXPECT_NEAR(r.altitude, p.altitude, 1e-9);
        EXPECT_TRUE(r.timeText.endsWith(QStringLiteral("  hh:mm:ss")));
    }
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join(QLatin1Char('|')).toStdString();

    // Azimuth 0 means just after the transit: 12:23:27 zone time at 9.55 E on that day.
    const AzimuthTimeResult noon = TimeForAzimuth(1999, 6, 21, 0, 47.25, -9.55, -15, dialogs, Language::German);
    EXPECT_GT(noon.zoneTime, 12.3);
    EXPECT_LT(noon.zoneTime, 12.4);
    EXPECT_EQ(noon.timeText.left(4), QStringLiteral(" 12:"));
    EXPECT_NEAR(noon.altitude, 90 - 47.25 + 23.44, 0.01);
}

TEST(TimeForAzimuth, TimeTextCarriesAFullHour) {
    EXPECT_EQ(FormatAzimuthTime(7.965), QStringLiteral("  7:57:54  hh:mm:ss"));
    EXPECT_EQ(FormatAzimuthTime(12.5), QStringLiteral(" 12:30:00  hh:mm:ss"));
    // 10:59:59.9 rounds to the next hour, never to "10:60:00".
    EXPECT_EQ(FormatAzimuthTime(10.99999), QStringLiteral(" 11:00:00  hh:mm:ss"));
    EXPECT_EQ(FormatAzimuthTime(24.3), QStringLiteral(" 24:18:00  hh:mm:ss"));
}

TEST(TimeForAzimuth, AzimuthOutsideTheDaysBracketIsReported) {
    // 20 E with zone 15 E: at 0:00 the sun has already passed -178 degrees.
    RecordingDialogs dialogs;
    const AzimuthTimeResult r = TimeForAzimuth(1999, 6, 21, -178, 47.25, -20, -15, dialogs, Language::German);
    ASSERT_GE(dialogs.events.size(), 2u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("Fehler: Az1=  -175.52 Azimut= -178.00 Az2=   51.70"));
    EXPECT_EQ(dialogs.events[0].icon, Icon::Error);
    EXPECT_EQ(dialogs.events[1].text, message(31, Language::German) + QStringLiteral("\n\r") + message(32, Language::German));
    EXPECT_TRUE(r.doubtful);
    EXPECT_TRUE(std::isfinite(r.altitude));
}

TEST(TimeForAzimuth, BelowTheHorizonIsStillAnAnswer) {
    // Due north at 47 N in December is reached only at night, shortly after midnight.
    RecordingDialogs dialogs;
    const AzimuthTimeResult r = TimeForAzimuth(1999, 12, 21, 179, 47.0, -9.55, -15, dialogs, Language::German);
    ASSERT_TRUE(r.found);
    EXPECT_GT(r.zoneTime, 24.0);
    EXPECT_LT(r.altitude, -60);
    EXPECT_TRUE(dialogs.events.empty());
}

TEST(TimeForAzimuth, TropicsWarnThatSomeAzimuthsAreNeverReached) {
    // 10 N in June: the sun passes north of the zenith and keeps |azimuth| above 111 degrees.
    RecordingDialogs dialogs;
    const AzimuthTimeResult r = TimeForAzimuth(1999, 6, 21, -150, 10, -9.55, -15, dialogs, Language::English);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, message(44, Language::English));
    EXPECT_EQ(dialogs.events[0].icon, Icon::Warning);
    ASSERT_TRUE(r.found);
    EXPECT_NEAR(SunPosition(1999, 172, r.zoneTime, 10, -9.55, -15, true).azimuth, -150, 0.005);

    dialogs.clear();
    const AzimuthTimeResult never = TimeForAzimuth(1999, 6, 21, -100, 10, -9.55, -15, dialogs, Language::English);
    EXPECT_FALSE(never.found);
    EXPECT_TRUE(never.timeText.isEmpty());
    ASSERT_EQ(dialogs.events.size(), 2u);
    EXPECT_EQ(dialogs.events[1].text, QStringLiteral("Cannot find solution!"));

    // At the poles and at the equator every search ends with a finite answer.
    for (double phi : {-90.0, 0.0, 90.0})
        for (double az : {-179.0, -90.0, 0.0, 90.0, 180.0}) {
            const AzimuthTimeResult x = TimeForAzimuth(1999, 6, 21, az, phi, -9.55, -15, dialogs, Language::German);
            EXPECT_TRUE(std::isfinite(x.altitude));
            EXPECT_EQ(x.found, !x.timeText.isEmpty());
        }
}

}  // namespace
}  // namespace zorva
