#pragma once
#include "text/texts.h"

namespace zorva {
extern const TextEntry kTitles[];
extern const int kTitlesSize;
extern const TextEntry kMessages[];
extern const int kMessagesSize;
extern const TextEntry kLabels[];
extern const int kLabelsSize;
extern const TextEntry kResources[];
extern const int kResourcesSize;
extern const char* const kMenuCaptionsGerman[];
extern const char* const kMenuCaptionsEnglish[];
extern const int kMenuCaptionsSize;
}
