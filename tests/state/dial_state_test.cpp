#include "state/dial_state.h"

#include <gtest/gtest.h>

namespace zorva {
namespace {

TEST(DialState, StartupValuesAreTheDocumentedDefaults) {
    const DialState s = StartupState();
    EXPECT_DOUBLE_EQ(s.latitude, 47.25);
    EXPECT_DOUBLE_EQ(s.longitude, -9.59);
    EXPECT_DOUBLE_EQ(s.zoneMeridian, -15.0);
    EXPECT_EQ(s.referenceYear, 2013);
    EXPECT_EQ(s.dialType, 'v');
    EXPECT_FALSE(s.umbrellaDial);
    EXPECT_EQ(s.language, Language::German);
    EXPECT_TRUE(s.expertMode);
    EXPECT_DOUBLE_EQ(s.gnomonLength, 35.0);
    EXPECT_DOUBLE_EQ(s.wallDeclination, -11.7);
    EXPECT_DOUBLE_EQ(s.planeInclination, 25.4589);
    EXPECT_DOUBLE_EQ(s.umbrellaCircleRatio, 0.35);
    EXPECT_EQ(s.dateLineMode, '0');
    EXPECT_EQ(s.hourLineInterval, '1');
    EXPECT_EQ(s.lineWidth, '1');
    EXPECT_EQ(s.hourFrom, 8);
    EXPECT_EQ(s.hourTo, 19);
    EXPECT_EQ(s.italianTo, 24);
    EXPECT_EQ(s.altitudeInterval, 1);
    EXPECT_DOUBLE_EQ(s.zoomStep * s.zoomStep * s.zoomStep * s.zoomStep, 2.0);
    EXPECT_EQ(s.colours[0], 0x000000u);
    EXPECT_EQ(s.colours[11], 0xDFE0A0u);  // pale yellow 223/224/160
    EXPECT_EQ(s.plotLineWeight, 1);
    EXPECT_EQ(s.twilightKind, 1);  // nautical in both calculation windows
    EXPECT_DOUBLE_EQ(s.zodiacDeclinations[7], 23.44);
    EXPECT_DOUBLE_EQ(s.zodiacDeclinations[4], 0.0);
}

TEST(DialState, LoadDefaultsResetsSiteAndDimensionsButKeepsTheUsersChoices) {
    DialState s = StartupState();
    // Fields that "load defaults" restores.
    s.latitude = -33.9;
    s.referenceYear = 1999;
    s.gnomonLength = 120;
    s.hourFrom = 5;
    s.dateLineMode = '3';
    s.apparentTimeLines = false;
    s.plotLineWeight = 3;
    // Fields it keeps.
    s.dialType = 'q';
    s.umbrellaDial = true;
    s.cylinderKind = 2;
    s.babylonianHours = true;
    s.temporalHours = true;
    s.meanTimeLines = true;
    s.monthScaleLength = 300;
    s.observerDistanceCm = 55;
    s.lineWidth = '3';
    s.colours[3] = 0x123456;
    s.language = Language::English;
    s.expertMode = false;
    s.dialogsNormalSize = false;
    s.mapOverlay = true;
    s.mapCoast = false;
    s.dateLineList = {QStringLiteral("07/03"), QStringLiteral("21/03 Frühling")};

    LoadDefaults(s);

    EXPECT_DOUBLE_EQ(s.latitude, 47.25);
    EXPECT_EQ(s.referenceYear, 2013);
    EXPECT_DOUBLE_EQ(s.gnomonLength, 35.0);
    EXPECT_EQ(s.hourFrom, 8);
    EXPECT_EQ(s.dateLineMode, '0');
    EXPECT_TRUE(s.apparentTimeLines);
    EXPECT_EQ(s.plotLineWeight, 1);

    EXPECT_EQ(s.dialType, 'q');
    EXPECT_TRUE(s.umbrellaDial);
    EXPECT_EQ(s.cylinderKind, 2);
    EXPECT_TRUE(s.babylonianHours);
    EXPECT_TRUE(s.temporalHours);
    EXPECT_TRUE(s.meanTimeLines);
    EXPECT_EQ(s.monthScaleLength, 300);
    EXPECT_DOUBLE_EQ(s.observerDistanceCm, 55);
    EXPECT_EQ(s.lineWidth, '3');
    EXPECT_EQ(s.colours[3], 0x123456u);
    EXPECT_EQ(s.language, Language::English);
    EXPECT_FALSE(s.expertMode);
    EXPECT_FALSE(s.dialogsNormalSize);
    EXPECT_TRUE(s.mapOverlay);
    EXPECT_FALSE(s.mapCoast);
    EXPECT_EQ(s.dateLineList.size(), 2);
}

TEST(DialState, ResetColoursAndLegendOffsets) {
    DialState s;
    s.colours.fill(0xFFFFFF);
    ResetColours(s);
    EXPECT_EQ(s.colours, DialState::defaultColours());
    EXPECT_EQ(s.colours[1], 0x0000FFu);   // blue
    EXPECT_EQ(s.colours[4], 0x808000u);   // olive

    const std::pair<char, int> offsets[] = {{'h', 0}, {'i', 0}, {'v', 0}, {'q', 12}, {'a', 24}, {'z', 36},
                                            {'k', 36}, {'r', 48}, {'c', 60}, {'m', 72}};
    for (auto [letter, offset] : offsets) EXPECT_EQ(LegendOffsetFor(letter), offset) << letter;
}

}  // namespace
}  // namespace zorva
