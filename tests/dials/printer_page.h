#pragma once
// The printer page most construction tests draw on.

#include "dials/dial_request.h"

namespace zorva::test {

// An A4 landscape page in 0.1 mm: 280 x 200 mm printable, 7 mm and 5 mm from the sheet's
// corner.
inline DialRequest PrinterPage() {
    DialRequest r;
    r.target = DrawTarget::Printer;
    r.clientWidth = 2800;
    r.clientHeight = 2000;
    r.offsetX = 70;
    r.offsetY = 50;
    return r;
}

}  // namespace zorva::test
