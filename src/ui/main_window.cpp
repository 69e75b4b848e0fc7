#include "ui/main_window.h"

#include <QApplication>

namespace zorva {

MainWindow::MainWindow(DialState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(this) {
    setWindowTitle(QStringLiteral("  Zorva  v. 3.9 "));
    resize(1024, 740);
}

Application::Application() : state_(StartupState()) {}

int Application::run() {
    MainWindow w(state_);
    w.show();
    return QApplication::exec();
}

}  // namespace zorva
