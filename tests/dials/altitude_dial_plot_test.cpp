// Plots of the altitude dials of the cylinder family: the files a dial maker cuts from. A DXF
// reads in an independent reader (python3-ezdxf) with the scale true to size in
// millimetres; an HPGL file renders in hp2xx and every stroke stays on the sheet.
#include "dials/cylinder_dial.h"
#include "dials/dial_constructions.h"
#include "plot/plot_stream.h"
#include "support/plot_readers.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>

namespace zorva::test {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

DialState Shepherd() {
    DialState s = StartupState();
    s.dialType = 'z';
    s.cylinderKind = 0;
    s.shepherdGnomon = 70;
    s.monthScaleLength = 200;
    s.altitudeLines = true;
    s.temporalHours = true;
    s.lineWidth = '2';
    return s;
}

QByteArray PlotOf(const DialState& s, RecordingDialogs& d) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    EXPECT_TRUE(ConstructionFor(s)->writePlot(s, stream, d));
    return buffer.data();
}

TEST(AltitudeDialPlots, ShepherdsDialPlotIsOneLineOnTheSheet) {
    RecordingDialogs d;
    const QByteArray plot = PlotOf(Shepherd(), d);
    EXPECT_TRUE(plot.startsWith("IN;VS 1;PA;"));
    EXPECT_TRUE(plot.endsWith(";LT;IN;"));
    EXPECT_FALSE(plot.contains('\n'));
    EXPECT_TRUE(plot.contains(";PW 1;"));  // line width 2 for the hour lines
    EXPECT_TRUE(plot.contains("LBZylindersonnenuhr\x03"));
    EXPECT_TRUE(plot.contains("LBZeigerlaenge =    70 mm\x03"));
    // Every pen-up and pen-down point lies on the sheet.
    static const QRegularExpression strokes(QStringLiteral(";P[UD]([ 0-9-]+)"));
    int points = 0;
    for (const auto& m : strokes.globalMatch(QString::fromLatin1(plot))) {
        const QStringList v = m.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_EQ(v.size() % 2, 0) << m.captured(0).toStdString();
        for (qsizetype i = 0; i < v.size(); i += 2) {
            EXPECT_GE(v[i].toInt(), 0);
            EXPECT_LE(v[i].toInt(), kSheetWidth);
            EXPECT_GE(v[i + 1].toInt(), 0);
            EXPECT_LE(v[i + 1].toInt(), kSheetHeight);
            ++points;
        }
    }
    EXPECT_GT(points, 500);
}

// Saves the dial as DXF and reads it back: the width and height in millimetres of every
// polyline and line; fails the test when the reader finds errors or strokes off the sheet.
std::vector<QSizeF> DxfBoxes(const DialState& state) {
    std::vector<QSizeF> boxes;
    const QString python = PythonWithEzdxf();
    if (python.isEmpty()) return boxes;
    QTemporaryDir dir;
    RecordingDialogs d;
    PlotSaveRequest r;
    r.fileName = dir.filePath(QStringLiteral("dial.dxf"));
    r.format = PlotFormat::Dxf;
    r.highResolution = true;
    EXPECT_TRUE(SaveDialPlot(state, r, d).ok) << d.texts().join(QLatin1Char('|')).toStdString();
    const char* script = R"(
import sys, ezdxf
from ezdxf import bbox
doc = ezdxf.readfile(sys.argv[1])
print(len(doc.audit().errors))
ext = bbox.extents(doc.modelspace(), fast=True)
print(f"{ext.extmin.x:.3f} {ext.extmin.y:.3f} {ext.extmax.x:.3f} {ext.extmax.y:.3f}")
for e in doc.modelspace():
    if e.dxftype() in ("LWPOLYLINE", "POLYLINE", "LINE"):
        b = bbox.extents([e], fast=True)
        print(f"{b.extmax.x - b.extmin.x:.3f} {b.extmax.y - b.extmin.y:.3f}")
)";
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), r.fileName});
    EXPECT_TRUE(reader.waitForFinished(180000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() < 3) {
        ADD_FAILURE() << "no drawing in the DXF";
        return boxes;
    }
    EXPECT_EQ(lines[0], QStringLiteral("0"));
    const QStringList ext = lines[1].split(QLatin1Char(' '));
    EXPECT_GE(ext[0].toDouble(), -0.01);
    EXPECT_GE(ext[1].toDouble(), -0.01);
    EXPECT_LE(ext[2].toDouble(), 403.93);
    EXPECT_LE(ext[3].toDouble(), 275.96);
    for (qsizetype k = 2; k < lines.size(); ++k) {
        const QStringList f = lines[k].split(QLatin1Char(' '));
        boxes.emplace_back(f[0].toDouble(), f[1].toDouble());
    }
    return boxes;
}

