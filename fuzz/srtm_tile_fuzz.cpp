// libFuzzer target: SRTM tiles held in memory. The input's bytes, repeated, are the big-endian
// heights of a whole 1201 x 1201 tile under a name the options pick. Cut short the tile must be
// refused naming it; whole, its name places it, every row reads back the heights put in
// (whether the rows before were read or passed over), and a profile around a point of it is
// sound and survives its own ".ele" lines.
#include "profile_checks.h"

#include "astro/elevation_grid.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorva;
    const uint8_t options = fuzz::TakeOptionByte(data, size);
    if (size < 4) return 0;
    constexpr int kSide = 1201;

    // South-west corner of the tile from the options and the first bytes.
    const int lat = data[0] % 90 * ((options & 1) ? -1 : 1);
    const int lon = (data[1] * 3 + data[2]) % 180 * ((options & 2) ? -1 : 1);
    QString name = QString::asprintf("%c%02d%c%03d.hgt", lat < 0 ? 'S' : 'N', std::abs(lat), lon < 0 ? 'W' : 'E',
                                     std::abs(lon));
    if (options & 4) name = name.toLower();

    // The input repeated by doubling copies: a byte loop over 2.9 MB was most of a run's time.
    QByteArray tile(2 * kSide * kSide, Qt::Uninitialized);
    char* fill = tile.data();
    const qsizetype whole = tile.size();
    qsizetype done = std::min<qsizetype>(static_cast<qsizetype>(size), whole);
    std::memcpy(fill, data, static_cast<size_t>(done));
    while (done < whole) {
        const qsizetype step = std::min(done, whole - done);
        std::memcpy(fill + done, fill, static_cast<size_t>(step));
        done += step;
    }
    const Language lang = (options & 8) ? Language::English : Language::German;

    TerrainGridHeader h;
    QString problem;
    if (options & 16) {
        const QByteArray cut = tile.left(tile.size() - 1 - data[3] % 64);
        if (ReadTerrainGridHeaderBytes(name, cut, h, problem, lang)) fuzz::PropertyBroken("a cut tile was taken");
        if (!problem.startsWith(name)) fuzz::PropertyBroken("the refusal does not name the tile", problem);
        return 0;
    }
    if (!ReadTerrainGridHeaderBytes(name, tile, h, problem, lang))
        fuzz::PropertyBroken("a whole tile was refused", problem);
    if (h.format != GridFormat::SrtmHgt || h.rows != kSide || h.columns != kSide || h.topLatitude != lat + 1 ||
        h.firstLongitude != lon || h.bottomLatitude() != lat || std::abs(h.lastLongitude() - (lon + 1)) > 1e-9)
        fuzz::PropertyBroken("the name does not place the tile", name);

    // Rows read or passed over as the bytes say; every read row holds the heights put in.
    const std::unique_ptr<GridRowReader> rows = GridRowReader::open(h, lang);
    std::vector<float> row(kSide);
    for (int r = 0; r < kSide; ++r) {
        if (data[(r + 3) % size] & 1) {
            if (!rows->skip()) fuzz::PropertyBroken("a row could not be passed over", rows->problem());
            continue;
        }
        if (!rows->read(row.data())) fuzz::PropertyBroken("a row could not be read", rows->problem());
        // Every cell of the first, the last and a row the bytes pick; a spread of cells
        // elsewhere (both ends included), which keeps a run short enough to explore.
        const bool everyCell = r == 0 || r == kSide - 1 || r == data[size / 3] * 4;
        const int step = everyCell ? 1 : 97;
        for (int c = 0; c < kSide; c = c < kSide - 1 ? std::min(c + step, kSide - 1) : kSide) {
            const auto* at = reinterpret_cast<const uchar*>(tile.constData()) + 2 * (static_cast<qsizetype>(r) * kSide + c);
            if (row[static_cast<size_t>(c)] != static_cast<float>(qFromBigEndian<qint16>(at)))
                fuzz::PropertyBroken("a height changed on its way through the tile", QStringLiteral("row %1 column %2").arg(r).arg(c));
        }
    }
    if (rows->read(row.data()) || !rows->checkEnd()) fuzz::PropertyBroken("the tile reads beyond its last row");

    // A profile around a cell the bytes pick, within a few kilometres (a few dozen rows).
    TerrainTiles tiles;
    if (!tiles.addBytes(name, tile, problem, lang)) fuzz::PropertyBroken("the tile was refused as a tile", problem);
    ProfileSettings settings;
    const int cr = (data[size - 1] * 5) % kSide, cc = (data[size / 2] * 7) % kSide;
    settings.latitude = h.topLatitude - cr * h.cellSize;
    settings.longitude = -(h.firstLongitude + cc * h.cellSize);
    settings.platformMetres = (options & 32) ? 10.0 : 0.0;
    settings.maxDistanceMetres = (options & 64) ? 1500.0 : 4000.0;
    settings.nearCells = (options & 128) ? 20 : 4;
    fuzz::CheckComputedProfile(ComputeHorizonProfile(tiles, settings, {}, lang), settings);
    return 0;
}
