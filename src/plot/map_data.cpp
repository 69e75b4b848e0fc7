#include "plot/map_data.h"
#include "state/input_file.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace zorva {
namespace {

// Only the head of a text line can hold a point (blanks, longitude, 40 characters, latitude);
// longer lines are cut here so that a file without line ends cannot fill the memory.
constexpr std::size_t kLineCap = 4096;

bool NumberChar(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// A run of number characters as a real number: one leading '+' allowed, nothing left over.
bool RunValue(const char* first, const char* last, double& value) {
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') return false;
    }
    if (first == last) return false;
    double v = 0;
    const auto res = std::from_chars(first, last, v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v)) return false;
    value = v;
    return true;
}

// Turns text lines into map lines. A map line's first point waits until a second one
// arrives, so that single points never reach the sink.
class MapParser {
public:
    MapParser(int minPointLength, MapLineSink& sink, MapReadReport& report)
        : minLength_(static_cast<std::size_t>(std::max(0, minPointLength))), sink_(sink), report_(report) {}

    // One text line without its '\n'; `cut` when the reader dropped bytes beyond kLineCap.
    void line(const char* b, const char* e, bool cut) {
        ++report_.textLines;
        std::size_t n = static_cast<std::size_t>(e - b);
        if (n > kLineCap) {
            n = kLineCap;
            cut = true;
        }
        // Carriage returns are ignored wherever they stand.
        if (std::memchr(b, '\r', n)) {
            char* out = clean_;
            for (std::size_t i = 0; i < n; ++i)
                if (b[i] != '\r') *out++ = b[i];
            b = clean_;
            n = static_cast<std::size_t>(out - clean_);
        }
        e = b + n;
        if ((n > 0 && *b == '#') || (!cut && n < minLength_)) {
            breakLine();
            return;
        }
        const char* p = b;
        while (p < e && *p == ' ') ++p;
        const char* lonBegin = p;
        while (p < e && NumberChar(*p)) ++p;
        const char* lonEnd = p;
        const char* restEnd = std::min(e, p + 40);
        while (p < restEnd && !NumberChar(*p)) ++p;
        const char* latBegin = p;
        while (p < restEnd && NumberChar(*p)) ++p;
        MapPoint point;
        if (!RunValue(lonBegin, lonEnd, point.longitude) || !RunValue(latBegin, p, point.latitude)) {
            // Skipped; the map line goes on without it.
            if (report_.badPoints++ == 0) {
                report_.firstBadLine = report_.textLines;
                report_.firstBadText = Printable(b, e);
            }
            return;
        }
        if (point.longitude < -180 || point.longitude > 180 || point.latitude < -90 || point.latitude > 90) {
            breakLine();
            return;
        }
        if (begun_) {
            deliver(point);
        } else if (pending_) {
            sink_.beginLine();
            begun_ = true;
            deliver(first_);
            deliver(point);
        } else {
            first_ = point;
            pending_ = true;
        }
    }

    void finish() { breakLine(); }

private:
    void deliver(const MapPoint& p) {
        sink_.point(p);
        ++report_.points;
    }
    void breakLine() {
        if (begun_) sink_.endLine();
        begun_ = pending_ = false;
    }
    static QString Printable(const char* b, const char* e) {
        QString text = QString::fromLatin1(b, static_cast<int>(std::min<std::ptrdiff_t>(e - b, 60))).trimmed();
        for (QChar& c : text)
            if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0)) c = QLatin1Char('?');
        return text;
    }

    std::size_t minLength_;
    MapLineSink& sink_;
    MapReadReport& report_;
    MapPoint first_;
    bool pending_ = false, begun_ = false;
    char clean_[kLineCap];
};

// Cuts a stream of blocks into text lines; a line split between blocks is carried over,
// at most kLineCap bytes of it.
class LineAssembler {
public:
    explicit LineAssembler(MapParser& parser) : parser_(parser) {}

    void feed(const char* p, const char* end) {
        while (p < end) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* stop = nl ? nl : end;
            if (nl && carry_.empty() && !cut_) {
                parser_.line(p, nl, false);
            } else {
                const std::size_t room = kLineCap - carry_.size();
                const std::size_t take = std::min(room, static_cast<std::size_t>(stop - p));
                carry_.append(p, take);
                if (take < static_cast<std::size_t>(stop - p)) cut_ = true;
                if (nl) flush();
            }
            p = nl ? nl + 1 : end;
        }
    }
    void finish() {
        if (!carry_.empty() || cut_) flush();
        parser_.finish();
    }

private:
    void flush() {
        parser_.line(carry_.data(), carry_.data() + carry_.size(), cut_);
        carry_.clear();
        cut_ = false;
    }
    MapParser& parser_;
    std::string carry_;
    bool cut_ = false;
};

}  // namespace

MapReadReport ReadMapBytes(std::string_view bytes, int minPointLength, MapLineSink& sink) {
    MapReadReport report;
    report.opened = true;
    MapParser parser(minPointLength, sink, report);
    LineAssembler lines(parser);
    lines.feed(bytes.data(), bytes.data() + bytes.size());
    lines.finish();
    return report;
}

MapReadReport ReadMapDevice(QIODevice& device, int minPointLength, MapLineSink& sink) {
    MapReadReport report;
    report.opened = true;
    MapParser parser(minPointLength, sink, report);
    LineAssembler lines(parser);
    std::vector<char> block(1 << 16);
    for (;;) {
        const qint64 got = device.read(block.data(), static_cast<qint64>(block.size()));
        if (got <= 0) break;
        lines.feed(block.data(), block.data() + got);
    }
    lines.finish();
    return report;
}

MapReadReport ReadMapFile(const QString& path, int minPointLength, MapLineSink& sink) {
    QFile file;
    // Regular files only: a FIFO under the map file's name would block the reader forever.
    if (OpenInputFile(path, -1, file) != InputFileStatus::Ok) return {};
    return ReadMapDevice(file, minPointLength, sink);
}

QString MapBadPointsText(const QString& fileName, const MapReadReport& report, Language lang) {
    if (report.badPoints == 0) return {};
    const bool en = lang == Language::English;
    QString text = fileName + (en ? QStringLiteral(", line ") : QStringLiteral(", Zeile ")) +
                   QString::number(report.firstBadLine) + QStringLiteral(": ") + report.firstBadText +
                   QStringLiteral(" : ") +
                   (en ? QStringLiteral("This is not a real number !") : QStringLiteral("Das ist keine reelle Zahl."));
    const QString count = QString::number(report.badPoints);
    text += QStringLiteral("\r\n(") + count;
    if (en) text += report.badPoints == 1 ? QStringLiteral(" point skipped)") : QStringLiteral(" points skipped)");
    else text += report.badPoints == 1 ? QStringLiteral(" Punkt übergangen)") : QStringLiteral(" Punkte übergangen)");
    return text;
}

}  // namespace zorva
