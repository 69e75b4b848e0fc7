#include "ui/quadrant_legend_strip.h"

#include "text/bilingual.h"
#include "text/colour_legend.h"

namespace zorva {
namespace {

constexpr int kQuadrantLegendOffset = 12;

}  // namespace

QString QuadrantReadingText(const DialState& s) {
    if (s.quadrantKind == 1 || s.quadrantKind == 2)
        return Tr(s.language,
                  "Scheibe drehen, bis der Strahl des Tages senkrecht nach unten zeigt, Zeiger zur Sonne richten: "
                  "das Schattenende zeigt die Zeit.",
                  "Turn the disc until the ray of the day points straight down, face the gnomon to the sun: the end "
                  "of the shadow shows the time.");
    if (s.quadrantDateScale == 2)
        return Tr(s.language,
                  "Perle am Lot auf den Datumskreis (Deklination) stellen, obere Kante zur Sonne richten: die Perle "
                  "zeigt die Zeit, das Lot am Rand die Sonnenhöhe.",
                  "Set the bead on the plumb line to the date circle (declination), aim the upper edge at the sun: "
                  "the bead shows the time, the plumb line on the limb the altitude.");
    return Tr(s.language,
              "Obere Kante zur Sonne richten: das Lot vom Scheitel kreuzt den Datumskreis des Tages auf der "
              "Stundenlinie der Zeit.",
              "Aim the upper edge at the sun: the plumb line from the apex crosses the date circle of the day on "
              "the hour line of the time.");
}

QuadrantLegendStrip::QuadrantLegendStrip(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("quadrantLegend"));
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setAutoFillBackground(true);
    hide();
}

void QuadrantLegendStrip::showFor(const DialState& s) {
    // One swatch per colour the quadrant family uses, with the palette's role text.
    QString keys;
    for (int row = 1; row <= kLegendRowsPerFamily; ++row) {
        const ColourLegendRow r = ColourLegendRowAt(kQuadrantLegendOffset, row, s.language);
        bool ok = false;
        const int n = r.colour.trimmed().toInt(&ok);
        if (!ok || n < 1 || n > 12) continue;
        const Rgb rgb = s.colours[static_cast<size_t>(n - 1)];
        keys += QStringLiteral("<span style=\"background-color:#%1\">&nbsp;&nbsp;&nbsp;</span>&nbsp;%2 %3&nbsp;&nbsp; ")
                    .arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(n)
                    .arg(r.role.toHtmlEscaped());
    }
    setText(QuadrantReadingText(s).toHtmlEscaped() + QStringLiteral("<br>") + keys);
    show();
}

}  // namespace zorva
