#include "state/settings_file.h"

#include "state/date_lines.h"
#include "state/input_file.h"
#include "state/safe_save.h"
#include "state/text_lines.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace zorva {
namespace {

const QString kColoursMarker = QStringLiteral("[Farben]");
const QString kTimesMarker = QStringLiteral("[Zeiten]");
const QString kDatesMarker = QStringLiteral("[Datumslinien]");

// Layout of the header block (line numbers from 0).
constexpr int kOptionLine = 9;
constexpr int kLanguageLine = 13;
constexpr int kLastRequiredHeaderLine = 14;  // lines 15 and 16 came later; older files lack them
constexpr int kHeaderLines = 17;
constexpr int kOptionLength = 37;
constexpr int kStoredColours = 11;
constexpr int kMaxColours = 12;
constexpr int kTimeLines = 14;

QChar Flag(bool on) { return on ? QLatin1Char('j') : QLatin1Char('n'); }

QChar DigitChar(int v) { return v >= 0 && v <= 9 ? QChar('0' + v) : QLatin1Char('0'); }

QChar DigitChar(char c) { return c >= '0' && c <= '9' ? QChar(c) : QLatin1Char('0'); }

QString OptionString(const DialState& s) {
    QString o(kOptionLength, QLatin1Char('n'));
    o[0] = DigitChar(s.dateLineMode);
    o[1] = DigitChar(s.eotHourInterval);
    o[2] = Flag(s.linesToStyleFoot);
    o[3] = Flag(s.reservedOptionFlag);
    o[4] = Flag(s.apparentTimeLines);
    o[5] = Flag(s.markAnalemma);
    o[6] = Flag(s.babylonianHours);
    o[7] = Flag(s.italianHours);
    o[8] = Flag(s.altitudeLines);
    o[9] = Flag(s.temporalHours);
    o[10] = Flag(s.mirrorLeftQuadrant);
    o[11] = Flag(s.constructWithEoT);
    o[12] = DigitChar(s.timeSystem >= 0 && s.timeSystem <= 2 ? s.timeSystem : 0);
    o[13] = Flag(s.outerLineArrangement);
    o[14] = Flag(s.localTimeDisplay);
    o[15] = Flag(s.monthScaleSideBySide);
    o[16] = Flag(s.cylinderWithEoT);
    o[17] = Flag(s.apparentTimeScale);
    o[18] = DigitChar(s.hourLineInterval);
    o[19] = Flag(s.hidokaiVerticalDial);
    o[20] = Flag(s.wholeYearBand);
    o[21] = Flag(s.localTimeReading);
    o[22] = Flag(s.drawPoleTriangle);
    o[23] = Flag(s.meanTimeLines);
    o[24] = DigitChar(s.dayMarkings);
    o[25] = Flag(s.markAnalemma);
    o[26] = Flag(s.declinationScale);
    o[27] = DigitChar(s.rayDeflection);
    o[28] = Flag(s.noonLineHorizontal);
    o[29] = DigitChar(s.lineWidth);
    o[30] = Flag(s.hollanderOption);
    o[31] = Flag(s.biazimuthalVertical);
    o[32] = DigitChar(s.hollanderShadowLine);
    o[33] = DigitChar(s.altitudeCircleSpacing);
    o[34] = DigitChar(s.azimuthKind);
    o[35] = DigitChar(s.quadrantDateScale);
    o[36] = Flag(s.wholeHourDaylengthLines);
    return o;
}

QString DialCode(const DialState& s) {
    const char c = s.dialType;
    switch (c) {
        case 'h':
        case 'i':
        case 'v': return s.umbrellaDial ? QStringLiteral("s") + QLatin1Char(c) : QString(QLatin1Char(c));
        case 'q': return QStringLiteral("q") + DigitChar(s.quadrantKind);
        case 'c': return QStringLiteral("c0");
        case 'm': return QStringLiteral("m") + DigitChar(s.hollanderShadowLine);
        case 'z': return QStringLiteral("z") + DigitChar(s.cylinderKind);
        default: return c > ' ' && c < 127 ? QString(QLatin1Char(c)) : QStringLiteral("v");
    }
}

QString R(int width, int decimals, double x) { return RealToText(width, decimals, x); }

QString Semi() { return QStringLiteral(";"); }

// ---------------------------------------------------------------------------------------
// Reading helpers

struct NumberRun {
    QString text;
    qsizetype end = 0;  // index after the run
};

// Values of a line: each run of "-", ".", digits; every other character separates.
QList<NumberRun> NumberRuns(const QString& line) {
    QList<NumberRun> runs;
    qsizetype i = 0;
    const qsizetype n = line.size();
    auto isNumberChar = [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') || c == QLatin1Char('.');
    };
    while (i < n) {
        while (i < n && !isNumberChar(line[i])) ++i;
        const qsizetype start = i;
        while (i < n && isNumberChar(line[i])) ++i;
        if (i > start) runs.push_back({line.mid(start, i - start), i});
    }
    return runs;
}

bool RunValue(const QList<NumberRun>& runs, int index, double& value) {
    return index < runs.size() && ParseReal(runs[index].text, value);
}

bool ToInt(const QString& text, int& value) {
    long long v = 0;
    if (!ParseInt(text.trimmed(), v) || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(v);
    return true;
}

bool DigitAt(const QString& o, int pos, char lo, char hi, int& value) {
    if (pos >= o.size()) return false;
    const QChar c = o[pos];
    if (c < QLatin1Char(lo) || c > QLatin1Char(hi)) return false;
    value = c.unicode() - '0';
    return true;
}

class StateReader {
public:
    StateReader(DialState& s, const QString& path, const QStringList& lines, UserDialogs& dialogs, Language lang)
        : s_(s), path_(path), lines_(lines), dialogs_(dialogs), lang_(lang) {}

    // Markers present, in order, and enough lines. False: structurally faulty.
    bool findMarkers() {
        colours_ = lines_.indexOf(kColoursMarker);
        times_ = lines_.indexOf(kTimesMarker);
        dates_ = lines_.indexOf(kDatesMarker);
        return lines_.size() > 25 && colours_ >= 0 && colours_ < times_ && times_ < dates_;
    }

    // Each returns false when a value failed; failedLine() then names it (from 0).
    bool readHeader();
    bool readColours();
    bool readTimes();
    void readDateLines();

    int failedLine() const { return failed_; }
    bool messagesShown() const { return messages_; }
    Language messageLanguage() const { return lang_; }

private:
    bool fail(int line) {
        failed_ = line;
        return false;
    }
    void showError(const QString& text) {
        messages_ = true;
        dialogs_.inform(caption(CaptionKind::Error, lang_), text, Icon::Error);
    }
    bool present(int line) const { return line < colours_; }

    bool readLine(int n, const QString& line);
    bool readOptions(const QString& line);
    void readDialCode(const QString& line);
    void readLanguage(const QString& line);
    void readUmbrellaAndRing(int n, const QString& line);
    bool readPair(int n, const QString& line, double limit, double fallback, double& first, double& second,
                  bool raiseSmall);
    bool readInclinations(int n, const QString& line);

    DialState& s_;
    QString path_;
    const QStringList& lines_;
    UserDialogs& dialogs_;
    Language lang_;
    int colours_ = -1, times_ = -1, dates_ = -1;
    int failed_ = -1;
    bool messages_ = false;
};

bool StateReader::readHeader() {
    for (int n = 0; n < kHeaderLines; ++n) {
        if (!present(n)) {
            // A header cut short by the colour marker: the optional last lines keep their
            // values; a missing required line is a fault at that line.
            if (n <= kLastRequiredHeaderLine) return fail(n);
            break;
        }
        if (!readLine(n, lines_[n])) return false;
    }
    return true;
}

bool StateReader::readPair(int n, const QString& line, double limit, double fallback, double& first,
                           double& second, bool raiseSmall) {
    const QList<NumberRun> runs = NumberRuns(line);
    for (int k = 0; k < 2; ++k) {
        if (k == 1 && runs.size() < 2) break;
        double& field = k == 0 ? first : second;
        double v = 0;
        if (!RunValue(runs, k, v) || std::abs(v) > limit) {
            field = fallback;
            return fail(n);
        }
        // No construction may divide by sin(0).
        if (raiseSmall && std::abs(v) < 1e-6) v = 1e-6;
        field = v;
    }
    return true;
}

bool StateReader::readInclinations(int n, const QString& line) {
    const QList<NumberRun> runs = NumberRuns(line);
    double v = 0;
    if (!RunValue(runs, 0, v)) return fail(n);
    s_.planeInclination = v;
    if (runs.size() < 2) return true;
    if (!RunValue(runs, 1, v) || v < 1) {
        // The cone axis defaults to the latitude (turned by 180 degrees in the south).
        s_.coneAxisInclination = s_.latitude < 0 ? s_.latitude + 180.0 : s_.latitude;
        showError(QStringLiteral("Line %1:%2 : INI-Datei ist fehlerhaft!").arg(n).arg(line.mid(runs[0].end + 1)));
        return fail(n);
    }
    s_.coneAxisInclination = v;
    if (runs.size() < 3) return true;
    if (!RunValue(runs, 2, v) || v < 1 || v > 86) {
        s_.coneHalfAngle = s_.coneAxisInclination / 2.0;
        showError(QStringLiteral("In Line %1:%2 : INI-Datei ist fehlerhaft!").arg(n).arg(runs[2].text));
        return fail(n);
    }
    s_.coneHalfAngle = v;
    return true;
}

bool StateReader::readLine(int n, const QString& line) {
    switch (n) {
        case 0: {
            long long year = 0;
            if (!ParseInt(line.trimmed(), year)) {
                s_.referenceYear = 2007;
                return true;
            }
            // The site dialog's range: the ephemeris is not valid beyond it.
            if (!ReferenceYearInRange(year)) {
                s_.referenceYear = 2007;
                return fail(n);
            }
            s_.referenceYear = static_cast<int>(year);
            return true;
        }
        case 1: return readPair(n, line, 90.0, 47.25, s_.latitude, s_.latitude2, true);
        case 2: return readPair(n, line, 180.0, -9.59, s_.longitude, s_.longitude2, false);
        case 3: {
            double v = 0;
            if (!RunValue(NumberRuns(line), 0, v) || std::abs(v) > 180.0) {
                s_.zoneMeridian = -15.0;
                return fail(n);
            }
            s_.zoneMeridian = v;
            return true;
        }
        case 4: {
            const QList<NumberRun> runs = NumberRuns(line);
            double v = 0;
            if (!RunValue(runs, 0, v)) {
                s_.gnomonLength = 35.0;
                return fail(n);
            }
            s_.gnomonLength = v;
            if (runs.size() > 1) {
                if (!RunValue(runs, 1, v)) {
                    s_.cylinderGnomon = 40.0;
                    return fail(n);
                }
                s_.cylinderGnomon = v;
            }
            if (runs.size() > 2) {
                if (!RunValue(runs, 2, v)) {
                    s_.cylinderRadius = 250.0;
                    return fail(n);
                }
                s_.cylinderRadius = v;
            }
            if (runs.size() > 3) {
                if (!RunValue(runs, 3, v) || std::abs(v) > 1e9) {
                    s_.monthScaleLength = 270;
                    return fail(n);
                }
                s_.monthScaleLength = static_cast<int>(std::lround(v));
            }
            return true;
        }
        case 5: {
            const QStringList parts = line.split(line.contains(QLatin1Char(',')) ? QLatin1Char(',') : QLatin1Char(';'));
            int* fields[6] = {&s_.shepherdGnomon, &s_.hidokaiHorizontalScale, &s_.hidokaiMonthScale,
                              &s_.hidokaiGnomon,  &s_.drawingScale,           &s_.quadrantSize};
            const int fallbacks[6] = {70, 170, 150, 150, 150, 150};
            for (int k = 0; k < 6 && k < parts.size(); ++k)
                if (!ToInt(parts[k], *fields[k])) *fields[k] = fallbacks[k];
            return true;
        }
        case 6: return readPair(n, line, 180.0, -11.7, s_.wallDeclination, s_.wallDeclination2, false);
        case 7: return readInclinations(n, line);
        case 8:
            if (!ToInt(line, s_.analemmaHour)) s_.analemmaHour = 12;
            return true;
        case 9: return readOptions(line);
        case 10: readDialCode(line); return true;
        case 11:
        case 12: {
            int& field = n == 11 ? s_.hourFrom : s_.hourTo;
            int v = 0;
            if (!ToInt(line, v) || v < 0 || v > 24) {
                field = n == 11 ? 7 : 19;
                return fail(n);
            }
            field = v;
            return true;
        }
        case 13: readLanguage(line); return true;
        case 14: s_.dialogsNormalSize = line.trimmed() != QLatin1String("false"); return true;
        case 15: readUmbrellaAndRing(n, line); return true;
        case 16: {
            double v = 0;
            // 1..100: the parameter dialog accepts gnomons up to 100, so they must read back.
            if (!RunValue(NumberRuns(line), 0, v) || v < 1 || v > 100) {
                showError(QStringLiteral("In Line %1:%2 : INI-Datei ist fehlerhaft!").arg(n).arg(line));
                return fail(n);
            }
            s_.quadrantGnomon = v;
            return true;
        }
        default: return true;
    }
}

bool StateReader::readOptions(const QString& raw) {
    qsizetype skip = 0;
    while (skip < raw.size() && raw[skip] == QLatin1Char(' ')) ++skip;
    const QString o = raw.mid(skip);
    auto has = [&o](int pos) { return pos < o.size(); };
    // A missing flag keeps its value: older files end before the later positions.
    auto flag = [&o, &has](int pos, bool& field) {
        if (has(pos)) field = o[pos] == QLatin1Char('j');
    };
    int v = 0;
    s_.dateLineMode = DigitAt(o, 0, '0', '3', v) ? char('0' + v) : '0';
    s_.eotHourInterval = DigitAt(o, 1, '0', '6', v) ? char('0' + v) : '0';
    flag(2, s_.linesToStyleFoot);
    flag(3, s_.reservedOptionFlag);
    flag(4, s_.apparentTimeLines);
    flag(5, s_.markAnalemma);
    flag(6, s_.babylonianHours);
    flag(7, s_.italianHours);
    flag(8, s_.altitudeLines);
    flag(9, s_.temporalHours);
    flag(10, s_.mirrorLeftQuadrant);
    flag(11, s_.constructWithEoT);
    if (has(12)) {
        const QChar c = o[12];
        if (c == QLatin1Char('j') || c == QLatin1Char('1')) s_.timeSystem = 1;
        else if (c == QLatin1Char('2')) s_.timeSystem = 2;
        else s_.timeSystem = 0;
    }
    s_.apparentTimeScale = s_.timeSystem == 0;
    flag(13, s_.outerLineArrangement);
    flag(14, s_.localTimeDisplay);
    flag(15, s_.monthScaleSideBySide);
    flag(16, s_.cylinderWithEoT);
    // 17 is derived from 12 above.
    s_.hourLineInterval = DigitAt(o, 18, '0', '5', v) ? char('0' + v) : '0';
    flag(19, s_.hidokaiVerticalDial);
    flag(20, s_.wholeYearBand);
    flag(21, s_.localTimeReading);
    flag(22, s_.drawPoleTriangle);
    flag(23, s_.meanTimeLines);
    s_.dayMarkings = DigitAt(o, 24, '0', '5', v) ? v : 0;
    flag(25, s_.markAnalemma);
    flag(26, s_.declinationScale);
    s_.rayDeflection = DigitAt(o, 27, '0', '2', v) ? v : 0;
    flag(28, s_.noonLineHorizontal);
    if (DigitAt(o, 29, '1', '9', v)) s_.lineWidth = char('0' + v);
    flag(30, s_.hollanderOption);
    flag(31, s_.biazimuthalVertical);
    s_.hollanderShadowLine = DigitAt(o, 32, '0', '8', v) ? v : 0;
    s_.altitudeCircleSpacing = !has(33) ? 1 : DigitAt(o, 33, '0', '2', v) ? v : 0;
    s_.azimuthKind = DigitAt(o, 34, '0', '1', v) ? v : 0;
    s_.quadrantDateScale = DigitAt(o, 35, '0', '2', v) ? v : 0;
    flag(36, s_.wholeHourDaylengthLines);
    return true;
}

void StateReader::readDialCode(const QString& line) { ApplyDialCode(s_, line); }

void StateReader::readLanguage(const QString& line) {
    s_.language = line.startsWith(QLatin1Char('E')) ? Language::English : Language::German;
    lang_ = s_.language;
    auto flag = [&line](int pos) { return pos < line.size() && line[pos] == QLatin1Char('j'); };
    s_.expertMode = flag(1);
    s_.mapOverlay = flag(2);
    s_.mapBorders = flag(3);
    s_.mapCoast = flag(4);
}

void StateReader::readUmbrellaAndRing(int n, const QString& line) {
    auto value = [](const QString& field, bool minusAllowed, double& v) {
        if (!minusAllowed && field.contains(QLatin1Char('-'))) return false;
        return RunValue(NumberRuns(field), 0, v);
    };
    double v = 0;
    if (!line.contains(QLatin1Char(';'))) {
        if (value(line, true, v)) s_.umbrellaCircleRatio = v;
        else showError(QStringLiteral("Line %1 : INI-Datei ist fehlerhaft!").arg(n));
        return;
    }
    const QStringList parts = line.split(QLatin1Char(';'));
    const int m = n + 1;
    if (value(parts[0], true, v)) s_.umbrellaCircleRatio = v;
    else showError(QStringLiteral("Line %1/1 : INI-Datei ist fehlerhaft!").arg(m));
    if (parts.size() > 1) s_.ringDiameter = value(parts[1], false, v) && v >= 0 && v <= 300 ? v : 110.0;
    if (parts.size() > 2) {
        if (value(parts[2], false, v)) {
            s_.ringWidth = v;
        } else {
            s_.ringWidth = 50.0;
            showError(QStringLiteral("Line %1/3 : INI-Datei ist fehlerhaft!").arg(m));
        }
    }
    if (parts.size() > 3) s_.ringAngle = value(parts[3], false, v) && v >= 0 && v <= 90 ? v : 50.0;
}

bool StateReader::readColours() {
    int taken = 0;
    for (int n = colours_ + 1; n < times_ && taken < kMaxColours; ++n) {
        const QString text = lines_[n].trimmed();
        if (text.isEmpty()) continue;
        int number = 0;
        if (!ToInt(text, number) || number < 0 || number > 0xFFFFFF) return fail(n);
        s_.colours[taken++] = ColourFromFileNumber(number);
    }
    return true;
}

bool StateReader::readTimes() {
    struct TimeField {
        int* field;
        int lo, hi, fallback;
    };
    const TimeField fields[kTimeLines] = {
        {&s_.eotHourFrom, 0, 24, 8},           {&s_.eotHourTo, 0, 24, 18},
        {&s_.babylonianFrom, 0, 24, 0},        {&s_.babylonianTo, 0, 24, 12},
        {&s_.italianFrom, 0, 24, 18},          {&s_.italianTo, 0, 24, 24},
        {&s_.temporalFrom, 0, 12, 1},          {&s_.temporalTo, 0, 12, 11},
        {&s_.altitudeFrom, 10, 90, 10},        {&s_.altitudeTo, 10, 90, 10},
        {&s_.otherHourFrom, 0, 24, 8},         {&s_.otherHourTo, 0, 24, 18},
        {&s_.quadrantTemporalFrom, 0, 12, 1},  {&s_.quadrantTemporalTo, 0, 12, 12},
    };
    for (int k = 0; k < kTimeLines; ++k) {
        const int n = times_ + 1 + k;
        if (n >= dates_) return fail(n);  // the section ends before all times were given
        int v = 0;
        if (!ToInt(lines_[n], v) || v < fields[k].lo || v > fields[k].hi) {
            *fields[k].field = fields[k].fallback;
            return fail(n);
        }
        *fields[k].field = v;
    }
    const int n = times_ + 1 + kTimeLines;
    if (n >= dates_) return true;
    qsizetype skip = 0;
    const QString& raw = lines_[n];
    while (skip < raw.size() && raw[skip] == QLatin1Char(' ')) ++skip;
    const QString t = raw.mid(skip);
    // List indices: anything outside the list would select no interval at all.
    struct IntervalField {
        int pos;
        int* field;
        char hi;
    };
    const IntervalField intervals[5] = {{0, &s_.babylonianInterval, '3'},
                                        {1, &s_.italianInterval, '3'},
                                        {2, &s_.temporalInterval, '3'},
                                        {3, &s_.altitudeInterval, '2'},
                                        {5, &s_.quadrantTemporalInterval, '3'}};
    for (const IntervalField& f : intervals) {
        if (f.pos >= t.size()) continue;
        int v = 0;
        if (!DigitAt(t, f.pos, '0', f.hi, v)) return fail(n);
        *f.field = v;
    }
    if (t.size() > 4 && t[4].unicode() > ' ' && t[4].unicode() < 127) s_.otherHourInterval = char(t[4].unicode());
    return true;
}

void StateReader::readDateLines() {
    s_.dateLineList.clear();
    for (int n = dates_ + 1; n < lines_.size(); ++n) {
        const QString& line = lines_[n];
        if (line.trimmed().isEmpty()) continue;
        if (ValidateDateLine(line, s_.referenceYear, &dialogs_, lang_).valid) {
            s_.dateLineList << line;
        } else {
            messages_ = true;
            dialogs_.inform(caption(CaptionKind::Error, lang_),
                            QStringLiteral("Fehlerhaftes Datum %1 in %2").arg(line, path_), Icon::Error);
        }
    }
}

bool NamesSettingsFile(const QString& path);

// Copies `path` over its backup in one step: the previous backup stays if the copy fails.
bool MakeBackup(const QString& path, SaveError& error) {
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        error = {SaveFault::WriteFailed, 0};
        return false;
    }
    SafeSaveFile backup(SettingsBackupPath(path));
    if (!backup.open(QIODevice::WriteOnly)) {
        error = backup.error();
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = source.read(buffer, sizeof buffer);
        if (got < 0) {
            error = {SaveFault::WriteFailed, 0};
            return false;
        }
        if (got == 0) break;
        if (backup.write(buffer, got) != got) break;
    }
    const bool ok = backup.commit();
    error = backup.error();
    return ok;
}

// The user agreed to correct the file: keep the old one as backup, then write the state.
// Without a backup the file is not overwritten.
bool CorrectFile(DialState& s, const QString& path, UserDialogs& dialogs, Language lang) {
    SaveError error;
    const bool backedUp = MakeBackup(path, error);
    const bool settings = NamesSettingsFile(path);
    const QString backupName = QFileInfo(SettingsBackupPath(path)).fileName();
    const QString fileName = QFileInfo(path).fileName();
    const bool en = lang == Language::English;
    if (backedUp) {
        dialogs.inform(caption(CaptionKind::Information, lang),
                       settings ? message(37, lang)
                       : en     ? QStringLiteral("Old version of %1 is saved as %2.").arg(fileName, backupName)
                                : QStringLiteral("Die alte Datei %1 ist unter dem Namen %2 gespeichert.").arg(fileName, backupName),
                       Icon::Information);
    } else {
        const QString reason = SaveErrorText(error, lang);
        dialogs.inform(caption(CaptionKind::Error, lang),
                       (settings ? message(36, lang)
                        : en     ? QStringLiteral("Could not generate backup-file of %1 !").arg(fileName)
                                 : QStringLiteral("Von %1 konnte keine Sicherungsdatei angelegt werden!").arg(fileName)) +
                           (reason.isEmpty() ? QString() : QStringLiteral("\r\n") + reason),
                       Icon::Error);
    }
    LoadDefaults(s);
    return backedUp && WriteStateFile(s, path, dialogs);
}

void ReportSaveFailure(const QString& path, const SaveError& error, UserDialogs& dialogs, Language lang) {
    const QString reason = SaveErrorText(error, lang);
    dialogs.inform(caption(CaptionKind::Error, lang),
                   path + QLatin1String(" :\r\n") + message(18, lang) +
                       (reason.isEmpty() ? QString() : QStringLiteral("\r\n") + reason),
                   Icon::Error);
}

bool NamesSettingsFile(const QString& path) {
    return QFileInfo(path).fileName().compare(QLatin1String(kSettingsFileName), Qt::CaseInsensitive) == 0;
}

void FinishRead(DialState& s) {
    s.legendOffset = LegendOffsetFor(s.dialType);
    s.zoneFarFromLongitude = ZoneFarFromLongitude(s.longitude, s.zoneMeridian);
}

}  // namespace

