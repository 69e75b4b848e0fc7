#include "astro/angles.h"
#include "astro/time_format.h"
#include "support/test_support.h"

#include <cmath>

namespace zorva {
namespace {

TEST(Angles, SignsAndFraction) {
    EXPECT_EQ(Sign(2.5), 1);
    EXPECT_EQ(Sign(-1e-300), -1);
    EXPECT_EQ(Sign(0.0), 0);
    EXPECT_EQ(SignNonZero(0.0), 1);
    EXPECT_EQ(SignNonZero(-0.5), -1);
    EXPECT_DOUBLE_EQ(FracPositive(2.25), 0.25);
    EXPECT_DOUBLE_EQ(FracPositive(-2.25), 0.75);
    EXPECT_EQ(FracPositive(-3.0), 0.0);
    EXPECT_LT(FracPositive(-1e-17), 1.0);
}

TEST(Angles, TrigonometryUsesTheStoredFactor) {
    EXPECT_EQ(kDegToRad, 0.01745329252);
    EXPECT_NEAR(SinDeg(30), 0.5, 1e-11);
    EXPECT_NEAR(CosDeg(60), 0.5, 1e-11);
    EXPECT_NEAR(TanDeg(45), 1.0, 1e-10);
    // With the stored factor cos(90 deg) is a tiny number, not 0: the tangent is huge
    // and finite, its sign follows that residue.
    const double t90 = TanDeg(90);
    EXPECT_TRUE(std::isfinite(t90));
    EXPECT_GT(std::abs(t90), 1e10);
    EXPECT_TRUE(std::isfinite(TanDeg(-90)));
    EXPECT_TRUE(std::isfinite(TanDeg(270)));
    EXPECT_NEAR(AtanDeg(1), 45.0, 1e-9);
    EXPECT_NEAR(AsinDeg(1.0000000001), 90.0, 1e-9);  // limited, never NaN
    EXPECT_NEAR(AcosDeg(-1.0000000001), 180.0, 1e-9);
}

TEST(Angles, Normalisation) {
    EXPECT_EQ(NormalizeAngle180(180.0), 180.0);
    EXPECT_EQ(NormalizeAngle180(-180.0), -180.0);
    EXPECT_NEAR(NormalizeAngle180(-180.0001), 179.9999, 1e-9);
    EXPECT_NEAR(NormalizeAngle180(540.5), 180.5 - 360.0, 1e-9);
    EXPECT_NEAR(NormalizeAngle180(-725.0), -5.0, 1e-9);
    EXPECT_EQ(NormalizeAngle360(360.0), 360.0);
    EXPECT_EQ(NormalizeAngle360(0.0), 0.0);
    EXPECT_NEAR(NormalizeAngle360(-30.0), 330.0, 1e-12);
    EXPECT_NEAR(NormalizeAngle360(725.0), 5.0, 1e-9);
    // Far-off and non-finite values end at once instead of looping.
    const double far = NormalizeAngle180(1e300);
    EXPECT_LE(std::abs(far), 180.0);
    EXPECT_TRUE(std::isnan(NormalizeAngle180(std::nan(""))));
    EXPECT_TRUE(std::isinf(NormalizeAngle360(INFINITY)));
}

TEST(FormatMinSec, RoundsHalfAwayAndCarries) {
    EXPECT_EQ(FormatMinSec(0.25), QStringLiteral("  1:00"));
    EXPECT_EQ(FormatMinSec(-3.5), QStringLiteral("-14:00"));
    EXPECT_EQ(FormatMinSec(-0.1), QStringLiteral(" -0:24"));
    EXPECT_EQ(FormatMinSec(-0.2499), QStringLiteral(" -1:00"));
    EXPECT_EQ(FormatMinSec(0.0), QStringLiteral("  0:00"));
    EXPECT_EQ(FormatMinSec(-0.001), QStringLiteral("  0:00"));  // -0.24 s: no sign
    EXPECT_EQ(FormatMinSec(4.105), QStringLiteral(" 16:25"));   // 16.42 min
    EXPECT_EQ(FormatMinSec(0.2499), QStringLiteral("  1:00"));  // 59.976 s carried
    EXPECT_EQ(FormatMinSec(-0.825), QStringLiteral(" -3:18"));
    EXPECT_EQ(FormatMinSec(30.0), QStringLiteral("120:00"));
    EXPECT_EQ(FormatMinSec(std::nan("")).size(), 6);
}

TEST(FormatHourMinSec, CarriesSecondsAndMinutes) {
    EXPECT_EQ(FormatHourMinSec(12.5), QStringLiteral("12:30:00"));
    EXPECT_EQ(FormatHourMinSec(-1.25), QStringLiteral("-1:15:00"));
    EXPECT_EQ(FormatHourMinSec(1.0 + 1.0 / 3600 * 59.7), QStringLiteral("1:01:00"));
    EXPECT_EQ(FormatHourMinSec(6.99999), QStringLiteral("7:00:00"));
    EXPECT_EQ(FormatHourMinSec(0.0), QStringLiteral("0:00:00"));
}

TEST(FormatHourMin, RoundsToTheWholeMinute) {
    EXPECT_EQ(FormatHourMin(6.9999), QStringLiteral("  7:00"));
    EXPECT_EQ(FormatHourMin(4.4166), QStringLiteral("  4:25"));
    EXPECT_EQ(FormatHourMin(20.35), QStringLiteral(" 20:21"));
    EXPECT_EQ(FormatHourMin(0.0), QStringLiteral("  0:00"));
    EXPECT_EQ(FormatHourMin(23.9999), QStringLiteral(" 24:00"));
    // Every minute of the day survives the trip through binary fractions.
    for (int minute = 0; minute < 24 * 60; ++minute) {
        const QString expected = QStringLiteral("%1:%2").arg(minute / 60, 3).arg(minute % 60, 2, 10, QLatin1Char('0'));
        ASSERT_EQ(FormatHourMin(minute / 60.0), expected);
        ASSERT_EQ(FormatHourMin(minute / 60.0 - 0.49 / 60), expected);
    }
}

}  // namespace
}  // namespace zorva
