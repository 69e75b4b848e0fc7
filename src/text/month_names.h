#pragma once
// Month names shown to the user. Files keep their own spelling (MonthAbbreviation).

#include "text/language.h"

#include <QString>

namespace zorva {

// 1..12: "Mär", "Mai", "Okt" / "Mar", "May", "Oct"; empty outside.
QString ShortMonthName(int month, Language lang);

}  // namespace zorva