QString SettingsBackupPath(const QString& path) {
    const QFileInfo info(path);
    // zor.ini keeps the backup name earlier installations use; every other file gets its own,
    // so that correcting a second file never overwrites the backup of the first.
    const QString name = NamesSettingsFile(path) ? QString::fromLatin1(kSettingsBackupName)
                                                 : info.fileName() + QStringLiteral(".bak");
    return info.absoluteDir().filePath(name);
}

int ColourToFileNumber(Rgb c) {
    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return (b << 16) | (g << 8) | r;
}

Rgb ColourFromFileNumber(int number) {
    const Rgb n = static_cast<Rgb>(number) & 0xFFFFFF;
    const Rgb b = (n >> 16) & 0xFF, g = (n >> 8) & 0xFF, r = n & 0xFF;
    return (r << 16) | (g << 8) | b;
}

QStringList BuildStateLines(const DialState& s, UserDialogs* dialogs) {
    QStringList l;
    l << QString::number(s.referenceYear);
    l << R(10, 6, s.latitude) + Semi() + R(12, 2, s.latitude2);
    l << R(10, 6, s.longitude) + Semi() + R(12, 2, s.longitude2);
    l << R(12, 2, s.zoneMeridian);
    l << R(6, 2, s.gnomonLength) + Semi() + R(6, 2, s.cylinderGnomon) + Semi() + R(8, 2, s.cylinderRadius) +
             Semi() + R(7, 0, s.monthScaleLength);
    l << QStringLiteral("%1,%2,%3,%4,%5,%6")
             .arg(s.shepherdGnomon)
             .arg(s.hidokaiHorizontalScale)
             .arg(s.hidokaiMonthScale)
             .arg(s.hidokaiGnomon)
             .arg(s.drawingScale)
             .arg(s.quadrantSize);
    l << R(11, 6, s.wallDeclination) + Semi() + R(10, 6, s.wallDeclination2);
    l << R(11, 6, s.planeInclination) + Semi() + R(10, 6, s.coneAxisInclination) + Semi() +
             R(10, 6, s.coneHalfAngle);
    l << QString::number(s.analemmaHour);
    l << OptionString(s);
    l << DialCode(s);
    l << QString::number(s.hourFrom);
    l << QString::number(s.hourTo);
    l << QString(s.english() ? QLatin1Char('E') : QLatin1Char('D')) + Flag(s.expertMode) + Flag(s.mapOverlay) +
             Flag(s.mapBorders) + Flag(s.mapCoast);
    l << (s.dialogsNormalSize ? QStringLiteral("true") : QStringLiteral("false"));
    l << R(11, 6, s.umbrellaCircleRatio) + Semi() + R(7, 2, s.ringDiameter) + Semi() + R(7, 2, s.ringWidth) +
             Semi() + R(5, 1, s.ringAngle);
    l << R(7, 1, s.quadrantGnomon);
    l << kColoursMarker;
    for (int i = 0; i < kStoredColours; ++i) l << QString::number(ColourToFileNumber(s.colours[i]));
    l << kTimesMarker;
    for (int v : {s.eotHourFrom, s.eotHourTo, s.babylonianFrom, s.babylonianTo, s.italianFrom, s.italianTo,
                  s.temporalFrom, s.temporalTo, s.altitudeFrom, s.altitudeTo, s.otherHourFrom, s.otherHourTo,
                  s.quadrantTemporalFrom, s.quadrantTemporalTo})
        l << QString::number(v);
    l << QString(DigitChar(s.babylonianInterval)) + DigitChar(s.italianInterval) + DigitChar(s.temporalInterval) +
             DigitChar(s.altitudeInterval) + DigitChar(s.otherHourInterval) +
             DigitChar(s.quadrantTemporalInterval);
    l << kDatesMarker;
    for (const QString& entry : s.dateLineList) {
        // A line break inside an entry would shift every later line of the file.
        QString line = entry;
        line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (ValidateDateLine(line, s.referenceYear, dialogs, s.language).valid) l << line;
    }
    return l;
}

