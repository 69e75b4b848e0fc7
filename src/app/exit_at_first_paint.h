#pragma once
// Ends the process at the first paint of any widget: the start-up benchmark starts the
// program with ZORVA_EXIT_AT_FIRST_PAINT set and measures how long the first window takes.
#include <QEvent>
#include <QObject>

#include <unistd.h>

namespace zorva {

class ExitAtFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) ::_exit(0);
        return false;
    }
};

}  // namespace zorva
