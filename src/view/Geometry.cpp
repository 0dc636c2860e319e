#include "view/Geometry.h"

#include "model/NumberText.h"

#include <algorithm>
#include <cmath>

namespace tram {

double Distance(MapPoint a, MapPoint b)
{
    // Differences of two 16-bit values need 17 bits.
    const double dy = int32_t(a.Y) - int32_t(b.Y);
    const double dx = int32_t(a.X) - int32_t(b.X);
    return std::sqrt(dx * dx + dy * dy);
}

double NearestOnPiece(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    return length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
}

double DistanceToPiece(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = p - (a + NearestOnPiece(p, a, b) * (b - a));
    return std::hypot(d.x(), d.y());
}

double PolylineLength(const Scheme& scheme, int segment, int from, int to)
{
    double sum = 0;
    for (int i = from; i <= to - 1; ++i)
        sum += Distance(scheme.Points[segment][i], scheme.Points[segment][i + 1]);
    return sum;
}

MapPoint LocateOnSegment(const Scheme& scheme, int segment, double position)
{
    if (segment < 0 || segment > MaxSegments)
        return MapPoint{};
    const int count = PointsInUse(scheme, segment);
    const auto& points = scheme.Points[segment];

    // The running sum adds the same pieces in the same order as summing afresh
    // from vertex 1 for every vertex tried, so the result is the same.
    double along = 0; // PolylineLength(segment, 1, j)
    for (int j = 1; j <= count; ++j) {
        if (j >= 2)
            along += Distance(points[j - 1], points[j]);
        const double d = along - position;
        if (!(d >= 0))
            continue;
        if (d == 0)
            return points[j];
        const MapPoint a = points[j - 1];
        const MapPoint b = points[j];
        const double length = Distance(a, b);
        if (length == 0)
            return b; // a negative position on a segment that starts at the origin
        const double t = (length - d) / length;
        if (t == 1)
            return b;
        const double lambda = t / (1 - t);
        return MapPoint{ToInt16Saturated((a.X + lambda * b.X) / (1 + lambda)),
                        ToInt16Saturated((a.Y + lambda * b.Y) / (1 + lambda))};
    }
    return points[0];
}

bool IsOnLine(MapPoint a, MapPoint b, MapPoint p)
{
    double dx = int32_t(b.X) - int32_t(a.X);
    if (dx == 0)
        dx = 1e-14;
    const double dy = int32_t(b.Y) - int32_t(a.Y);
    const double px = int32_t(p.X) - int32_t(a.X);
    const double yLine = (dy / dx) * px + a.Y;
    return std::abs(p.Y - yLine) < 0.9;
}

bool IsSegmentInRoute(const Scheme& scheme, int route, int segment)
{
    for (int slot = 1; slot <= RouteSlotsInUse(scheme, route); ++slot) {
        if (scheme.RouteSegments[route][slot] == segment)
            return true;
    }
    return false;
}

} // namespace tram