bool WriteStateFile(const DialState& s, const QString& path, UserDialogs& dialogs) {
    const Language lang = s.language;
    SaveError error;
    if (WriteLineFile(path, BuildStateLines(s, &dialogs), &error)) {
        dialogs.inform(caption(CaptionKind::Information, lang), path + message(58, lang), Icon::Information);
        return true;
    }
    ReportSaveFailure(path, error, dialogs, lang);
    return false;
}

bool ReadStateFile(DialState& s, const QString& path, bool withColours, bool withDateLines, UserDialogs& dialogs,
                   StateFileReport* report) {
    StateFileReport local;
    StateFileReport& r = report ? *report : local;
    r = StateFileReport{};
    // Messages speak the caller's language until the file names its own.
    const Language callerLanguage = s.language;

    QStringList lines;
    const LineFileStatus status = ReadLineFile(path, lines);
    if (status == LineFileStatus::Missing) {
        r.sound = false;
        r.fileMissing = true;
        if (NamesSettingsFile(path)) {
            const Answer a = dialogs.ask(caption(CaptionKind::Question, callerLanguage),
                                         path + QLatin1String(" : \n\r") + message(34, callerLanguage) +
                                             QLatin1String("\n\r") + message(35, callerLanguage),
                                         Buttons::YesNo);
            if (a == Answer::Yes) {
                LoadDefaults(s);
                r.corrected = WriteStateFile(s, path, dialogs);
            }
        } else {
            dialogs.inform(caption(CaptionKind::Error, callerLanguage), path + message(29, callerLanguage),
                           Icon::Error);
        }
        FinishRead(s);
        return false;
    }
    if (status != LineFileStatus::Ok) {
        // Nothing was read, so nothing is offered for correction.
        r.sound = false;
        r.unreadable = true;
        QString text = path + QLatin1String(" :\r\n") + message(24, callerLanguage);
        if (status == LineFileStatus::NotAFile)
            text = InputFileProblemText(InputFileStatus::NotAFile, path, kMaxLineFileBytes, callerLanguage);
        else if (status == LineFileStatus::TooLarge)
            text = InputFileProblemText(InputFileStatus::TooLarge, path, kMaxLineFileBytes, callerLanguage);
        dialogs.inform(caption(CaptionKind::Error, callerLanguage), text, Icon::Error);
        return false;
    }

    s.dialogsNormalSize = true;
    s.language = Language::German;
    StateReader reader(s, path, lines, dialogs, callerLanguage);

    if (!reader.findMarkers()) {
        r.sound = false;
        r.structuralFault = true;
        LoadDefaults(s);
        const Answer a = dialogs.ask(caption(CaptionKind::Question, callerLanguage), message(14, callerLanguage),
                                     Buttons::YesNo);
        if (a == Answer::Yes) r.corrected = CorrectFile(s, path, dialogs, callerLanguage);
        FinishRead(s);
        return false;
    }

    const bool ok = reader.readHeader() && (!withColours || reader.readColours()) && reader.readTimes();
    if (!ok) {
        r.sound = false;
        r.failingLine = reader.failedLine() + 1;
        const Language lang = reader.messageLanguage();
        const Answer a = dialogs.ask(caption(CaptionKind::Problem, lang),
                                     path + QStringLiteral(" : line %1\n\r").arg(r.failingLine) + message(14, lang),
                                     Buttons::YesNo);
        if (a == Answer::Yes) r.corrected = CorrectFile(s, path, dialogs, lang);
        FinishRead(s);
        return false;
    }
    if (withDateLines) reader.readDateLines();
    r.sound = !reader.messagesShown();
    FinishRead(s);
    return r.sound;
}

