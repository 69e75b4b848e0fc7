#pragma once
// Controls carry the number of their string resource as a tag; switching the language
// re-captions every tagged control of a window from the resource table.

#include "text/language.h"

class QObject;
class QWidget;

namespace zorva {

// Caption (label, button, group box, action) or, for a window, its title (without "&").
void SetCaptionTag(QObject* object, int resourceNumber);
// Tool tip and status-bar hint.
void SetHintTag(QObject* object, int resourceNumber);
int CaptionTag(const QObject* object);
// Re-captions `root` and every tagged widget and action below it.
void ApplyCaptionTags(QWidget* root, Language lang);

}  // namespace zorva
