#pragma once
// The date (declination) lines of a planar dial, chosen by the date-line option.

#include "state/dial_state.h"

#include <QString>

#include <vector>

namespace zorva {

class UserDialogs;

struct DateLine {
    int dayOfYear = 0;         // in the reference year
    QString label;             // at most six characters, "21.06."
    bool fixedDeclination = false;  // traced on `declination` instead of the day's ephemeris
    double declination = 0.0;  // degrees, when fixed
};

// Rebuilt for every construction. Only half a year is needed: dates symmetric to the
// solstices share their declination. An own date that cannot be read is reported (entry,
// " : ", message 57) and the line repeats the previous entry's date.
std::vector<DateLine> BuildDateLineTable(const DialState& state, UserDialogs* dialogs);

// Reads an own date-line entry "dd/mm" (anything after is a comment) by the same rule the
// settings file and the parameter dialog use, so "1/3" drawn is "1/3" accepted on loading.
// False when it is no date of `year`.
bool ParseDateLineEntry(const QString& entry, int year, int& day, int& month);

}  // namespace zorva
