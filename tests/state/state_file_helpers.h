#pragma once
// Helpers of the settings-file tests: files in a temporary folder, the state compared
// field by field for every value the file stores.

#include "state/dial_state.h"
#include "state/settings_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorva::test {

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// Lines joined with CR LF after each, as Latin-1 bytes (tests write ASCII unless said).
inline QByteArray Crlf(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines) out += l.toLatin1() + "\r\n";
    return out;
}

// Every field the file stores, compared by name so a failure says which one was lost.
inline void ExpectStoredFieldsEqual(const DialState& e, const DialState& a) {
#define ZORVA_FIELD(f) EXPECT_EQ(e.f, a.f) << #f
    ZORVA_FIELD(referenceYear);
    ZORVA_FIELD(latitude);
    ZORVA_FIELD(latitude2);
    ZORVA_FIELD(longitude);
    ZORVA_FIELD(longitude2);
    ZORVA_FIELD(zoneMeridian);
    ZORVA_FIELD(gnomonLength);
    ZORVA_FIELD(cylinderGnomon);
    ZORVA_FIELD(cylinderRadius);
    ZORVA_FIELD(monthScaleLength);
    ZORVA_FIELD(shepherdGnomon);
    ZORVA_FIELD(hidokaiHorizontalScale);
    ZORVA_FIELD(hidokaiMonthScale);
    ZORVA_FIELD(hidokaiGnomon);
    ZORVA_FIELD(drawingScale);
    ZORVA_FIELD(quadrantSize);
    ZORVA_FIELD(wallDeclination);
    ZORVA_FIELD(wallDeclination2);
    ZORVA_FIELD(planeInclination);
    ZORVA_FIELD(coneAxisInclination);
    ZORVA_FIELD(coneHalfAngle);
    ZORVA_FIELD(analemmaHour);
    ZORVA_FIELD(dateLineMode);
    ZORVA_FIELD(eotHourInterval);
    ZORVA_FIELD(linesToStyleFoot);
    ZORVA_FIELD(reservedOptionFlag);
    ZORVA_FIELD(apparentTimeLines);
    ZORVA_FIELD(markAnalemma);
    ZORVA_FIELD(babylonianHours);
    ZORVA_FIELD(italianHours);
    ZORVA_FIELD(altitudeLines);
    ZORVA_FIELD(temporalHours);
    ZORVA_FIELD(mirrorLeftQuadrant);
    ZORVA_FIELD(constructWithEoT);
    ZORVA_FIELD(timeSystem);
    ZORVA_FIELD(apparentTimeScale);
    ZORVA_FIELD(outerLineArrangement);
    ZORVA_FIELD(localTimeDisplay);
    ZORVA_FIELD(monthScaleSideBySide);
    ZORVA_FIELD(cylinderWithEoT);
    ZORVA_FIELD(hourLineInterval);
    ZORVA_FIELD(hidokaiVerticalDial);
    ZORVA_FIELD(wholeYearBand);
    ZORVA_FIELD(localTimeReading);
    ZORVA_FIELD(drawPoleTriangle);
    ZORVA_FIELD(meanTimeLines);
    ZORVA_FIELD(dayMarkings);
    ZORVA_FIELD(declinationScale);
    ZORVA_FIELD(rayDeflection);
    ZORVA_FIELD(noonLineHorizontal);
    ZORVA_FIELD(lineWidth);
    ZORVA_FIELD(hollanderOption);
    ZORVA_FIELD(biazimuthalVertical);
    ZORVA_FIELD(hollanderShadowLine);
    ZORVA_FIELD(altitudeCircleSpacing);
    ZORVA_FIELD(azimuthKind);
    ZORVA_FIELD(quadrantDateScale);
    ZORVA_FIELD(wholeHourDaylengthLines);
    ZORVA_FIELD(dialType);
    ZORVA_FIELD(umbrellaDial);
    ZORVA_FIELD(cylinderKind);
    ZORVA_FIELD(quadrantKind);
    ZORVA_FIELD(hourFrom);
    ZORVA_FIELD(hourTo);
    ZORVA_FIELD(language);
    ZORVA_FIELD(expertMode);
    ZORVA_FIELD(mapOverlay);
    ZORVA_FIELD(mapBorders);
    ZORVA_FIELD(mapCoast);
    ZORVA_FIELD(dialogsNormalSize);
    ZORVA_FIELD(umbrellaCircleRatio);
    ZORVA_FIELD(ringDiameter);
    ZORVA_FIELD(ringWidth);
    ZORVA_FIELD(ringAngle);
    ZORVA_FIELD(quadrantGnomon);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(e.colours[i], a.colours[i]) << "colour " << i;
    ZORVA_FIELD(eotHourFrom);
    ZORVA_FIELD(eotHourTo);
    ZORVA_FIELD(babylonianFrom);
    ZORVA_FIELD(babylonianTo);
    ZORVA_FIELD(italianFrom);
    ZORVA_FIELD(italianTo);
    ZORVA_FIELD(temporalFrom);
    ZORVA_FIELD(temporalTo);
    ZORVA_FIELD(altitudeFrom);
    ZORVA_FIELD(altitudeTo);
    ZORVA_FIELD(otherHourFrom);
    ZORVA_FIELD(otherHourTo);
    ZORVA_FIELD(quadrantTemporalFrom);
    ZORVA_FIELD(quadrantTemporalTo);
    ZORVA_FIELD(babylonianInterval);
    ZORVA_FIELD(italianInterval);
    ZORVA_FIELD(temporalInterval);
    ZORVA_FIELD(altitudeInterval);
    ZORVA_FIELD(otherHourInterval);
    ZORVA_FIELD(quadrantTemporalInterval);
    ZORVA_FIELD(dateLineList);
#undef ZORVA_FIELD
}

