// The decoded drawing context: clamped options, the site rules, the reference year's
// zodiac declinations whatever the state carries, the shared interpolated ephemeris, and
// the text kinds of the painters.
#include "dials/dial_context.h"

#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_position.h"
#include "dials/canvas_painter.h"
#include "dials/hat_dial.h"
#include "dials/planar_plot.h"
#include "dials/plot_painter.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

namespace zorva::test {
namespace {

TEST(DialContext, OptionCharactersAreDecodedAndClamped) {
    DialState s = StartupState();
    struct Case {
        char stored;
        int width;
    };
    // A damaged file can carry any character; a pen is always 1..9 wide.
    for (const Case c : {Case{'1', 1}, Case{'4', 4}, Case{'9', 9}, Case{'0', 1}, Case{'x', 9}, Case{' ', 1}}) {
        s.lineWidth = c.stored;
        EXPECT_EQ(DialContext(s).lineWidth, c.width) << c.stored;
    }
    s.timeSystem = 7;
    EXPECT_EQ(DialContext(s).timeSystem, TimeSystem::Temporal);
    s.timeSystem = -3;
    EXPECT_EQ(DialContext(s).timeSystem, TimeSystem::LocalApparent);
    s.timeSystem = 1;
    EXPECT_EQ(DialContext(s).timeSystem, TimeSystem::Zone);
    s.plotLineWeight = 0;
    EXPECT_EQ(DialContext(s).plotLineWeight, 1);
    s.plotLineWeight = 12;
    EXPECT_EQ(DialContext(s).plotLineWeight, 3);
    // Ten-minute lines are stored as '4' by the list and as '6' by older files.
    for (char interval : {'4', '6'}) {
        s.hourLineInterval = interval;
        EXPECT_EQ(DialContext(s).linesPerHour, 6) << interval;
    }
    s.dialType = 'v';
    EXPECT_TRUE(IsPlanarKind(DialContext(s).kind));
    s.dialType = 'z';
    EXPECT_EQ(DialContext(s).kind, DialKind::Cylinder);
    EXPECT_FALSE(IsPlanarKind(DialContext(s).kind));
    s.dialType = '?';
    EXPECT_EQ(DialContext(s).kind, DialKind::Other);
}

TEST(DialContext, LatitudeIsNeverZeroAndTheZoneIsFarBeyondFourteenDegrees) {
    EXPECT_EQ(NonZeroLatitude(0.0), 1e-6);
    EXPECT_EQ(NonZeroLatitude(-4e-6), 1e-6);
    EXPECT_EQ(NonZeroLatitude(1e-5), 1e-5);
    EXPECT_EQ(NonZeroLatitude(-35.0), -35.0);
    DialState s = StartupState();
    s.latitude = 0.0;
    EXPECT_EQ(DialContext(s).latitude, 1e-6);

    EXPECT_FALSE(ZoneFarFromLongitude(-9.59, -15.0));
    EXPECT_FALSE(ZoneFarFromLongitude(1.0, -13.0));   // 14 degrees exactly: near
    EXPECT_TRUE(ZoneFarFromLongitude(1.0, -13.5));
    EXPECT_TRUE(ZoneFarFromLongitude(-149.0, -120.0));
    s.longitude = -149.0;
    s.zoneMeridian = -150.0;
    EXPECT_FALSE(DialContext(s).zoneFarFromLongitude);
}

TEST(DialContext, ZodiacDeclinationsAreThoseOfTheReferenceYearWhateverTheStateCarries) {
    DialState s = StartupState();
    s.referenceYear = 1850;
    s.zodiacDeclinations = {0, -1, -1, -1, 0, 1, 1, 1};  // stale, as zorva-cli used to leave them
    const DialContext c(s);
    const ZodiacTable table = ZodiacDeclinations(1850);
    for (size_t i = 1; i < 8; ++i) EXPECT_EQ(c.zodiacDeclinations()[i], table.zodiac[i]) << i;
}

// Source of the expected values: SolarDeclinationEoT itself; the interpolation through three
// half-day nodes stays within 1e-5 degrees of it.
TEST(SunEphemeris, InterpolationStaysWithinATenThousandthOfADegree) {
    constexpr double kTolerance = 1e-5;  // degrees
    const SunEphemeris e(2024, -15.0);
    for (int day : {-20, 1, 80, 172, 266, 355, 366, 380}) {
        for (double u : {-0.5, -0.3, 0.0, 0.17, 0.49}) {
            const DeclinationEoT direct = SolarDeclinationEoT(2024, day + u);
            const DeclinationEoT a = e.at(day, u);
            EXPECT_NEAR(a.declination, direct.declination, kTolerance) << day << " " << u;
            EXPECT_NEAR(a.eot, direct.eot, kTolerance) << day << " " << u;
            // The nearest day's nodes give the same instant.
            const DeclinationEoT b = e.at(day + u);
            EXPECT_NEAR(b.declination, direct.declination, kTolerance) << day << " " << u;
        }
    }
    // Far outside the cached days the values are still right (computed, not cached).
    const DeclinationEoT far = e.at(5000, 0.25);
    EXPECT_NEAR(far.declination, SolarDeclinationEoT(2024, 5000.25).declination, kTolerance);
}

TEST(SunEphemeris, NoonDeclinationIsThatOfTwelveZoneTime) {
    for (double zone : {-15.0, 0.0, 75.0, -150.0}) {
        const SunEphemeris e(2013, zone);
        for (int day : {1, 100, 172, 300}) {
            EXPECT_EQ(e.noonDeclination(day),
                      SunPositionNoonEphemeris(2013, day, 12.0, 47.0, zone, zone, false).declination)
                << zone << " " << day;
            EXPECT_NEAR(e.zoneFraction(12.0), zone / 360, 1e-15);
        }
    }
}

QString HatPlot(const DialState& s) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    RecordingDialogs dialogs;
    EXPECT_TRUE(kHatDial.writePlot(s, stream, dialogs));
    return QString::fromLatin1(buffer.data());
}

TEST(DialContext, HatDialPlotDoesNotDependOnTheZodiacArrayTheStateCarries) {
    DialState s = StartupState();
    s.dialType = 'z';
    s.cylinderKind = 1;
    s.referenceYear = 2024;
    s.zodiacDeclinations = ZodiacDeclinations(2024).zodiac;  // as the window keeps them
    const QString window = HatPlot(s);
    s.zodiacDeclinations = DialState().zodiacDeclinations;  // as a fresh command line had them
    EXPECT_EQ(HatPlot(s), window);
    s.referenceYear = 1700;  // another year: other date lines
    EXPECT_NE(HatPlot(s), window);
}

QString PlanarPlot(const DialState& s) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    RecordingDialogs dialogs;
    EXPECT_TRUE(WritePlanarDialPlot(s, stream, {}, dialogs));
    return QString::fromLatin1(buffer.data());
}

