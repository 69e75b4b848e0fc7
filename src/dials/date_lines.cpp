#include "dials/date_lines.h"

#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "state/date_lines.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

namespace zorva {
namespace {

QString Label(int day, int month) {
    return QStringLiteral("%1.%2.").arg(day, 2, 10, QLatin1Char(' ')).arg(month, 2, 10, QLatin1Char('0'));
}

// 21 March and 23 September lie on the equator line, whatever the ephemeris says of the
// day: the equinox line of a dial must be the straight line of declination 0.
DateLine DayLine(int year, int day, int month) {
    DateLine line;
    line.dayOfYear = DayOfYear(year, month, day);
    line.label = Label(day, month);
    if ((day == 21 && month == 3) || (day == 23 && month == 9)) {
        line.fixedDeclination = true;
        line.declination = 0.0;
    }
    return line;
}

}  // namespace

bool ParseDateLineEntry(const QString& entry, int year, int& day, int& month) {
    const DateLineCheck check = ValidateDateLine(entry, year);
    if (!check.valid) return false;
    day = check.key % 100;
    month = check.key / 100;
    return true;
}

std::vector<DateLine> BuildDateLineTable(const DialState& s, UserDialogs* dialogs) {
    std::vector<DateLine> lines;
    const int year = s.referenceYear;
    switch (s.dateLineMode) {
    case '0': {
        // One line per sign of the zodiac, June to December.
        const ZodiacTable zodiac = ZodiacDeclinations(year);
        const int days[7][2] = {{21, 6}, {22, 7}, {23, 8}, {22, 9}, {23, 10}, {22, 11}, {22, 12}};
        for (int k = 0; k < 7; ++k) {
            DateLine line;
            line.dayOfYear = DayOfYear(year, days[k][1], days[k][0]);
            line.label = Label(days[k][0], days[k][1]);
            line.fixedDeclination = true;
            line.declination = zodiac.zodiac[static_cast<size_t>(7 - k)];
            lines.push_back(line);
        }
        break;
    }
    case '1':
        lines.push_back(DayLine(year, 22, 6));
        for (int month = 7; month <= 12; ++month) {
            lines.push_back(DayLine(year, 7, month));
            lines.push_back(DayLine(year, 22, month));
        }
        break;
    case '2': {
        if (s.dateLineList.isEmpty()) {
            for (const auto& [d, m] : {std::pair{21, 6}, std::pair{23, 9}, std::pair{21, 12}})
                lines.push_back(DayLine(year, d, m));
            break;
        }
        int day = 0, month = 0;
        bool havePrevious = false;
        for (const QString& entry : s.dateLineList) {
            int d = 0, m = 0;
            if (ParseDateLineEntry(entry, year, d, m)) {
                day = d;
                month = m;
                havePrevious = true;
            } else {
                if (dialogs)
                    dialogs->inform(caption(CaptionKind::Error, s.language),
                                    entry + QStringLiteral(" : ") + message(57, s.language), Icon::Error);
                // Nothing before it to repeat: the entry draws nothing.
                if (!havePrevious) continue;
            }
            lines.push_back(DayLine(year, day, month));
        }
        break;
    }
    default:
        break;
    }
    return lines;
}

}  // namespace zorva
