#include "app/exit_at_first_paint.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QIcon>

#include <csignal>
#include <cstdlib>

int main(int argc, char** argv) {
    // A file-size limit then fails the write (and the save reports it) instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorva_erweitert"));
    // Every window, dialog and the help take the program's icon from here.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zorva.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zorva.Zorva"));
    // The start-up benchmark's probe: leave at the first painted window.
    zorva::ExitAtFirstPaint exitAtFirstPaint;
    if (std::getenv("ZORVA_EXIT_AT_FIRST_PAINT")) app.installEventFilter(&exitAtFirstPaint);
    zorva::Application zorvaApp;
    return zorvaApp.run();
}
