// Label table: numbered texts of table headers, units, dial and plane names and hints.
#include "text/tables_internal.h"

namespace zorva {

extern const TextEntry kLabels[] = {
    {0, "", ""},
};
extern const int kLabelsSize = sizeof(kLabels) / sizeof(kLabels[0]);

}  // namespace zorva
