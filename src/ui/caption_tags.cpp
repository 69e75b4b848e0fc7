#include "ui/caption_tags.h"

#include "text/texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace zorva {
namespace {

constexpr const char* kCaptionTag = "zorvaCaptionTag";
constexpr const char* kHintTag = "zorvaHintTag";

void applyTo(QObject* object, Language lang) {
    if (const int tag = object->property(kCaptionTag).toInt(); tag > 0) {
        const QString text = resourceText(tag, lang);
        if (auto* label = qobject_cast<QLabel*>(object)) label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(object)) button->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(object)) group->setTitle(text);
        else if (auto* action = qobject_cast<QAction*>(object)) action->setText(text);
        else if (auto* widget = qobject_cast<QWidget*>(object)) widget->setWindowTitle(resourceTextPlain(tag, lang));
    }
    if (const int tag = object->property(kHintTag).toInt(); tag > 0) {
        const QString text = resourceText(tag, lang);
        if (auto* action = qobject_cast<QAction*>(object)) {
            action->setToolTip(text);
            action->setStatusTip(text);
        } else if (auto* widget = qobject_cast<QWidget*>(object)) {
            widget->setToolTip(text);
            widget->setStatusTip(text);
        }
    }
}

}  // namespace

void SetCaptionTag(QObject* object, int resourceNumber) { object->setProperty(kCaptionTag, resourceNumber); }

void SetHintTag(QObject* object, int resourceNumber) { object->setProperty(kHintTag, resourceNumber); }

int CaptionTag(const QObject* object) { return object->property(kCaptionTag).toInt(); }

void ApplyCaptionTags(QWidget* root, Language lang) {
    applyTo(root, lang);
    const QList<QObject*> all = root->findChildren<QObject*>();
    for (QObject* o : all) applyTo(o, lang);
}

}  // namespace zorva
