#pragma once
// The coordinate listing that accompanies a plot of a planar dial: the polar-style text,
// the time reference, the file name, and then, line by line, the points of the dial in
// millimetres from the nodus foot point (x to the right, y upward on the face), so that a
// dial maker can transfer the dial without a plotter.

#include "text/language.h"

#include <QPointF>
#include <QString>
#include <QStringList>

namespace zorva {

class CoordinateListing {
public:
    // `origin`: the nodus foot point in the construction's drawing units (y downward);
    // `unitsPerMm`: drawing units per millimetre of the dial.
    CoordinateListing(Language language, QPointF origin, double unitsPerMm);

    Language language() const { return language_; }
    void setOrigin(QPointF origin, double unitsPerMm);

    // Free text (the head of the listing).
    void addLine(const QString& line);
    void addLines(const QStringList& lines);
    // A family of lines ("Datumslinien", "Stundenlinien (WOZ)", ...): a blank line and the heading.
    void beginSection(const QString& heading);
    // One line of the dial; its points follow.
    void beginCurve(const QString& label);
    // A point of the current line; `hour` >= 0 tags it "(hh Uhr):".
    void addPoint(double x, double y, int hour = -1);
    // Ends the current text row of points.
    void endCurve();

    // Millimetres from the origin with y upward.
    QPointF toMillimetres(double x, double y) const;
    QStringList lines() const;
    int pointCount() const { return pointCount_; }

    // Writes the listing as a text file (UTF-8, CR LF); the previous file survives a failed
    // write. False with a reason when it cannot be written.
    bool writeFile(const QString& path, QString* error = nullptr) const;

private:
    Language language_;
    QPointF origin_;
    double unitsPerMm_;
    QStringList lines_;
    QString row_;
    int inRow_ = 0;
    int pointCount_ = 0;
};

// The file name of the listing beside a plot file: its extension replaced by "txt".
QString ListingFileName(const QString& plotFileName);

}  // namespace zorva
