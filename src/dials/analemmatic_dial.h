#pragma once
// The analemmatic dial as a construction: hour points on an ellipse (figure-eights for mean
// time), the date scale on which the gnomon — on a walk-on dial the reader — stands, the
// orientation arrow and the legend; and its layout sheet, the coordinates of every point
// as a table for staking the dial out on the ground.

#include "dials/analemmatic_geometry.h"
#include "dials/dial_construction.h"

#include <QPointF>
#include <QString>

#include <vector>

namespace zorva {

AnalemmaticInput AnalemmaticInputOf(const DialContext& c);
// Why the dial cannot be drawn (the message text); empty when it can.
QString AnalemmaticRefusal(const DialContext& c);

// Everything drawn, in millimetres on the plane (x right = east on level ground, y up =
// north), the centre of the ellipse at the origin.
struct AnalemmaticFigure {
    struct HourMark {
        double clock = 0;  // hours of the dial's reckoning
        QPointF at;
        bool full = true;
    };
    struct MonthPoint {
        int month = 1;
        QPointF at;
    };
    struct FigureEight {
        double clock = 0;
        std::vector<std::vector<QPointF>> pieces;  // broken where the sun is down
        std::vector<MonthPoint> firsts;            // on the 1st of each month it is lit
    };
    struct DateMark {
        int month = 1, day = 1;
        QPointF at;
        bool risingHalf = true;  // January to June: the declination grows
    };
    std::vector<QPointF> ellipse;
    std::vector<HourMark> hours;          // apparent reckonings
    std::vector<FigureEight> eights;      // mean reckonings
    std::vector<DateMark> dates;          // 1st, 11th and 21st of every month
    QPointF winterEnd, summerEnd;         // the date scale between the solstices
    double semiMinor = 0;                 // signed: negative when noon lies below the centre
    double minimumGnomon = 0;
    bool mean = false;
};
AnalemmaticFigure AnalemmaticFigureOf(const DialContext& c);

// The layout sheet as text: one line per point, "name;x;y" in metres or millimetres with
// "." as the decimal sign, a heading line first.
QString AnalemmaticLayoutText(const DialContext& c);

// The dial, its plot and its layout sheet; the shadow is the gnomon's, standing on the
// moment's date, with the hour it reads.
extern const DialConstruction kAnalemmaticDial;

}  // namespace zorva
