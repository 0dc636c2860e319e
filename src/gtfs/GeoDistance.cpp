#include "gtfs/GeoDistance.h"

#include <algorithm>
#include <cmath>

namespace tram::gtfs {

namespace {

constexpr double EarthRadius = 6371008.8;

} // namespace

double MetresBetween(GeoPoint a, GeoPoint b)
{
    constexpr double radians = M_PI / 180;
    const double x = (b.lon - a.lon) * radians * std::cos((a.lat + b.lat) / 2 * radians);
    const double y = (b.lat - a.lat) * radians;
    return EarthRadius * std::hypot(x, y);
}

double DegreesOfLatitude(double metres)
{
    return metres / EarthRadius * 180 / M_PI;
}

GeoPoint PointOnPiece(GeoPoint a, GeoPoint b, double t)
{
    return {a.lat + t * (b.lat - a.lat), a.lon + t * (b.lon - a.lon)};
}

NearestOnPiece NearestPointOnPiece(GeoPoint p, GeoPoint a, GeoPoint b)
{
    const double scale = std::cos(p.lat * M_PI / 180);
    const double ax = (a.lon - p.lon) * scale, ay = a.lat - p.lat;
    const double bx = (b.lon - p.lon) * scale, by = b.lat - p.lat;
    const double dx = bx - ax, dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(-(ax * dx + ay * dy) / length2, 0.0, 1.0) : 0;
    return {MetresBetween(p, PointOnPiece(a, b, t)), t};
}

} // namespace tram::gtfs
