#include "ui/overlay_panel.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zorva {

OverlayPanel::OverlayPanel(const char* name, QWidget* parent) : QFrame(parent) {
    setObjectName(QString::fromLatin1(name));
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    hide();
}

QPushButton* OverlayPanel::newCloseButton(const char* name) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, [this] {
        hide();
        emit closed();
    });
    return button;
}

QPlainTextEdit* OverlayPanel::newListing(const char* name) {
    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QString::fromLatin1(name));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    text->setFont(courier);
    return text;
}

}  // namespace zorva
