#pragma once
// Controls carry the number of their string resource as a tag; switching the language
// re-captions every tagged control of a window from the resource table.

#include "text/language.h"

#include <QString>

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

// A new control (button, check box, label, group box) with its object name and caption tag.
template <class Control>
Control* NewTagged(const char* name, int resourceNumber, QWidget* parent = nullptr) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    SetCaptionTag(control, resourceNumber);
    return control;
}

}  // namespace zorva
