// String resources of the controls, German number n (the English twin is n + 2000), ascending.
#include "text/tables_internal.h"

namespace zorva {

extern const TextEntry kResources[] = {
    {41, "Sonnenstandsdiagramm", "Sun Position Diagram"},
    {65, " Auf- und Untergang  von Sonne und Mond", " Rise and Set  of Sun and Moon"},
    {66, " Tabelle der Zeitgleichung", " Table Equation of Time "},
    {67, " Tabelle Sonnendeklination", " Table Declination of Sun "},
    {68, " Tabelle Meridiandurchgang (wahrer Mittag)", " Table of Local Apparent Noon"},
    {69, "Sonnenstandsdiagramm", "Sun Position Diagram"},
    {70, "Grafik der Zeitgleichung", "Graph of the Equation of Time"},
    {122, " &Korrekturtabelle ", " Altit&ude correction "},
    {402, "&Wandabweichung", "&Deviation of wall"},
    {460, "Mindestabstand der Objekte", "Minimum distance of objects"},
    {463, "Höhe des Beobachters :", "Height of observer :"},
    {495, "Zeitangaben ", "Times "},
    {571, "B&reite der Monatsskala ", "W&idth of month scale "},
    {579, "Umfang des Zylinders ", "Circumference of cylinder "},
    {719, " Schließen ", " Close "},
    {845, "Sonnenhoehen fuer ", "Sun Altitudes for "},
    {900, "Sonne auf Sonnenuhr", "Sun on sundial"},
    {912, "&Inklination [vert.= 90]", "&Inclination [vert.= 90]"},
    {913, "Theoret. Besonnungsgrenzen: Frühestes / spätestes Streiflicht: ", "Theoret. limits of sunshine: earliest / latest grazing light: "},
};
extern const int kResourcesSize = sizeof(kResources) / sizeof(kResources[0]);

}  // namespace zorva
