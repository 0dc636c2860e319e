#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace tram {

// Fixed table sizes. Every table also has an element 0, which is never saved:
// the route and tram panels work on it before the first creation, and vertex 0
// of a segment stays at the canvas origin.
inline constexpr int MaxSegments = 40;
inline constexpr int MaxPoints = 50;
inline constexpr int MaxLights = 100;
inline constexpr int MaxStations = 100;
inline constexpr int MaxTrams = 100;
inline constexpr int MaxRoutes = 20;
inline constexpr int MaxRouteSlots = 18;
inline constexpr int NameLength = 30;

// One station name: exactly 30 characters, padded with blanks when applied.
using StationName = std::array<char16_t, NameLength>;

struct MapPoint {
    int16_t X = 0;
    int16_t Y = 0;
    friend bool operator==(const MapPoint&, const MapPoint&) = default;
};

struct Station {
    uint8_t Segment = 0;
    double Position = 0;
    int16_t Time1 = 0;
    StationName Name{};
    friend bool operator==(const Station&, const Station&) = default;
};

// Field order matters: the file stores Time2 before Time1.
struct TrafficLight {
    uint8_t Segment = 0;
    double Position = 0;
    uint8_t InitialState = 0;
    int16_t Time2 = 0;
    int16_t Time1 = 0;
    int16_t Counter = 0;
    friend bool operator==(const TrafficLight&, const TrafficLight&) = default;
};

// The document: what a scheme file holds, plus the elements beyond the counts,
// which survive an open and are reused by later creations. What lasts only
// while the editor runs is in model/EditorModel.h.
struct Scheme {
    int16_t SegmentCount = 0;
    std::array<int16_t, MaxSegments + 1> PointCount{};
    std::array<std::array<MapPoint, MaxPoints + 1>, MaxSegments + 1> Points{};

    uint8_t LightCount = 0;
    std::array<TrafficLight, MaxLights + 1> Lights{};

    uint8_t StationCount = 0;
    std::array<Station, MaxStations + 1> Stations{};

    uint8_t TramCount = 0;
    std::array<uint8_t, MaxTrams + 1> TramSerial{};
    std::array<uint8_t, MaxTrams + 1> TramRoute{};

    uint8_t RouteCount = 0;
    std::array<uint8_t, MaxRoutes + 1> RouteLength{};
    std::array<std::array<uint8_t, MaxRouteSlots + 1>, MaxRoutes + 1> RouteSegments{};

    friend bool operator==(const Scheme&, const Scheme&) = default;
};

// Whether a field of this type holds every number up to the limit.
template <typename Field>
constexpr bool Holds(int limit)
{
    return limit <= std::numeric_limits<Field>::max();
}
// The counts hold every element of their table, and the fields that name a
// segment or a route name any of them.
static_assert(Holds<decltype(Scheme::SegmentCount)>(MaxSegments));
static_assert(Holds<decltype(Station::Segment)>(MaxSegments) && Holds<decltype(TrafficLight::Segment)>(MaxSegments));
static_assert(Holds<decltype(Scheme::RouteSegments)::value_type::value_type>(MaxSegments));
static_assert(Holds<decltype(Scheme::TramRoute)::value_type>(MaxRoutes));
static_assert(Holds<decltype(Scheme::PointCount)::value_type>(MaxPoints));
static_assert(Holds<decltype(Scheme::LightCount)>(MaxLights));
static_assert(Holds<decltype(Scheme::StationCount)>(MaxStations));
static_assert(Holds<decltype(Scheme::TramCount)>(MaxTrams));
static_assert(Holds<decltype(Scheme::RouteCount)>(MaxRoutes));
static_assert(Holds<decltype(Scheme::RouteLength)::value_type>(MaxRouteSlots));

// The elements in use: 1 to the count, as far as the table reaches. Every scan
// of a table goes through these, so a count beyond its table (a scheme built
// by hand, or not yet checked for saving) never indexes past it. A segment or
// route number outside its table has nothing in use.
constexpr int InUse(int count, int limit)
{
    return std::clamp(count, 0, limit);
}
constexpr int SegmentsInUse(const Scheme& scheme)
{
    return InUse(scheme.SegmentCount, MaxSegments);
}
constexpr int LightsInUse(const Scheme& scheme)
{
    return InUse(scheme.LightCount, MaxLights);
}
constexpr int StationsInUse(const Scheme& scheme)
{
    return InUse(scheme.StationCount, MaxStations);
}
constexpr int TramsInUse(const Scheme& scheme)
{
    return InUse(scheme.TramCount, MaxTrams);
}
constexpr int RoutesInUse(const Scheme& scheme)
{
    return InUse(scheme.RouteCount, MaxRoutes);
}
constexpr int PointsInUse(const Scheme& scheme, int segment)
{
    if (segment < 0 || segment > MaxSegments)
        return 0;
    return InUse(scheme.PointCount[size_t(segment)], MaxPoints);
}
constexpr int RouteSlotsInUse(const Scheme& scheme, int route)
{
    if (route < 0 || route > MaxRoutes)
        return 0;
    return InUse(scheme.RouteLength[size_t(route)], MaxRouteSlots);
}

} // namespace tram
