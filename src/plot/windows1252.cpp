#include "plot/windows1252.h"

namespace zorva {
namespace {

// Code points of the bytes 0x80..0x9F; 0 marks the five unassigned codes.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char encodeOne(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

// Length of the valid UTF-8 sequence at p (2..4), or 0.
int utf8SequenceLength(const unsigned char* p, const unsigned char* end) {
    const unsigned char c = *p;
    int n = 0;
    char32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) { n = 2; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { n = 3; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { n = 4; cp = c & 0x07; }
    else return 0;
    if (end - p < n) return 0;
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are no valid UTF-8.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

}  // namespace

QByteArray ToWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) out.append(encodeOne(c.unicode()));
    return out;
}

QString FromWindows1252(const char* data, qsizetype size) {
    QString out;
    out.reserve(size);
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0) out.append(QChar(kHigh[b - 0x80]));
        else out.append(QChar(static_cast<char16_t>(b)));
    }
    return out;
}

QString FromWindows1252(const QByteArray& bytes) { return FromWindows1252(bytes.constData(), bytes.size()); }

QString DecodePlotText(const char* data, qsizetype size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const auto* end = p + size;
    bool multiByte = false;
    while (p < end) {
        if (*p < 0x80) { ++p; continue; }
        const int n = utf8SequenceLength(p, end);
        if (n == 0) return FromWindows1252(data, size);
        multiByte = true;
        p += n;
    }
    return multiByte ? QString::fromUtf8(data, size) : FromWindows1252(data, size);
}

}  // namespace zorva