bool HasBox(const std::vector<QSizeF>& boxes, double w, double h) {
    for (const QSizeF& b : boxes)
        if (std::abs(b.width() - w) < 0.05 && std::abs(b.height() - h) < 0.05) return true;
    return false;
}

TEST(AltitudeDialPlots, ShepherdsDialDxfHasTheScaleTrueToSize) {
    if (PythonWithEzdxf().isEmpty()) GTEST_SKIP() << "python3-ezdxf is not installed";
    // The scale: 200 mm round the cylinder; 1.05 times the shadow of the highest sun
    // (90 - 47.25 + 23.45 = 66.2 degrees) down it: 70 mm x tan 66.2 x 1.05 = 166.65 mm.
    const double depth = 70 * std::tan(66.2 * kDeg) * 1.05;
    EXPECT_NEAR(depth, 166.65, 0.01);
    EXPECT_TRUE(HasBox(DxfBoxes(Shepherd()), 200, depth));
    // A cylinder of 270 mm, reduced to 250 mm on a page, keeps its circumference on the sheet.
    DialState large = Shepherd();
    large.monthScaleLength = 270;
    EXPECT_TRUE(HasBox(DxfBoxes(large), 270, depth));
}

TEST(AltitudeDialPlots, HidokaiDxfHasItsFacesTrueToSize) {
    if (PythonWithEzdxf().isEmpty()) GTEST_SKIP() << "python3-ezdxf is not installed";
    DialState s = Shepherd();
    s.dialType = 'k';
    s.hidokaiGnomon = 25;
    s.hidokaiHorizontalScale = 180;
    s.hidokaiMonthScale = 120;
    s.hidokaiVerticalDial = true;
    // 21 June to 21 December: 183 days of 120/365 mm = 60.16 mm down the page; the floor is
    // 180 mm across, the wall as high as the nodus, 25 mm.
    const std::vector<QSizeF> boxes = DxfBoxes(s);
    EXPECT_TRUE(HasBox(boxes, 180, 60.16));
    EXPECT_TRUE(HasBox(boxes, 25, 60.16));
}

TEST(AltitudeDialPlots, PlotsRenderInHp2xx) {
    if (QStandardPaths::findExecutable(QStringLiteral("hp2xx")).isEmpty()) GTEST_SKIP() << "hp2xx is not installed";
    QTemporaryDir dir;
    RecordingDialogs d;
    std::vector<std::pair<QString, DialState>> dials;
    dials.emplace_back(QStringLiteral("shepherd"), Shepherd());
    DialState whole = Shepherd();
    whole.monthScaleSideBySide = true;
    whole.monthScaleLength = 300;
    whole.expertMode = whole.babylonianHours = whole.italianHours = true;
    dials.emplace_back(QStringLiteral("shepherd whole year"), whole);
    DialState hidokai = Shepherd();
    hidokai.dialType = 'k';
    dials.emplace_back(QStringLiteral("hidokai"), hidokai);
    hidokai.monthScaleSideBySide = true;
    hidokai.hidokaiVerticalDial = false;
    dials.emplace_back(QStringLiteral("hidokai whole year"), hidokai);
    for (const auto& [name, state] : dials) {
        PlotSaveRequest r;
        r.fileName = dir.filePath(name + QStringLiteral(".plt"));
        ASSERT_TRUE(SaveDialPlot(state, r, d).ok) << name.toStdString();
        const QString png = dir.filePath(name + QStringLiteral(".png"));
        ExpectHp2xxDrawsWithoutComplaint(r.fileName, png, name.toStdString());
    }
}

}  // namespace
}  // namespace zorva::test
