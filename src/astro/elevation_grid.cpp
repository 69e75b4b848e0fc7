#include "astro/elevation_grid.h"

#include "astro/gdal_grid.h"

#include "state/input_file.h"
#include "text/bilingual.h"
#include "text/named_texts.h"
#include "text/number_format.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace zorva {
namespace {

constexpr long long kMaxGridSide = 1000000;  // no grid row or column count beyond this is real

// Regular files only: a FIFO or a device would block the reader or never end.
std::FILE* OpenRead(const QString& path) {
    InputFileStatus status;
    return OpenInputStream(path, -1, status);
}

// ------------------------------------------------------------------ streaming lines

// Hands out one line at a time from a file read in blocks (or from bytes in memory): memory
// stays bounded by the block and the longest line, whatever the size of the file.
class LineStream {
public:
    static constexpr std::size_t kBlock = 1 << 20;
    static constexpr std::size_t kMaxLine = 64u << 20;

    explicit LineStream(const TerrainGridHeader& grid) {
        if (!grid.bytes.isEmpty()) {
            memory_ = grid.bytes;  // shared, not copied
            data_ = memory_.constData();
            fill_ = static_cast<std::size_t>(memory_.size());
            eof_ = true;
            open_ = true;
            return;
        }
        file_ = OpenRead(grid.path);
        open_ = file_ != nullptr;
        // Uninitialised: zeroing a megabyte per opened grid dominated short reads.
        buffer_.reset(new char[kBlock]);
        size_ = kBlock;
        data_ = buffer_.get();
    }
    ~LineStream() {
        if (file_) std::fclose(file_);
    }
    LineStream(const LineStream&) = delete;
    LineStream& operator=(const LineStream&) = delete;

    bool isOpen() const { return open_; }
    bool tooLong() const { return tooLong_; }
    long long lineNumber() const { return lines_; }  // of the line handed out last

