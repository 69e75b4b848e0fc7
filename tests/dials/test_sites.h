#pragma once
// The two sites the label and layout tests draw at.

#include "state/dial_state.h"

namespace zorva::test {

// 47 N 9.6 E with zone 15 E, or 35 S 149 E with zone 150 E (by the latitude's sign); 2024.
inline DialState AtTestSite(DialState s, double latitude) {
    s.latitude = latitude;
    s.longitude = latitude > 0 ? -9.6 : -149.0;
    s.zoneMeridian = latitude > 0 ? -15.0 : -150.0;
    s.referenceYear = 2024;
    return s;
}

}  // namespace zorva::test
