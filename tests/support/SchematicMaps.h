#pragma once

// Small hand-drawn networks for the schematic layout's tests and benchmark:
// each a kind of place where a layout can go wrong.

#include "model/Scheme.h"
#include "support/Schemes.h"
#include "view/Geometry.h"

#include <QPoint>
#include <QString>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace tram::schematicmaps {

inline int addSegment(Scheme& s, const std::vector<QPoint>& points)
{
    const int i = ++s.SegmentCount;
    s.PointCount[i] = int16_t(points.size());
    for (size_t j = 0; j < points.size(); ++j)
        s.Points[i][j + 1] = MapPoint{int16_t(points[j].x()), int16_t(points[j].y())};
    return i;
}

// A hand-drawn line: `count` vertices from a to b, waving a few pixels to
// either side of the straight line.
inline std::vector<QPoint> wobbly(QPoint a, QPoint b, int count, int wobble = 3)
{
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    const double nx = -(b.y() - a.y()) / length, ny = (b.x() - a.x()) / length;
    std::vector<QPoint> points;
    for (int j = 0; j < count; ++j) {
        const double t = double(j) / (count - 1);
        const double off = wobble * std::sin(3 * M_PI * t);
        points.push_back(QPoint(int(std::lround(a.x() + t * (b.x() - a.x()) + off * nx)),
                                int(std::lround(a.y() + t * (b.y() - a.y()) + off * ny))));
    }
    return points;
}

// Stations spread evenly along the segment, named after their number.
inline void addStations(Scheme& s, int segment, int count)
{
    const double length = PolylineLength(s, segment, 1, s.PointCount[segment]);
    for (int k = 1; k <= count; ++k) {
        Station& station = s.Stations[++s.StationCount];
        station.Segment = uint8_t(segment);
        station.Position = length * k / (count + 1);
        station.Time1 = 10;
        station.Name = testschemes::PaddedName(QStringLiteral("Stanica %1").arg(s.StationCount));
    }
}

inline void addLight(Scheme& s, int segment, double share)
{
    TrafficLight& light = s.Lights[++s.LightCount];
    light.Segment = uint8_t(segment);
    light.Position = share * PolylineLength(s, segment, 1, s.PointCount[segment]);
    light.InitialState = 1;
}

inline void addRoute(Scheme& s, std::initializer_list<int> segments)
{
    const int r = ++s.RouteCount;
    for (const int segment : segments)
        s.RouteSegments[r][++s.RouteLength[r]] = uint8_t(segment);
}

// Four arms meeting in the middle.
inline Scheme cross()
{
    Scheme s;
    const QPoint middle(500, 200);
    for (const QPoint end : {QPoint(60, 215), QPoint(940, 185), QPoint(515, 20), QPoint(480, 375)})
        addStations(s, addSegment(s, wobbly(middle, end, 6)), 3);
    addLight(s, 1, 0.5);
    addRoute(s, {1, 2});
    addRoute(s, {3, 4});
    return s;
}

// A line that parts in two.
inline Scheme wye()
{
    Scheme s;
    const QPoint fork(450, 200);
    addStations(s, addSegment(s, wobbly(QPoint(40, 220), fork, 8)), 4);
    addStations(s, addSegment(s, wobbly(fork, QPoint(950, 30), 8)), 4);
    addStations(s, addSegment(s, wobbly(fork, QPoint(940, 370), 8)), 4);
    addRoute(s, {1, 2});
    addRoute(s, {1, 3});
    return s;
}

// A line ending in a loop round a block: the loop is one segment whose ends
// meet where the line comes in.
inline Scheme loop()
{
    Scheme s;
    const QPoint end(700, 200);
    addStations(s, addSegment(s, wobbly(QPoint(40, 240), end, 10)), 5);
    addStations(s, addSegment(s, {end, {760, 40}, {950, 60}, {960, 350}, {760, 360}, end}), 4);
    addRoute(s, {1, 2});
    return s;
}

// A branch drawn by hand from a vertex in the middle of another segment.
inline Scheme teeOnVertex()
{
    Scheme s;
    addStations(s, addSegment(s, {{40, 200}, {300, 190}, {520, 205}, {960, 190}}), 6);
    addStations(s, addSegment(s, {{520, 205}, {600, 300}, {700, 375}}), 2);
    addStations(s, addSegment(s, {{300, 190}, {320, 100}, {420, 20}}), 2);
    addRoute(s, {1});
    addRoute(s, {3, 1, 2});
    return s;
}

// Two tracks between the same two junctions, drawn only 8 pixels apart.
inline Scheme parallel()
{
    Scheme s;
    const QPoint west(250, 200), east(750, 200);
    addStations(s, addSegment(s, wobbly(QPoint(40, 150), west, 5)), 2);
    addStations(s, addSegment(s, wobbly(west, east, 8)), 3);
    addStations(s, addSegment(s, {west, {300, 208}, {700, 208}, east}), 2);
    addStations(s, addSegment(s, wobbly(east, QPoint(960, 370), 5)), 2);
    addRoute(s, {1, 2, 4});
    addRoute(s, {4, 3, 1});
    return s;
}

// One long winding line with many stations.
inline Scheme chain(int stations)
{
    Scheme s;
    std::vector<QPoint> points;
    for (int j = 0; j < 30; ++j)
        points.push_back(QPoint(30 + j * 32, 200 + int(std::lround(160 * std::sin(j * 0.25)))));
    addStations(s, addSegment(s, points), stations);
    addRoute(s, {1});
    return s;
}

// Two lines that cross on the level, with no junction.
inline Scheme levelCrossing()
{
    Scheme s;
    addStations(s, addSegment(s, wobbly(QPoint(40, 40), QPoint(960, 360), 9)), 5);
    addStations(s, addSegment(s, wobbly(QPoint(40, 350), QPoint(960, 50), 9)), 5);
    addRoute(s, {1});
    addRoute(s, {2});
    return s;
}

// Every table at its limit: a city of five east-west and five north-south
// lines meeting in 25 junctions, 40 segments of 50 vertices each, 100
// stations, 100 lights, 20 routes.
inline Scheme atLimits()
{
    Scheme s;
    const int rows[] = {40, 115, 190, 265, 345};
    const int columns[] = {40, 280, 500, 720, 960};
    for (const int y : rows) {
        for (int c = 0; c + 1 < 5; ++c)
            addSegment(s, wobbly(QPoint(columns[c], y), QPoint(columns[c + 1], y), MaxPoints, 2));
    }
    for (const int x : columns) {
        for (int r = 0; r + 1 < 5; ++r)
            addSegment(s, wobbly(QPoint(x, rows[r]), QPoint(x, rows[r + 1]), MaxPoints, 2));
    }
    // Four on each piece of a row, one on each shorter piece of a column.
    for (int segment = 1; segment <= s.SegmentCount; ++segment)
        addStations(s, segment, segment <= 20 ? 4 : 1);
    for (int k = 0; s.LightCount < MaxLights; ++k)
        addLight(s, 1 + k % s.SegmentCount, 0.1 + 0.2 * (k / s.SegmentCount));
    for (int r = 0; s.RouteCount < MaxRoutes; ++r) {
        const int row = 4 * (r % 5);
        addRoute(s, {row + 1, row + 2, row + 3, row + 4});
    }
    return s;
}

} // namespace tram::schematicmaps