    // The next line without its line end; false at the end of the file or on a line
    // longer than kMaxLine.
    bool next(const char*& begin, const char*& end) {
        for (;;) {
            const char* start = data_ + pos_;
            const char* stop = data_ + fill_;
            if (const void* nl = std::memchr(start, '\n', static_cast<std::size_t>(stop - start))) {
                begin = start;
                end = static_cast<const char*>(nl);
                pos_ = static_cast<std::size_t>(end - data_) + 1;
                if (end > begin && end[-1] == '\r') --end;
                ++lines_;
                return true;
            }
            if (eof_) {
                if (start == stop) return false;
                begin = start;
                end = stop;
                pos_ = fill_;
                if (end > begin && end[-1] == '\r') --end;
                ++lines_;
                return true;
            }
            // Keep the partial line, read more behind it.
            const std::size_t keep = fill_ - pos_;
            if (pos_ > 0) std::memmove(buffer_.get(), buffer_.get() + pos_, keep);
            pos_ = 0;
            fill_ = keep;
            if (size_ - fill_ < kBlock / 2) {
                if (size_ >= kMaxLine) {
                    tooLong_ = true;
                    return false;
                }
                std::unique_ptr<char[]> wider(new char[size_ * 2]);
                std::memcpy(wider.get(), buffer_.get(), fill_);
                buffer_ = std::move(wider);
                size_ *= 2;
            }
            data_ = buffer_.get();
            const std::size_t got = file_ ? std::fread(buffer_.get() + fill_, 1, size_ - fill_, file_) : 0;
            fill_ += got;
            if (got == 0) eof_ = true;
        }
    }

private:
    std::FILE* file_ = nullptr;
    QByteArray memory_;
    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = 0;
    const char* data_ = nullptr;
    std::size_t pos_ = 0, fill_ = 0;
    long long lines_ = 0;
    bool open_ = false;
    bool eof_ = false;
    bool tooLong_ = false;
};

bool Separator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool Digit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// Why a data line could not be read, and where in it.
struct RowFault {
    enum Kind { None, NotANumber } kind = None;
    const char* token = nullptr;
    std::size_t length = 0;
};

// The elevations of one data line: numbers separated by blanks or tabs. Returns the count;
// values beyond `capacity` are counted, not stored. Anything that is not a number (such as
// "4x0") stops the line with a fault rather than being taken for two numbers.
long long ParseRow(const char* p, const char* end, float* out, long long capacity, RowFault& fault) {
    long long count = 0;
    while (p < end) {
        if (Separator(*p)) {
            ++p;
            continue;
        }
        const char* token = p;
        const bool negative = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        long long whole = 0;
        int digits = 0;
        // Beyond 15 digits the exact way below takes over; stop adding before `whole` overflows.
        while (p < end && Digit(*p)) {
            if (digits < 16) whole = whole * 10 + (*p - '0');
            ++p;
            ++digits;
        }
        double v = 0;
        if (digits > 0 && digits <= 15 && (p == end || Separator(*p))) {
            v = static_cast<double>(negative ? -whole : whole);
        } else {
            // Fractions, exponents and very long digit runs go the exact way.
            const char* stop = p;
            while (stop < end && !Separator(*stop)) ++stop;
            const char* first = token + (*token == '+' ? 1 : 0);
            const auto res = std::from_chars(first, stop, v, std::chars_format::general);
            const bool letters = std::any_of(first, stop, [](char c) { return c != 'e' && c != 'E' && std::isalpha(static_cast<unsigned char>(c)); });
            if (first == stop || (*token == '+' && *first == '-') || res.ec != std::errc() || res.ptr != stop ||
                letters || !std::isfinite(static_cast<float>(v))) {
                fault.kind = RowFault::NotANumber;
                fault.token = token;
                fault.length = static_cast<std::size_t>(stop - token);
                return count;
            }
            p = stop;
        }
        if (count < capacity) out[count] = static_cast<float>(v);
        ++count;
    }
    return count;
}

bool BlankLine(const char* p, const char* end) {
    for (; p < end; ++p)
        if (!Separator(*p)) return false;
    return true;
}

// Header numbers may carry a decimal comma.
bool HeaderNumber(QString text, double& value) {
    text = text.trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
    return ParseReal(text, value) && std::isfinite(value);
}

// Grid spacings are whole fractions of an arc second in practice (2.78e-4 stands for 1").
double SnapCellSize(double cs) {
    const double arcsec = cs * 3600.0;
    const double whole = std::round(arcsec);
    if (whole >= 1.0 && std::abs(arcsec - whole) < 0.01) return whole / 3600.0;
    return cs;
}

bool OnTheEarth(const TerrainGridHeader& h) {
    return h.firstLongitude >= -180.0 && h.lastLongitude() <= 360.0 && h.bottomLatitude() >= -90.0 &&
           h.topLatitude <= 90.0;
}

// ------------------------------------------------------------------ ESRI ASCII

bool ReadEsriHeader(TerrainGridHeader& h, QString& problem, Language lang) {
    LineStream in(h);
    if (!in.isOpen()) {
        problem = TextOf(TextId::FileUnreadable, lang) + h.path;
        return false;
    }
    bool haveCols = false, haveRows = false, haveX = false, haveY = false, haveCell = false;
    bool xCorner = true, yCorner = true;
    double x = 0, y = 0;
    const char* b = nullptr;
    const char* e = nullptr;
    // Keyword lines in any order; the elevations start with the first line that is not one.
    while (h.headerLines < 10 && in.next(b, e)) {
        const QString line = QString::fromLatin1(b, static_cast<int>(std::min<std::ptrdiff_t>(e - b, 200))).trimmed();
        int blank = 0;
        while (blank < line.size() && !line[blank].isSpace()) ++blank;
        if (blank == line.size()) blank = -1;
        const QString key = (blank < 0 ? line : line.left(blank)).toLower();
        if (key.isEmpty() || !key[0].isLetter()) break;
        const QString rest = blank < 0 ? QString() : line.mid(blank);
        double v = 0;
        if (!HeaderNumber(rest, v)) {
            problem = GridPlace(h.path, in.lineNumber(), lang) +
                      Tr(lang, "Fehlerhafte Kopfzeile: ", "Faulty header line: ") + line;
            return false;
        }
        ++h.headerLines;
        if (key == QLatin1String("ncols")) h.columns = std::llround(v), haveCols = true;
        else if (key == QLatin1String("nrows")) h.rows = std::llround(v), haveRows = true;
        else if (key == QLatin1String("xllcorner") || key == QLatin1String("xllcenter")) {
            x = v, haveX = true, xCorner = key == QLatin1String("xllcorner");
        } else if (key == QLatin1String("yllcorner") || key == QLatin1String("yllcenter")) {
            y = v, haveY = true, yCorner = key == QLatin1String("yllcorner");
        } else if (key == QLatin1String("cellsize")) h.cellSize = v, haveCell = true;
        else if (key == QLatin1String("nodata_value")) h.noData = v, h.hasNoData = true;
        // Other keywords (byte order and the like) say nothing a text grid needs.
        if ((key == QLatin1String("ncols") || key == QLatin1String("nrows")) && v != std::floor(v)) {
            problem = GridPlace(h.path, in.lineNumber(), lang) +
                      Tr(lang, "Fehlerhafte Kopfzeile: ", "Faulty header line: ") + line;
            return false;
        }
    }
    if (in.tooLong() || !haveCols || !haveRows || !haveX || !haveY || !haveCell || h.columns < 1 ||
        h.columns > kMaxGridSide || h.rows < 1 || h.rows > kMaxGridSide || !(h.cellSize > 0.0 && h.cellSize <= 5.0)) {
        problem = Tr(lang, "Keine gültigen Höhendaten (ESRI ASCII): ", "No valid elevation data (ESRI ASCII): ") + h.path;
        return false;
    }
    h.cellSize = SnapCellSize(h.cellSize);
    h.firstLongitude = x + (xCorner ? h.cellSize / 2.0 : 0.0);
    h.topLatitude = y + (yCorner ? h.cellSize / 2.0 : 0.0) + (h.rows - 1) * h.cellSize;
    return true;
}

class EsriRows : public GridRowReader {
public:
    EsriRows(const TerrainGridHeader& grid, Language lang) : grid_(grid), lang_(lang), in_(grid) {
        if (!in_.isOpen()) {
            problem_ = TextOf(TextId::FileUnreadable, lang) + grid.path;
            return;
        }
        const char* b = nullptr;
        const char* e = nullptr;
        for (int i = 0; i < grid.headerLines; ++i)
            if (!in_.next(b, e)) break;
    }

