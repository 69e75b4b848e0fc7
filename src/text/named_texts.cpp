#include "text/named_texts.h"

#include <array>
#include <cstddef>

namespace zorva {
namespace {

struct NamedText {
    TextId id;
    const char* german;  // UTF-8
    const char* english;
};

// In the order of TextId.
constexpr NamedText kTexts[] = {
    {TextId::CylinderTitle, "ZYLINDER - SONNENUHR ", "CYLINDER - SUNDIAL"},
    {TextId::MonthAxisReduced, "horizontale Monatsachse verkleinert", "Horizontal month axis is reduced"},
    {TextId::DegreesSpaced, " Grad", " deg "},
    {TextId::LatitudeIs, "G. Breite = ", "Latitude = "},
    {TextId::LongitudeIs, ", G. Laenge = ", ", Longitude = "},
    {TextId::LocalApparentTimeLong, " WOZ", " Local Apparent Time"},
    {TextId::ZoneMeridianTimeLong, " WOZ am Zonenmeridian", "Time of zone meridian"},
    {TextId::WithEot, "mit Zeitgl.", "with EoT"},
    {TextId::WithoutEot, "ohne Zeitgl.", "without EoT"},
    {TextId::TemporalHoursSpaced, " Temporalstunden", " Temporal hours"},
    {TextId::CylinderRadiusReduced, "Zylinderradius ist zu groß und wurde verkleinert!", "Cylinder radius is too large and has been reduced!"},
    {TextId::ListingDateLines, "Datumslinien (x/y in mm vom Gnomonfusspunkt P aus)", "Date lines (x/y in mm from the base point P of the gnomon)"},
    {TextId::TemporalHours, "Temporalstunden", "Temporal hours"},
    {TextId::BabylonianHours, "Babylonische Stunden", "Babylonian hours"},
    {TextId::ItalianHours, "Italische Stunden", "Italian hours"},
    {TextId::ListingAltitudeLines, "Linien gleicher Sonnenhöhe", "Lines of equal sun altitude"},
    {TextId::ListingApparentTime, "Stundenlinien der wahren Zeit", "Hour lines of apparent time"},
    {TextId::ListingMeanTime, "Stundenlinien der mittleren Zeit (mit Zeitgleichung)", "Hour lines of mean time (with EoT)"},
    {TextId::Analemma, "Analemma", "Analemma"},
    {TextId::DiskRadius, "Kreisscheibe r = ", "Disk radius r = "},
    {TextId::TimesHeight, " x Hoehe", " x height"},
    {TextId::SavedDrawingName, "Name der gespeicherten Zeichnung: ", "File name of saved construction: "},
    {TextId::DrawGrid, "Koordinatennetz zeichnen", "Display Grid of Coordinates"},
    {TextId::GridWidth, "Groesse von 1 Laengeneinheit (Default=10 [mm]) :", "Width of grid (default=10 [mm] :"},
    {TextId::AltitudeDialTitle, "Höhensonnenuhr (horiz.)", "Altitude Sundial (horiz.)"},
    {TextId::GnomonLengthIs, "Zeigerlaenge = ", "Gnomon height="},
    {TextId::PolarTemporalHours, "Temporalstunden sind in dieser geogr. Breite nicht möglich!", "Temporal hours are not possible in this latitude!"},
    {TextId::DialNotConstructed, "Die Sonnenuhr wird deshalb nicht konstruiert.", "Therefore the sundial is not constructed."},
    {TextId::TemporalHoursRange, "Temporalstunden müssen zwischen 0 und 12 liegen!", "Temporal Hours must be in between 0 and 12 !"},
    {TextId::CorrectWithF7, "Zur Korrektur Taste <F7> drücken.", "To correct the times press key <F7> ."},
    {TextId::ItalianAndBabylonianHours, "Italische und Babylonische Stunden", "Italian and Babylonian hours"},
    {TextId::LatitudeTooHigh, "sind nicht möglich (zu hohe geogr. Breite)!", "not possible. Latitude to high!"},
    {TextId::StereographicTitle, "Stereographische Sonnenuhr", "Stereographic Sundial"},
    {TextId::AzimuthTitle, "AZIMUTALE SONNENUHR", "AZIMUTHAL SUNDIAL"},
    {TextId::ApparentTimeAtZoneMeridian, " WOZ am Zonenmeridian", " LAT at zone meridian"},
    {TextId::ApparentTime, " WOZ", " LAT"},
    {TextId::ApparentTimeClosing, " (WOZ)]", " (LAT)]"},
    {TextId::GnomonHeightHelp, "Zeigerhoehe beachten! (s. Hilfedatei)", "For pointer height look at help file!"},
    {TextId::NotARealNumber, "Das ist keine reelle Zahl.", "This is not a real number !"},
    {TextId::PointsSkipped, " Punkte übergangen)", " points skipped)"},
    {TextId::NotFound, " nicht gefunden!", " not found!"},
    {TextId::FileWord, "Datei ", "File "},
    {TextId::Degrees, " Grad", " deg"},
    {TextId::Horizontal, "horizontal", "horizontal"},
    {TextId::Vertical, "vertikal", "vertical"},
    {TextId::Inclined, "inklinierend", "inclined"},
    {TextId::DeviationIs, "Suedabweichung=", "Deviation = "},
    {TextId::InclinationIs, "Neigung=", "Inclination= "},
    {TextId::AxisInclination, "Achsenneigung", "Axis Inclination"},
    {TextId::ConeHalfAngle, "Halber Oeffnungswinkel", "Cone Apex half-angle"},
    {TextId::ZoneTime, "Zonenzeit", "Zone Time"},
    {TextId::LocalMeanTime, "Mittlere Ortszeit", "Local Mean Time"},
    {TextId::CentreToA, "Mitte-A = ", "centre-A = "},
    {TextId::Generators, "Mantellinien ", "Generators "},
    {TextId::DateLineNearestCone, " Kegelnaechste Datumslinie bei Deklination", " Date line nearest cone with sun declination"},
    {TextId::DateLineOfDial, "Datumslinie", "Date Line of Dial"},
    {TextId::DistanceFromCone, "Abstand vom Kegel", "Distance from Cone"},
    {TextId::ConeShadow, "Kegelschatten", "Shadow of Cone"},
    {TextId::SometimesTooShort, " zeitweise zu kurz !", " sometimes too short !"},
    {TextId::GnomonHeight, "Gnomon Höhe:", "Gnomon Height"},
    {TextId::SunOnDialPlane, "Sonne auf dem Zifferblatt: ", "Sun on Sundial Plane: "},
    {TextId::VerticalUmbrellaTitle, "vertikale SCHIRMUHR", "vertical Umbrella Sundial"},
    {TextId::VerticalTitle, "vertikale SONNENUHR", "vertical SUNDIAL"},
    {TextId::InclinedUmbrellaTitle, "SCHIRMUHR,pultfoermig", "inclining Umbrella Sundial"},
    {TextId::HorizontalUmbrellaTitle, "horizontale SCHIRMUHR", "horizontal Umbrella Sundial"},
    {TextId::InclinedTitle, "inklinierende SONNENUHR", "inclining SUNDIAL"},
    {TextId::HorizontalTitle, "horizontale SONNENUHR", "horizontal SUNDIAL"},
    {TextId::PaletteTitle, "Farbpalette für Sonnenuhren", "Colors for Constructions"},
    {TextId::ColourNumberColon, "Farbe %1 :", "Color %1 :"},
    {TextId::LineWidthButton, "   &Linienstärke    ", "   &Line Width    "},
    {TextId::SaveColoursButton, "Farben &speichern", "&Save Colors"},
    {TextId::LoadColoursButton, "Farben &laden", "L&oad Colors"},
    {TextId::ResetColoursButton, "Farben &zurücksetzen", "&Reset Colors"},
    {TextId::CloseButton, "Schliessen", "Close"},
    {TextId::ColourNumber, "Farbe %1", "Color %1"},
    {TextId::RingHole, "Loch", "hole"},
    {TextId::RingTitle, "Ringsonnenuhr (Bauernring)", "Ring Sundial (Farmers' Ring)"},
    {TextId::RingDiameterIs, ",  Durchmesser = ", ",  diameter = "},
    {TextId::RingWidthIs, ",  Breite = ", ",  width = "},
    {TextId::RingHoleAngleIs, ",  Lochwinkel = ", ",  hole angle = "},
    {TextId::LocalApparentTime, "wahre Ortszeit", "local apparent time"},
    {TextId::ZoneMeridianApparentTime, "wahre Zeit des Zonenmeridians", "apparent time of the zone meridian"},
    {TextId::RingSingleBandNote, ", ein Stundenband (Korrekturtabelle!)", ", single hour band (see the correction table)"},
    {TextId::RingDeflectionIgnored, ", Seitenablenkung nicht berücksichtigt", ", lateral deflection not considered"},
    {TextId::RingDeflectionConsidered, ", Seitenablenkung berücksichtigt", ", lateral deflection considered"},
    {TextId::RingDeflectionDashed, ", gestrichelt: ohne Seitenablenkung", ", dashed: without lateral deflection"},
    {TextId::RingSlidingHole, ", verschiebbares Loch", ", sliding hole"},
    {TextId::RingScaleCut, "Skala reicht teilweise in die andere Ringhälfte: dort abgeschnitten.", "Part of the scale reaches into the other half of the ring: cut there."},
    {TextId::RingAtPole, "Am Pol ändert sich die Sonnenhöhe im Tageslauf kaum: keine Ringsonnenuhr (|Breite| < 89,9°).", "At the pole the sun's altitude hardly changes in a day: no ring dial (|latitude| < 89.9°)."},
    {TextId::RingHoleOutOfRange, "Das Ringloch muss zwischen Aufhängepunkt und Ringmitte liegen (0° < Winkel <= 90°).", "The hole must lie between the suspension point and the ring's middle (0° < angle <= 90°)."},
    {TextId::RingSingleBand, "ein Stundenband", "single hour band"},
    {TextId::RingExactDateLines, "Datumslinien mit Seitenablenkung (exakt)", "date lines with lateral deflection (exact)"},
    {TextId::RingPlainDateLines, "Datumslinien ohne Seitenablenkung", "date lines without lateral deflection"},
    {TextId::RingCorrectionTitle, "Korrekturtabelle der Ringsonnenuhr (Minuten)", "Altitude correction of the ring dial (minutes)"},
    {TextId::RingCorrectionRule, "Wahre Zeit = Ablesung + Korrektur;  Skala: ", "True time = reading + correction;  scale: "},
    {TextId::RingCorrectionDay, ";  jeweils am 15. des Monats", ";  on the 15th of each month"},
    {TextId::PolarCylinderCut, "Die Abwicklung ist größer als die Zeichenfläche und nur teilweise gezeichnet.", "The unrolled cylinder is larger than the drawing area and only partly drawn."},
    {TextId::NoonSun, "Mittagssonne", "noon sun"},
    {TextId::PolarCylinderTitle, "Zylindersonnenuhr mit Polstab", "Cylinder Dial with Polar Style"},
    {TextId::DirectionIs, ", Richtung ", ", direction "},
    {TextId::RadiusIs, "Radius = ", "radius = "},
    {TextId::WithEotMeanTime, " mit Zeitgleichung (mittlere Zeit)", " with the equation of time (mean time)"},
    {TextId::CylinderRadiusRange, "Der Zylinderradius muss zwischen 4 und 500 mm liegen.", "The cylinder radius must lie between 4 and 500 mm."},
    {TextId::OffsetStyleOutside, "Der versetzte Polstab muss im Zylinder liegen: Abstand höchstens gleich dem Radius.", "The offset style must lie inside the cylinder: its distance at most the radius."},
    {TextId::StyleOnAxis, "Polstab in der Zylinderachse", "style on the cylinder axis"},
    {TextId::StyleOffsetBy, "Polstab versetzt um ", "style offset by "},
    {TextId::StyleOnRim, "Polstab am Zylinderrand", "style on the rim"},
    {TextId::Up, "oben", "up"},
    {TextId::PlaceWord, "Ort ", "Place "},
    {TextId::WallDeclinationIs, ", Wandabweichung ", ", wall declination "},
    {TextId::FocusDistanceIs, "Abstand der Brennpunkte ", "distance of the focus points "},
    {TextId::ScaleIs, ", Maßstab ", ", scale "},
    {TextId::MmRodIs, " mm, Stab ", " mm, rod "},
    {TextId::BiazimuthalWallRod, "Stab senkrecht zur Wand im Punkt des Ortes, Pfeil nach oben; Zonenzeit (wahre Zeit)", "rod perpendicular to the wall in the place's point, arrow up; zone time (apparent)"},
    {TextId::BiazimuthalUprightRod, "Stab senkrecht im Punkt des Ortes, Pfeil nach Norden; Zonenzeit (wahre Zeit)", "rod upright in the place's point, arrow to the north; zone time (apparent)"},
    {TextId::BiazimuthalAtPole, "Am Pol gibt es keine Himmelsrichtung für den Pfeil: beide Orte brauchen |Breite| < 89,9°.", "At the pole there is no direction for the arrow: both places need |latitude| < 89.9°."},
    {TextId::BiazimuthalOnePlace, "Beide Orte fallen zusammen: die Platte gilt für einen Ort (ein Brennpunkt).", "Both places coincide: the plate serves one place (one focus point)."},
    {TextId::ShadowNow, "Schatten jetzt", "Shadow now"},
    {TextId::ShadowCast, "Schatten des Zeigers und Nodus", "shadow of the gnomon and nodus"},
    {TextId::SunIsDown, "die Sonne ist untergegangen, kein Schatten", "the sun is down, no shadow"},
    {TextId::PlaneNotSunlit, "die Zifferblattebene ist nicht besonnt, kein Schatten", "the dial plane is not sunlit, no shadow"},
    {TextId::ShadowNotAvailable, "Für diese Sonnenuhr gibt es noch keinen Schatten.", "This dial does not show its shadow yet."},
    {TextId::ShadowPlayDay, "Tag abspielen", "Play the day"},
    {TextId::ShadowPause, "Anhalten", "Pause"},
    {TextId::ShadowTimeTip, "Zonenzeit (Normalzeit des Zonenmeridians)", "Zone time (standard time of the zone meridian)"},
    {TextId::ShadowOffDial, "der Schatten fällt neben die Sonnenuhr", "the shadow falls beyond the dial"},
    {TextId::ShadowLightSpot, "Lichtfleck durch das Loch", "light spot through the hole"},
    {TextId::ShadowPlumbLine, "Lot des zur Sonne gerichteten Quadranten und Ablesepunkt",
     "plumb line of the quadrant aimed at the sun, and the reading point"},
};
static_assert(std::size(kTexts) == static_cast<std::size_t>(TextId::Count));

constexpr bool InOrder() {
    for (std::size_t i = 0; i < std::size(kTexts); ++i)
        if (static_cast<std::size_t>(kTexts[i].id) != i) return false;
    return true;
}
static_assert(InOrder(), "kTexts must list the texts in the order of TextId");

}  // namespace

QString TextOf(TextId id, Language lang) {
    const auto i = static_cast<std::size_t>(id);
    if (i >= std::size(kTexts)) return {};
    return QString::fromUtf8(lang == Language::English ? kTexts[i].english : kTexts[i].german);
}

}  // namespace zorva
