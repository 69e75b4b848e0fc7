#pragma once
// The state as the constructions read it, decoded once per drawing: the dial kind and the
// option characters of the files as enums and clamped numbers, the site with its one
// latitude rule, the reference year's zodiac declinations and the one interpolated solar
// ephemeris every family traces its lines with.

#include "astro/solar_ephemeris.h"
#include "state/dial_state.h"
#include "text/named_texts.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace zorva {

class UserDialogs;

// The kinds of dial, by the letter the files store.
enum class DialKind {
    Horizontal,  // 'h'
    Vertical,    // 'v'
    Inclined,    // 'i'
    Cylinder,    // 'z': shepherd's dial, hat dial, polar-style cylinder
    Hidokai,     // 'k'
    ConeShadow,  // 'm'
    Azimuth,     // 'a'
    Quadrant,    // 'q'
    Ring,        // 'r'
    Biazimuthal, // 'c'
    Analemmatic, // no letter: zorva.conf names it, zor.ini keeps 'h' or 'v'
    Bifilar,     // likewise
    Other,       // a letter that draws only the frame
};
DialKind DialKindOf(char dialType);
// The kind of the state: an added kind before the letter.
DialKind DialKindOf(const DialState& state);
bool IsPlanarKind(DialKind kind);

// The time an altitude or azimuth dial shows (the files' option 12).
enum class TimeSystem {
    LocalApparent = 0,  // the site's own apparent (or, with EoT, mean) time
    Zone = 1,           // time of the zone meridian
    Temporal = 2,       // temporal hours
};

// The line-width option as a pen width, 1..9 (the files store one digit).
int LineWidthOf(const DialState& s);

// Declination and equation of time within a day, interpolated from three evaluations of
// SolarDeclinationEoT (at the day -0.5, 0, +0.5; within 1e-5 degrees of the direct value),
// and the declination of 12:00 zone time of a day. Lines ask for thousands of instants on a
// few hundred days; each day is evaluated once per drawing.
class SunEphemeris {
public:
    SunEphemeris(int year, double zoneMeridian);
    // At `d` days as SolarDeclinationEoT counts them, from the nodes of the nearest day.
    DeclinationEoT at(double d) const;
    // At fraction `u` of a day from noon UT of `day`, from that day's nodes.
    DeclinationEoT at(int day, double u) const;
    // The instant of zone time `hour` on `day` as a fraction of a day from noon UT.
    double zoneFraction(double hour) const { return (hour + zoneMeridian_ / 15 - 12) / 24; }
    // Declination of 12:00 zone time of `day`, as SunPositionNoonEphemeris has it.
    double noonDeclination(int day) const;
    int year() const { return year_; }

private:
    struct Day {
        bool nodes = false;
        bool noon = false;
        std::array<DeclinationEoT, 3> node{};
        double noonDeclination = 0.0;
    };
    Day& slot(int day) const;

    int year_;
    double zoneMeridian_;
    // Days -366 .. 800 of the year: a whole-year line reaches into both neighbours.
    static constexpr int kFirstDay = -366;
    mutable std::vector<Day> days_;
    mutable Day spare_;
};

// The problem box of a line system the site's latitude does not allow; the construction
// leaves those lines out. `lines` names them (Babylonian and Italian, temporal hours).
void ReportLinesImpossibleAtLatitude(TextId lines, Language lang, UserDialogs& dialogs);

class DialContext {
public:
    // Built where a drawing starts; a construction asked directly with a state builds one.
    DialContext(const DialState& state);  // NOLINT(google-explicit-constructor)

    const DialState& state;

    DialKind kind;
    bool umbrella;
    Language language;
    int lineWidth;        // 1..9
    int plotLineWeight;   // 1..3
    TimeSystem timeSystem;
    int linesPerHour;         // apparent-time lines
    int meanLinesPerHour;     // mean-time lines
    int otherLinesPerHour;    // the altitude dials' clock lines

    // Site: latitude never exactly 0 (constructions divide by its sine), longitudes west
    // positive; whether the zone meridian lies far from the site.
    double latitude;
    double longitude;
    double zoneMeridian;
    bool zoneFarFromLongitude;
    int year;

    bool english() const { return language == Language::English; }

    // Declinations at the entry into the signs of the reference year (DialState layout).
    const std::array<double, 8>& zodiacDeclinations() const;
    // The shared interpolated ephemeris of the reference year.
    SunEphemeris& ephemeris() const { return ephemeris_; }

private:
    mutable std::optional<std::array<double, 8>> zodiac_;
    mutable SunEphemeris ephemeris_;
};

// The Babylonian and Italian hours the state asks for: `trace(italian)` for each. Beyond 65
// degrees of latitude they cannot be drawn, and the message says so.
void ForBabylonianItalianHours(const DialContext& c, UserDialogs& dialogs, const std::function<void(bool)>& trace);

}  // namespace zorva