    bool read(float* out) override {
        const char* b = nullptr;
        const char* e = nullptr;
        if (!nextRow(b, e)) return false;
        RowFault fault;
        const long long count = ParseRow(b, e, out, grid_.columns, fault);
        if (fault.kind == RowFault::NotANumber) {
            const QString token = QString::fromLatin1(fault.token, static_cast<int>(std::min<std::size_t>(fault.length, 24)));
            problem_ = place() + QLatin1Char('"') + token + QLatin1Char('"') +
                       Tr(lang_, " ist keine Zahl.", " is not a number.");
            return false;
        }
        if (count != grid_.columns) {
            problem_ = place() + Tr(lang_, "In der Datenzeile ", "In data line ") + QString::number(rowsDone_) +
                       Tr(lang_, " waren ", " there were ") + QString::number(count) +
                       Tr(lang_, " Höhendaten statt genau ", " elevations instead of exactly ") +
                       QString::number(grid_.columns);
            return false;
        }
        return true;
    }

    bool skip() override {
        const char* b = nullptr;
        const char* e = nullptr;
        return nextRow(b, e);
    }

    bool checkEnd() override {
        const char* b = nullptr;
        const char* e = nullptr;
        while (in_.next(b, e)) {
            if (BlankLine(b, e)) continue;
            problem_ = place() + Tr(lang_, "Mehr Datenzeilen als die ", "More data lines than the ") +
                       QString::number(grid_.rows) +
                       Tr(lang_, " des Dateikopfs (nrows).", " the header states (nrows).");
            return false;
        }
        return tooLongFault();
    }

private:
    QString place() const { return GridPlace(grid_.path, in_.lineNumber(), lang_); }

    bool tooLongFault() {
        if (!in_.tooLong()) return true;
        problem_ = place() + Tr(lang_, "Zeile zu lang.", "Line too long.");
        return false;
    }

    bool nextRow(const char*& b, const char*& e) {
        if (!problem_.isEmpty() || rowsDone_ >= grid_.rows) return false;
        if (!in_.next(b, e)) {
            if (tooLongFault())
                problem_ = GridPlace(grid_.path, in_.lineNumber() + 1, lang_) + Tr(lang_, "Die Datei ", "The file ") +
                           grid_.path + Tr(lang_, " endet nach ", " ends after ") + QString::number(rowsDone_) +
                           Tr(lang_, " statt ", " instead of ") + QString::number(grid_.rows) +
                           Tr(lang_, " Datenzeilen.", " data lines.");
            return false;
        }
        ++rowsDone_;
        return true;
    }

