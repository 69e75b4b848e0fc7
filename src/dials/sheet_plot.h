#pragma once
// The plot of a dial drawn once on the whole sheet: a refusal is reported and nothing is
// written; otherwise the standard head, the construction through a plot painter and the end.

#include "dials/dial_context.h"
#include "dials/dial_request.h"
#include "dials/live_shadow.h"
#include "dials/plot_painter.h"
#include "plot/plot_stream.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>

namespace zorva {

template <typename Draw>
bool WriteSheetPlot(const DialContext& c, PlotStream& stream, UserDialogs& dialogs, const QString& refusal,
                    PlotEnd end, Draw draw) {
    if (!refusal.isEmpty()) {
        dialogs.inform(caption(CaptionKind::Warning, c.language), refusal, Icon::Warning);
        return false;
    }
    stream.writeStandardHead();
    {
        PlotPainter painter(stream, c.lineWidth, 4);
        const DialRequest r = PlotSheetRequest();
        draw(r, painter);
        DrawPlotShadow(c, r, painter);
        painter.flush();
    }
    stream.writeEnd(end);
    return true;
}

}  // namespace zorva
