#pragma once

#include "state/dial_state.h"
#include "ui/qt_dialogs.h"

#include <QMainWindow>

namespace zorva {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(DialState& state, QWidget* parent = nullptr);

private:
    DialState& state_;
    QtDialogs dialogs_;
};

// Owns the one DialState of the run and the main window.
class Application {
public:
    Application();
    int run();

private:
    DialState state_;
};

}  // namespace zorva
