#include "text/number_format.h"

#include "text/texts.h"
#include "text/user_dialogs.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace zorva {

QString RealToText(int width, int decimals, double x, UserDialogs* dialogs, Language lang) {
    if (width < decimals) {
        if (dialogs) dialogs->inform(caption(CaptionKind::Warning, lang), message(25, lang), Icon::Warning);
        return {};
    }
    if (decimals < 0) decimals = 0;
    if (decimals > 30) decimals = 30;
    QString text;
    if (std::isnan(x)) {
        text = QStringLiteral("NAN");
    } else if (std::isinf(x)) {
        text = x > 0 ? QStringLiteral("+INF") : QStringLiteral("-INF");
    } else {
        char buf[400];
        auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
        text = QString::fromLatin1(buf, res.ptr - buf);
    }
    if (text.size() < width) text = QString(width - text.size(), QLatin1Char(' ')) + text;
    return text;
}

QString RoundToIntText(double x) {
    constexpr double kLimit = 217000000.0;
    if (std::isnan(x)) return QStringLiteral("0");
    if (x > kLimit) x = kLimit;
    if (x < -kLimit) x = -kLimit;
    const long long n = std::llrint(x);  // default rounding mode: half to even
    return QString::number(n);
}

QString IntToTextWidth(long long n, int width) {
    QString text = QString::number(n);
    if (text.size() < width) text = QString(width - text.size(), QLatin1Char(' ')) + text;
    return text;
}

QString StripAccelerators(const QString& caption) {
    QString out = caption;
    out.remove(QLatin1Char('&'));
    out.remove(QLatin1Char(':'));
    return out;
}

QString TransliterateUmlauts(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
            case 0x00C4: out += QLatin1String("Ae"); break;
            case 0x00D6: out += QLatin1String("Oe"); break;
            case 0x00DC: out += QLatin1String("Ue"); break;
            case 0x00E4: out += QLatin1String("ae"); break;
            case 0x00F6: out += QLatin1String("oe"); break;
            case 0x00FC: out += QLatin1String("ue"); break;
            default: out += c;
        }
    }
    return out;
}

namespace {

// from_chars refuses a leading '+': skips one, but never lets "+-5" through as -5; false
// when nothing is left to read.
bool SkipPlusSign(const char*& first, const char* last) {
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') return false;
    }
    return first != last;
}

}  // namespace

bool ParseReal(const QString& text, double& value) {
    const QByteArray bytes = text.toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    if (!SkipPlusSign(first, last)) return false;
    double v = 0;
    auto res = std::from_chars(first, last, v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v)) return false;
    // from_chars also accepts "inf"/"nan"; those are no numbers a user means.
    for (const char* p = first; p != last; ++p)
        if ((*p >= 'a' && *p <= 'z' && *p != 'e') || (*p >= 'A' && *p <= 'Z' && *p != 'E')) return false;
    value = v;
    return true;
}

bool ParseInt(const QString& text, long long& value) {
    const QByteArray bytes = text.toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    if (!SkipPlusSign(first, last)) return false;
    long long v = 0;
    auto res = std::from_chars(first, last, v, 10);
    if (res.ec != std::errc() || res.ptr != last) return false;
    value = v;
    return true;
}

}  // namespace zorva
