// zorva-cli draw --shadow: the sun's shadow of a moment over the dial in every output, a
// night or a moment that does not exist said plainly.
#include "cli_run.h"

#include "dials/dial_constructions.h"
#include "dials/dial_render.h"
#include "dials/live_shadow.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <string_view>
#include <gtest/gtest.h>

namespace zorva::cli {
namespace {

using testing_support::CliRun;
using testing_support::run;

using testing_support::Read;

class DrawShadow : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    CliRun draw(const QString& out, const QString& shadow = {}, const QString& dial = QStringLiteral("h")) {
        QStringList args{QStringLiteral("--lat"), QStringLiteral("47.25N"), QStringLiteral("--lon"), QStringLiteral("9.55E"),
                         QStringLiteral("--zone"), QStringLiteral("15E"), QStringLiteral("draw"), QStringLiteral("--dial"),
                         dial, QStringLiteral("--out"), path(out)};
        if (!shadow.isNull()) args << QStringLiteral("--shadow") << shadow;
        return run(args);
    }
    QTemporaryDir dir_;
};

TEST_F(DrawShadow, EveryOutputCarriesTheShadowOfADayMoment) {
    const QString day = QStringLiteral("2027-06-21 10:30");
    for (const char* suffix : {"png", "svg", "pdf", "plt", "dxf"}) {
        const QString plain = QStringLiteral("plain.") + QLatin1String(suffix);
        const QString shaded = QStringLiteral("shadow.") + QLatin1String(suffix);
        const CliRun a = draw(plain);
        const CliRun b = draw(shaded, day);
        ASSERT_EQ(a.status, kOk) << suffix << a.err.toStdString();
        ASSERT_EQ(b.status, kOk) << suffix << b.err.toStdString();
        EXPECT_FALSE(b.err.contains(QStringLiteral("Schatten"))) << suffix << b.err.toStdString();
        const QByteArray without = Read(path(plain)), with = Read(path(shaded));
        ASSERT_FALSE(without.isEmpty()) << suffix;
        EXPECT_NE(with, without) << suffix;
    }
    // The plot is the dial's own, with the shadow's strokes added before its end.
    const QByteArray plot = Read(path(QStringLiteral("shadow.plt"))), bare = Read(path(QStringLiteral("plain.plt")));
    EXPECT_GT(plot.size(), bare.size());
    EXPECT_TRUE(plot.startsWith(bare.left(bare.size() / 2)));
}

TEST_F(DrawShadow, EveryFamilyDrawsItsShadowIntoEveryOutput) {
    // Quadrants, cylinders, the Hidokai, the azimuth and ring dials, the polar-style cylinder,
    // the bi-azimuthal plate, the cone-shadow dial, the analemmatic and the bifilar dials: the
    // shadow (plumb line, light spot, gnomon on the date, threads) is added to each file.
    for (const char* dial : {"q0", "q1", "q2", "z0", "z1", "z2", "k", "a", "r", "c0", "m0", "analemmatic", "walk-on",
                             "bifilar", "bifilar-wall"}) {
        // The polar-style cylinder's screen shows a part of its development: late autumn, noon.
        const QString day = QString::fromLatin1(dial == std::string_view("z2") ? "2027-11-05 12:40" : "2027-05-12 14:30");
        for (const char* suffix : {"png", "svg", "plt", "dxf"}) {
            const QString plain = QStringLiteral("%1-plain.%2").arg(QLatin1String(dial), QLatin1String(suffix));
            const QString shaded = QStringLiteral("%1-sun.%2").arg(QLatin1String(dial), QLatin1String(suffix));
            const CliRun a = draw(plain, {}, QLatin1String(dial));
            const CliRun b = draw(shaded, day, QLatin1String(dial));
            ASSERT_EQ(a.status, kOk) << dial << " " << suffix << a.err.toStdString();
            ASSERT_EQ(b.status, kOk) << dial << " " << suffix << b.err.toStdString();
            // Standard error says nothing of the shadow: it fell on the dial.
            EXPECT_FALSE(b.err.contains(QStringLiteral("Schatten"))) << dial << " " << suffix << b.err.toStdString();
            EXPECT_NE(Read(path(shaded)), Read(path(plain))) << dial << " " << suffix;
        }
    }
}

TEST_F(DrawShadow, TheNodusDotSitsWhereTheShadowFallsInTheImage) {
    ASSERT_EQ(draw(QStringLiteral("n.png"), QStringLiteral("2027-04-20 14:00")).status, kOk);
    const QImage image(path(QStringLiteral("n.png")));
    ASSERT_FALSE(image.isNull());
    // The same state and request as the command line's: the start-up state at that site.
    DialState s = StartupState();
    s.dialType = 'h';
    s.latitude = 47.25;
    s.longitude = -9.55;
    s.zoneMeridian = -15;
    const GnomonPlacement g = DefaultGnomonPlacement(s, image.width(), image.height());
    DialRequest r;
    r.clientWidth = image.width();
    r.clientHeight = image.height();
    r.originX = g.originX;
    r.originY = g.originY;
    const CastShadow shadow = ShadowOnDial(DialContext(s), r, {2027, 4, 20, 14.0});
    ASSERT_EQ(shadow.status, ShadowStatus::Cast);
    const QPoint at = shadow.nodus->toPoint();
    ASSERT_TRUE(image.rect().contains(at));
    EXPECT_LT(qGray(image.pixel(at)), 60);
    // Afternoon in the north: the shadow points north-east, up and right of the rod's foot.
    EXPECT_GT(at.x(), g.originX);
    EXPECT_LT(at.y(), g.originY);
}

TEST_F(DrawShadow, NightDrawsTheDialAloneAndSaysWhyInTheUsersLanguage) {
    ASSERT_EQ(draw(QStringLiteral("plain.png")).status, kOk);
    const CliRun night = draw(QStringLiteral("night.png"), QStringLiteral("2027-01-10 02:00"));
    ASSERT_EQ(night.status, kOk);
    EXPECT_TRUE(night.err.contains(QStringLiteral("die Sonne ist untergegangen, kein Schatten"))) << night.err.toStdString();
    EXPECT_EQ(QImage(path(QStringLiteral("night.png"))), QImage(path(QStringLiteral("plain.png"))));
    const CliRun english = run({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--lat"), QStringLiteral("47.25N"),
                                QStringLiteral("--lon"), QStringLiteral("9.55E"), QStringLiteral("--zone"), QStringLiteral("15E"),
                                QStringLiteral("draw"), QStringLiteral("--dial"), QStringLiteral("h"), QStringLiteral("--out"),
                                path(QStringLiteral("night-en.png")), QStringLiteral("--shadow"), QStringLiteral("2027-01-10 02:00")});
    ASSERT_EQ(english.status, kOk);
    EXPECT_TRUE(english.err.contains(QStringLiteral("the sun is down, no shadow"))) << english.err.toStdString();
}

TEST_F(DrawShadow, AMomentThatDoesNotExistIsABadCommandLine) {
    for (const char* bad : {"2027-02-30 10:00", "2027-06-21 25:00", "tomorrow", ""}) {
        const CliRun r = draw(QStringLiteral("bad.png"), QString::fromLatin1(bad));
        EXPECT_EQ(r.status, kBadCommandLine) << bad;
        EXPECT_TRUE(r.err.contains(QStringLiteral("--shadow"))) << bad;
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("bad.png")))) << bad;
    }
}

}  // namespace
}  // namespace zorva::cli
