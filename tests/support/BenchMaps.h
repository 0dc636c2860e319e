#pragma once

// The maps the redraw benchmark measures and the renderer tests compare on:
// fixed seeds, so every run and every test sees the same schemes.

#include "model/EditorModel.h"
#include "view/Canvas.h"
#include "view/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

namespace tram::benchmaps {

struct Map {
    Scheme scheme;
    EditState edit;
    DisplaySettings display;
};

inline int uniform(std::mt19937& rng, int lo, int hi)
{
    return lo + int(rng() % uint32_t(hi - lo + 1));
}

// A step of 10..40 px in a random direction, bounced back into the canvas.
inline MapPoint walkStep(std::mt19937& rng, MapPoint from, int minStep, int maxStep)
{
    const double angle = double(rng() % 3600) * (3.14159265358979 / 1800.0);
    const double step = uniform(rng, minStep, maxStep);
    int x = from.X + int(step * std::cos(angle));
    int y = from.Y + int(step * std::sin(angle));
    if (x < 0 || x >= Canvas::Width)
        x = from.X - (x - from.X);
    if (y < 0 || y >= Canvas::Height)
        y = from.Y - (y - from.Y);
    return MapPoint{int16_t(std::clamp(x, 0, Canvas::Width - 1)), int16_t(std::clamp(y, 0, Canvas::Height - 1))};
}

inline void addRandomWalk(Scheme& s, std::mt19937& rng, int points, int minStep, int maxStep)
{
    const int i = ++s.SegmentCount;
    s.PointCount[i] = int16_t(points);
    MapPoint p{int16_t(uniform(rng, 0, Canvas::Width - 1)), int16_t(uniform(rng, 0, Canvas::Height - 1))};
    for (int j = 1; j <= points; ++j) {
        s.Points[i][j] = p;
        p = walkStep(rng, p, minStep, maxStep);
    }
}

// Vertices alternate between the left and the right edge: every piece crosses
// the whole canvas.
inline void addZigZag(Scheme& s, std::mt19937& rng, int points)
{
    const int i = ++s.SegmentCount;
    s.PointCount[i] = int16_t(points);
    for (int j = 1; j <= points; ++j) {
        const int x = j % 2 ? uniform(rng, 0, 20) : uniform(rng, Canvas::Width - 21, Canvas::Width - 1);
        s.Points[i][j] = MapPoint{int16_t(x), int16_t(uniform(rng, 0, Canvas::Height - 1))};
    }
}

inline double randomPosition(const Scheme& s, std::mt19937& rng, int segment)
{
    const double length = PolylineLength(s, segment, 1, s.PointCount[segment]);
    return length * double(rng() % 1001) / 1000.0;
}

inline void addObjects(Scheme& s, std::mt19937& rng, int stations, int lights)
{
    for (int n = 0; n < stations; ++n) {
        Station& st = s.Stations[++s.StationCount];
        st.Segment = uint8_t(uniform(rng, 1, s.SegmentCount));
        st.Position = randomPosition(s, rng, st.Segment);
        st.Time1 = 10;
    }
    for (int n = 0; n < lights; ++n) {
        TrafficLight& l = s.Lights[++s.LightCount];
        l.Segment = uint8_t(uniform(rng, 1, s.SegmentCount));
        l.Position = randomPosition(s, rng, l.Segment);
        l.InitialState = uint8_t(n % 3);
    }
}

inline Map emptyMap()
{
    Map m;
    ApplyStartDisplay(m.display);
    return m;
}

// 10 segments of 6 vertices, 10 stations, 10 lights, the start display.
inline Map typicalMap()
{
    Map m = emptyMap();
    std::mt19937 rng(20261);
    for (int i = 0; i < 10; ++i)
        addRandomWalk(m.scheme, rng, 6, 30, 90);
    addObjects(m.scheme, rng, 10, 10);
    m.edit.CurrentSegment = 10;
    return m;
}

// Every table at its limit, every switch on, a 5-segment route shown and a
// segment marked.
inline Map worstCase(Scheme scheme)
{
    Map m;
    m.scheme = scheme;
    ApplyStartDisplay(m.display);
    m.display.ShowRoute = true;
    m.scheme.RouteCount = 1;
    m.scheme.RouteLength[1] = 5;
    for (int slot = 1; slot <= 5; ++slot)
        m.scheme.RouteSegments[1][slot] = uint8_t(slot * 7);
    m.edit.CurrentRoute = 1;
    m.edit.CurrentSegment = 14; // also in the route: the marked colour wins
    return m;
}

inline Map worstShortMap()
{
    Scheme s;
    std::mt19937 rng(20262);
    for (int i = 0; i < MaxSegments; ++i)
        addRandomWalk(s, rng, MaxPoints, 10, 40);
    addObjects(s, rng, MaxStations, MaxLights);
    return worstCase(s);
}

inline Map worstLongMap()
{
    Scheme s;
    std::mt19937 rng(20263);
    for (int i = 0; i < MaxSegments; ++i)
        addZigZag(s, rng, MaxPoints);
    addObjects(s, rng, MaxStations, MaxLights);
    return worstCase(s);
}

inline Map withDrawWidth(Map m, int width)
{
    m.display.DrawWidth = int16_t(width);
    return m;
}

} // namespace tram::benchmaps
