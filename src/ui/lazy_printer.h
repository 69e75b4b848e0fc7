#pragma once
// A printer made at its first use. Making a QPrinter loads the print system's plugin and its
// libraries (a good share of the program's start); most windows are never printed.

#include <QPrinter>

#include <functional>
#include <memory>

class QWidget;

namespace zorva {

class LazyPrinter {
public:
    QPrinter& operator*() {
        if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        return *printer_;
    }
    QPrinter* operator->() { return &**this; }

private:
    std::unique_ptr<QPrinter> printer_;
};

// A window's own printer and the dialog that sets a printer up before each print; the tests
// put their own set-up in the dialog's place.
class WindowPrinter : public LazyPrinter {
public:
    explicit WindowPrinter(QWidget* window) : window_(window) {}
    // The print dialog for `printer`; false when it was dismissed.
    bool setUp(QPrinter& printer);
    void replaceSetUp(std::function<bool(QPrinter&)> setUp) { setUp_ = std::move(setUp); }

private:
    QWidget* window_;
    std::function<bool(QPrinter&)> setUp_;
};

}  // namespace zorva
