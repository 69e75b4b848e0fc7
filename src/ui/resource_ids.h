#pragma once
// Numbers of the string resources that caption the main window's pop-up menus and the
// site and type dialogs (German number; the English twin is number + 2000).

namespace zorva::res {

// Pop-up menus of the dialogs
inline constexpr int kPopupNext = 520;          // "&Weiter   > ..."
inline constexpr int kPopupCancel = 521;        // "&Abbrechen"
inline constexpr int kPopupHelp = 522;          // "Hilfe"
inline constexpr int kPopupSaveSettings = 523;  // "Speichern P."
inline constexpr int kPopupLoad = 524;          // "Laden"
inline constexpr int kPopupSite = 525;          // "Eingabe geogr. Breite und Länge, Jahr"
inline constexpr int kPopupType = 526;          // "Auswahl Sonnenuhrtyp"
inline constexpr int kPopupParameters = 527;    // "Parameter der Sonnenuhr"
inline constexpr int kPopupDrawing = 528;       // "Sonnenuhrkonstruktion"
inline constexpr int kPopupHints = 529;         // "Show hints"
inline constexpr int kPopupClose = 530;         // "Schliessen"
inline constexpr int kPopupSaveDates = 531;     // "Speichern Datum"
inline constexpr int kPopupLoadDates = 532;     // "LadDatum"

// Site and year dialog
inline constexpr int kSiteCaption = 600;
inline constexpr int kSiteHint = 601;
inline constexpr int kSiteLatitude = 602;
inline constexpr int kSiteLongitude = 603;
inline constexpr int kSiteZoneMeridian = 604;
inline constexpr int kSiteYear = 605;  // "gewähltes &Jahr :"
inline constexpr int kSiteNorth = 606;
inline constexpr int kSiteSouth = 607;
inline constexpr int kSiteEast = 608;
inline constexpr int kSiteWest = 609;
inline constexpr int kSiteZoneEast = 610;
inline constexpr int kSiteZoneWest = 611;
inline constexpr int kClose = 612;   // "Schliessen"
inline constexpr int kCancel = 613;  // "  &Abbruch"
inline constexpr int kSiteYearsValid = 614;
inline constexpr int kSiteEmptyReturn = 615;
inline constexpr int kSiteDegrees = 616;
inline constexpr int kSiteMinutes = 617;
inline constexpr int kSiteSeconds = 618;

// Dial-type dialog
inline constexpr int kTypeGroup = 53;  // caption of the list of dial kinds
inline constexpr int kTypeCaption = 620;
inline constexpr int kTypeHint = 621;
inline constexpr int kTypeItemFirst = 622;  // eleven items " &hor" .. "Ho&llander SU"
inline constexpr int kCylinderKindFirst = 633;  // three cylinder kinds
inline constexpr int kQuadrantKindFirst = 636;  // three quadrant kinds
inline constexpr int kAzimuthKindFirst = 639;   // two azimuth kinds
inline constexpr int kGnomonHeight = 641;       // "&Gnomon Höhe : "
inline constexpr int kWallDeclination = 642;    // "&Wanddeklination:"
inline constexpr int kEastNegative = 643;       // "(gegen  Osten negativ!)"
inline constexpr int kGnomonDeviation = 644;    // "Gnomon-Abweichung"
inline constexpr int kInclinationLine1 = 645;   // "Inklination der "
inline constexpr int kInclinationLine2 = 646;   // "        &Sonnenuhr :"
inline constexpr int kRingDiameter = 647;       // "&Ringdurchmesser"
inline constexpr int kCylinderRadius = 648;     // "Zyl-Radius"
inline constexpr int kOldValueReturn = 649;     // "(Alter Wert mit Taste <RETURN> )"
inline constexpr int kMonthScaleFirst = 571;    // + 8 x cylinder kind: "B&reite der Monatsskala ", "Umfang des Zylinders "

}  // namespace zorva::res
