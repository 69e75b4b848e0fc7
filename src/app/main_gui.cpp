#include "ui/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorva_erweitert"));
    zorva::Application zorvaApp;
    return zorvaApp.run();
}
