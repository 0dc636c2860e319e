#include "gtfs/ShapeCuts.h"

#include "gtfs/GeoDistance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tram::gtfs {

namespace {

// A stretch of the shape within this distance of a stop is one pass by it.
constexpr double NearEnough = 100;
constexpr size_t MostPasses = 8;
// How much further along the shape than the stop is from its place the
// shape may pass nearest to the place.
constexpr double PlaceReach = 50;
// A cut by shape_dist_traveled farther than this from its stop is not believed.
constexpr double FarFromStop = 150;

GeoPoint pointOf(const std::vector<ShapePoint>& points, ShapeCut cut)
{
    return PointOnPiece(points[size_t(cut.piece)].at, points[size_t(cut.piece + 1)].at, cut.t);
}

bool hasDistances(const Feed& feed, const Trip& trip)
{
    const auto& points = feed.shapes[size_t(trip.shape)].points;
    const bool stopsHave = std::all_of(trip.stops.begin(), trip.stops.end(),
                                       [](const StopTime& t) { return !std::isnan(t.shapeDistance); });
    const bool shapeHas = std::all_of(points.begin(), points.end(),
                                      [](const ShapePoint& p) { return !std::isnan(p.distance); });
    const bool rising = std::is_sorted(points.begin(), points.end(), [](const ShapePoint& a, const ShapePoint& b) {
        return a.distance < b.distance;
    });
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

bool isBefore(ShapeCut a, ShapeCut b)
{
    return a.piece != b.piece ? a.piece < b.piece : a.t < b.t;
}

struct Pass {
    ShapeCut cut;
    double distance;
};

// Where the shape passes a stop: the nearest point of each stretch within
// reach of it, or the nearest point of all when it never comes that close.
std::vector<Pass> passesBy(const std::vector<ShapePoint>& points, GeoPoint stop)
{
    std::vector<Pass> passes;
    Pass nearest{{}, std::numeric_limits<double>::infinity()};
    bool near = false;
    for (int piece = 0; piece + 1 < int(points.size()); ++piece) {
        const auto [distance, t] = NearestPointOnPiece(stop, points[size_t(piece)].at, points[size_t(piece + 1)].at);
        const Pass pass{{piece, t}, distance};
        if (distance < nearest.distance)
            nearest = pass;
        if (distance > NearEnough) {
            near = false;
        } else if (!near) {
            passes.push_back(pass);
            near = true;
        } else if (distance < passes.back().distance) {
            passes.back() = pass;
        }
    }
    if (passes.empty())
        passes.push_back(nearest);
    // A shape that winds by a stop again and again (no real one does) keeps
    // its nearest passes only, so the choice below stays small.
    if (passes.size() > MostPasses) {
        std::stable_sort(passes.begin(), passes.end(),
                         [](const Pass& a, const Pass& b) { return a.distance < b.distance; });
        passes.resize(MostPasses);
        std::sort(passes.begin(), passes.end(), [](const Pass& a, const Pass& b) { return isBefore(a.cut, b.cut); });
    }
    return passes;
}

// One pass for each stop, in the order of the stops along the shape and as
// near them as can be: the nearest pass alone would cut a shape that comes
// by a stop again, round a terminal loop, at the wrong one. A pass out of
// order costs more than any distance; the cuts are then kept from going back.
std::vector<ShapeCut> cutByNearest(const Feed& feed, const std::vector<ShapePoint>& points, const Trip& trip)
{
    constexpr double OutOfOrder = 1e9;
    const size_t count = trip.stops.size();
    std::vector<std::vector<Pass>> passes(count);
    std::vector<std::vector<double>> cost(count);
    std::vector<std::vector<int>> came(count);
    for (size_t i = 0; i < count; ++i) {
        passes[i] = passesBy(points, feed.stops[size_t(trip.stops[i].stop)].at);
        for (const Pass& pass : passes[i]) {
            double best = 0;
            int from = -1;
            for (size_t k = 0; i > 0 && k < passes[i - 1].size(); ++k) {
                const double c = cost[i - 1][k] + (isBefore(pass.cut, passes[i - 1][k].cut) ? OutOfOrder : 0);
                if (from < 0 || c < best) {
                    best = c;
                    from = int(k);
                }
            }
            cost[i].push_back(best + pass.distance);
            came[i].push_back(from);
        }
    }
    std::vector<ShapeCut> cuts(count);
    int k = int(std::min_element(cost[count - 1].begin(), cost[count - 1].end()) - cost[count - 1].begin());
    for (size_t i = count; i-- > 0;) {
        cuts[i] = passes[i][size_t(k)].cut;
        k = came[i][size_t(k)];
    }
    for (size_t i = 1; i < count; ++i) {
        if (isBefore(cuts[i], cuts[i - 1]))
            cuts[i] = cuts[i - 1];
    }
    return cuts;
}

double pieceLength(const std::vector<ShapePoint>& points, int piece)
{
    return MetresBetween(points[size_t(piece)].at, points[size_t(piece + 1)].at);
}

// The point of the shape nearest to the place, looked for within `reach`
// metres along the shape either side of the stop's cut, never before `notBefore`.
ShapeCut nearestToPlace(const std::vector<ShapePoint>& points, ShapeCut stop, ShapeCut notBefore, GeoPoint place,
                        double reach)
{
    if (isBefore(stop, notBefore))
        stop = notBefore;
    ShapeCut best = stop;
    double bestDistance = MetresBetween(place, pointOf(points, stop));
    auto consider = [&](int piece, double from, double to) {
        const GeoPoint a = points[size_t(piece)].at, b = points[size_t(piece + 1)].at;
        const double t = std::clamp(NearestPointOnPiece(place, a, b).t, from, to);
        const double distance = MetresBetween(place, PointOnPiece(a, b, t));
        if (distance < bestDistance) {
            best = {piece, t};
            bestDistance = distance;
        }
    };
    double travelled = 0;
    for (int piece = stop.piece; piece >= notBefore.piece && travelled <= reach; --piece) {
        const double to = piece == stop.piece ? stop.t : 1;
        const double from = piece == notBefore.piece ? notBefore.t : 0;
        if (from <= to)
            consider(piece, from, to);
        travelled += pieceLength(points, piece) * to;
    }
    travelled = 0;
    for (int piece = stop.piece; piece + 1 < int(points.size()) && travelled <= reach; ++piece) {
        const double from = piece == stop.piece ? stop.t : 0;
        consider(piece, from, 1);
        travelled += pieceLength(points, piece) * (1 - from);
    }
    return best;
}

} // namespace

std::vector<ShapeCut> CutShape(const Feed& feed, const Trip& trip, const std::vector<GeoPoint>& placeAt)
{
    const auto& points = feed.shapes[size_t(trip.shape)].points;
    std::vector<ShapeCut> cuts;
    if (hasDistances(feed, trip)) {
        // Distances in other units in the two files put the cuts away from
        // the stops; the nearest points are then the better guess.
        cuts = cutByDistance(points, trip);
        for (size_t i = 0; i < cuts.size(); ++i) {
            if (MetresBetween(pointOf(points, cuts[i]), feed.stops[size_t(trip.stops[i].stop)].at) > FarFromStop)
                cuts.clear();
        }
    }
    if (cuts.empty())
        cuts = cutByNearest(feed, points, trip);
    // A platform lies some way before or after its station: the course runs
    // from where the shape passes the station itself, not on to the
    // platform and back.
    ShapeCut previous;
    for (size_t i = 0; i < cuts.size(); ++i) {
        const double reach = MetresBetween(feed.stops[size_t(trip.stops[i].stop)].at, placeAt[i]) + PlaceReach;
        cuts[i] = previous = nearestToPlace(points, cuts[i], previous, placeAt[i], reach);
    }
    return cuts;
}

GeoPoint PointOfCut(const Shape& shape, ShapeCut cut)
{
    return pointOf(shape.points, cut);
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
