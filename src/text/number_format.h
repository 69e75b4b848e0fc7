#pragma once
// Fixed-point and integer texts used in every table, label, file and plot command.
// Always with "." as decimal point, whatever the user's locale.

#include "text/language.h"

#include <QString>

namespace zorva {

class UserDialogs;

// x with exactly `decimals` decimals, left-padded with blanks to at least `width`.
// width < decimals is a caller's fault: message 25 is shown (when dialogs are given)
// and the text is empty.
QString RealToText(int width, int decimals, double x, UserDialogs* dialogs = nullptr,
                   Language lang = Language::German);
// x rounded half to even, clamped to +-217000000, no blanks: plot coordinates.
QString RoundToIntText(double x);
QString IntToTextWidth(long long n, int width);
// Removes every "&" and ":" from a caption ("geogr. &Breite:" -> "geogr. Breite").
QString StripAccelerators(const QString& caption);
// Ä Ö Ü ä ö ü -> Ae Oe Ue ae oe ue, for plot labels.
QString TransliterateUmlauts(const QString& text);
// Parses a whole text as a decimal real with "." ("1e999", "--5", "" fail).
bool ParseReal(const QString& text, double& value);
// Parses a whole text as a decimal integer (optional sign, no blanks inside).
bool ParseInt(const QString& text, long long& value);

}  // namespace zorva
