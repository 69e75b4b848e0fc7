#include "plot/hpgl_to_dxf.h"

#include "plot/windows1252.h"
#include "state/input_file.h"
#include "state/safe_save.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zorva {
namespace {

// The converter's own degree factor; arcs and text angles must come out as they always did.
constexpr double kRadiansPerDegree = 0.0174532925;

constexpr size_t kSliceThreshold = 230;   // a PD/PA/PU list longer than this is run in slices
constexpr int kSlicePairs = 9;
constexpr int kCommandPairs = 255;
constexpr size_t kLongestWhole = 252;     // longer parameter texts are cut ...
constexpr size_t kCutLength = 250;        // ... to this length
// Nothing in a plot needs more; the cap keeps memory flat on files without terminators.
constexpr size_t kMaxParameterText = 4096;
constexpr int kMaxMessages = 1000;
constexpr int kMaxLongCommandBoxes = 3;
// Beyond the range of HPGL coordinates (2^30); larger runs are treated as no number,
// which keeps every later product finite.
constexpr double kLargestNumber = 1e9;

bool isNumberChar(char c) { return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9'); }
bool isSeparator(char c) { return c == ' ' || c == ',' || c == ';'; }
bool isTrimChar(char c) { return c == 3 || c == 10 || c == 13 || c == ' ' || c == ';'; }

// Parses a run of number characters ("+", "-", ".", digits) as a whole.
bool parseRun(std::string_view run, double& value) {
    const char* first = run.data();
    const char* last = first + run.size();
    if (first != last && *first == '+') ++first;
    if (first == last || *first == '+') return false;
    // Plot coordinates are whole numbers: up to nine digits need no general parser.
    {
        const char* p = first;
        const bool negative = *p == '-';
        if (negative) ++p;
        if (p != last && last - p <= 9) {
            long n = 0;
            const char* q = p;
            for (; q != last && *q >= '0' && *q <= '9'; ++q) n = n * 10 + (*q - '0');
            if (q == last) {
                value = negative ? -static_cast<double>(n) : static_cast<double>(n);
                return true;
            }
        }
    }
    double v = 0;
    auto res = std::from_chars(first, last, v, std::chars_format::fixed);
    if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v) || std::abs(v) > kLargestNumber)
        return false;
    value = v;
    return true;
}

// Reads back a number text the converter wrote itself (leading blanks allowed).
bool parseText(std::string_view text, double& value) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return false;
    for (char c : text)
        if (!isNumberChar(c)) return false;
    return parseRun(text, value);
}

// Fixed-point text with `decimals` decimals, left-padded to `width`; never "-0.00".
std::string fixed(double v, int decimals, int width = 0) {
    if (!std::isfinite(v)) v = 0;
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string text(buf, res.ptr);
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
    return text;
}

// "%.14E" as the C library writes it in the C locale ("6.00000000000000E-03"), whatever the
// user's locale: a decimal comma makes DXF readers refuse the file.
std::string Scientific14(double v) {
    if (!std::isfinite(v)) v = 0;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string text(buf, res.ptr);
    // to_chars writes "e-03"; the C library writes "E-03" with at least two exponent digits.
    const size_t e = text.find('e');
    if (e != std::string::npos) {
        text[e] = 'E';
        const size_t digits = text.size() - e - 2;
        if (digits < 2) text.insert(e + 2, 2 - digits, '0');
    }
    return text;
}

// "00" to "99", for writing two digits at a time.
constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes the decimal digits of `n` so that they end at `end`; returns where they begin.
template <typename Unsigned>
char* DigitsBefore(char* end, Unsigned n) {
    while (n >= 100) {
        end -= 2;
        std::memcpy(end, &kDigitPairs[2 * (n % 100)], 2);
        n /= 100;
    }
    if (n >= 10) {
        end -= 2;
        std::memcpy(end, &kDigitPairs[2 * n], 2);
    } else {
        *--end = static_cast<char>('0' + n);
    }
    return end;
}

template <typename Unsigned>
int DigitCount(Unsigned n) {
    int count = 1;
    for (; n >= 10000; n /= 10000) count += 4;
    return count + (n >= 10) + (n >= 100) + (n >= 1000);
}

// Appends `s` at `p`; returns the end.
char* Put(char* p, std::string_view s) {
    if (!s.empty()) std::memcpy(p, s.data(), s.size());
    return p + s.size();
}

QString bytesText(std::string_view bytes) { return FromWindows1252(bytes.data(), static_cast<qsizetype>(bytes.size())); }

// The plot file, read through a block buffer, byte by byte or in runs. Reading ends at the
// cap, also for a file that keeps growing while it is read.
class PlotReader {
public:
    explicit PlotReader(QFile& file) : file_(file) {}
    int get() {
        if (pos_ == len_ && !fill()) return -1;
        return static_cast<unsigned char>(buffer_[pos_++]);
    }
    // The bytes read ahead and not yet taken; empty at the end of the file.
    std::string_view buffered() {
        if (pos_ == len_ && !fill()) return {};
        return {buffer_ + pos_, static_cast<size_t>(len_ - pos_)};
    }
    void advance(size_t n) { pos_ += static_cast<qint64>(n); }
    bool tooLarge() const { return tooLarge_; }
    // Skips to the next character whose code is above 64 (the letters of a mnemonic).
    int nextLetter() {
        int c;
        while ((c = get()) >= 0 && c <= 64) {}
        return c;
    }

private:
    bool fill() {
        const qint64 room = kMaxPlotFileBytes - total_;
        if (room <= 0) {
            // One byte beyond the cap tells a file at the cap from one above it.
            char extra;
            if (file_.read(&extra, 1) == 1) tooLarge_ = true;
            return false;
        }
        len_ = file_.read(buffer_, std::min<qint64>(sizeof buffer_, room));
        pos_ = 0;
        if (len_ <= 0) {
            len_ = 0;
            return false;
        }
        total_ += len_;
        return true;
    }

    QFile& file_;
    char buffer_[1 << 16];
    qint64 pos_ = 0, len_ = 0;
    qint64 total_ = 0;
    bool tooLarge_ = false;
};

// The DXF file: lines end with CR LF (the final form); saved through SafeSaveFile so that a
// failed or interrupted conversion never leaves a half-written drawing in the user's file.
class DxfWriter {
public:
    // Bytes beyond those asked for that space() leaves writable, for copies in whole blocks.
    static constexpr size_t kSlack = 128;

