#include "astro/time_format.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace zorva {
namespace {

QString TwoDigits(std::int64_t n) {
    return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
}

QString PadLeft(QString text, int width) {
    if (text.size() < width) text.prepend(QString(width - text.size(), QLatin1Char(' ')));
    return text;
}

// Values that no clock shows; texts stay short and never turn into undefined conversions.
constexpr double kMaxHours = 1e9;

}  // namespace

QString FormatMinSec(double eotDegrees) {
    const double m = eotDegrees * 4.0;
    if (!std::isfinite(m) || std::abs(m) > kMaxHours) return PadLeft(QStringLiteral("-:--"), 6);
    const double frac = m - std::trunc(m);
    std::int64_t s = static_cast<std::int64_t>(m >= 0 ? std::trunc(frac * 60 + 0.5) : std::trunc(frac * 60 - 0.5));
    std::int64_t minutes = static_cast<std::int64_t>(std::trunc(m));
    if (std::llabs(s) == 60) {
        minutes = static_cast<std::int64_t>(std::trunc(m + 60.0 / double(s)));
        s = 0;
    }
    const bool negative = minutes < 0 || s < 0;
    QString text = negative ? QStringLiteral("-") : QString();
    text += QString::number(std::llabs(minutes)) + QLatin1Char(':') + TwoDigits(std::llabs(s));
    return PadLeft(text, 6);
}

QString FormatHourMinSec(double hours) {
    if (!std::isfinite(hours) || std::abs(hours) > kMaxHours) return QStringLiteral("-:--:--");
    QString text;
    if (hours < 0) {
        text = QStringLiteral("-");
        hours = -hours;
    }
    std::int64_t h = static_cast<std::int64_t>(std::trunc(hours));
    const double minutesReal = (hours - std::trunc(hours)) * 60.0;
    std::int64_t minutes = static_cast<std::int64_t>(std::trunc(minutesReal));
    std::int64_t seconds = static_cast<std::int64_t>(std::nearbyint((minutesReal - std::trunc(minutesReal)) * 60.0));
    if (seconds >= 60) {
        seconds -= 60;
        ++minutes;
    }
    if (minutes >= 60) {
        minutes -= 60;
        ++h;
    }
    return text + QString::number(h) + QLatin1Char(':') + TwoDigits(minutes) + QLatin1Char(':') + TwoDigits(seconds);
}

QString FormatHourMin(double hours) {
    if (!std::isfinite(hours) || std::abs(hours) > kMaxHours) return QStringLiteral(" --:--");
    // Hours and minutes both come from the whole-minute count, so 6.9999 h cannot
    // become "6:60" through a binary fraction.
    const std::int64_t total = static_cast<std::int64_t>(std::trunc(hours * 60.0 + 0.5));
    const std::int64_t absTotal = std::llabs(total);
    QString h = QString::number(absTotal / 60);
    if (total < 0) h.prepend(QLatin1Char('-'));
    return PadLeft(h, 3) + QLatin1Char(':') + TwoDigits(absTotal % 60);
}

}  // namespace zorva
