#pragma once

// Random maps of four families for comparing drawings at scale: short pieces
// (random walks), long pieces (edge to edge), blobs (many vertices crowded
// into a small area, zero-length pieces among them) and scattered vertices
// anywhere in the 16-bit range. Each map also draws its width (1 to 1000),
// display switches, circle size, stations, lights, route and marked segment
// from its seed.

#include "support/BenchMaps.h"
#include "view/Renderer.h"

#include <random>

namespace tram::randommaps {

enum class Family { Short, Long, Blob, Scattered };

inline void AddBlob(Scheme& s, std::mt19937& rng, int points)
{
    using benchmaps::uniform;
    const int i = ++s.SegmentCount;
    s.PointCount[i] = int16_t(points);
    const int cx = uniform(rng, 0, Canvas::Width - 1);
    const int cy = uniform(rng, 0, Canvas::Height - 1);
    const int size = uniform(rng, 0, 60);
    for (int j = 1; j <= points; ++j)
        s.Points[i][j] = MapPoint{int16_t(cx + uniform(rng, -size, size)), int16_t(cy + uniform(rng, -size, size))};
}

inline void AddScattered(Scheme& s, std::mt19937& rng, int points)
{
    auto coordinate = [&](int size) {
        switch (rng() % 3) {
        case 0:
            return int16_t(rng());
        case 1:
            return int16_t(int(rng() % uint32_t(size + 200)) - 100);
        default:
            return int16_t(int(rng() % 4000) - 2000);
        }
    };
    const int i = ++s.SegmentCount;
    s.PointCount[i] = int16_t(points);
    for (int j = 1; j <= points; ++j)
        s.Points[i][j] = MapPoint{coordinate(Canvas::Width), coordinate(Canvas::Height)};
}

// Widths up to the widest shaded pass and a little beyond most of the time,
// where the passes differ; any width up to 1000 otherwise.
inline int RandomWidth(std::mt19937& rng)
{
    using benchmaps::uniform;
    return rng() % 4 ? uniform(rng, 1, WidestShadedPass + 6) : uniform(rng, 1, 1000);
}

inline benchmaps::Map RandomMap(Family family, uint32_t seed)
{
    using benchmaps::uniform;
    std::mt19937 rng(seed);
    benchmaps::Map m = benchmaps::emptyMap();
    Scheme& s = m.scheme;
    const int segments = uniform(rng, 1, MaxSegments);
    for (int n = 0; n < segments; ++n) {
        const int points = uniform(rng, 1, MaxPoints);
        switch (family) {
        case Family::Short:
            benchmaps::addRandomWalk(s, rng, points, 1, 60);
            break;
        case Family::Long:
            benchmaps::addZigZag(s, rng, points);
            break;
        case Family::Blob:
            AddBlob(s, rng, points);
            break;
        case Family::Scattered:
            AddScattered(s, rng, points);
            break;
        }
    }
    if (family != Family::Scattered)
        benchmaps::addObjects(s, rng, uniform(rng, 0, MaxStations), uniform(rng, 0, MaxLights));
    s.RouteCount = 1;
    s.RouteLength[1] = uint8_t(uniform(rng, 0, MaxRouteSlots));
    for (int slot = 1; slot <= s.RouteLength[1]; ++slot)
        s.RouteSegments[1][slot] = uint8_t(uniform(rng, 0, MaxSegments + 2));
    m.edit.CurrentRoute = 1;
    m.edit.CurrentSegment = uint8_t(uniform(rng, 0, MaxSegments + 2));
    m.display.ShowCircles = rng() % 2;
    m.display.ShowStations = rng() % 2;
    m.display.ShowLights = rng() % 2;
    m.display.ShowRoute = rng() % 2;
    m.display.MarkSegment = rng() % 2;
    m.display.CircleSize = int16_t(rng() % 8 ? uniform(rng, -2, 20) : uniform(rng, 21, 130));
    m.display.DrawWidth = int16_t(RandomWidth(rng));
    return m;
}

} // namespace tram::randommaps