    explicit DxfWriter(const QString& path) : file_(path), buffer_(new char[kFlushBytes + kSlack]) {}
    bool open() { return file_.open(QIODevice::WriteOnly); }
    // Room for `n` more bytes, to be filled at once; kSlack more may be written over.
    char* space(size_t n) {
        if (size_ + n > capacity_) {
            flush();
            if (n > capacity_) {  // one entity with very long numbers
                buffer_.reset(new char[n + kSlack]);
                capacity_ = n;
            }
        }
        char* at = buffer_.get() + size_;
        size_ += n;
        return at;
    }
    void line(std::string_view text) {
        char* p = Put(space(text.size() + 2), text);
        p[0] = '\r';
        p[1] = '\n';
    }
    // Lines that carry their own line ends.
    void raw(std::string_view lines) { Put(space(lines.size()), lines); }
    void pair(std::string_view code, std::string_view value) {
        line(code);
        line(value);
    }
    void cancel() {
        size_ = 0;
        file_.cancel();
    }
    bool commit() {
        flush();
        return file_.commit();
    }
    // The file as written when nothing could be converted: line ends of CR alone. Labels never
    // carry line feeds (they become blanks), so every LF is a line end.
    bool commitWithCarriageReturns() {
        flush();
        SafeSaveFile out(file_.target());
        bool ok = !file_.error().failed() && out.open(QIODevice::WriteOnly);
        for (qint64 offset = 0; ok;) {
            const QByteArray chunk = file_.readBack(offset, 1 << 16);
            if (chunk.isEmpty()) break;
            offset += chunk.size();
            QByteArray kept = chunk;
            kept.replace('\n', QByteArray());
            ok = out.write(kept) == kept.size();
        }
        ok = ok && out.commit();
        if (!ok && !file_.error().failed()) rewriteError_ = out.error();
        file_.cancel();
        return ok;
    }
    QString errorText(Language language) const {
        return SaveErrorText(file_.error().failed() ? file_.error() : rewriteError_, language);
    }

private:
    static constexpr size_t kFlushBytes = 1u << 20;  // large writes; memory stays flat

    void flush() {
        if (size_ != 0) file_.write(buffer_.get(), static_cast<qint64>(size_));
        size_ = 0;
    }
    SafeSaveFile file_;
    std::unique_ptr<char[]> buffer_;
    size_t size_ = 0, capacity_ = kFlushBytes;
    SaveError rewriteError_;
};

// A coordinate as the DXF text it is written as, with that text's number: the clipping
// and the relative moves work on what the file says, and the text is read only once.
class Coord {
public:
    static constexpr size_t kInline = 32;

    double value = 0;     // the number of the text; 0 when it has none
    bool number = false;  // the text is a number

    Coord() = default;
    Coord(std::string_view t) {
        setText(t);
        number = parseText(t, value);
    }
    Coord(const std::string& t) : Coord(std::string_view(t)) {}
    Coord(const char* t) : Coord(std::string_view(t)) {}
    Coord(std::string_view t, double v) : value(v), number(true) { setText(t); }
    // Empty when no position is known.
    std::string_view text() const { return {long_ ? long_->data() : inline_, size_}; }
    bool empty() const { return size_ == 0; }
    operator std::string_view() const { return text(); }
    // The text is held in place: it can be copied as one block of kInline bytes.
    bool inPlace() const { return !long_; }
    const char* block() const { return inline_; }

    // A whole number of plotter units as the DXF text fixed(n / units, 4) gives, without
    // formatting a double: with 1000 or 40 units per DXF unit (0.001 = 1/1000, 0.025 = 25/1000)
    // the quotient has at most three decimals, so its text is the digits of n * scale
    // (thousandths of a DXF unit) with the point three places from the right and a "0"
    // behind. The number is the nearest double to that decimal, as reading the text would
    // give. `magnitude` has at most 15 digits, `scale` is 1 or 25.
    void setWhole(bool negative, unsigned long long magnitude, unsigned scale, double units) {
        const unsigned long long q = magnitude * scale;
        // Nearly always within 32 bits, whose arithmetic is the faster.
        if (q <= 0xFFFFFFFFu) writeWhole(negative && magnitude != 0, static_cast<uint32_t>(q));
        else writeWhole(negative && magnitude != 0, q);
        const double n = static_cast<double>(magnitude);
        value = magnitude == 0 ? 0.0 : (negative ? -n : n) / units;
        number = true;
    }

    // The same at 1000 units per DXF unit (scale 1), from the number's own `count` digits (1
    // to 9, leading zeros allowed) in a text that runs on to `textEnd`: the text is those
    // digits with the point three places from the right and a "0" behind, which is what
    // writeWhole gives, without the arithmetic.
    void setThousandths(bool negative, uint32_t magnitude, const char* digits, size_t count, const char* textEnd,
                        double units) {
        while (count > 1 && *digits == '0') {
            ++digits;
            --count;
        }
        long_.reset();
        char* p = inline_;
        if (negative && magnitude != 0) *p++ = '-';
        if (count > 3 && textEnd - digits >= 8) {
            // Nearly every coordinate: fixed-size copies (the second takes the byte after the
            // digits along, which the "0" then covers).
            std::memcpy(p, digits, 8);
            p += count - 3;
            *p++ = '.';
            std::memcpy(p, digits + count - 3, 4);
            p += 3;
        } else {
            if (count > 3) {
                for (const char* const whole = digits + count - 3; digits != whole; ++digits) *p++ = *digits;
                count = 3;
            } else {
                *p++ = '0';
            }
            *p++ = '.';
            for (size_t zeros = 3 - count; zeros != 0; --zeros) *p++ = '0';
            for (; count != 0; --count) *p++ = *digits++;
        }
        *p++ = '0';
        size_ = static_cast<unsigned>(p - inline_);
        const double n = static_cast<double>(magnitude);
        value = magnitude == 0 ? 0.0 : (negative ? -n : n) / units;
        number = true;
    }

private:
    // `q` thousandths as "[-]w.ttt0"; `minus` never for zero, never "-0.0000".
    template <typename Unsigned>
    void writeWhole(bool minus, Unsigned q) {
        const Unsigned whole = q / 1000;
        const unsigned thousandths = static_cast<unsigned>(q % 1000);
        const size_t length = minus + DigitCount(whole) + 5;
        long_.reset();
        size_ = static_cast<unsigned>(length);
        char* p = inline_ + length;
        *--p = '0';
        p -= 2;
        std::memcpy(p, &kDigitPairs[2 * (thousandths % 100)], 2);
        *--p = static_cast<char>('0' + thousandths / 100);
        *--p = '.';
        p = DigitsBefore(p, whole);
        if (minus) *--p = '-';
    }

    // Coordinates are copied for every point, and nearly all are short.
    void setText(std::string_view t) {
        size_ = static_cast<unsigned>(t.size());
        if (t.size() > kInline) long_ = std::make_shared<const std::string>(t);
        else if (!t.empty()) std::memcpy(inline_, t.data(), t.size());
    }
    char inline_[kInline] = {};
    unsigned size_ = 0;
    std::shared_ptr<const std::string> long_;
};

struct Point {
    Coord x, y;
    bool known() const { return !x.empty(); }
};