TEST(DialContext, AnUnreadableLineWidthPlotsAsTheNarrowestPen) {
    DialState s = StartupState();
    s.lineWidth = '1';
    const QString narrow = PlanarPlot(s);
    s.lineWidth = '0';
    EXPECT_EQ(PlanarPlot(s), narrow);
    s.lineWidth = '3';
    EXPECT_NE(PlanarPlot(s), narrow);
}

TEST(PainterTextKind, PlotWritesSignsInItsSymbolSet) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    PlotPainter painter(stream, 1);
    painter.moveTo(0, 0);
    painter.lineTo(40, 0);
    painter.setTextKind(TextKind::ZodiacSigns);
    EXPECT_EQ(painter.zodiacSign(0), QStringLiteral("^"));   // Aries
    EXPECT_EQ(painter.zodiacSign(11), QStringLiteral("i"));  // Pisces
    EXPECT_EQ(painter.zodiacSign(-1), painter.zodiacSign(11));
    painter.setTextKind(TextKind::Plain);
    painter.liftPen();
    EXPECT_EQ(QString::fromLatin1(buffer.data()), QStringLiteral(";SP 1;PU 0 11038;PD 40 11038;SA;SS;PU;"));
}

TEST(PainterTextKind, CanvasDrawsTheUnicodeSignsAndReturnsToItsFont) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter qp(&image);
    CanvasPainter canvas(qp, DialState::defaultColours(), QRectF(0, 0, 200, 100));
    canvas.setFont(QStringLiteral("Arial"), 20, false);
    const QString word = QStringLiteral("Widder");
    const double plainWidth = canvas.textWidth(word);
    EXPECT_EQ(canvas.zodiacSign(0), QString(QChar(0x2648)) + QChar(0xFE0E));
    canvas.setTextKind(TextKind::ZodiacSigns);
    EXPECT_NE(canvas.textWidth(word), plainWidth);  // another family
    canvas.setFont(QStringLiteral("Arial"), 20, false);  // a size change keeps the signs
    EXPECT_NE(canvas.textWidth(word), plainWidth);
    canvas.text(10, 10, canvas.zodiacSign(4), TextAnchor::TopLeft, 0.0);
    canvas.setTextKind(TextKind::Plain);
    EXPECT_EQ(canvas.textWidth(word), plainWidth);
    qp.end();
    bool inked = false;
    for (int y = 10; y < 40 && !inked; ++y)
        for (int x = 10; x < 40 && !inked; ++x) inked = image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(inked);
}

}  // namespace
}  // namespace zorva::test