    const TerrainGridHeader& grid_;
    Language lang_;
    LineStream in_;
};

// ------------------------------------------------------------------ SRTM .hgt

constexpr double kHgtVoid = -32768.0;

bool HgtSide(long long bytes, long long& side) {
    for (long long n : {1201LL, 3601LL}) {
        if (bytes == 2 * n * n) {
            side = n;
            return true;
        }
    }
    return false;
}

bool ReadHgtHeader(TerrainGridHeader& h, long long size, QString& problem, Language lang) {
    static const QRegularExpression name(QStringLiteral("^([NnSs])(\\d{2})([EeWw])(\\d{3})"));
    const QRegularExpressionMatch m = name.match(QFileInfo(h.path).fileName());
    if (!m.hasMatch()) {
        problem = h.path + Tr(lang, ": Der Dateiname nennt keine SRTM-Kachel (wie N47E009.hgt).",
                              ": The file name names no SRTM tile (such as N47E009.hgt).");
        return false;
    }
    long long side = 0;
    if (!HgtSide(size, side)) {
        problem = h.path + Tr(lang, ": ", ": ") + QString::number(size) +
                  Tr(lang, " Bytes passen zu keiner SRTM-Kachel (1201 x 1201 oder 3601 x 3601 Werte).",
                     " bytes fit no SRTM tile (1201 x 1201 or 3601 x 3601 values).");
        return false;
    }
    const int lat = m.captured(2).toInt() * (m.captured(1).toUpper() == QLatin1String("S") ? -1 : 1);
    const int lon = m.captured(4).toInt() * (m.captured(3).toUpper() == QLatin1String("W") ? -1 : 1);
    if (lat < -90 || lat > 89 || lon < -180 || lon > 179) {
        problem = h.path + Tr(lang, ": Die Kachel liegt außerhalb der Erde.", ": The tile lies outside the Earth.");
        return false;
    }
    h.format = GridFormat::SrtmHgt;
    h.columns = h.rows = side;
    h.cellSize = 1.0 / static_cast<double>(side - 1);
    h.firstLongitude = lon;
    h.topLatitude = lat + 1;
    h.hasNoData = true;
    h.noData = kHgtVoid;
    h.headerLines = 0;
    return true;
}

class HgtRows : public GridRowReader {
public:
    HgtRows(const TerrainGridHeader& grid, Language lang) : grid_(grid), lang_(lang) {
        if (grid.bytes.isEmpty()) {
            file_ = OpenRead(grid.path);
            if (!file_) problem_ = TextOf(TextId::FileUnreadable, lang) + grid.path;
        }
        raw_.resize(static_cast<std::size_t>(grid.columns) * 2);
    }
    ~HgtRows() override {
        if (file_) std::fclose(file_);
    }

    bool read(float* out) override {
        const unsigned char* row = nextRow();
        if (!row) return false;
        for (long long j = 0; j < grid_.columns; ++j) {
            const auto v = static_cast<std::int16_t>(static_cast<std::uint16_t>(row[2 * j] << 8 | row[2 * j + 1]));
            out[j] = static_cast<float>(v);
        }
        return true;
    }

    bool skip() override {
        if (!problem_.isEmpty() || rowsDone_ >= grid_.rows) return false;
        if (file_ && std::fseek(file_, static_cast<long>(raw_.size()), SEEK_CUR) != 0) return ended();
        ++rowsDone_;
        return true;
    }

    bool checkEnd() override { return true; }  // the size was checked with the header

private:
    const unsigned char* nextRow() {
        if (!problem_.isEmpty() || rowsDone_ >= grid_.rows) return nullptr;
        const std::size_t n = raw_.size();
        const unsigned char* row = nullptr;
        if (file_) {
            if (std::fread(raw_.data(), 1, n, file_) != n) {
                ended();
                return nullptr;
            }
            row = raw_.data();
        } else {
            const std::size_t at = static_cast<std::size_t>(rowsDone_) * n;
            if (at + n > static_cast<std::size_t>(grid_.bytes.size())) {
                ended();
                return nullptr;
            }
            row = reinterpret_cast<const unsigned char*>(grid_.bytes.constData()) + at;
        }
        ++rowsDone_;
        return row;
    }

