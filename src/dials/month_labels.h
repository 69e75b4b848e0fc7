#pragma once
// Month names written on a dial.

#include "text/language.h"

#include <QString>

namespace zorva {

class DialPainter;

// The user's language on the screen, on paper and in pictures ("Mär", "Mai" / "Mar", "May");
// a plot file keeps the names it has always carried.
QString DialMonthLabel(int month, Language lang, const DialPainter& painter);

}  // namespace zorva
