#pragma once
// Map data files (coast lines and borders): text lines of "longitude latitude", east and
// north positive; "#" lines, short lines and points off the globe separate the map lines.
// The files run to many megabytes, so they are streamed: each map line is handed to a sink
// as it is read and nothing but the current text line is held in memory.

#include "text/language.h"

#include <QString>

class QIODevice;

#include <string_view>
#include <vector>

namespace zorva {

inline constexpr const char* kCoastFileName = "coastZor.dat";
inline constexpr const char* kBordersFileName = "GrenzenZor.dat";

struct MapPoint {
    double longitude = 0.0;  // degrees, east positive
    double latitude = 0.0;   // degrees, north positive
};

// Receives the map lines in file order. A map line of fewer than two points draws nothing
// and is never begun.
class MapLineSink {
public:
    virtual ~MapLineSink() = default;
    virtual void beginLine() = 0;
    virtual void point(const MapPoint& p) = 0;
    virtual void endLine() = 0;
};

// What the reader met besides the map lines.
struct MapReadReport {
    bool opened = false;
    long long textLines = 0;
    long long points = 0;      // points handed to the sink
    long long badPoints = 0;   // point lines whose numbers could not be read; they are skipped
    long long firstBadLine = 0;  // 1-based number of the first of them
    QString firstBadText;        // its text, shortened
};

// `minPointLength`: lines shorter than this are separators (8 on the canvas, 4 for the plot).
MapReadReport ReadMapFile(const QString& path, int minPointLength, MapLineSink& sink);
// From a device already open for reading (read to its end).
MapReadReport ReadMapDevice(QIODevice& device, int minPointLength, MapLineSink& sink);
MapReadReport ReadMapBytes(std::string_view bytes, int minPointLength, MapLineSink& sink);

// Keeps every map line in memory: for small files, tests and checks.
class MapLineCollector : public MapLineSink {
public:
    void beginLine() override { lines.emplace_back(); }
    void point(const MapPoint& p) override { lines.back().push_back(p); }
    void endLine() override {}
    std::vector<std::vector<MapPoint>> lines;
};

// The one box about the unreadable points of a file: its name, the line of the first and
// how many were skipped. Empty when there were none.
QString MapBadPointsText(const QString& fileName, const MapReadReport& report, Language lang);

}  // namespace zorva
