#pragma once
// Translates a plot file (the HPGL dialect of the plot stream, or HPGL of other origin) into
// a DXF drawing: strokes become POLYLINEs, circles CIRCLE, arcs ARC, labels TEXT, pen n the
// layer "L_n" in colour n. One pass over the plot file; memory stays flat whatever its size.

#include "text/language.h"

#include <QString>
#include <QStringList>

namespace zorva {

class UserDialogs;

// No plot is near this size; a larger input (or one that keeps growing) is refused, so
// that /dev/zero or a runaway file cannot keep the converter busy forever.
inline constexpr qint64 kMaxPlotFileBytes = 2LL * 1024 * 1024 * 1024;

struct DxfConversion {
    bool dxfWritten = false;  // a DXF file was created (also when nothing could be converted)
    bool converted = false;   // drawing commands were translated and the file is complete
    // Problems found on the way, one line each; never stop the conversion.
    QStringList messages;
    qint64 droppedMessages = 0;  // lines beyond the list's limit (binary input)
};

// `lineWeight` 1..3 sets the default polyline width (0, 6 or 12 plotter units);
// `unitsPerDxfUnit` is 40 for plots at 40 units per millimetre, 1000 for those at 25 times
// that resolution (1 when not positive). The outcome is reported in boxes through `dialogs`.
DxfConversion ConvertPlotToDxf(const QString& plotPath, const QString& dxfFileName, int lineWeight,
                               double unitsPerDxfUnit, UserDialogs& dialogs,
                               Language language = Language::German);

}  // namespace zorva
