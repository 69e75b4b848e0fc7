#include "ui/child_window.h"

#include <QCloseEvent>
#include <QShortcut>

namespace zorva {

ChildWindow::ChildWindow(ChildKind kind, ChildHost& host, QWidget* parent)
    : QWidget(parent), kind_(kind), host_(host) {
    const bool dialog = kind == ChildKind::SiteDialog || kind == ChildKind::TypeDialog || kind == ChildKind::ParameterDialog;
    if (dialog) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        escape->setContext(Qt::WidgetWithChildrenShortcut);
        connect(escape, &QShortcut::activated, this, &ChildWindow::cancelByKey);
    }
}

void ChildWindow::cancelByKey() {
    if (host_.wizardStep() != kWizardNone) {
        host_.cancelWizard();
        return;
    }
    markAbandoned();
    if (QWidget* frame = parentWidget()) frame->close();
    else close();
}

void ChildWindow::growToFit() {
    QWidget* frame = parentWidget();
    if (!frame || frame->isMaximized() || !frame->isVisible()) return;
    const QSize extra = frame->size() - size();
    const QSize need = sizeHint().expandedTo(minimumSizeHint()) + extra;
    if (need.width() > frame->width() || need.height() > frame->height()) frame->resize(need.expandedTo(frame->size()));
}

void ChildWindow::markAbandoned() {
    if (abandoning_ || closedEmitted_) return;
    abandoning_ = true;
    restoreOpeningState();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    if (closedEmitted_) {
        event->accept();
        return;
    }
    if (!abandoning_ && !closeCheck()) {
        event->ignore();
        return;
    }
    event->accept();
    closedEmitted_ = true;
    emit closed(kind_, abandoning_);
}

}  // namespace zorva