// ---------------------------------------------------------------------------------------
// Colour section of the settings file

namespace {

QString MissingSettingsText(const QString& path, Language lang) {
    // The German text continues the file name (" fehlt. ..."), the English one stands alone.
    return path + (lang == Language::English ? QStringLiteral(": ") : QString()) + message(33, lang);
}

}  // namespace

bool SaveColours(const DialState& s, const QString& settingsPath, UserDialogs& dialogs) {
    const Language lang = s.language;
    QStringList lines;
    const LineFileStatus status = ReadLineFile(settingsPath, lines);
    if (status == LineFileStatus::Missing) {
        dialogs.inform(caption(CaptionKind::Problem, lang), MissingSettingsText(settingsPath, lang), Icon::Warning);
        return false;
    }
    const qsizetype marker = status == LineFileStatus::Ok ? lines.indexOf(kColoursMarker) : -1;
    if (marker < 0) {
        // Without a colour section there is no place to put the colours; leave the file alone.
        dialogs.inform(caption(CaptionKind::Problem, lang), settingsPath + QLatin1String(" :\r\n") + message(30, lang),
                       Icon::Warning);
        return false;
    }
    const qsizetype first = marker + 1;
    for (int removed = 0; removed < kMaxColours && first < lines.size() && lines[first] != kTimesMarker; ++removed)
        lines.removeAt(first);
    for (int i = 0; i < kStoredColours; ++i) lines.insert(first + i, QString::number(ColourToFileNumber(s.colours[i])));
    SaveError error;
    if (WriteLineFile(settingsPath, lines, &error)) return true;
    ReportSaveFailure(settingsPath, error, dialogs, lang);
    return false;
}

