// libFuzzer target: any bytes as a map file (coast lines, borders) must read without a crash
// or undefined behaviour, with every kept point on the globe and every map line at least two
// points long, whichever minimum point length the caller asks for.
#include "fuzz_support.h"

#include "dials/map_overlay.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorva;
    const uint8_t options = fuzz::TakeOptionByte(data, size);
    const QString path = fuzz::WriteInput(QStringLiteral("map.dat"), data, size);
    const MapData map = ReadMapFile(path, (options & 1) ? 8 : 4);
    if (!map.opened) fuzz::PropertyBroken("an existing map file was not opened");
    size_t points = 0;
    for (const std::vector<MapPoint>& line : map.lines) {
        if (line.size() < 2) fuzz::PropertyBroken("a map line of fewer than two points");
        for (const MapPoint& p : line) {
            if (!(std::abs(p.longitude) <= 180.0) || !(std::abs(p.latitude) <= 90.0))
                fuzz::PropertyBroken("a point off the globe was kept");
        }
        points += line.size();
    }
    // Every point comes from a line of its own: at least two characters a point.
    if (points > size / 2 + 1) fuzz::PropertyBroken("more points than the file can hold");
    return 0;
}
