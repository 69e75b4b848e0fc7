#include "plot/plot_stream.h"

#include "plot/windows1252.h"
#include "text/number_format.h"

#include <QFileDevice>
#include <QIODevice>
#include <charconv>

namespace zorva {

PlotWriteError::PlotWriteError(const QString& reason)
    : std::runtime_error(reason.toStdString()), reason_(reason) {}

PlotStream::PlotStream(QIODevice& device, int resolutionFactor)
    : device_(device), p_(resolutionFactor > 0 ? resolutionFactor : 1) {}

void PlotStream::WritePlot(const QString& text) {
    if (text.isEmpty()) return;
    const QByteArray bytes = ToWindows1252(text);
    if (device_.write(bytes) != bytes.size())
        throw PlotWriteError(device_.errorString());
    // Flushed at once, so that a full disk ends the construction at the failing command.
    if (auto* file = qobject_cast<QFileDevice*>(&device_); file && !file->flush())
        throw PlotWriteError(file->errorString());
}

QString PlotStream::coord(double units) const { return RoundToIntText(units * p_); }

QString PlotStream::size(double centimetres) const { return RealToText(5, 2, centimetres * p_); }

QString PlotStream::real(double value) { return RealToText(5, 2, value); }

void PlotStream::writeStandardHead() {
    const QString w = QString::number(sheetWidth()), h = QString::number(sheetHeight());
    WritePlot(QStringLiteral("IN;VS 1;PA;IW 0 0 ") + w + QLatin1Char(' ') + h +
              QStringLiteral(";PU 0 0;EA ") + w + QLatin1Char(' ') + h + QStringLiteral(";") +
              QStringLiteral(";SP 4;PU 0 0;"));
}

void PlotStream::writeHeadFramedWithPen4() {
    const QString w = QString::number(sheetWidth()), h = QString::number(sheetHeight());
    WritePlot(QStringLiteral("IN;VS 1;PA;IW 0 0 ") + w + QLatin1Char(' ') + h +
              QStringLiteral(";SP 4;PU 0 0;EA ") + w + QLatin1Char(' ') + h);
}

void PlotStream::writeConeHead() {
    const QString w = QString::number(sheetWidth()), h = QString::number(sheetHeight());
    WritePlot(QStringLiteral("IN;VS 1;PA;{IW 0 0 ") + w + QLatin1Char(' ') + h +
              QStringLiteral(";}PU 0 0;EA ") + w + QLatin1Char(' ') + h);
}

void PlotStream::writeShortHead(ShortHead kind) {
    switch (kind) {
        case ShortHead::Plain: WritePlot(QStringLiteral("IN;PA;")); break;
        case ShortHead::SlowPen: WritePlot(QStringLiteral("IN;VS 1;PA;")); break;
        case ShortHead::StandardCharacterSet: WritePlot(QStringLiteral("IN;SS;PA;")); break;
    }
}

void PlotStream::writeEnd(PlotEnd kind) {
    switch (kind) {
        case PlotEnd::PenAway: WritePlot(QStringLiteral(";SP 0;IN;")); break;
        case PlotEnd::PenAwayCompact: WritePlot(QStringLiteral(";SP0;IN;")); break;
        case PlotEnd::Initialise: WritePlot(QStringLiteral(";IN;")); break;
        case PlotEnd::WindowReset: WritePlot(QStringLiteral(";IW;IN;")); break;
    }
}

void PlotStream::selectPen(int pen) { WritePlot(QStringLiteral(";SP ") + QString::number(pen)); }

void PlotStream::penUp() { WritePlot(QStringLiteral(";PU;")); }

void PlotStream::penUp(double x, double y) {
    WritePlot(QStringLiteral(";PU ") + coord(x) + QLatin1Char(' ') + coord(y));
}

void PlotStream::penDown(double x, double y) {
    WritePlot(QStringLiteral(";PD ") + coord(x) + QLatin1Char(' ') + coord(y));
}

void PlotStream::penDownThrough(const std::vector<QPointF>& points) {
    if (points.empty()) return;
    QString text = QStringLiteral(";PD");
    for (const QPointF& q : points) text += QLatin1Char(' ') + coord(q.x()) + QLatin1Char(' ') + coord(q.y());
    WritePlot(text);
}

void PlotStream::polyline(const std::vector<QPointF>& points) {
    if (points.size() < 2) return;
    penUp(points[0]);
    penDownThrough(std::vector<QPointF>(points.begin() + 1, points.end()));
    WritePlot(QStringLiteral(";PU ;"));
}

void PlotStream::frame(double width, double height) {
    WritePlot(QStringLiteral(";EA ") + coord(width) + QLatin1Char(' ') + coord(height) + QLatin1Char(';'));
}

void PlotStream::circle(double radius, const QString& chordAngle) {
    WritePlot(QStringLiteral(";CI ") + coord(radius) + QLatin1Char(',') + chordAngle);
}

void PlotStream::arc(double centreX, double centreY, double sweepDegrees) {
    WritePlot(QStringLiteral(";PD;AA ") + coord(centreX) + QLatin1Char(' ') + coord(centreY) +
              QLatin1Char(' ') + real(sweepDegrees) + QStringLiteral(" 0.2;"));
}

void PlotStream::lineSolid() { WritePlot(QStringLiteral(";LT;")); }

void PlotStream::lineDashed() { WritePlot(QStringLiteral(";LT 2,2;")); }

void PlotStream::penWidth(int width) {
    WritePlot(QStringLiteral(";PW ") + QString::number(width) + QLatin1Char(';'));
}

void PlotStream::characterSize(double widthCm, double heightCm) {
    WritePlot(QStringLiteral(";SI ") + size(widthCm) + QLatin1Char(',') + size(heightCm));
}

void PlotStream::direction(double run, double rise) {
    // Shortest text that reads back as the same number: "100", "-100", "0.5".
    auto shortest = [](double v) {
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, v);
        return QString::fromLatin1(buf, res.ptr - buf);
    };
    WritePlot(QStringLiteral(";DI ") + shortest(run) + QLatin1Char(',') + shortest(rise));
}

