#pragma once
// The data of a planar dial's polar style as a block of text lines: position, orientation,
// gnomon, where the style pierces the face, the style's angle with the face, the direction
// of the substyle and the time the shadow lies on it. The drawing window shows and prints
// the block; the coordinate listing of a plot starts with it.
//
// Coordinates of the block: origin P(0/0) at the nodus foot point, x to the right, y upward
// on the dial face.

#include "state/dial_state.h"
#include "text/language.h"

#include <QString>
#include <QStringList>

namespace zorva {

struct PolarStyleInput {
    double latitude = 0.0;     // degrees, north positive
    double longitude = 0.0;    // degrees, west positive (as stored)
    double inclination = 0.0;  // b: 0 horizontal, 90 vertical
    double declination = 0.0;  // d: azimuth of the face's normal, east negative
    double gnomonMm = 0.0;     // G: gnomon length × zoom, millimetres rounded to 0.01 mm
    char dialType = 'h';       // 'h', 'v' or 'i'
    bool umbrella = false;
    bool dayLengthLines = false;  // list the declinations of whole-hour day lengths
    double obliquity = 23.44;     // of the reference year, for that list
    Language language = Language::German;
};

struct PolarStyleInfo {
    QStringList lines;
    QString styleAngle;         // width 8, 2 decimals
    QString substyleDirection;  // width 8, 2 decimals
    QString substyleTime;       // "h:mm" of true local time
    bool styleParallel = false;     // no piercing point
    bool styleOrthogonal = false;   // the style stands on the nodus foot point
};

PolarStyleInfo PolarStyleInformation(const PolarStyleInput& input);

// The input for the planar dial of `state`, with the zoomed gnomon length `gnomonMm`.
PolarStyleInput PolarStyleInputFor(const DialState& state, double gnomonMm);

// Declinations of the days whose (flat-horizon) day length is 12 + k hours, k = 0..12,
// as the planar dials draw them: values beyond the obliquity are NaN, values below one
// degree count as 0.
double WholeHourDayLengthDeclination(double latitude, int k, double obliquity);

}  // namespace zorva
