#include "schematic/StationSliding.h"

#include "model/EditorModel.h"
#include "schematic/DrawnScheme.h"
#include "view/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace tram::schematic {

namespace {

QPoint pointOf(MapPoint p)
{
    return QPoint(p.X, p.Y);
}

QPoint unitStep(QPoint from, QPoint to)
{
    const QPoint d = to - from;
    return QPoint((d.x() > 0) - (d.x() < 0), (d.y() > 0) - (d.y() < 0));
}

// The vertex the station stands on, or 0.
int vertexOf(const Scheme& scheme, int station)
{
    const Station& s = scheme.Stations[station];
    for (int j = 1; j <= PointsInUse(scheme, s.Segment); ++j) {
        if (PolylineLength(scheme, s.Segment, 1, j) == s.Position)
            return j;
    }
    return 0;
}

// Whether another segment ends, bends or passes a vertex there: a junction.
bool onJunction(const Scheme& scheme, int segment, MapPoint at)
{
    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        for (int j = 1; j <= PointsInUse(scheme, s) && s != segment; ++j) {
            if (scheme.Points[s][j] == at)
                return true;
        }
    }
    return false;
}

bool roomFromOthers(const Scheme& scheme, int station, QPoint at)
{
    for (int i = 1; i <= StationsInUse(scheme); ++i) {
        const MapPoint p = LocateOnSegment(scheme, scheme.Stations[i].Segment, scheme.Stations[i].Position);
        if (i != station && std::hypot(p.X - at.x(), p.Y - at.y()) < StationSpacing)
            return false;
    }
    return true;
}

// Moves a vertex of a segment, and the positions along it with it, summed
// again as the editor sums them.
void moveVertex(Scheme& scheme, int segment, int vertex, MapPoint to)
{
    std::vector<std::pair<int, int>> stations; // and their vertices
    for (int i = 1; i <= StationsInUse(scheme); ++i) {
        if (scheme.Stations[i].Segment == segment)
            stations.push_back({i, vertexOf(scheme, i)});
    }
    const double oldLength = PolylineLength(scheme, segment, 1, PointsInUse(scheme, segment));
    scheme.Points[segment][vertex] = to;
    for (const auto& [i, j] : stations)
        scheme.Stations[i].Position = PolylineLength(scheme, segment, 1, j);
    const double length = PolylineLength(scheme, segment, 1, PointsInUse(scheme, segment));
    for (int i = 1; i <= LightsInUse(scheme); ++i) {
        if (scheme.Lights[i].Segment == segment)
            scheme.Lights[i].Position = scheme.Lights[i].Position / oldLength * length;
    }
}

} // namespace

int SlideStationsForNames(Scheme& drawn, const std::vector<MeasuredName>& names)
{
    DisplaySettings display;
    ApplyStartDisplay(display);
    const auto labels = PlaceStationLabels(drawn, display, names);
    auto room = std::make_unique<NameRoom>(drawn, display, names, labels);
    int moved = 0;
    for (const StationLabel& label : labels) {
        if (label.clear)
            continue;
        const int station = label.station;
        const int segment = drawn.Stations[station].Segment;
        const int j = vertexOf(drawn, station);
        if (j <= 1 || j >= PointsInUse(drawn, segment) || onJunction(drawn, segment, drawn.Points[segment][j]))
            continue;
        const QPoint before = pointOf(drawn.Points[segment][j - 1]);
        const QPoint here = pointOf(drawn.Points[segment][j]);
        const QPoint after = pointOf(drawn.Points[segment][j + 1]);
        const QPoint unit = unitStep(before, here);
        if (unit != unitStep(here, after))
            continue; // at a bend
        const int steps = std::max(std::abs(after.x() - before.x()), std::abs(after.y() - before.y()));
        const int now = std::max(std::abs(here.x() - before.x()), std::abs(here.y() - before.y()));
        const double stepLength = std::hypot(unit.x(), unit.y());
        for (int away = 1; away * stepLength <= MostSlide; ++away) {
            bool slid = false;
            for (const int k : {now - away, now + away}) {
                const QPoint at = before + k * unit;
                if (k <= 0 || k >= steps || !roomFromOthers(drawn, station, at)
                    || !room->fits(station, MapPoint{int16_t(at.x()), int16_t(at.y())}))
                    continue;
                moveVertex(drawn, segment, j, MapPoint{int16_t(at.x()), int16_t(at.y())});
                room = std::make_unique<NameRoom>(drawn, display, names, labels);
                ++moved;
                slid = true;
                break;
            }
            if (slid)
                break;
        }
    }
    return moved;
}

} // namespace tram::schematic
