#include "text/colour_legend.h"

#include <array>

namespace zorva {
namespace {

struct Row {
    const char* colour;
    const char* german;
    const char* english;
};

// Seven families of twelve rows; a family's unused rows stay blank at its end.
constexpr int kFamilies = 7;
using Family = std::array<Row, kLegendRowsPerFamily>;

const std::array<Family, kFamilies>& Table() {
    static const std::array<Family, kFamilies> table = {{
        // planar and umbrella dials
        {{{" 1", "= Deklinationslinien", "= declination lines"},
          {" 2", "= volle Stunden mit EoT", "= full hours with EoT"},
          {" 3", "= volle Stunden ohne EoT", "= full hours without EoT"},
          {" 4", "= Text", "= text"},
          {" 5", "= Sonnenhöhe", "= lines for sun altitude"},
          {" 6", "= Italische Stunden", "= Italian hours"},
          {" 7", "= Babylonische Stunden", "= Babylonian hours"},
          {" 8", "= Unterteilung der vollen Stunden", "= hour lines for not full hours"},
          {" 9", "= Koordinaten", "= grid (coordinates)"},
          {"10", "= Temporalstunden", "= temporal hours"},
          {"11", "= Küstenlinien (Karte)", "= coast lines (map)"},
          {"12", "= Grenzen (Karte)", "= borders (map)"}}},
        // quadrant dials
        {{{" 1", "= Gradnetz, Kreisbogen", "= protractor, arcs"},
          {" 2", "= Stundenlinien (volle Stunden)", "= hour lines (full hours)"},
          {"", "   ( 3 = fuer Teile der Stunde)", "   ( 3 = for parts of the single hour)"},
          {" 3", "= Stundenlinien (Unterteilung)", "= hour lines between full hours"},
          {" 4", "= Text", "= text"},
          {" 6", "= Kreisbogen (Datumslinien)", "= arcs for different dates"},
          {" 8", "= Kreisbogen (Datumslinien)", "= arcs for different dates"},
          {"10", "= Temporalstunden (volle Stunden)", "= temporal hours (full hours)"},
          {"", "   ( 3 = fuer Teile der Temporalstunde)", "   ( 3 = for parts of the temporal hour)"},
          {"", "", ""},
          {"", "", ""},
          {"", "", ""}}},
        // azimuth dials
        {{{" 1", "= Babylon. Stunden (voll)", "= Babylonian hour lines (full)"},
          {" 2", "= Ortszeit, Zonenzeit (volle Stunden)", "= local time (full hours)"},
          {" 3", "= Stundenlinien - Unterteilung", "= hour lines in between full hours"},
          {" 4", "= Text, Gradnetz", "= text, protractor"},
          {" 5", "= Linien fuer Sonnenauf- und -untergang", "= lines sunset/sunrise"},
          {" 6, 7", "= Kreisbogen (Datumslinien)", "= arcs (for dates)"},
          {" 8", "= Temporalstunden", "= temporal hours"},
          {" 9", "= Kreisbogen Farbring (nur Screen), Koordinaten", "= colored circle ring (only screen), grid (co-ordinates)"},
          {"10", "= Italische Stunden (voll), 3 = Teile der Stunden", "= Italian hour lines (full) 3 = times in between"},
          {"11", "= Horizontprofil", "= horizon profile (skyline)"},
          {"", "", ""},
          {"", "", ""}}},
        // cylinder dials and Hidokai
        {{{" 1", "= Rahmen mit Datumsmarken", "= grid with dates"},
          {" 2", "= Stunden bis 12 Uhr (volle Std.)", "= hour lines a.m. (full hours)"},
          {" 3", "= Stunden nach 12 Uhr (volle Std.)", "= hour lines p.m. (full hours)"},
          {" 4", "= Text, Datumslinien", "= text, date lines"},
          {" 5", "= Stunden Unterteilung bis 12  // Ital. Stunden", "= for hours in between a.m. // Ital. Hours"},
          {" 6", "= Stunden Unterteilung nach 12 // Babyl. Stunden", "= for hours in between p.m.// Babyl. Hours"},
          {" 8", "= Farbe der Skala fuer Sonnenhöhe", "= scale for Sun altitude"},
          {"10", "= Temporalstunden", "= temporal hours"},
          {"", "   ( 9 = Temporalstunden-Unterteilung)", "   ( 9 = for parts of temporal hours)"},
          {" 1", "= Gradnetz, Kreisbogen", "= protractor, arcs"},
          {"", "", ""},
          {"", "", ""}}},
        // ring dial
        {{{" 1", "= Text", "= text"},
          {" 2", "= Stundenlinien (volle Stunden)", "= hour lines (full hours)"},
          {" 3", "= Stundenlinien (Unterteilung)", "= hour lines between full hours"},
          {" 4", "= Netz fuer Datumslinien (Tierkreis)", "= date lines (Zodiac)"},
          {"5,9", "= Italische Stunden (voll),    11=Teile von Std.", "= Italian Hours (full hours), 11=parts in between"},
          {"6,9", "= Babylonische Stunden (voll), 11=Teile von Std.", "= Babylon. (full hours),       11=parts in between"},
          {" 8", "= Linie f. Auf-/-Untergang der Sonne", "= Line for Sun rise/set"},
          {"10", "= Temporalstunden (volle Stunden)", "= temporal hours (full hours)"},
          {"", "   ( 3 = fuer Teile der Temporalstunde)", "   ( 3 = for parts of the temporal hour)"},
          {"", "", ""},
          {"", "", ""},
          {"", "", ""}}},
        // bi-azimuthal dial
        {{{" 2", "= Stundenlinien (volle Stunden)", "= hour lines (full hours)"},
          {" 3", "= Stundenlinien (Unterteilung)", "= hour lines between full hours"},
          {" 4", "= Text", "= text"},
          {" 5", "= Stundenlinien mit Zeitglg.", "= hour lines with Eot"},
          {" 6", "= Datumslinien (Deklinationslinien)", "= date lines (Zodiac)"},
          {" 7", "= Datumslinien", "= date lines"},
          {" 9", "= Küstenlinien", "= coast lines"},
          {"10", "= Grenzen", "= boundaries"},
          {"", "", ""},
          {"", "", ""},
          {"", "", ""},
          {"", "", ""}}},
        // dial for mean time
        {{{" 1", "_ Text", "= text"},
          {" 2", "= Stundenlinien (volle Stunden)", "= hour lines (full hours)"},
          {" 3", "= Stundenlinien (Unterteilung)", "= hour lines between full hours"},
          {" 4", "= Schattenkegel (Markierung)", "= shadow con(position)"},
          {" 6", "= Datumslinien (Deklinationslinien)", "= date lines"},
          {" 7", "= Datumslinien (Deklinationslinien)", "= date lines"},
          {" 9", "= Küstenlinien", "= coast lines"},
          {"10", "= Grenzen", "= boundaries"},
          {"", "", ""},
          {"", "", ""},
          {"", "", ""},
          {"", "", ""}}},
    }};
    return table;
}

}  // namespace

QString ColourLegendHeading(Language lang) {
    return lang == Language::English ? QStringLiteral("Colors for ") : QStringLiteral("Farben fuer ");
}

ColourLegendRow ColourLegendRowAt(int legendOffset, int index, Language lang) {
    const int row = legendOffset + index;  // 1-based over the whole table
    if (index < 1 || index > kLegendRowsPerFamily || row < 1 || row > kFamilies * kLegendRowsPerFamily) return {};
    const Row& r = Table()[static_cast<size_t>((row - 1) / kLegendRowsPerFamily)]
                          [static_cast<size_t>((row - 1) % kLegendRowsPerFamily)];
    return {QString::fromUtf8(r.colour), QString::fromUtf8(lang == Language::English ? r.english : r.german)};
}

}  // namespace zorva