bool LoadColours(DialState& s, const QString& settingsPath, UserDialogs& dialogs) {
    const Language lang = s.language;
    QStringList lines;
    const LineFileStatus status = ReadLineFile(settingsPath, lines);
    if (status == LineFileStatus::Missing) {
        dialogs.inform(caption(CaptionKind::Warning, lang), QFileInfo(settingsPath).fileName() + message(29, lang),
                       Icon::Warning);
        ResetColours(s);
        return false;
    }
    const qsizetype marker = status == LineFileStatus::Ok ? lines.indexOf(kColoursMarker) : -1;
    if (marker < 0) {
        dialogs.inform(caption(CaptionKind::Warning, lang), settingsPath + QLatin1String(" :\r\n") + message(30, lang),
                       Icon::Warning);
        return false;
    }
    bool allRead = true;
    int index = 0;
    for (qsizetype n = marker + 1; n < lines.size() && lines[n] != kTimesMarker && index < kMaxColours; ++n) {
        const QString text = lines[n].trimmed();
        if (text.isEmpty()) continue;
        int number = 0;
        if (ToInt(text, number) && number >= 0 && number <= 0xFFFFFF) {
            s.colours[index] = ColourFromFileNumber(number);
        } else {
            // The faulty colour keeps its value; the following ones stay in their places.
            allRead = false;
            dialogs.inform(caption(CaptionKind::Error, lang), lines[n] + QLatin1String(" : ") + message(6, lang),
                           Icon::Error);
        }
        ++index;
    }
    return allRead;
}

bool ApplyDialCode(DialState& s, const QString& line) {
    if (line.isEmpty()) return false;
    QChar letter = line[0];
    int kindPos = 1;
    s.umbrellaDial = false;
    if (letter == QLatin1Char('s')) {
        s.umbrellaDial = true;
        if (line.size() < 2) return false;
        letter = line[1];
        kindPos = 2;
    }
    if (letter.unicode() <= ' ' || letter.unicode() >= 127) return false;
    char c = static_cast<char>(letter.unicode());
    // Older files wrote the Hollander dial as "c1".
    if (c == 'c' && line.size() > 1 && line[1] == QLatin1Char('1')) {
        s.dialType = 'm';
        return true;
    }
    s.dialType = c;
    if ((c == 'm' || c == 'z' || c == 'q') && kindPos < line.size()) {
        int v = 0;
        const char hi = c == 'm' ? '8' : '2';
        const int kind = DigitAt(line, kindPos, '0', hi, v) ? v : 0;
        if (c == 'm') s.hollanderShadowLine = kind;
        else if (c == 'z') s.cylinderKind = kind;
        else s.quadrantKind = kind;
    }
    s.legendOffset = LegendOffsetFor(s.dialType);
    return true;
}

}  // namespace zorva