void PlotStream::symbolSet() { WritePlot(QStringLiteral(";SA")); }

void PlotStream::standardSet() { WritePlot(QStringLiteral(";SS")); }

void PlotStream::inputWindow() {
    WritePlot(QStringLiteral(";IW 0 0 ") + QString::number(sheetWidth()) + QLatin1Char(' ') +
              QString::number(sheetHeight()) + QLatin1Char(';'));
}

void PlotStream::inputWindow(double x1, double y1, double x2, double y2) {
    WritePlot(QStringLiteral(";IW ") + coord(x1) + QLatin1Char(' ') + coord(y1) + QLatin1Char(' ') +
              coord(x2) + QLatin1Char(' ') + coord(y2) + QLatin1Char(';'));
}

void PlotStream::resetWindow() { WritePlot(QStringLiteral(";IW;")); }

namespace {
// A label ends at the terminator, and a plot file holds no line breaks: a terminator inside
// the text is dropped, each line break (CR LF, CR or LF) becomes one blank.
QString labelText(const QString& text) {
    QString t;
    t.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char(kLabelTerminator)) continue;
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        t += (c == QLatin1Char('\r') || c == QLatin1Char('\n')) ? QLatin1Char(' ') : c;
    }
    return t;
}
}  // namespace

void PlotStream::label(const QString& text) {
    const QString t = labelText(text);
    if (t.isEmpty()) return;
    WritePlot(QStringLiteral(";LB") + t + QLatin1Char(kLabelTerminator));
}

void PlotStream::labelAt(double x, double y, const QString& text) {
    const QString t = labelText(text);
    if (t.isEmpty()) return;
    WritePlot(QStringLiteral(";PU ") + coord(x) + QLatin1Char(' ') + coord(y) + QStringLiteral(";LB") + t +
              QLatin1Char(kLabelTerminator));
}

void PlotStream::titleBlock(double largeWidthCm, double largeHeightCm, const QString& title,
                            double normalWidthCm, double normalHeightCm, const QStringList& lines) {
    const QString large = size(largeWidthCm) + QLatin1Char(',') + size(largeHeightCm);
    const QString normal = size(normalWidthCm) + QLatin1Char(',') + size(normalHeightCm);
    const QString t = labelText(title);
    if (t.isEmpty()) {
        WritePlot(QStringLiteral(";SP 1;SI ") + normal + QLatin1Char(';'));
    } else {
        // After the terminator the size command follows without a leading ";".
        WritePlot(QStringLiteral(";SP 1;SI ") + large + QStringLiteral(";PU ") + coord(200) + QLatin1Char(' ') +
                  coord(10500) + QStringLiteral(";LB") + t + QLatin1Char(kLabelTerminator) +
                  QStringLiteral("SI ") + normal + QLatin1Char(';'));
    }
    double y = 10300;
    for (const QString& line : lines) {
        labelAt(200, y, line);
        y -= 200;
    }
}

}  // namespace zorva
