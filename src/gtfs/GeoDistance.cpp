#include "gtfs/GeoDistance.h"

#include "view/Geometry.h"

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

NearestOnGeoPiece NearestPointOnPiece(GeoPoint p, GeoPoint a, GeoPoint b)
{
    const double scale = std::cos(p.lat * M_PI / 180);
    const QPointF flatA((a.lon - p.lon) * scale, a.lat - p.lat);
    const QPointF flatB((b.lon - p.lon) * scale, b.lat - p.lat);
    const double t = NearestOnPiece(QPointF(0, 0), flatA, flatB);
    return {MetresBetween(p, PointOnPiece(a, b, t)), t};
}

} // namespace tram::gtfs
