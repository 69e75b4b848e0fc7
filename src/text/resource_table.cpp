// String resources of the controls, German number n (the English twin is n + 2000), ascending.
#include "text/tables_internal.h"

namespace zorva {

extern const TextEntry kResources[] = {
    {0, "", ""},
};
extern const int kResourcesSize = sizeof(kResources) / sizeof(kResources[0]);

}  // namespace zorva
