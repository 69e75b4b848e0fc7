#include "ui/lazy_printer.h"

#include <QPrintDialog>

namespace zorva {

bool WindowPrinter::setUp(QPrinter& printer) {
    if (setUp_) return setUp_(printer);
    QPrintDialog dialog(&printer, window_);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace zorva
