#include "dials/dial_context.h"

#include "dials/planar_dial.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>
#include <cmath>

namespace zorva {

DialKind DialKindOf(char t) {
    switch (t) {
    case 'h': return DialKind::Horizontal;
    case 'v': return DialKind::Vertical;
    case 'i': return DialKind::Inclined;
    case 'z': return DialKind::Cylinder;
    case 'k': return DialKind::Hidokai;
    case 'm': return DialKind::ConeShadow;
    case 'a': return DialKind::Azimuth;
    case 'q': return DialKind::Quadrant;
    case 'r': return DialKind::Ring;
    case 'c': return DialKind::Biazimuthal;
    default: return DialKind::Other;
    }
}

DialKind DialKindOf(const DialState& s) {
    switch (s.addedKind) {
    case AddedKind::Analemmatic: return DialKind::Analemmatic;
    case AddedKind::Bifilar: return DialKind::Bifilar;
    case AddedKind::None: break;
    }
    return DialKindOf(s.dialType);
}

bool IsPlanarKind(DialKind k) {
    return k == DialKind::Horizontal || k == DialKind::Vertical || k == DialKind::Inclined;
}

int LineWidthOf(const DialState& s) { return std::clamp(s.lineWidth - '0', 1, 9); }

SunEphemeris::SunEphemeris(int year, double zoneMeridian) : year_(year), zoneMeridian_(zoneMeridian) {}

SunEphemeris::Day& SunEphemeris::slot(int day) const {
    if (days_.empty()) days_.resize(800 - kFirstDay);
    const int i = day - kFirstDay;
    if (i < 0 || i >= static_cast<int>(days_.size())) {
        spare_ = Day();
        return spare_;
    }
    return days_[static_cast<size_t>(i)];
}

DeclinationEoT SunEphemeris::at(double d) const {
    const double D = std::round(d);
    return at(static_cast<int>(D), d - D);
}

DeclinationEoT SunEphemeris::at(int day, double u) const {
    Day& e = slot(day);
    if (!e.nodes) {
        for (int k = 0; k < 3; ++k) e.node[static_cast<size_t>(k)] = SolarDeclinationEoT(year_, day + 0.5 * (k - 1));
        e.nodes = true;
    }
    const auto& n = e.node;
    auto q = [u](double m, double z, double p) { return z + u * (p - m) + 2 * u * u * (p - 2 * z + m); };
    return {q(n[0].declination, n[1].declination, n[2].declination), q(n[0].eot, n[1].eot, n[2].eot)};
}

double SunEphemeris::noonDeclination(int day) const {
    Day& e = slot(day);
    if (!e.noon) {
        // The instant SunPositionNoonEphemeris takes for 12:00 zone time.
        e.noonDeclination = SolarDeclinationEoT(year_, day + zoneMeridian_ / 360).declination;
        e.noon = true;
    }
    return e.noonDeclination;
}

void ReportLinesImpossibleAtLatitude(TextId lines, Language lang, UserDialogs& dialogs) {
    dialogs.inform(caption(CaptionKind::Problem, lang),
                   TextOf(lines, lang) + QStringLiteral("\r\n") + TextOf(TextId::LatitudeTooHigh, lang), Icon::Error);
}

void ForBabylonianItalianHours(const DialContext& c, UserDialogs& dialogs, const std::function<void(bool)>& trace) {
    const DialState& s = c.state;
    if (!s.babylonianHours && !s.italianHours) return;
    if (std::abs(s.latitude) > 65) {
        ReportLinesImpossibleAtLatitude(TextId::ItalianAndBabylonianHours, c.language, dialogs);
        return;
    }
    if (s.babylonianHours) trace(false);
    if (s.italianHours) trace(true);
}

DialContext::DialContext(const DialState& s)
    : state(s),
      kind(DialKindOf(s)),
      umbrella(s.umbrellaDial),
      language(s.language),
      lineWidth(LineWidthOf(s)),
      plotLineWeight(std::clamp(s.plotLineWeight, 1, 3)),
      timeSystem(static_cast<TimeSystem>(std::clamp(s.timeSystem, 0, 2))),
      linesPerHour(LinesPerHour(s.hourLineInterval)),
      meanLinesPerHour(LinesPerHour(s.eotHourInterval)),
      otherLinesPerHour(LinesPerHour(s.otherHourInterval)),
      latitude(NonZeroLatitude(s.latitude)),
      longitude(s.longitude),
      zoneMeridian(s.zoneMeridian),
      zoneFarFromLongitude(ZoneFarFromLongitude(s.longitude, s.zoneMeridian)),
      year(s.referenceYear),
      ephemeris_(s.referenceYear, s.zoneMeridian) {}

const std::array<double, 8>& DialContext::zodiacDeclinations() const {
    if (!zodiac_) zodiac_ = ZodiacDeclinations(year).zodiac;
    return *zodiac_;
}

}  // namespace zorva
