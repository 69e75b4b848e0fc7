#pragma once
// What the planar construction hands to its plot target beyond the strokes every target
// gets: the plot's own coordinate grid, pen window and nodus/style-foot marks, and the
// traced points for the coordinate listing. The construction calls these only when it
// draws for a plot.

#include "dials/dial_geometry.h"

#include <QString>

namespace zorva {

class PlanarPlotExtras {
public:
    enum class Section {
        DateLines,
        TemporalHours,
        BabylonianHours,
        ItalianHours,
        AltitudeLines,
        ApparentTime,
        MeanTime,
        Analemma,
    };

    virtual ~PlanarPlotExtras() = default;

    // The coordinate grid through the nodus foot point (instead of the canvas grid).
    virtual void grid(const DialPlane& plane) = 0;
    // The pen window of the hour lines, before the first of them.
    virtual void beforeHourLines(const DialPlane& plane) = 0;
    // Nodus foot square, dashed line to the style foot point and its mark, at the end.
    virtual void styleFoot(const DialPlane& plane) = 0;

    // Coordinate listing: a family of lines, one line of it (by its label or by its value:
    // declination, time, hour or altitude as the family has it), and its traced samples.
    virtual void section(Section section) = 0;
    virtual void curve(const QString& label) = 0;
    virtual void curve(double value) = 0;
    // Only visible samples are listed; `hour` >= 0 tags a full hour of a date line.
    virtual void point(const ShadowSample& sample, int hour = -1) = 0;
};

}  // namespace zorva
