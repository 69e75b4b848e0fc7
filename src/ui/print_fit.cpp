#include "ui/print_fit.h"

#include <algorithm>

namespace zorva {

QRect FitPictureOnPage(QSize picture, const QRect& page) {
    if (picture.isEmpty() || page.isEmpty()) return QRect(page.topLeft(), QSize());
    const QSize target = picture.scaled(page.size(), Qt::KeepAspectRatio);
    return QRect(QPoint(page.left() + (page.width() - target.width()) / 2, page.top()), target);
}

double TableFitScale(double widestLine, double usableWidth) {
    if (!(widestLine > 0) || !(usableWidth > 0)) return 1.0;
    return std::min(1.0, usableWidth / widestLine);
}

}  // namespace zorva
