#include "state/dial_state.h"

#include <cmath>

namespace zorva {

bool ZoneFarFromLongitude(double longitude, double zoneMeridian) {
    return std::abs(zoneMeridian - longitude) > kZoneFarDegrees;
}

double NonZeroLatitude(double latitude) { return std::abs(latitude) < 1e-5 ? 1e-6 : latitude; }

void LoadDefaults(DialState& s) {
    // A fresh state carries every default; copy back what "load defaults" keeps.
    DialState d;
    d.dialType = s.dialType;
    d.umbrellaDial = s.umbrellaDial;
    d.cylinderKind = s.cylinderKind;
    d.cylinderHourStyle = s.cylinderHourStyle;
    d.babylonianHours = s.babylonianHours;
    d.italianHours = s.italianHours;
    d.altitudeLines = s.altitudeLines;
    d.temporalHours = s.temporalHours;
    d.meanTimeLines = s.meanTimeLines;
    d.mirrorLeftQuadrant = s.mirrorLeftQuadrant;
    d.constructWithEoT = s.constructWithEoT;
    d.outerLineArrangement = s.outerLineArrangement;
    d.localTimeReading = s.localTimeReading;
    d.cylinderWithEoT = s.cylinderWithEoT;
    d.hollanderOption = s.hollanderOption;
    d.rayDeflection = s.rayDeflection;
    d.quadrantTemporalInterval = s.quadrantTemporalInterval;
    d.monthScaleLength = s.monthScaleLength;
    d.maxShadowLength = s.maxShadowLength;
    d.hidokaiMonthScale = s.hidokaiMonthScale;
    d.hidokaiHorizontalScale = s.hidokaiHorizontalScale;
    d.observerDistanceCm = s.observerDistanceCm;
    d.basePlateDiameterCm = s.basePlateDiameterCm;
    d.lineWidth = s.lineWidth;
    d.colours = s.colours;
    d.language = s.language;
    d.expertMode = s.expertMode;
    d.dialogsNormalSize = s.dialogsNormalSize;
    d.mapOverlay = s.mapOverlay;
    d.mapBorders = s.mapBorders;
    d.mapCoast = s.mapCoast;
    d.dateLineList = s.dateLineList;

    // Run-time values that are not part of the stored defaults stay as they are.
    d.zoomFactor = s.zoomFactor;
    d.zoomStep = s.zoomStep;
    d.showHints = s.showHints;
    d.plotFileName = s.plotFileName;
    d.programDirectory = s.programDirectory;
    d.twilightKind = s.twilightKind;
    d.eotLongitudeCorrection = s.eotLongitudeCorrection;
    d.showPlaneSunlight = s.showPlaneSunlight;
    d.showHorizonProfile = s.showHorizonProfile;
    d.horizonProfile = s.horizonProfile;
    d.zodiacDeclinations = s.zodiacDeclinations;
    d.legendOffset = s.legendOffset;
    d.originX = s.originX;
    d.originY = s.originY;
    d.centreX = s.centreX;
    d.centreY = s.centreY;
    d.numeralStyle = s.numeralStyle;
    d.numeralHeightMm = s.numeralHeightMm;
    d.numeralsInPlotFiles = s.numeralsInPlotFiles;

    d.plotLineWeight = 1;
    s = std::move(d);
}

void ResetColours(DialState& s) { s.colours = DialState::defaultColours(); }

DialState StartupState() {
    DialState s;
    s.dialType = 'v';
    s.umbrellaDial = false;
    s.language = Language::German;
    s.dialogsNormalSize = true;
    s.lineWidth = '1';
    s.zoomStep = kZoomStep;
    s.observerDistanceCm = 30.0;
    s.basePlateDiameterCm = 18.0;
    LoadDefaults(s);
    ResetColours(s);
    return s;
}

int LegendOffsetFor(char dialType) {
    switch (dialType) {
        case 'a': return 24;
        case 'c': return 60;
        case 'k':
        case 'z': return 36;
        case 'm': return 72;
        case 'q': return 12;
        case 'r': return 48;
        default: return 0;
    }
}

}  // namespace zorva
