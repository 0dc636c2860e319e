#include "gtfs/ShapeCuts.h"

#include "gtfs/Places.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tram::gtfs {

namespace {

// Once a pass within this distance of the stop has been found, a shape that
// has gone this much further away has left it: a later pass near the same
// stop belongs to a later stop.
constexpr double NearEnough = 100;
constexpr double GoneAway = 1000;
// A cut by shape_dist_traveled farther than this from its stop is not believed.
constexpr double FarFromStop = 150;

bool hasDistances(const Feed& feed, const Trip& trip)
{
    const auto& points = feed.shapes[size_t(trip.shape)].points;
    const bool stopsHave = std::all_of(trip.stops.begin(), trip.stops.end(),
                                       [](const StopTime& t) { return !std::isnan(t.shapeDistance); });
    const bool shapeHas = std::all_of(points.begin(), points.end(), [](const ShapePoint& p) { return !std::isnan(p.distance); });
    const bool rising = std::is_sorted(points.begin(), points.end(),
                                       [](const ShapePoint& a, const ShapePoint& b) { return a.distance < b.distance; });
    return stopsHave && shapeHas && rising;
}

std::vector<ShapeCut> cutByDistance(const std::vector<ShapePoint>& points, const Trip& trip)
{
    std::vector<ShapeCut> cuts;
    int piece = 0;
    const int last = int(points.size()) - 2;
    for (const StopTime& time : trip.stops) {
        const double d = time.shapeDistance;
        while (piece < last && points[size_t(piece + 1)].distance < d)
            ++piece;
        const double from = points[size_t(piece)].distance;
        const double to = points[size_t(piece + 1)].distance;
        const double t = to > from ? (d - from) / (to - from) : 0;
        cuts.push_back({piece, std::clamp(t, cuts.empty() || cuts.back().piece != piece ? 0.0 : cuts.back().t, 1.0)});
    }
    return cuts;
}

// Distance in metres from p to the piece a-b, and the fraction of the piece
// nearest to p, in a flat picture around p.
std::pair<double, double> nearestOnPiece(GeoPoint p, GeoPoint a, GeoPoint b)
{
    const double scale = std::cos(p.lat * M_PI / 180);
    const double ax = (a.lon - p.lon) * scale, ay = a.lat - p.lat;
    const double bx = (b.lon - p.lon) * scale, by = b.lat - p.lat;
    const double dx = bx - ax, dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(-(ax * dx + ay * dy) / length2, 0.0, 1.0) : 0;
    const GeoPoint nearest{a.lat + t * (b.lat - a.lat), a.lon + t * (b.lon - a.lon)};
    return {MetresBetween(p, nearest), t};
}

std::vector<ShapeCut> cutByNearest(const Feed& feed, const std::vector<ShapePoint>& points, const Trip& trip)
{
    std::vector<ShapeCut> cuts;
    ShapeCut previous;
    for (const StopTime& time : trip.stops) {
        const GeoPoint stop = feed.stops[size_t(time.stop)].at;
        double best = std::numeric_limits<double>::infinity();
        ShapeCut cut = previous;
        for (int piece = previous.piece; piece + 1 < int(points.size()); ++piece) {
            auto [distance, t] = nearestOnPiece(stop, points[size_t(piece)].at, points[size_t(piece + 1)].at);
            if (piece == previous.piece)
                t = std::max(t, previous.t);
            if (distance < best) {
                best = distance;
                cut = {piece, t};
            } else if (best < NearEnough && distance > best + GoneAway) {
                break;
            }
        }
        cuts.push_back(cut);
        previous = cut;
    }
    return cuts;
}

} // namespace

std::vector<ShapeCut> CutShape(const Feed& feed, const Trip& trip)
{
    const auto& points = feed.shapes[size_t(trip.shape)].points;
    if (hasDistances(feed, trip)) {
        // Distances in other units in the two files put the cuts away from
        // the stops; the nearest points are then the better guess.
        const std::vector<ShapeCut> cuts = cutByDistance(points, trip);
        bool nearStops = true;
        for (size_t i = 0; i < cuts.size() && nearStops; ++i) {
            const GeoPoint a = points[size_t(cuts[i].piece)].at, b = points[size_t(cuts[i].piece + 1)].at;
            const GeoPoint cut{a.lat + cuts[i].t * (b.lat - a.lat), a.lon + cuts[i].t * (b.lon - a.lon)};
            nearStops = MetresBetween(cut, feed.stops[size_t(trip.stops[i].stop)].at) <= FarFromStop;
        }
        if (nearStops)
            return cuts;
    }
    return cutByNearest(feed, points, trip);
}

std::vector<GeoPoint> ShapeBetween(const Shape& shape, ShapeCut from, ShapeCut to)
{
    std::vector<GeoPoint> inner;
    if (to.piece < from.piece || (to.piece == from.piece && to.t <= from.t))
        return inner;
    // Point piece+1 lies after a cut on that piece unless the cut is at its end.
    const int first = from.t < 1 ? from.piece + 1 : from.piece + 2;
    const int last = to.t > 0 ? to.piece : to.piece - 1;
    for (int i = first; i <= last; ++i)
        inner.push_back(shape.points[size_t(i)].at);
    return inner;
}

} // namespace tram::gtfs
