#include "ui/main_window.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorva_erweitert"));
    // Every window, dialog and the help take the program's icon from here.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zorva.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zorva.Zorva"));
    zorva::Application zorvaApp;
    return zorvaApp.run();
}