    bool ended() {
        problem_ = Tr(lang_, "Die Datei ", "The file ") + grid_.path + Tr(lang_, " endet nach ", " ends after ") +
                   QString::number(rowsDone_) + Tr(lang_, " statt ", " instead of ") + QString::number(grid_.rows) +
                   Tr(lang_, " Zeilen.", " rows.");
        return false;
    }

    const TerrainGridHeader& grid_;
    Language lang_;
    std::FILE* file_ = nullptr;
    std::vector<unsigned char> raw_;
};

bool IsHgtName(const QString& path) { return path.endsWith(QLatin1String(".hgt"), Qt::CaseInsensitive); }

// An ESRI grid by its name or by its first keyword; a binary raster never starts so.
bool IsEsriFile(const QString& path) {
    // Anything but a regular file (a FIFO would block here) goes to the reader that refuses it.
    if (path.endsWith(QLatin1String(".asc"), Qt::CaseInsensitive) || !QFileInfo(path).isFile()) return true;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return true;  // the ESRI reader names the fault
    const QByteArray start = f.read(64).trimmed().toLower();
    for (const char* key : {"ncols", "nrows", "xllcorner", "xllcenter", "yllcorner", "yllcenter", "cellsize",
                            "nodata_value"})
        if (start.startsWith(key)) return true;
    return false;
}

bool ReadHeader(TerrainGridHeader& h, QString& problem, Language lang) {
    bool ok = false;
    if (IsHgtName(h.path)) {
        long long size = h.bytes.size();
        if (h.bytes.isEmpty()) {
            const QFileInfo info(h.path);
            if (!info.isFile() || !info.isReadable()) {
                problem = TextOf(TextId::FileUnreadable, lang) + h.path;
                return false;
            }
            size = info.size();
        }
        ok = ReadHgtHeader(h, size, problem, lang);
    } else if (!h.bytes.isEmpty() || IsEsriFile(h.path)) {
        ok = ReadEsriHeader(h, problem, lang);
    } else {
        ok = ReadGdalGridHeader(h, problem, lang);
        if (ok && (h.columns > kMaxGridSide || h.rows > kMaxGridSide || !(h.cellSize <= 5.0) ||
                   !(h.cellWidth <= 5.0))) {
            problem = Tr(lang, "Keine lesbaren Höhendaten: ", "No readable elevation data: ") + h.path;
            return false;
        }
        if (ok) {
            h.cellSize = SnapCellSize(h.cellSize);
            if (h.cellWidth > 0.0) h.cellWidth = SnapCellSize(h.cellWidth);
        }
    }
    if (ok && !OnTheEarth(h)) {
        problem = Tr(lang, "Höhendaten außerhalb der Erde: ", "Elevation data outside the Earth: ") + h.path;
        return false;
    }
    return ok;
}

}  // namespace

QString GridPlace(const QString& path, long long line, Language lang) {
    return path + Tr(lang, ", Zeile ", ", line ") + QString::number(line) + QStringLiteral(": ");
}

bool ReadTerrainGridHeader(const QString& path, TerrainGridHeader& header, QString& problem, Language lang) {
    TerrainGridHeader h;
    h.path = path;
    if (!ReadHeader(h, problem, lang)) return false;
    header = h;
    return true;
}

bool ReadTerrainGridHeaderBytes(const QString& name, const QByteArray& bytes, TerrainGridHeader& header,
                                QString& problem, Language lang) {
    TerrainGridHeader h;
    h.path = name;
    h.bytes = bytes;
    if (bytes.isEmpty()) {
        problem = Tr(lang, "Keine gültigen Höhendaten (ESRI ASCII): ", "No valid elevation data (ESRI ASCII): ") + name;
        return false;
    }
    if (!ReadHeader(h, problem, lang)) return false;
    header = h;
    return true;
}

std::unique_ptr<GridRowReader> GridRowReader::open(const TerrainGridHeader& grid, Language lang) {
    if (grid.format == GridFormat::SrtmHgt) return std::make_unique<HgtRows>(grid, lang);
    if (grid.format == GridFormat::Gdal) return OpenGdalRows(grid, lang);
    return std::make_unique<EsriRows>(grid, lang);
}

}  // namespace zorva
