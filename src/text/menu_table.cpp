// Captions of the main menu in menu order, separators skipped.
#include "text/tables_internal.h"

namespace zorva {

extern const char* const kMenuCaptionsGerman[] = {""};
extern const char* const kMenuCaptionsEnglish[] = {""};
extern const int kMenuCaptionsSize = 1;

}  // namespace zorva
