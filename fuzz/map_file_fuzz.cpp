// libFuzzer target: any bytes as a map file (coast lines, borders) must read without a crash
// or undefined behaviour, with every point handed on lying on the globe, every map line at
// least two points long and the counts of the report agreeing with what was handed on.
#include "fuzz_support.h"

#include "plot/map_data.h"

#include <cmath>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorva;
    const uint8_t options = fuzz::TakeOptionByte(data, size);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MapLineCollector map;
    const MapReadReport report = ReadMapBytes(bytes, (options & 1) ? 8 : 4, map);
    long long points = 0;
    for (const std::vector<MapPoint>& line : map.lines) {
        if (line.size() < 2) fuzz::PropertyBroken("a map line of fewer than two points");
        for (const MapPoint& p : line) {
            if (!(std::abs(p.longitude) <= 180.0) || !(std::abs(p.latitude) <= 90.0))
                fuzz::PropertyBroken("a point off the globe was handed on");
        }
        points += static_cast<long long>(line.size());
    }
    if (points != report.points) fuzz::PropertyBroken("the report counts other points than were handed on");
    if (report.badPoints > 0 && report.firstBadLine < 1) fuzz::PropertyBroken("bad points without a line number");
    // Every point comes from a text line of its own: at least two characters a point.
    if (points > static_cast<long long>(size / 2 + 1)) fuzz::PropertyBroken("more points than the file can hold");
    return 0;
}
