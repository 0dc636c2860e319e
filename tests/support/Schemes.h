#pragma once

// Small schemes that several test programs build the same way.

#include "model/Scheme.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <initializer_list>

namespace testschemes {

// A name as the property panel stores it: padded with blanks to 30, or cut.
inline tram::StationName PaddedName(const QString& text)
{
    tram::StationName name;
    name.fill(u' ');
    std::copy_n(text.utf16(), std::min<qsizetype>(text.size(), tram::NameLength), name.begin());
    return name;
}

// Appends a segment with the given vertices; returns its number.
inline int AddSegment(tram::Scheme& scheme, std::initializer_list<tram::MapPoint> points)
{
    const int s = ++scheme.SegmentCount;
    scheme.PointCount[s] = int16_t(points.size());
    int j = 0;
    for (const tram::MapPoint p : points)
        scheme.Points[s][++j] = p;
    return s;
}

// One segment from (10, 20) to (300, 40), a light, a station "Centar", tram
// 101 on route 1 and route 1 made of segment 1.
inline tram::Scheme WorkedExample()
{
    tram::Scheme s;
    AddSegment(s, {{10, 20}, {300, 40}});
    s.LightCount = 1;
    s.Lights[1] = {1, 100.0, 0, 10, 10, 0};
    s.StationCount = 1;
    s.Stations[1] = {1, 25.0, 10, PaddedName(QStringLiteral("Centar"))};
    s.TramCount = 1;
    s.TramSerial[1] = 101;
    s.TramRoute[1] = 1;
    s.RouteCount = 1;
    s.RouteLength[1] = 1;
    s.RouteSegments[1][1] = 1;
    return s;
}

// Its 77 bytes on disk, written out by hand.
inline QByteArray WorkedExampleBytes()
{
    return QByteArray::fromHex("0100"
                               "0200"
                               "0a001400"
                               "2c012800"
                               "01"
                               "01"
                               "0000000000005940"
                               "00"
                               "0a00"
                               "0a00"
                               "0000"
                               "01"
                               "01"
                               "0000000000003940"
                               "0a00"
                               "43656e746172")
        + QByteArray(24, ' ')
        + QByteArray::fromHex("01"
                              "6501"
                              "01"
                              "01"
                              "01");
}

// Crossing segments, two routes, red and green lights and stations: every
// part of the picture the options of tram-map-tool render switch.
inline tram::Scheme Network()
{
    tram::Scheme s;
    AddSegment(s, {{40, 60}, {300, 80}, {520, 200}, {700, 210}});
    AddSegment(s, {{100, 300}, {400, 40}});
    AddSegment(s, {{600, 350}, {650, 120}, {900, 100}, {960, 300}, {820, 370}});
    AddSegment(s, {{200, 200}});
    s.LightCount = 3;
    s.Lights[1] = {1, 120.0, 0, 10, 10, 0};
    s.Lights[2] = {2, 200.5, 1, 10, 10, 0};
    s.Lights[3] = {3, 400.0, 255, 5, 7, 3};
    s.StationCount = 3;
    s.Stations[1] = {1, 40.0, 10, PaddedName(QStringLiteral("Centar"))};
    s.Stations[2] = {3, 10.0, 10, PaddedName(QStringLiteral("Skenderija"))};
    s.Stations[3] = {2, 150.25, 10, PaddedName(QStringLiteral("Bascarsija"))};
    s.TramCount = 2;
    s.TramSerial[1] = 101;
    s.TramRoute[1] = 1;
    s.TramSerial[2] = 102;
    s.TramRoute[2] = 2;
    s.RouteCount = 2;
    s.RouteLength[1] = 2;
    s.RouteSegments[1][1] = 1;
    s.RouteSegments[1][2] = 3;
    s.RouteLength[2] = 1;
    s.RouteSegments[2][1] = 2;
    return s;
}

} // namespace testschemes
