#pragma once
// The plot stream: the HPGL dialect every construction writes, one long line without line
// breaks, in plotter units of 1/40 mm times the resolution factor p.
//
// Typed writers take coordinates and lengths in plotter units at p = 1 (40 per millimetre)
// and character sizes in centimetres; they multiply by p themselves, so a construction
// writes the same numbers for an HPGL file (p = 1) and for a DXF conversion (p = 25).
// Pens, angles and chord tolerances are never scaled.

#include <QPointF>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

class QIODevice;

namespace zorva {

// A write to the plot file failed; it ends the construction that was writing.
class PlotWriteError : public std::runtime_error {
public:
    explicit PlotWriteError(const QString& reason);
    QString reason() const { return reason_; }

private:
    QString reason_;
};

inline constexpr double kPlotUnitsPerMm = 40.0;
inline constexpr int kSheetWidth = 16157;   // plotter units at p = 1 (403.925 mm)
inline constexpr int kSheetHeight = 11038;  // (275.95 mm)
inline constexpr int kLayoutWidth = 16400;  // the area constructions lay out their parts in
inline constexpr int kLayoutHeight = 11480;
// The planar dial's grid window (top right corner) and the wall window's right edge.
inline constexpr int kGridWindowRight = 16150;
inline constexpr int kGridWindowTop = 11030;
inline constexpr int kWallWindowRight = 16151;
// Centimetres as the plot's character sizes count them.
inline constexpr double kPlotUnitsPerCm = 10 * kPlotUnitsPerMm;
inline constexpr char kLabelTerminator = '\x03';

// The shorter heads of the plots that carry no sheet frame.
enum class ShortHead {
    Plain,                 // "IN;PA;"
    SlowPen,               // "IN;VS 1;PA;"
    StandardCharacterSet,  // "IN;SS;PA;"
};

enum class PlotEnd {
    PenAway,         // ";SP 0;IN;"
    PenAwayCompact,  // ";SP0;IN;"
    Initialise,      // ";IN;"
    WindowReset,     // ";IW;IN;"
};

class PlotStream {
public:
    // `device` is open for writing and belongs to the caller; p is 1 or 25.
    explicit PlotStream(QIODevice& device, int resolutionFactor = 1);

    int p() const { return p_; }
    int sheetWidth() const { return kSheetWidth * p_; }
    int sheetHeight() const { return kSheetHeight * p_; }

    // Appends `text` unchanged (Windows-1252), flushed at once; empty text writes nothing.
    // Throws PlotWriteError when the device refuses the bytes.
    void WritePlot(const QString& text);

    // Number texts: a coordinate or length at p = 1 as the rounded integer at the stream's p,
    // a character size in centimetres as RealToText(5, 2) of size × p.
    QString coord(double units) const;
    QString size(double centimetres) const;
    static QString real(double value);  // RealToText(5, 2): chord angles, sweeps

    // --- heads and ends
    // "IN;VS 1;PA;IW 0 0 W H;PU 0 0;EA W H;;SP 4;PU 0 0;": window and frame of the sheet.
    void writeStandardHead();
    // "IN;VS 1;PA;IW 0 0 W H;SP 4;PU 0 0;EA W H": the frame drawn with pen 4.
    void writeHeadFramedWithPen4();
    // "IN;VS 1;PA;{IW 0 0 W H;}PU 0 0;EA W H": the second plot of the cone-shadow dial.
    void writeConeHead();
    void writeShortHead(ShortHead kind);
    void writeEnd(PlotEnd kind);

    // --- commands, each written exactly as the plotters and the converter expect
    void selectPen(int pen);                 // ";SP n"
    void penUp();                            // ";PU;"
    void penUp(double x, double y);          // ";PU x y"
    void penUp(QPointF p) { penUp(p.x(), p.y()); }
    void penDown(double x, double y);        // ";PD x y"
    void penDown(QPointF p) { penDown(p.x(), p.y()); }
    // ";PD x1 y1 x2 y2 ...": pen down through the points; nothing for none.
    void penDownThrough(const std::vector<QPointF>& points);
    // ";PU x0 y0;PD x1 y1 x2 y2 ...;PU ;" — nothing for fewer than two points.
    void polyline(const std::vector<QPointF>& points);
    void frame(double width, double height);  // ";EA W H;" from the current point
    // ";CI r,chord" (chord angle in degrees, written as given: "0.2", "0.5", "1").
    void circle(double radius, const QString& chordAngle = QStringLiteral("0.2"));
    // ";PD;AA xc yc sweep 0.2;": arc from the current point, counter-clockwise for sweep > 0.
    void arc(double centreX, double centreY, double sweepDegrees);
    void lineSolid();                        // ";LT;"
    void lineDashed();                       // ";LT 2,2;"
    void penWidth(int width);                // ";PW w;"
    void characterSize(double widthCm, double heightCm);  // ";SI w,h"
    void direction(double run, double rise); // ";DI run,rise"
    void symbolSet();                        // ";SA"
    void standardSet();                      // ";SS"
    void inputWindow();                      // ";IW 0 0 W H;": the sheet
    void inputWindow(double x1, double y1, double x2, double y2);  // ";IW x1 y1 x2 y2;"
    void resetWindow();                      // ";IW;"
    // ";LB" text and the terminator, at the current point; an empty text writes nothing.
    // A terminator inside the text is dropped and a line break becomes one blank.
    void label(const QString& text);
    void labelAt(double x, double y, const QString& text);  // ";PU x y;LB" text, code 3

    // The legend block at the top left, with pen 1:
    // ";SP 1;SI " large ";PU 200 10500;LB" title, code 3, "SI " normal ";", then each further
    // line ";PU 200 y;LB" text, code 3, at y = 10300, 10100, ... (all times p). Empty lines
    // are skipped but keep their row.
    void titleBlock(double largeWidthCm, double largeHeightCm, const QString& title,
                    double normalWidthCm, double normalHeightCm, const QStringList& lines);

private:
    QIODevice& device_;
    int p_;
};

}  // namespace zorva
