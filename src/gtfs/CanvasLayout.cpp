#include "gtfs/CanvasLayout.h"

#include "view/Canvas.h"
#include "view/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace tram::gtfs {

namespace {

constexpr double Margin = 20;
// A course point this close to the line is dropped: well inside the drawn
// track, and every vertex kept is one more for the user to drag.
constexpr double Tolerance = 2;

// A canvas point before rounding to whole pixels.
using Point = QPointF;

class Projection {
public:
    explicit Projection(const std::vector<GeoPoint>& all)
    {
        double minLat = 90, maxLat = -90, minLon = 180, maxLon = -180;
        for (const GeoPoint& g : all) {
            minLat = std::min(minLat, g.lat);
            maxLat = std::max(maxLat, g.lat);
            minLon = std::min(minLon, g.lon);
            maxLon = std::max(maxLon, g.lon);
        }
        middle_ = {(minLat + maxLat) / 2, (minLon + maxLon) / 2};
        east_ = std::cos(middle_.lat * M_PI / 180);
        const double width = (maxLon - minLon) * east_;
        const double height = maxLat - minLat;
        const double roomX = Canvas::Width - 1 - 2 * Margin;
        const double roomY = Canvas::Height - 1 - 2 * Margin;
        scale_ = std::min(width > 0 ? roomX / width : std::numeric_limits<double>::infinity(),
                          height > 0 ? roomY / height : std::numeric_limits<double>::infinity());
        if (!std::isfinite(scale_))
            scale_ = 0; // one point: it goes to the middle
    }

    Point operator()(GeoPoint g) const
    {
        return {(Canvas::Width - 1) / 2.0 + (g.lon - middle_.lon) * east_ * scale_,
                (Canvas::Height - 1) / 2.0 - (g.lat - middle_.lat) * scale_};
    }

private:
    GeoPoint middle_;
    double east_ = 1;
    double scale_ = 0;
};

// The vertices kept of a course: the places, then the point farthest from
// the line so far, again and again, until the rest is within the tolerance
// or the segment is full.
std::vector<int> simplify(const std::vector<Point>& points, const std::vector<bool>& isPlace, int maxPoints)
{
    std::vector<int> kept;
    for (size_t i = 0; i < points.size(); ++i) {
        if (isPlace[i])
            kept.push_back(int(i));
    }
    struct Gap {
        double distance;
        int farthest;
        int from;
        int to;
        bool operator<(const Gap& other) const { return distance < other.distance; }
    };
    std::priority_queue<Gap> gaps;
    auto addGap = [&](int from, int to) {
        Gap gap{0, -1, from, to};
        for (int k = from + 1; k < to; ++k) {
            const double d = DistanceToPiece(points[size_t(k)], points[size_t(from)], points[size_t(to)]);
            if (d > gap.distance) {
                gap.distance = d;
                gap.farthest = k;
            }
        }
        if (gap.farthest >= 0)
            gaps.push(gap);
    };
    for (size_t i = 0; i + 1 < kept.size(); ++i)
        addGap(kept[i], kept[i + 1]);
    while (!gaps.empty() && gaps.top().distance > Tolerance && int(kept.size()) < maxPoints) {
        const Gap gap = gaps.top();
        gaps.pop();
        kept.push_back(gap.farthest);
        addGap(gap.from, gap.farthest);
        addGap(gap.farthest, gap.to);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

MapPoint toCanvas(Point p)
{
    return {int16_t(std::clamp<long>(std::lround(p.x()), 0, Canvas::Width - 1)),
            int16_t(std::clamp<long>(std::lround(p.y()), 0, Canvas::Height - 1))};
}

Point fromCanvas(MapPoint p)
{
    return {double(p.X), double(p.Y)};
}

// Rounds the kept vertices to pixels, dropping a course vertex that falls on
// its neighbour, and measures how far the course then strays from it.
CanvasSegment place(const std::vector<Point>& points, const std::vector<bool>& isPlace, const std::vector<int>& kept,
                    double& error)
{
    CanvasSegment segment;
    std::vector<int> source; // per vertex: the index of its point
    for (const int i : kept) {
        const MapPoint p = toCanvas(points[size_t(i)]);
        if (!segment.points.empty() && segment.points.back() == p) {
            if (!isPlace[size_t(i)])
                continue;
            if (!isPlace[size_t(source.back())]) {
                segment.points.pop_back();
                source.pop_back();
            }
        }
        segment.points.push_back(p);
        source.push_back(i);
    }
    for (size_t v = 0; v < source.size(); ++v) {
        if (isPlace[size_t(source[v])])
            segment.placeVertex.push_back(int(v));
    }
    for (size_t v = 0; v + 1 < source.size(); ++v) {
        for (int k = source[v]; k <= source[v + 1]; ++k)
            error = std::max(error,
                             DistanceToPiece(points[size_t(k)], fromCanvas(segment.points[v]),
                                             fromCanvas(segment.points[v + 1])));
    }
    return segment;
}

} // namespace

CanvasLayout LayOut(const TrackNetwork& network, int maxPoints)
{
    std::vector<GeoPoint> all;
    for (const TrackSegment& s : network.segments) {
        for (size_t k = 0; k < s.places.size(); ++k) {
            all.push_back(network.placeAt[size_t(s.places[k])]);
            if (k < s.courses.size())
                all.insert(all.end(), s.courses[k].begin(), s.courses[k].end());
        }
    }
    const Projection project(all);

    CanvasLayout layout;
    for (const TrackSegment& s : network.segments) {
        std::vector<Point> points;
        std::vector<bool> isPlace;
        for (size_t k = 0; k < s.places.size(); ++k) {
            points.push_back(project(network.placeAt[size_t(s.places[k])]));
            isPlace.push_back(true);
            if (k < s.courses.size()) {
                for (const GeoPoint& g : s.courses[k]) {
                    points.push_back(project(g));
                    isPlace.push_back(false);
                }
            }
        }
        const std::vector<int> kept = simplify(points, isPlace, maxPoints);
        layout.segments.push_back(place(points, isPlace, kept, layout.largestError));
    }
    return layout;
}

} // namespace tram::gtfs
