// The table of constructions every window and command draws and saves through.
#include "dials/dial_constructions.h"

#include "dials/dial_render.h"
#include "text/recording_dialogs.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorva {
namespace {

TEST(DialConstructions, PlanarLettersDrawThePlanarDialAndSaveWithTheirListing) {
    DialState s = StartupState();
    for (char letter : {'h', 'v', 'i'}) {
        s.dialType = letter;
        for (int umbrella : {0, 1}) {
            s.umbrellaDial = umbrella;
            const DialConstruction* c = ConstructionFor(s);
            ASSERT_NE(c, nullptr) << letter;
            EXPECT_TRUE(c->planar);
            EXPECT_TRUE(CanSavePlot(s));
        }
    }
}

TEST(DialConstructions, ALetterWithoutConstructionDrawsOnlyTheFrameAndSavesNoFile) {
    DialState s = StartupState();
    s.dialType = 'b';
    EXPECT_EQ(ConstructionFor(s), nullptr);
    EXPECT_FALSE(CanSavePlot(s));

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    PlotSaveRequest request;
    request.fileName = dir.filePath(QStringLiteral("none.plt"));
    EXPECT_FALSE(SaveDialPlot(s, request, dialogs).ok);
    EXPECT_FALSE(QFile::exists(request.fileName));

    // The frame is there, the inside stays white.
    const QImage image = RenderDialImage(s, QSize(400, 300), dialogs);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(200, 150), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace zorva