struct NumberToken {
    enum Kind { End, Missing, Number } kind = End;
    std::string_view run;  // in the parameter text, which stays put while a command runs
    bool valid = false;
    double value = 0;
    size_t after = 0;  // where the rest of the parameter text begins
    // A run of at most one sign and up to 15 digits: a whole number, exact in a double.
    bool whole = false;
    bool negative = false;
    unsigned long long magnitude = 0;
};

class Converter {
public:
    Converter(double unitsPerDxfUnit, int lineWeight, UserDialogs& dialogs, Language language)
        : units_(unitsPerDxfUnit > 0 && std::isfinite(unitsPerDxfUnit) ? unitsPerDxfUnit : 1.0),
          dialogs_(dialogs),
          language_(language) {
        const int weight = lineWeight < 1 ? 1 : lineWeight > 3 ? 3 : lineWeight;
        polylineWidth_ = Scientific14((6.0 * weight - 6.0) / units_);
        textHeight_ = fixed(2.7 / (units_ / 40.0), 4, 10);
        wholeScale_ = units_ == 1000.0 ? 1 : units_ == 40.0 ? 25 : 0;
    }

    Converter(const Converter&) = delete;  // points into itself
    Converter& operator=(const Converter&) = delete;

    DxfConversion convert(const QString& plotPath, const QString& dxfFileName);

private:
    QString fileWord() const {
        return language_ == Language::English ? QStringLiteral("File ") : QStringLiteral("Datei ");
    }
    // --- reading
    void readCommands(PlotReader& in, int firstLetter);
    void appendText(std::string_view bytes);
    void runSlice();
    void finishCommand();
    void runCommand();
    NumberToken nextNumber();
    void readNumber(NumberToken& t);
    void reportMissing();
    double valueOf(const NumberToken& t);
    Coord scaled(const NumberToken& t);
    void scaled(const NumberToken& t, Coord& out);
    Coord addRelative(const Coord& current, const Coord& offset, char axis);
    bool readPair(NumberToken& a, NumberToken& b);
    bool wholePair(Point& out);
    void pairTarget(const NumberToken& a, const NumberToken& b, Point& out);

    // --- commands
    void pairs(bool stroke);
    void strokeTo(const Point& t);
    int region(const Point& p);
    void clip(double& x, double& y, double otherX, double otherY, int code);
    void rectangle(bool relative);
    void circle();
    void arc(bool relative);
    void characterSize();
    void direction();
    void slant();
    void inputWindow();
    void lineTypeCommand();
    void penWidth();
    void selectPen();
    void label();

    // --- DXF
    void writeHead();
    void writeEnd();
    void polylineHeader(bool rectangle);
    void vertex(std::string_view x, std::string_view y);
    void vertex(const Coord& x, const Coord& y);
    std::string_view vertexHead();
    static constexpr size_t kHeadBlock = 64;  // longer than any vertex head (52 bytes)
    void endPolyline();
    const std::string& layer() const { return layer_; }
    void setPen(std::string pen);
    void setLineType(const char* type);

    void note(const QString& line);
    QString mnemonic() const { return bytesText(std::string_view(mnemonic_, 2)); }
    bool is(const char* m) const { return mnemonic_[0] == m[0] && mnemonic_[1] == m[1]; }

    double units_;
    int wholeScale_ = 0;  // thousandths of a DXF unit per plotter unit when whole; 0: none
    UserDialogs& dialogs_;
    Language language_;
    DxfWriter* dxf_ = nullptr;
    DxfConversion result_;
    int longCommandBoxes_ = 0;

    // Conversion state; every conversion starts from here.
    std::string pen_ = "0";
    std::string lineType_ = "CONTINUOUS";
    std::string layer_ = "L_0";
    std::string vertexHead_;  // the lines of a vertex before its x value, for pen and line type
    std::string polylineWidth_;
    // The pen's position; a new point is read into the other slot, which then becomes it.
    Point points_[2];
    Point* current_ = &points_[0];
    bool absolute_ = true;  // plotters start in absolute mode
    bool penDown_ = false;
    bool polylineOpen_ = false;
    double xmin_ = 0, xmax_ = 0, ymin_ = 0, ymax_ = 0;
    std::string textHeight_;
    std::string textWidthFactor_ = "0.7";
    std::string textDirection_ = "0.0";
    std::string textSlant_ = "0.0";
    bool symbolSet_ = false;
    int pairBudget_ = kCommandPairs;
    bool slicing_ = false;
    bool anythingConverted_ = false;
    bool commandError_ = false;

    // The command being read.
    char mnemonic_[2] = {0, 0};
    std::string text_;
    size_t pos_ = 0;
    bool overflow_ = false;
    size_t sliceRetryAt_ = 0;
};

void Converter::note(const QString& line) {
    if (result_.messages.size() < kMaxMessages) result_.messages << line;
    else ++result_.droppedMessages;
}

// ---------------------------------------------------------------------------- numbers

NumberToken Converter::nextNumber() {
    NumberToken t;
    readNumber(t);
    return t;
}

