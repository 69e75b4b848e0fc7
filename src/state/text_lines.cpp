#include "state/text_lines.h"

#include "state/input_file.h"
#include "state/safe_save.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace zorva {
namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five undefined codes (read as the C1 control
// of the same number, like the platform's own conversion does).
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte for a character, or -1 when Windows-1252 has none.
int ByteFor1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kHighTable[i] == c) return 0x80 + i;
    if (c >= 0x80 && c <= 0x9F && kHighTable[c - 0x80] == 0) return c;
    return -1;
}

QString Decode1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u <= 0x9F && kHighTable[u - 0x80] != 0)
            out += QChar(kHighTable[u - 0x80]);
        else
            out += QChar(u);
    }
    return out;
}

bool HasNonAscii(const QByteArray& bytes) {
    for (char b : bytes)
        if (static_cast<unsigned char>(b) >= 0x80) return true;
    return false;
}

}  // namespace

QString DecodeLineFileText(const QByteArray& raw) {
    QByteArray bytes = raw;
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom) bytes.remove(0, 3);
    if (bom || HasNonAscii(bytes)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError()) return text;
    }
    return Decode1252(bytes);
}

bool RepresentableIn1252(const QString& text) {
    for (QChar c : text)
        if (ByteFor1252(c.unicode()) < 0) return false;
    return true;
}

QByteArray EncodeLineFileText(const QString& text) {
    if (!RepresentableIn1252(text)) return text.toUtf8();
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) out += static_cast<char>(ByteFor1252(c.unicode()));
    // Windows-1252 bytes that happen to form UTF-8 ("Ã¤" is C3 A4, which is "ä") would be read
    // back as something else; UTF-8 reads back as written.
    if (HasNonAscii(out) && DecodeLineFileText(out) != text) return text.toUtf8();
    return out;
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
            start = i + 1;
        }
    }
    if (start < n) lines << text.mid(start);
    return lines;
}

LineFileStatus ReadLineFile(const QString& path, QStringList& lines) {
    lines.clear();
    QByteArray bytes;
    switch (ReadInputFile(path, kMaxLineFileBytes, bytes)) {
        case InputFileStatus::Ok: break;
        case InputFileStatus::Missing: return LineFileStatus::Missing;
        case InputFileStatus::TooLarge: return LineFileStatus::TooLarge;
        case InputFileStatus::NotAFile: return LineFileStatus::NotAFile;
        case InputFileStatus::Unreadable: return LineFileStatus::Unreadable;
    }
    lines = SplitLines(DecodeLineFileText(bytes));
    return LineFileStatus::Ok;
}

bool WriteLineFile(const QString& path, const QStringList& lines, SaveError* error) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return SaveFileBytes(path, EncodeLineFileText(text), error);
}

}  // namespace zorva
