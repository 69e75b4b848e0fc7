#pragma once
// DialPainter that writes the plot stream: colour role r becomes pen r + 1, the
// construction's y-down drawing units (plotter units at p = 1) become the plot's y-up
// coordinates on the sheet, and the stream scales everything by its factor p.

#include "dials/dial_painter.h"
#include "plot/plot_stream.h"

#include <QPointF>
#include <QString>

#include <utility>
#include <vector>

namespace zorva {

// Where plot files differ in how they spell the same drawing. The dials write the defaults;
// the graph plots keep the spelling their files have always had.
struct PlotSpelling {
    // Character sizes written in their own spelling the moment a font of that height is set
    // (";SI 0.10, 0.15 ;"); other heights are written as ";SI w,h" before their first label.
    std::vector<std::pair<double, QString>> sizeCommands;
    bool labelsOffSheet = false;        // labels are written wherever they stand
    bool shortStrokes = false;          // strokes shorter than a plotter unit are written too
    bool unbrokenRuns = false;          // a long pen-down run stays one ";PD" command
    bool penAfterCharacterSet = false;  // a switch of character set selects the text pen anew
    bool bareLift = false;              // a lifted pen is ";PU", ended by the next command's ";"
    bool eagerTextPen = false;          // a text colour selects its pen the moment it is set
    bool eagerMoves = false;            // every move is written (";PU x y") the moment it is made
    int coordinateWidth = 0;            // stroke coordinates padded with blanks to this width
};

class PlotPainter : public DialPainter {
public:
    // `lineWidthOption`: the dial's line-width option; pen widths are written only when it
    // is not 1. `selectedPen`: the pen the head left selected (4 after the standard head).
    PlotPainter(PlotStream& stream, int lineWidthOption, int selectedPen = 4,
                double sheetHeight = kSheetHeight, PlotSpelling spelling = {});
    ~PlotPainter() override;

    PlotStream& stream() { return stream_; }
    int p() const { return stream_.p(); }
    // Plot y (upward) of a drawing row and back; the sheet's bottom edge is row sheetHeight.
    double plotY(double y) const { return sheetHeight_ - y; }
    double drawingY(double plotY) const { return sheetHeight_ - plotY; }

    // Writes what is still buffered (an open pen-down run). Call before writing to the
    // stream directly and when the drawing is complete.
    void flush();
    // Selects a pen now (";SP n") unless it is selected already.
    void selectPen(int pen);
    // Writes a pen width asked for since the last one written (";PW w;"); widths are
    // otherwise written just before the next stroke or label that uses them.
    void applyPenWidth();
    int selectedPen() const { return selectedPen_; }

    void setPenRole(int role) override;
    void setPenColour(Rgb rgb, int plotRole) override;
    void setPenWidth(int width) override;
    void setLineStyle(LineStyle style) override;
    void moveTo(double x, double y) override;
    void lineTo(double x, double y) override;
    void polyline(const std::vector<QPointF>& points) override;
    void circle(double cx, double cy, double r, FillStyle fill, Rgb fillRgb) override;
    void arc(double cx, double cy, double r, double startDeg, double sweepDeg) override;
    void rectangle(double x1, double y1, double x2, double y2) override;
    void fillRect(double x1, double y1, double x2, double y2, Rgb rgb) override;
    void polygon(const std::vector<QPointF>& points, FillStyle fill, Rgb fillRgb) override;
    void setFont(const QString& family, double height, bool bold) override;
    void setTextRole(int role) override;
    void setTextColour(Rgb rgb, int plotRole) override;
    double textHeight() const override { return fontHeight_; }
    double textWidth(const QString& text) const override;
    void text(double x, double y, const QString& text, TextAnchor anchor, double directionDeg) override;
    void setTextKind(TextKind kind) override;
    QString zodiacSign(int sign) const override;
    void liftPen() override;
    void setWindow(double x1, double y1, double x2, double y2) override;
    void resetWindow() override;

private:
    static int PenOfRole(int role);
    void closeRun();
    void writeSize();
    QString coord(double units) const;

    PlotStream& stream_;
    int lineWidthOption_;
    PlotSpelling spelling_;
    double sheetHeight_;
    int selectedPen_;
    int strokePen_ = 1;
    int textPen_ = 4;
    int wantedWidth_ = -1;   // the pen width asked for, -1 before the first
    int writtenWidth_ = -1;  // the pen width last written
    LineStyle lineStyle_ = LineStyle::Solid;
    QPointF position_;       // plot coordinates at p = 1, y up
    bool runOpen_ = false;
    bool moved_ = false;     // an eager move was written and no stroke has begun from it
    QString run_;            // the open ";PD x y x y ..." run
    QString lastX_, lastY_;  // the last pair written into it
    double fontHeight_ = 160;  // drawing units
    double writtenSize_ = -1;  // character height of the last ";SI", -1 before the first
    double direction_ = 0.0;   // label direction, degrees
};

}  // namespace zorva