void Converter::readNumber(NumberToken& t) {
    // The text ends in a NUL, which no loop below passes.
    const char* const text = text_.c_str();
    const size_t size = text_.size();
    size_t i = pos_;
    while (isSeparator(text[i])) ++i;
    pos_ = i;
    t.valid = t.whole = false;
    t.value = 0;
    t.run = {};
    t.after = 0;
    if (i == size) {
        t.kind = NumberToken::End;
        return;
    }
    if (!isNumberChar(text[i])) {
        t.kind = NumberToken::Missing;
        return;
    }
    // Whole numbers, nearly every number of a plot, are read here in the same pass for their
    // value and their DXF text; parseRun would give them the same value.
    const char* p = text + i;
    const bool negative = *p == '-';
    if (negative || *p == '+') ++p;
    const char* const digits = p;
    unsigned long long n = 0;
    for (unsigned d; (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p) n = n * 10 + d;
    const char* end = p;
    while (isNumberChar(*end)) ++end;
    t.kind = NumberToken::Number;
    t.run = std::string_view(text + i, static_cast<size_t>(end - (text + i)));
    t.after = pos_ = static_cast<size_t>(end - text);
    if (end == p && p != digits && p - digits <= 15) {
        t.whole = true;
        t.negative = negative;
        t.magnitude = n;
        t.valid = n <= static_cast<unsigned long long>(kLargestNumber);
        if (t.valid) t.value = negative ? -static_cast<double>(n) : static_cast<double>(n);
        return;
    }
    t.valid = parseRun(t.run, t.value);
}

void Converter::reportMissing() {
    if (!commandError_) {
        note(QStringLiteral("Error in HPGL-command:") + mnemonic() + QLatin1Char(' ') +
             bytesText(std::string_view(text_).substr(pos_)) + QLatin1Char(';'));
    }
    while (pos_ < text_.size() && text_[pos_] != '-' && text_[pos_] != '.' &&
           !(text_[pos_] >= '0' && text_[pos_] <= '9'))
        ++pos_;
    commandError_ = true;
}

double Converter::valueOf(const NumberToken& t) {
    if (t.valid) return t.value;
    note(QStringLiteral("Fehler in: ") + mnemonic() + QLatin1Char(' ') + bytesText(t.run) +
         bytesText(std::string_view(text_).substr(std::min(t.after, text_.size()))) + QStringLiteral("; weil:") + bytesText(t.run) +
         QStringLiteral(" keine Zahl ist."));
    return -1.0;
}

Coord Converter::scaled(const NumberToken& t) {
    Coord c;
    scaled(t, c);
    return c;
}

void Converter::scaled(const NumberToken& t, Coord& out) {
    if (t.valid && t.whole && wholeScale_ != 0) {
        out.setWhole(t.negative, t.magnitude, static_cast<unsigned>(wholeScale_), units_);
        return;
    }
    const double v = valueOf(t);
    if (units_ == 1.0) out = t.valid ? Coord(t.run, t.value) : Coord(fixed(v, 4));
    else out = Coord(fixed(v / units_, 4));
}

Coord Converter::addRelative(const Coord& current, const Coord& offset, char axis) {
    double a = 0, b = 0;
    const auto operand = [&](const Coord& c, double& v) {
        if (c.empty()) return;  // counts as the other operand alone
        if (!c.number) {
            note(bytesText(c.text()) + QLatin1Char('=') + QLatin1Char(axis) + QStringLiteral(" hat keinen Zahlenwert"));
            return;
        }
        v = c.value;
    };
    operand(current, a);
    operand(offset, b);
    return Coord(fixed(a + b, 5, 11));
}

bool Converter::readPair(NumberToken& a, NumberToken& b) {
    if (commandError_ || pairBudget_ <= 0) return false;
    // A slice must not take a number whose digits are still being read; a character that is
    // no number shows its error now, as it would later.
    const size_t start = pos_;
    const auto unfinished = [&](const NumberToken& t) {
        return slicing_ && (t.kind == NumberToken::End || (t.kind == NumberToken::Number && t.after == text_.size()));
    };
    readNumber(a);
    if (unfinished(a)) {
        pos_ = start;
        return false;
    }
    if (a.kind == NumberToken::End) return false;
    if (a.kind == NumberToken::Missing) {
        reportMissing();
        return false;
    }
    readNumber(b);
    if (unfinished(b)) {
        pos_ = start;
        return false;
    }
    if (b.kind != NumberToken::Number) {
        reportMissing();
        return false;
    }
    --pairBudget_;
    return true;
}

// Nearly every point of a plot is an absolute pair of whole numbers of up to nine digits:
// such a pair is read and scaled here in one pass, as readPair and pairTarget would. Any
// other pair (and one that may still be growing) is left untouched for them.
bool Converter::wholePair(Point& out) {
    if (commandError_ || pairBudget_ <= 0 || wholeScale_ == 0 || !absolute_) return false;
    const char* const text = text_.c_str();  // ends in a NUL, which no loop passes
    const char* const end = text + text_.size();
    const char* p = text + pos_;
    bool negative[2];
    uint32_t magnitude[2];
    const char* digits[2];
    size_t count[2];
    for (int k = 0; k < 2; ++k) {
        while (isSeparator(*p)) ++p;
        negative[k] = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        digits[k] = p;
        uint32_t n = 0;
        for (unsigned d; (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p) n = n * 10 + d;
        count[k] = static_cast<size_t>(p - digits[k]);
        if (count[k] == 0 || count[k] > 9 || p == end || isNumberChar(*p)) return false;
        magnitude[k] = n;
    }
    pos_ = static_cast<size_t>(p - text);
    --pairBudget_;
    if (wholeScale_ == 1) {
        out.x.setThousandths(negative[0], magnitude[0], digits[0], count[0], end, units_);
        out.y.setThousandths(negative[1], magnitude[1], digits[1], count[1], end, units_);
        return true;
    }
    const unsigned scale = static_cast<unsigned>(wholeScale_);
    out.x.setWhole(negative[0], magnitude[0], scale, units_);
    out.y.setWhole(negative[1], magnitude[1], scale, units_);
    return true;
}

void Converter::pairTarget(const NumberToken& a, const NumberToken& b, Point& out) {
    if (absolute_) {
        scaled(a, out.x);
        scaled(b, out.y);
        return;
    }
    Coord dx = scaled(a);
    Coord dy = scaled(b);
    out = {addRelative(current_->x, dx, 'x'), addRelative(current_->y, dy, 'y')};
}

// ---------------------------------------------------------------------------- reading

void Converter::appendText(std::string_view bytes) {
    const size_t room = kMaxParameterText - text_.size();
    if (bytes.size() > room) {
        overflow_ = true;
        bytes = bytes.substr(0, room);
    }
    text_.append(bytes);
}

void Converter::readCommands(PlotReader& in, int letter) {
    while (letter >= 0) {
        const int second = in.get();
        if (second < 0) break;  // a lone letter at the end is no command
        mnemonic_[0] = static_cast<char>(letter);
        mnemonic_[1] = static_cast<char>(second);
        const bool isLabel = is("LB");
        const bool sliced = is("PD") || is("PA") || is("PU");
        text_.clear();
        pos_ = 0;
        overflow_ = false;
        sliceRetryAt_ = 0;
        for (;;) {
            const std::string_view ahead = in.buffered();
            if (ahead.empty()) break;
            // A slice is due after the character that takes the text past the threshold and
            // the retry mark, unless the terminator comes first.
            size_t limit = ahead.size();
            bool sliceDue = false;
            if (sliced && !commandError_ && !overflow_) {
                const size_t due = std::max({kSliceThreshold + 1, sliceRetryAt_, text_.size() + 1}) - text_.size();
                if (due <= limit) {
                    limit = due;
                    sliceDue = true;
                }
            }
            // The terminator (end of text; for all but labels also CR and ";") is part of the text.
            size_t end = limit;
            for (const char terminator : {'\3', ';', '\r'}) {
                if (const void* at = std::memchr(ahead.data(), terminator, end))
                    end = static_cast<size_t>(static_cast<const char*>(at) - ahead.data());
                if (isLabel) break;
            }
            const bool terminated = end < limit;
            if (terminated) sliceDue = false;
            const size_t take = terminated ? end + 1 : limit;
            appendText(ahead.substr(0, take));
            in.advance(take);
            if (sliceDue) {
                if (!overflow_) runSlice();
            } else if (terminated) {
                break;
            }
        }
        finishCommand();
        commandError_ = false;
        letter = in.nextLetter();
    }
}

void Converter::runSlice() {
    pos_ = 0;
    pairBudget_ = kSlicePairs;
    slicing_ = true;
    runCommand();
    slicing_ = false;
    const size_t consumed = pos_;
    text_.erase(0, consumed);
    pos_ = 0;
    // A slice that could take nothing is retried only after the text grew noticeably,
    // so that a pathological number run cannot make the reading quadratic.
    sliceRetryAt_ = consumed == 0 ? text_.size() + 64 : 0;
}

void Converter::finishCommand() {
    const bool isLabel = is("LB");
    const bool tooLong = text_.size() > kLongestWhole || overflow_;
    if (tooLong && (!isLabel || overflow_)) {
        const QString text = mnemonic() + bytesText(text_) + QStringLiteral(": Befehl ist zu lang und wird gekürzt!");
        // A binary file could raise this for every few bytes; the list takes the rest.
        if (longCommandBoxes_ < kMaxLongCommandBoxes) {
            ++longCommandBoxes_;
            dialogs_.inform(caption(CaptionKind::Error, language_), text, Icon::Error);
        } else {
            note(text);
        }
        if (!isLabel) text_.resize(kCutLength);
    }
    if (isLabel && tooLong) {
        // A long label keeps its end, only the terminator is no part of the text.
        if (!text_.empty() && text_.back() == 3) text_.pop_back();
    } else {
        while (!text_.empty() && isTrimChar(text_.back())) text_.pop_back();
    }
    size_t start = 0;
    while (start < text_.size() && isTrimChar(text_[start])) ++start;
    text_.erase(0, start);
    pos_ = 0;
    pairBudget_ = kCommandPairs;
    runCommand();
}

void Converter::runCommand() {
    const char a = mnemonic_[0], b = mnemonic_[1];
    const auto m = [&](const char* name) { return a == name[0] && b == name[1]; };
    if (m("IN")) {
        absolute_ = true;
        *current_ = {"0.00", "0.00"};
        symbolSet_ = false;
    } else if (m("VS")) {
    } else if (m("PA")) {
        absolute_ = true;
        pairs(penDown_);
    } else if (m("PR")) {
        // Relative plotting keeps the pen as it is: a lifted pen moves, a lowered one draws.
        absolute_ = false;
        anythingConverted_ = true;
        pairs(penDown_);
    } else if (m("PU")) {
        endPolyline();
        penDown_ = false;
        anythingConverted_ = true;
        pairs(false);
    } else if (m("PD")) {
        penDown_ = true;
        anythingConverted_ = true;
        pairs(true);
    } else if (m("SP")) {
        selectPen();
    } else if (m("LT")) {
        lineTypeCommand();
    } else if (m("PW")) {
        penWidth();
    } else if (m("EA") || m("ER")) {
        rectangle(m("ER"));
    } else if (m("CI")) {
        circle();
    } else if (m("AA") || m("AR")) {
        arc(m("AR"));
    } else if (m("SI")) {
        characterSize();
    } else if (m("DI")) {
        direction();
    } else if (m("SL")) {
        slant();
    } else if (m("SA")) {
        symbolSet_ = true;
    } else if (m("SS")) {
        symbolSet_ = false;
    } else if (m("LB")) {
        label();
    } else if (m("IW")) {
        inputWindow();
    } else {
        note(QStringLiteral("Command: ") + mnemonic() + QStringLiteral("; not supported!"));
        endPolyline();
    }
}

// ---------------------------------------------------------------------------- strokes

void Converter::pairs(bool stroke) {
    NumberToken a, b;
    for (;;) {
        Point& t = points_[current_ == &points_[0] ? 1 : 0];
        if (!wholePair(t)) {
            if (!readPair(a, b)) break;
            pairTarget(a, b, t);
        }
        if (stroke) strokeTo(t);
        current_ = &t;
    }
}

int Converter::region(const Point& p) {
    if (xmin_ == xmax_) return 0;
    if (!p.x.number) note(bytesText(p.x) + QStringLiteral(" : kein reeller x-Wert!"));
    if (!p.y.number) note(bytesText(p.y) + QStringLiteral(" : kein reeller y-Wert!"));
    const double x = p.x.value, y = p.y.value;
    if (x < xmin_) return 1;
    if (x > xmax_) return 2;
    if (y < ymin_) return 3;
    if (y > ymax_) return 4;
    return 0;
}

// Moves (x, y) along the segment towards (otherX, otherY) onto the edge its code names;
// twice, so that a point beyond a corner lands on the window.
void Converter::clip(double& x, double& y, double otherX, double otherY, int code) {
    for (int pass = 0; pass < 2 && code != 0; ++pass) {
        if (code == 1 || code == 2) {
            const double edge = code == 1 ? xmin_ : xmax_;
            if (otherX != x) y += (otherY - y) * (edge - x) / (otherX - x);
            x = edge;
        } else {
            const double edge = code == 3 ? ymin_ : ymax_;
            if (otherY != y) x += (otherX - x) * (edge - y) / (otherY - y);
            y = edge;
        }
        code = x < xmin_ ? 1 : x > xmax_ ? 2 : y < ymin_ ? 3 : y > ymax_ ? 4 : 0;
    }
}

// Draws from the pen's position to `t`, which the caller then makes the position.
void Converter::strokeTo(const Point& t) {
    if (!current_->known()) return;  // no position yet: the first pair only places the pen
    const int c0 = polylineOpen_ ? 0 : region(*current_);
    const int c1 = region(t);
    // An end outside the window is moved onto its edge (absolute moves only).
    const auto put = [&](const Point& p, int code, const Point& other) {
        if (code == 0 || !absolute_) return vertex(p.x, p.y);
        double px = p.x.value, py = p.y.value;
        clip(px, py, other.x.value, other.y.value, code);
        const std::string x = fixed(px, 4), y = fixed(py, 4);
        vertex(std::string_view(x), std::string_view(y));
    };
    if (!polylineOpen_) {
        if (c0 != 0 && c1 != 0) return;  // both ends outside: only the pen moves
        polylineHeader(false);
        put(*current_, c0, t);
        put(t, c1, *current_);
        polylineOpen_ = true;
    } else {
        put(t, c1, *current_);
    }
    if (c1 != 0) endPolyline();  // left the window; a re-entry starts a new polyline
}

// ---------------------------------------------------------------------------- other commands

void Converter::rectangle(bool relative) {
    endPolyline();
    NumberToken a, b;
    if (!readPair(a, b)) return;
    const Point from = current_->known() ? *current_ : Point{"0.0", "0.0"};
    Point corner;
    if (relative) {
        corner = {addRelative(current_->x, scaled(a), 'x'), addRelative(current_->y, scaled(b), 'y')};
    } else {
        Coord x = scaled(a);
        corner = {std::move(x), scaled(b)};
    }
    polylineHeader(true);
    vertex(from.x, from.y);
    vertex(corner.x, from.y);
    vertex(corner.x, corner.y);
    vertex(from.x, corner.y);
    vertex(from.x, from.y);
    dxf_->line("SEQEND");
    dxf_->pair("  8", layer());
    dxf_->line("  0");
}

void Converter::circle() {
    endPolyline();
    anythingConverted_ = true;
    NumberToken r = nextNumber();
    if (r.kind != NumberToken::Number) {
        reportMissing();
        return;
    }
    std::string radius(scaled(r).text());
    if (!radius.empty() && radius.front() == '-') radius.erase(0, 1);  // a circle has no sign
    const Point at = current_->known() ? *current_ : Point{"0.0", "0.0"};
    dxf_->line("CIRCLE");
    dxf_->pair("  8", layer());
    dxf_->pair(" 62", pen_);
    dxf_->pair(" 10", at.x);
    dxf_->pair(" 20", at.y);
    dxf_->pair(" 40", radius);
    dxf_->line("0");
}

void Converter::arc(bool relative) {
    endPolyline();
    anythingConverted_ = true;
    NumberToken tx = nextNumber();
    if (tx.kind != NumberToken::Number) return reportMissing();
    NumberToken ty = nextNumber();
    if (ty.kind != NumberToken::Number) return reportMissing();
    NumberToken ts = nextNumber();
    if (ts.kind != NumberToken::Number) return reportMissing();
    Point centre;
    if (relative) {
        centre = {addRelative(current_->x, scaled(tx), 'x'), addRelative(current_->y, scaled(ty), 'y')};
    } else {
        Coord x = scaled(tx);
        centre = {std::move(x), scaled(ty)};
    }
    if (!ts.valid) {
        note(QStringLiteral("Fehler bei der Konvertierung des Bogenwinkels."));
        return;
    }
    const double sweep = ts.value;
    const double xc = centre.x.value, yc = centre.y.value, x0 = current_->x.value, y0 = current_->y.value;
    const double r = std::hypot(xc - x0, yc - y0);
    double phi;
    if (std::abs(xc - x0) < 0.0001) {
        phi = yc > y0 ? 270.0 : 90.0;
    } else {
        double psi = std::atan((yc - y0) / (xc - x0)) / kRadiansPerDegree;
        if (xc - x0 < 0) psi += 180.0;
        phi = psi > 180.0 ? psi - 180.0 : psi + 180.0;
    }
    const double from = sweep > 0 ? phi : phi + sweep;
    const double to = sweep > 0 ? phi + sweep : phi;
    dxf_->line("ARC");
    dxf_->pair("  8", layer());
    dxf_->pair(" 62", pen_);
    dxf_->pair(" 10", centre.x);
    dxf_->pair(" 20", centre.y);
    dxf_->pair(" 40 ", fixed(r, 4, 10));
    dxf_->pair(" 50", fixed(from, 2, 7));
    dxf_->pair(" 51", fixed(to, 2, 7));
    dxf_->line("0");
    const double a = (phi + sweep) * kRadiansPerDegree;
    *current_ = {fixed(xc + r * std::cos(a), 5, 11), fixed(yc + r * std::sin(a), 5, 11)};
}

void Converter::characterSize() {
    anythingConverted_ = true;
    NumberToken w = nextNumber();
    if (w.kind == NumberToken::End) {
        textWidthFactor_ = "0.7";
        textHeight_ = fixed(2.7 / (units_ / 40.0), 4, 10);
        return;
    }
    if (w.kind == NumberToken::Missing) return reportMissing();
    NumberToken h = nextNumber();
    if (h.kind != NumberToken::Number) return reportMissing();
    const double width = valueOf(w), height = valueOf(h);
    textHeight_ = fixed(height * 400.0 / units_, 2, 6);
    double written = 0;
    parseText(textHeight_, written);
    // A height that rounds to zero leaves no proportion to keep.
    textWidthFactor_ = written != 0 ? fixed(width * 400.0 * 1.4 / units_ / written, 2, 6) : "0.7";
}

void Converter::direction() {
    textDirection_ = "0.0";
    NumberToken run = nextNumber();
    if (run.kind == NumberToken::End) return;
    if (run.kind == NumberToken::Missing) return reportMissing();
    NumberToken rise = nextNumber();
    if (rise.kind == NumberToken::End) return;
    if (rise.kind == NumberToken::Missing) return reportMissing();
    if (!run.valid || !rise.valid) {
        note(QStringLiteral("Fehler bei der Angabe der Schriftrichtung: ") + bytesText(run.run) + QLatin1Char(';') +
             bytesText(rise.run));
        return;
    }
    // The vector's own angle, so that a vertical or leftward run reads right too.
    textDirection_ = fixed(std::atan2(rise.value, run.value) / kRadiansPerDegree, 1, 5);
}

void Converter::slant() {
    textSlant_ = "0.0";
    NumberToken t = nextNumber();
    if (t.kind == NumberToken::End) return;
    if (t.kind == NumberToken::Missing) return reportMissing();
    if (!t.valid) {
        note(QStringLiteral("Fehler im Befehl SL :") + bytesText(t.run) + QLatin1Char('!'));
        return;
    }
    textSlant_ = fixed(std::atan(t.value) / kRadiansPerDegree, 1, 5);
}

void Converter::inputWindow() {
    double v[4] = {0, 16400.0 / units_, 0, 11480.0 / units_};  // xmin, xmax, ymin, ymax
    double read[4];
    bool ok = true;
    for (double& r : read) {
        NumberToken t = nextNumber();
        if (t.kind == NumberToken::Missing) reportMissing();
        if (t.kind != NumberToken::Number) {
            ok = false;
            break;
        }
        if (!t.valid) {
            valueOf(t);
            ok = false;
            break;
        }
        parseText(scaled(t), r);
    }
    if (ok) {
        v[0] = read[0];
        v[1] = read[2];
        v[2] = read[1];
        v[3] = read[3];
    }
    xmin_ = std::min(v[0], v[1]);
    xmax_ = std::max(v[0], v[1]);
    ymin_ = std::min(v[2], v[3]);
    ymax_ = std::max(v[2], v[3]);
}

void Converter::lineTypeCommand() {
    setLineType("CONTINUOUS");
    NumberToken t = nextNumber();
    if (t.kind == NumberToken::End) return;
    if (t.kind == NumberToken::Missing) return reportMissing();
    const double n = valueOf(t);
    if (n == 1) setLineType("DOT");
    else if (n == 2 || n == 3) setLineType("DASHED");
    else if (n == 4) setLineType("DASHDOT");
}

void Converter::penWidth() {
    note(QStringLiteral("Command PW (=Penwidth) only supported by HPGL2."));
    NumberToken t = nextNumber();
    if (t.kind == NumberToken::End) {
        polylineWidth_.clear();
        return;
    }
    if (t.kind == NumberToken::Missing) return reportMissing();
    const double w = valueOf(t);
    polylineWidth_ = w == 0 ? std::string("0") : fixed(w * 4.0 / units_, 2, 6);
}

void Converter::selectPen() {
    endPolyline();
    anythingConverted_ = true;
    NumberToken t = nextNumber();
    if (t.kind == NumberToken::End) {
        setPen("0");
        return;
    }
    if (t.kind == NumberToken::Missing) return reportMissing();
    // Layer names and DXF colours need a whole number in the colour range.
    double n = valueOf(t);
    n = std::trunc(n);
    if (n < 0) n = 0;
    if (n > 255) n = 255;
    setPen(std::to_string(static_cast<int>(n)));
}

void Converter::label() {
    endPolyline();
    anythingConverted_ = true;
    std::string bytes;
    bytes.reserve(text_.size() + 1);
    for (size_t i = 0; i < text_.size(); ++i) {
        const auto c = static_cast<unsigned char>(text_[i]);
        if (c == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') ++i;  // CR LF is one break
        // A line break (or any control character) inside a label would split the DXF value.
        bytes += c < 32 ? ' ' : static_cast<char>(c);
    }
    QString text = DecodePlotText(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (text == QLatin1String("^")) text = QStringLiteral("^ ");  // "^" alone would escape the next character
    const QByteArray encoded = ToWindows1252(text);
    const Point at = current_->known() ? *current_ : Point{"0.0", "0.0"};
    dxf_->line("TEXT");
    dxf_->pair("  8", layer());
    dxf_->pair(" 62", pen_);
    dxf_->pair(" 10", at.x);
    dxf_->pair(" 20", at.y);
    dxf_->pair(" 40", textHeight_);
    dxf_->pair(" 41", textWidthFactor_);
    dxf_->pair("  1", std::string_view(encoded.constData(), static_cast<size_t>(encoded.size())));
    dxf_->pair(" 50", textDirection_);
    dxf_->pair(" 51", textSlant_);
    dxf_->pair("  7", symbolSet_ ? "symbols" : "STANDARD");
    dxf_->line("  0");
}

// ---------------------------------------------------------------------------- DXF

void Converter::polylineHeader(bool rectangle) {
    const std::string& width = polylineWidth_.empty() ? std::string("0.8") : polylineWidth_;
    dxf_->line("POLYLINE");
    dxf_->pair("  8", layer());
    dxf_->pair(" 62", pen_);
    dxf_->pair("  6", lineType_);
    dxf_->pair(" 66", "1");
    dxf_->pair(rectangle ? " 40" : " 40 ", width);
    dxf_->pair(" 41 ", width);
    dxf_->line("  0");
}

void Converter::setPen(std::string pen) {
    pen_ = std::move(pen);
    layer_ = "L_" + pen_;
    vertexHead_.clear();
}

void Converter::setLineType(const char* type) {
    lineType_ = type;
    vertexHead_.clear();
}

// The most frequent entity by far: its fixed lines are put together once per pen and line
// type and written in one piece.
void Converter::vertex(std::string_view x, std::string_view y) {
    const std::string_view head = vertexHead();
    constexpr std::string_view between = "\r\n 20\r\n", after = "\r\n0\r\n";
    char* p = dxf_->space(head.size() + x.size() + between.size() + y.size() + after.size());
    p = Put(p, head);
    p = Put(p, x);
    p = Put(p, between);
    p = Put(p, y);
    Put(p, after);
}

// The same for coordinates held in place, copied as whole blocks into the writer's slack:
// a call of memcpy for each of a few bytes costs more than the bytes.
void Converter::vertex(const Coord& x, const Coord& y) {
    const std::string_view head = vertexHead();
    if (!x.inPlace() || !y.inPlace() || head.size() > kHeadBlock) return vertex(x.text(), y.text());
    static_assert(kHeadBlock + Coord::kInline <= DxfWriter::kSlack);
    constexpr std::string_view between = "\r\n 20\r\n", after = "\r\n0\r\n";
    const size_t xs = x.text().size(), ys = y.text().size();
    char* p = dxf_->space(head.size() + xs + between.size() + ys + after.size());
    std::memcpy(p, head.data(), kHeadBlock);
    p += head.size();
    std::memcpy(p, x.block(), Coord::kInline);
    p += xs;
    std::memcpy(p, between.data(), between.size());
    p += between.size();
    std::memcpy(p, y.block(), Coord::kInline);
    p += ys;
    std::memcpy(p, after.data(), after.size());
}

std::string_view Converter::vertexHead() {
    if (vertexHead_.empty()) {
        vertexHead_ = "VERTEX\r\n  8\r\n" + layer_ + "\r\n 62\r\n" + pen_ + "\r\n  6\r\n" + lineType_ + "\r\n 10\r\n";
        // Readable as one block (see vertex).
        vertexHead_.reserve(kHeadBlock);
    }
    return vertexHead_;
}

void Converter::endPolyline() {
    if (!polylineOpen_) return;
    dxf_->line("SEQEND");
    dxf_->pair("  8", layer());
    dxf_->line("  0");
    polylineOpen_ = false;
}

void Converter::writeHead() {
    DxfWriter& d = *dxf_;
    const std::string xmax = fixed(16440.0 / units_, 2, 8);
    const std::string ymax = fixed(11500.0 / units_, 2, 8);
    d.pair("0", "SECTION");
    d.pair("  2", "HEADER");
    d.pair("  9", "$EXTMIN");
    d.pair(" 10", "0.000");
    d.pair(" 20", "0.0");
    d.pair("  9", "$EXTMAX");
    d.pair(" 10", xmax);
    d.pair(" 20", ymax);
    d.pair("  9", "$LIMMIN");
    d.pair(" 10", "0.000");
    d.pair(" 20", "0.0");
    d.pair("  9", "$LIMMAX");
    d.pair(" 10", xmax);
    d.pair(" 20", ymax);
    d.pair("  9", "$LTSCALE");
    d.pair(" 40", "0.0005");
    d.pair("  0", "ENDSEC");

    d.pair("  0", "SECTION");
    d.pair("  2", "TABLES");
    d.pair("  0", "TABLE");
    d.pair("  2", "LTYPE");
    d.pair(" 70", "     4");
    d.pair("  0", "LTYPE");
    d.pair("  2", "CONTINUOUS");
    d.pair(" 70", "64");
    d.pair("  3", "Solid line");
    d.pair(" 72", "65");
    d.pair(" 73", "0");
    d.pair(" 40", "0.0");
    d.pair("  0", "LTYPE");
    d.pair("  2", "DASHED");
    d.pair(" 70", "64");
    d.pair("  3", "- - - - - - ");
    d.pair(" 72", "65");
    d.pair(" 73", "2");
    d.pair(" 40", "3.000001");
    d.pair(" 49", "3.000001");
    d.pair(" 49", "-0.000000");
    d.pair("  0", "LTYPE");
    d.pair("  2", "DASHDOT");
    d.pair(" 70", "64");
    d.pair("  3", "- . - . - . - . ");
    d.pair(" 72", "65");
    d.pair(" 73", "4");
    d.pair(" 40", "12.000004");
    d.pair(" 49", "6.000002");
    d.pair(" 49", "-3.000001");
    d.pair(" 49", "0.00000");
    d.pair(" 49", "-3.00001");
    d.pair("  0", "LTYPE");
    d.pair("  2", "DOT");
    d.pair(" 70", "64");
    d.pair("  3", ". . . .  ");
    d.pair(" 72", "65");
    d.pair(" 73", "2");
    d.pair(" 40", "3.000001");
    d.pair(" 49", "0.00000");
    d.pair(" 49", "-3.000001");
    d.pair("  0", "ENDTAB");
    d.pair("  0", "TABLE");
    d.pair("  2", "LAYER");
    d.pair(" 70", "     9");
    d.pair("  0", "LAYER");
    for (int n = 1; n <= 10; ++n) {
        d.pair(" 70", "64");
        d.pair("  2", "L_" + std::to_string(n));
        d.pair(" 62", std::to_string(n));
        d.pair("  6", "CONTINUOUS");
        d.pair("  0", n < 10 ? "LAYER" : "ENDTAB");
    }
    d.pair("  0", "TABLE");
    d.pair("  2", "STYLE");
    d.pair(" 70", "   3");
    d.pair("  0", "STYLE");
    d.pair("  2", "STANDARD");
    d.pair(" 70", "0");
    d.pair(" 40", "0.0");
    d.pair(" 41", "1.00");
    d.pair(" 50", "0.0");
    d.pair(" 71", "     0");
    d.pair(" 42", "2.4");
    d.pair("  3", "txt");
    d.pair("  4", "");
    d.pair("  0", "STYLE");
    d.pair("  2", "shx-font");
    d.pair(" 70", "  1");
    d.pair(" 40", "0.0");
    d.pair(" 41", "1.00");
    d.pair(" 50", "0.0");
    d.pair(" 71", "     0");
    d.pair(" 42", "2.4");
    d.pair("  3", "ltypeshp.shx");
    d.pair("  4", "");
    d.pair("  0", "STYLE");
    d.pair(" 5", "2D");
    d.pair("100", "AcDbSymbolTableRecord");
    d.pair("100", "AcDbTextSTyleTableRecord");
    d.pair("  2", "symbols");
    d.pair(" 70", "0");
    d.pair(" 40", "0.0");
    d.pair(" 41", "1.0");
    d.pair(" 50", "0.0");
    d.pair(" 71", "     0");
    d.pair(" 42", "2.4");
    d.pair("  3", "WINGDING.TTF");
    d.pair("  4", "");
    d.pair("  0", "ENDTAB");
    d.pair("  0", "ENDSEC");
    d.pair("  0", "SECTION");
    d.pair("  2", "BLOCKS");
    d.pair("  0", "ENDSEC");
    d.pair("0", "SECTION");
    d.pair("2", "ENTITIES");
    // This code line introduces the first entity, or the end of the section.
    d.line("0");
}

void Converter::writeEnd() {
    dxf_->line("ENDSEC");
    dxf_->line("  0");
    dxf_->line("EOF");
}

// ---------------------------------------------------------------------------- the whole run

DxfConversion Converter::convert(const QString& plotPath, const QString& dxfFileName) {
    const QString plotName = QFileInfo(plotPath).fileName();
    const QString dxfName = QFileInfo(dxfFileName).fileName();
    const auto fileOpenError = [&] {
        dialogs_.inform(caption(CaptionKind::Error, language_), QStringLiteral("Das war ein Datei-Öffnungsfehler!"),
                        Icon::Error);
    };

    QFile plot;
    const InputFileStatus opened = OpenInputFile(plotPath, kMaxPlotFileBytes, plot);
    if (opened != InputFileStatus::Ok) {
        if (opened == InputFileStatus::Missing) note(plotPath + message(29, language_));
        else if (opened != InputFileStatus::Unreadable)
            note(InputFileProblemText(opened, plotPath, kMaxPlotFileBytes, language_));
        fileOpenError();
        return std::move(result_);
    }
    if (SameFile(plotPath, dxfFileName)) {
        // The DXF would replace the plot it is read from.
        note(plotPath + (language_ == Language::English ? QStringLiteral(": the DXF file must not be the plot file")
                                                        : QStringLiteral(": die DXF-Datei darf nicht die Plotdatei sein")));
        fileOpenError();
        return std::move(result_);
    }
    PlotReader in(plot);
    const int first = in.nextLetter();
    if (first < 0) {
        note(plotPath + QStringLiteral(" ist kein HPGL-File!"));
        dialogs_.inform(caption(CaptionKind::Warning, language_),
                        QStringLiteral("   ") + fileWord() + plotName + message(45, language_), Icon::Warning);
        return std::move(result_);
    }

    DxfWriter dxf(dxfFileName);
    if (!dxf.open()) {
        note(dxfFileName + QStringLiteral(": ") + dxf.errorText(language_));
        fileOpenError();
        return std::move(result_);
    }
    dxf_ = &dxf;
    writeHead();
    readCommands(in, first);
    endPolyline();
    plot.close();
    writeEnd();
    dxf_ = nullptr;
    if (in.tooLarge()) {
        // Cut off at the cap: a part of a drawing is not offered as the drawing.
        dxf.cancel();
        note(InputFileProblemText(InputFileStatus::TooLarge, plotPath, kMaxPlotFileBytes, language_));
        fileOpenError();
        return std::move(result_);
    }

    if (!(anythingConverted_ ? dxf.commit() : dxf.commitWithCarriageReturns())) {
        dialogs_.inform(caption(CaptionKind::Error, language_),
                        message(53, language_) + QStringLiteral("\r\n") + dxfFileName + QStringLiteral(": ") +
                            dxf.errorText(language_),
                        Icon::Error);
        return std::move(result_);
    }
    result_.dxfWritten = true;
    if (anythingConverted_) {
        result_.converted = true;
        dialogs_.inform(caption(CaptionKind::Information, language_),
                        QStringLiteral("\r       ") + fileWord() + dxfName + message(58, language_), Icon::Information);
    } else {
        dialogs_.inform(caption(CaptionKind::Error, language_),
                        fileWord() + plotName + message(45, language_), Icon::Error);
    }
    return std::move(result_);
}

}  // namespace

DxfConversion ConvertPlotToDxf(const QString& plotPath, const QString& dxfFileName, int lineWeight,
                               double unitsPerDxfUnit, UserDialogs& dialogs, Language language) {
    Converter converter(unitsPerDxfUnit, lineWeight, dialogs, language);
    return converter.convert(plotPath, dxfFileName);
}

}  // namespace zorva
