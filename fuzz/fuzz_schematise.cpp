// Lays out whatever scheme the bytes make, as tram-map-tool schematise does.
// The input is a scheme file, as the editor opens it, followed by the
// options in the bytes the reader ignores: north up (bit 0), the grid (0 for
// the sizes tried, else 10..100) and the snap distance (0..20). A refusal
// must give its reason and leave the output as it was; a drawing must keep
// every rule of a schematic map, and here, checked once more on their own,
// the ones a slip would break most plainly: the tables' sizes and what they
// hold but the geometry, every piece on the canvas and in one of the eight
// directions.
#include "files/SchemeFile.h"
#include "schematic/LayoutRules.h"
#include "schematic/Schematise.h"
#include "view/Canvas.h"

#include <cstdlib>
#include <cstring>

namespace {

tram::schematic::SchematicOptions optionsFrom(QByteArrayView tail)
{
    const auto byte = [&](qsizetype i) { return i < tail.size() ? static_cast<uint8_t>(tail[i]) : 0; };
    tram::schematic::SchematicOptions options;
    options.northUp = byte(0) & 1;
    if (byte(1) != 0)
        options.grid = tram::schematic::LeastGrid
            + byte(1) % (tram::schematic::MostGrid - tram::schematic::LeastGrid + 1);
    if (tail.size() > 2)
        options.snap = byte(2) % 21;
    return options;
}

bool octilinearOnCanvas(const tram::Scheme& s)
{
    for (int i = 1; i <= s.SegmentCount; ++i) {
        if (s.PointCount[i] < 2 || s.PointCount[i] > tram::MaxPoints)
            return false;
        for (int j = 1; j <= s.PointCount[i]; ++j) {
            const tram::MapPoint p = s.Points[i][j];
            if (p.X < 0 || p.X >= tram::Canvas::Width || p.Y < 0 || p.Y >= tram::Canvas::Height)
                return false;
            if (j == 1)
                continue;
            const int dx = std::abs(p.X - s.Points[i][j - 1].X), dy = std::abs(p.Y - s.Points[i][j - 1].Y);
            if (dx + dy == 0 || (dx != 0 && dy != 0 && dx != dy))
                return false;
        }
    }
    return true;
}

bool sameTables(const tram::Scheme& a, const tram::Scheme& b)
{
    return a.SegmentCount == b.SegmentCount && a.StationCount == b.StationCount && a.LightCount == b.LightCount
        && a.TramCount == b.TramCount && a.RouteCount == b.RouteCount && a.RouteSegments == b.RouteSegments
        && a.TramRoute == b.TramRoute && a.TramSerial == b.TramSerial;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tram::Scheme input;
    if (tram::ReadSchemeBytes(bytes, input))
        return -1; // not a scheme: nothing to lay out, and nothing to keep
    const auto options = optionsFrom(QByteArrayView(bytes).sliced(tram::WriteSchemeBytes(input).size()));

    static tram::Scheme untouched = [] {
        tram::Scheme s;
        std::memset(static_cast<void*>(&s), 0x5A, sizeof s);
        return s;
    }();
    tram::Scheme drawn = untouched;
    tram::schematic::SchematicSummary summary;
    if (const auto refusal = tram::schematic::Schematise(input, options, drawn, summary)) {
        if (refusal->isEmpty() || std::memcmp(&drawn, &untouched, sizeof drawn) != 0)
            std::abort();
        return 0;
    }
    if (tram::schematic::CheckSchematic(input, drawn, {options.snap, options.margin}) || !sameTables(input, drawn)
        || !octilinearOnCanvas(drawn))
        std::abort();
    return 0;
}
