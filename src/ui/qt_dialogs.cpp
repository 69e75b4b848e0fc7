#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QFontDatabase>
#include <QInputDialog>
#include <QMessageBox>
#include <QRawFont>

namespace zorva {
namespace {

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Error: return QMessageBox::Critical;
        case Icon::Information: return QMessageBox::Information;
        case Icon::Question: return QMessageBox::Question;
        case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Texts of the tables use LF CR and lone CR as line breaks; Qt wants LF.
QString plainBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

void QtDialogs::inform(const QString& caption, const QString& text, Icon icon) {
    QMessageBox box(toQt(icon), caption, plainBreaks(text), QMessageBox::Ok, parent_);
    box.exec();
}

Answer QtDialogs::ask(const QString& caption, const QString& text, Buttons buttons, Icon icon) {
    QMessageBox::StandardButtons b = QMessageBox::Ok;
    switch (buttons) {
        case Buttons::Ok: b = QMessageBox::Ok; break;
        case Buttons::OkCancel: b = QMessageBox::Ok | QMessageBox::Cancel; break;
        case Buttons::YesNo: b = QMessageBox::Yes | QMessageBox::No; break;
        case Buttons::YesNoCancel: b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(toQt(icon), caption, plainBreaks(text), b, parent_);
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Ok: return Answer::Ok;
        default: return Answer::Cancel;
    }
}

std::optional<QString> QtDialogs::askText(const QString& caption, const QString& prompt, const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, caption, plainBreaks(prompt), QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

void QtDialogs::beep() { QApplication::beep(); }

bool FontInstalled(const QString& name) {
    const QString wanted = name.toUpper();
    const QStringList families = QFontDatabase::families();
    for (const QString& f : families)
        if (f.toUpper() == wanted) return true;
    return false;
}

bool ZodiacSignsInstalled() {
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        const QRawFont raw = QRawFont::fromFont(QFont(family));
        if (!raw.isValid()) continue;
        bool all = true;
        for (char32_t sign = 0x2648; sign <= 0x2653 && all; ++sign) all = raw.supportsCharacter(sign);
        if (all) return true;
    }
    return false;
}

}  // namespace zorva
