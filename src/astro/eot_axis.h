#pragma once
// The minute axis of the EoT graph when the longitude correction shifts its rows.

namespace zorva {

// Row m of the graph (-17..17) shows the value m + wholeMinutes. Whether row m carries a
// label (its value is divisible by 5, so the labels are evenly spaced), and the row of the day
// axis (the value 0, or the edge nearest to it when the curve lies wholly above or below 0).
bool EotRowIsLabelled(int row, int wholeMinutes);
int EotDayAxisRow(int wholeMinutes);

}  // namespace zorva
