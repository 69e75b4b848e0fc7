#include "dials/coordinate_listing.h"

#include "state/safe_save.h"
#include "text/number_format.h"

#include <QFileInfo>

namespace zorva {
namespace {

constexpr int kPointsPerRow = 4;

}  // namespace

CoordinateListing::CoordinateListing(Language language, QPointF origin, double unitsPerMm)
    : language_(language), origin_(origin), unitsPerMm_(unitsPerMm > 0 ? unitsPerMm : 1.0) {}

void CoordinateListing::setOrigin(QPointF origin, double unitsPerMm) {
    origin_ = origin;
    unitsPerMm_ = unitsPerMm > 0 ? unitsPerMm : 1.0;
}

void CoordinateListing::addLine(const QString& line) {
    endCurve();
    // Embedded line breaks become rows of their own.
    QString text = line;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines_ << text.split(QLatin1Char('\n'));
}

void CoordinateListing::addLines(const QStringList& lines) {
    for (const QString& l : lines) addLine(l);
}

void CoordinateListing::beginSection(const QString& heading) {
    endCurve();
    lines_ << QString() << heading;
}

void CoordinateListing::beginCurve(const QString& label) {
    endCurve();
    lines_ << label;
}

QPointF CoordinateListing::toMillimetres(double x, double y) const {
    return {(x - origin_.x()) / unitsPerMm_, (origin_.y() - y) / unitsPerMm_};
}

void CoordinateListing::addPoint(double x, double y, int hour) {
    const QPointF mm = toMillimetres(x, y);
    QString item;
    if (hour >= 0) {
        item = QStringLiteral("(") + IntToTextWidth(hour, 2) +
               (language_ == Language::English ? QStringLiteral(" h):") : QStringLiteral(" Uhr):"));
    }
    item += RealToText(9, 3, mm.x()) + QLatin1Char('/') + RealToText(9, 3, mm.y());
    if (inRow_ > 0) row_ += QStringLiteral("   ");
    row_ += item;
    ++pointCount_;
    if (++inRow_ == kPointsPerRow) endCurve();
}

void CoordinateListing::endCurve() {
    if (inRow_ == 0) return;
    lines_ << QStringLiteral("   ") + row_;
    row_.clear();
    inRow_ = 0;
}

QStringList CoordinateListing::lines() const {
    QStringList out = lines_;
    if (inRow_ > 0) out << QStringLiteral("   ") + row_;
    return out;
}

bool CoordinateListing::writeFile(const QString& path, QString* error) const {
    SafeSaveFile file(path);
    const QByteArray bytes = lines().join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    if (error) *error = file.errorText(language_);
    return false;
}

QString ListingFileName(const QString& plotFileName) {
    const QFileInfo info(plotFileName);
    const QString folder = plotFileName.left(plotFileName.size() - info.fileName().size());
    QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) name.truncate(dot);
    if (name.isEmpty()) name = QStringLiteral("zor");
    return folder + name + QStringLiteral(".txt");
}

}  // namespace zorva
