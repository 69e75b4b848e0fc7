#include "ui/main_window.h"

#include <QApplication>
#include <QIcon>

#include <csignal>

int main(int argc, char** argv) {
    // A file-size limit then fails the write (and the save reports it) instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorva_erweitert"));
    // Every window, dialog and the help take the program's icon from here.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zorva.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zorva.Zorva"));
    zorva::Application zorvaApp;
    return zorvaApp.run();
}