// A state in which every stored field differs from its default, each value exactly
// representable in the decimals the file writes.
inline DialState EveryFieldChanged() {
    DialState s = StartupState();
    s.referenceYear = 2024;
    s.latitude = -33.865143;
    s.latitude2 = -34.25;
    s.longitude = -151.2099;
    s.longitude2 = 74.5;
    s.zoneMeridian = -150.0;
    s.gnomonLength = 42.75;
    s.cylinderGnomon = 61.5;
    s.cylinderRadius = 199.25;
    s.monthScaleLength = 333;
    s.shepherdGnomon = 81;
    s.hidokaiHorizontalScale = 201;
    s.hidokaiMonthScale = 111;
    s.hidokaiGnomon = 33;
    s.drawingScale = 555;
    s.quadrantSize = 99;
    s.wallDeclination = 123.456789;
    s.wallDeclination2 = -45.5;
    s.planeInclination = 135.25;
    s.coneAxisInclination = 146.134857;
    s.coneHalfAngle = 7.5;
    s.analemmaHour = 9;
    s.dateLineMode = '2';
    s.eotHourInterval = '6';
    s.linesToStyleFoot = true;
    s.reservedOptionFlag = false;
    s.apparentTimeLines = false;
    s.markAnalemma = false;
    s.babylonianHours = true;
    s.italianHours = true;
    s.altitudeLines = true;
    s.temporalHours = true;
    s.mirrorLeftQuadrant = true;
    s.constructWithEoT = true;
    s.timeSystem = 1;
    s.apparentTimeScale = false;
    s.outerLineArrangement = true;
    s.localTimeDisplay = false;
    s.monthScaleSideBySide = true;
    s.cylinderWithEoT = true;
    s.hourLineInterval = '5';
    s.hidokaiVerticalDial = false;
    s.wholeYearBand = true;
    s.localTimeReading = true;
    s.drawPoleTriangle = true;
    s.meanTimeLines = true;
    s.dayMarkings = 4;
    s.declinationScale = false;
    s.rayDeflection = 2;
    s.noonLineHorizontal = false;
    s.lineWidth = '3';
    s.hollanderOption = true;
    s.biazimuthalVertical = true;
    s.hollanderShadowLine = 2;
    s.altitudeCircleSpacing = 2;
    s.azimuthKind = 0;
    s.quadrantDateScale = 1;
    s.wholeHourDaylengthLines = true;
    s.dialType = 'i';
    s.umbrellaDial = true;
    // cylinderKind and quadrantKind are stored only with their dial letter (see the dial-code test).
    s.hourFrom = 5;
    s.hourTo = 21;
    s.language = Language::English;
    s.expertMode = false;
    s.mapOverlay = true;
    s.mapBorders = true;
    s.mapCoast = false;
    s.dialogsNormalSize = false;
    s.umbrellaCircleRatio = -0.125;
    s.ringDiameter = 222.5;
    s.ringWidth = 44.25;
    s.ringAngle = 12.5;
    s.quadrantGnomon = 88.5;  // accepted by the parameter dialog (up to 100), so it must read back
    for (int i = 0; i < 11; ++i) s.colours[i] = 0x102030u * static_cast<unsigned>(i + 1) + 0x010203u;
    s.eotHourFrom = 6;
    s.eotHourTo = 20;
    s.babylonianFrom = 3;
    s.babylonianTo = 15;
    s.italianFrom = 9;
    s.italianTo = 23;
    s.temporalFrom = 2;
    s.temporalTo = 10;
    s.altitudeFrom = 30;
    s.altitudeTo = 60;
    s.otherHourFrom = 7;
    s.otherHourTo = 17;
    s.quadrantTemporalFrom = 3;
    s.quadrantTemporalTo = 9;
    s.babylonianInterval = 3;
    s.italianInterval = 2;
    s.temporalInterval = 1;
    s.altitudeInterval = 2;
    s.otherHourInterval = '3';
    s.quadrantTemporalInterval = 2;
    s.dateLineList = QStringList{QStringLiteral("29/02    Schalttag"), QStringLiteral("21/03    ( 21. März )"),
                                 QStringLiteral("1/11 Allerheiligen")};
    return s;
}

}  // namespace zorva::test
