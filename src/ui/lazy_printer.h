#pragma once
// A printer made at its first use. Making a QPrinter loads the print system's plugin and its
// libraries (a good share of the program's start); most windows are never printed.

#include <QPrinter>

#include <memory>

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

}  // namespace zorva
