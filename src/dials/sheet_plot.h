#pragma once
// The plot of a dial drawn once on the whole sheet: a refusal is reported and nothing is
// written; otherwise the standard head, the construction through a plot painter and the end.

#include "dials/planar_dial.h"
#include "dials/plot_painter.h"
#include "plot/plot_stream.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>

namespace zorva {

template <typename Draw>
bool WriteSheetPlot(const DialState& s, PlotStream& stream, UserDialogs& dialogs, const QString& refusal,
                    PlotEnd end, Draw draw) {
    if (!refusal.isEmpty()) {
        dialogs.inform(caption(CaptionKind::Warning, s.language), refusal, Icon::Warning);
        return false;
    }
    stream.writeStandardHead();
    {
        PlotPainter painter(stream, std::clamp(s.lineWidth - '0', 1, 9), 4);
        PlanarDialRequest r;
        r.target = DrawTarget::Plot;
        r.clientWidth = kSheetWidth - 1;
        r.clientHeight = kSheetHeight - 1;
        draw(r, painter);
        painter.flush();
    }
    stream.writeEnd(end);
    return true;
}

}  // namespace zorva
