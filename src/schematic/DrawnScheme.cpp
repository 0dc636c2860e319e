#include "schematic/DrawnScheme.h"

#include "model/NumberText.h"
#include "view/Geometry.h"

#include <algorithm>
#include <cmath>

namespace tram::schematic {

namespace {

constexpr double OnNode = 1e-6; // pixels along a segment

QString shown(QPoint p)
{
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

std::optional<Refusal> checkPlace(const QString& object, int segment, double position, const TrackGraph& graph)
{
    if (segment < 1 || segment >= int(graph.edgesOf.size()))
        return QStringLiteral("%1: segment %2 ne postoji").arg(object).arg(segment);
    const double length = graph.lines[size_t(segment)].length();
    if (!(position >= 0 && position <= length))
        return QStringLiteral("%1: polozaj %2 je izvan segmenta %3 (0..%4)")
            .arg(object, ShowNumber(position))
            .arg(segment)
            .arg(ShowNumber(length));
    return std::nullopt;
}

// A vertex of a drawn segment and the stations on it.
struct Vertex {
    QPoint at;
    std::vector<int> stations;
};

int directionBetween(QPoint a, QPoint b)
{
    const QPoint d = b - a;
    return int(std::find(Step.begin(), Step.end(), QPoint((d.x() > 0) - (d.x() < 0), (d.y() > 0) - (d.y() < 0)))
               - Step.begin());
}

// The corners of a path: its ends and where it bends.
std::vector<QPoint> corners(const std::vector<QPoint>& path)
{
    std::vector<QPoint> result{path.front()};
    for (size_t k = 1; k + 1 < path.size(); ++k) {
        if (directionBetween(path[k - 1], path[k]) != directionBetween(path[k], path[k + 1]))
            result.push_back(path[k]);
    }
    result.push_back(path.back());
    return result;
}

double pieceLength(QPoint a, QPoint b)
{
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

// The edge's vertices with its own stations: those on its nodes at its ends,
// the others evenly spaced between, each on the whole pixel of the path
// nearest its share of the length.
std::vector<Vertex> edgeVertices(const std::vector<QPoint>& path, const std::vector<int>& atStart,
                                 const std::vector<int>& between, const std::vector<int>& atEnd)
{
    const std::vector<QPoint> bends = corners(path);
    double length = 0;
    for (size_t k = 0; k + 1 < bends.size(); ++k)
        length += pieceLength(bends[k], bends[k + 1]);
    std::vector<Vertex> vertices{{bends.front(), atStart}};
    size_t next = 0;   // of `between`
    double before = 0; // length up to the piece's start
    for (size_t k = 0; k + 1 < bends.size(); ++k) {
        const QPoint a = bends[k], b = bends[k + 1];
        const double piece = pieceLength(a, b);
        const int steps = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
        const QPoint unit = Step[size_t(directionBetween(a, b))];
        for (; next < between.size(); ++next) {
            const double want = length * double(next + 1) / double(between.size() + 1);
            if (want > before + piece && k + 2 < bends.size())
                break;
            const int step = std::clamp(int(std::lround((want - before) / piece * steps)), 0, steps);
            const QPoint at = a + step * unit;
            if (at == vertices.back().at)
                vertices.back().stations.push_back(between[next]);
            else
                vertices.push_back({at, {between[next]}});
        }
        if (b != vertices.back().at)
            vertices.push_back({b, {}});
        before += piece;
    }
    for (const int station : atEnd)
        vertices.back().stations.push_back(station);
    return vertices;
}

// Drops the vertices a straight run passes through, but for stations and ends.
std::vector<Vertex> withoutStraightRuns(const std::vector<Vertex>& vertices)
{
    std::vector<Vertex> kept{vertices.front()};
    for (size_t k = 1; k + 1 < vertices.size(); ++k) {
        const bool straight = directionBetween(kept.back().at, vertices[k].at)
            == directionBetween(vertices[k].at, vertices[k + 1].at);
        if (!straight || !vertices[k].stations.empty())
            kept.push_back(vertices[k]);
    }
    kept.push_back(vertices.back());
    return kept;
}

} // namespace

std::optional<Refusal> AnchorObjects(const Scheme& scheme, const TrackGraph& graph, std::vector<Anchor>& stations)
{
    for (int i = 1; i <= LightsInUse(scheme); ++i) {
        if (auto refusal = checkPlace(QStringLiteral("semafor %1").arg(i), scheme.Lights[i].Segment,
                                      scheme.Lights[i].Position, graph))
            return refusal;
    }
    std::vector<Anchor> anchors(size_t(StationsInUse(scheme)) + 1);
    std::vector<int> stationOnNode(graph.nodes.size(), 0);
    for (int i = 1; i <= StationsInUse(scheme); ++i) {
        const Station& station = scheme.Stations[i];
        if (auto refusal = checkPlace(QStringLiteral("stanica %1").arg(i), station.Segment, station.Position, graph))
            return refusal;
        Anchor& anchor = anchors[size_t(i)];
        for (const int e : graph.edgesOf[station.Segment]) {
            const GraphEdge& edge = graph.edges[size_t(e)];
            if (station.Position > edge.toArc + OnNode)
                continue;
            anchor.edge = e;
            if (std::abs(station.Position - edge.fromArc) <= OnNode)
                anchor.node = edge.from;
            else if (std::abs(station.Position - edge.toArc) <= OnNode)
                anchor.node = edge.to;
            else
                anchor.fraction = (station.Position - edge.fromArc) / (edge.toArc - edge.fromArc);
            break;
        }
        if (anchor.node < 0)
            continue;
        if (const int other = stationOnNode[size_t(anchor.node)]) {
            const QPointF at = graph.nodes[size_t(anchor.node)].at;
            return QStringLiteral(
                       "stanice %1 i %2: obje su u cvoru (%3, %4), a moraju biti bar %5 piksela jedna od druge")
                .arg(other)
                .arg(i)
                .arg(std::lround(at.x()))
                .arg(std::lround(at.y()))
                .arg(StationSpacing);
        }
        stationOnNode[size_t(anchor.node)] = i;
    }
    stations = std::move(anchors);
    return std::nullopt;
}

std::optional<Refusal> BuildDrawnScheme(const Scheme& input, const TrackGraph& graph,
                                        const std::vector<Anchor>& stations, const OctilinearGrid& grid,
                                        const GridDrawing& drawing, Scheme& output)
{
    Scheme drawn = input;
    std::vector<std::vector<int>> atStart(graph.edges.size()), between(graph.edges.size()), atEnd(graph.edges.size());
    for (int i = 1; i < int(stations.size()); ++i) {
        const Anchor& a = stations[size_t(i)];
        if (a.node < 0)
            between[size_t(a.edge)].push_back(i);
        else
            (a.node == graph.edges[size_t(a.edge)].from ? atStart : atEnd)[size_t(a.edge)].push_back(i);
    }
    for (auto& list : between) {
        std::stable_sort(list.begin(), list.end(),
                         [&](int a, int b) { return stations[size_t(a)].fraction < stations[size_t(b)].fraction; });
    }
    std::vector<int> vertexOf(stations.size(), 0);
    for (int s = 1; s < int(graph.edgesOf.size()); ++s) {
        std::vector<Vertex> vertices;
        for (const int e : graph.edgesOf[size_t(s)]) {
            std::vector<QPoint> path;
            for (const int node : drawing.paths[size_t(e)])
                path.push_back(grid.canvasPoint(node));
            for (const Vertex& v : edgeVertices(path, atStart[size_t(e)], between[size_t(e)], atEnd[size_t(e)])) {
                if (!vertices.empty() && vertices.back().at == v.at)
                    vertices.back().stations.insert(vertices.back().stations.end(), v.stations.begin(),
                                                    v.stations.end());
                else
                    vertices.push_back(v);
            }
        }
        vertices = withoutStraightRuns(vertices);
        if (int(vertices.size()) > MaxPoints)
            return QStringLiteral("segment %1: trebalo bi mu %2 tacaka, a moze imati najvise %3")
                .arg(s)
                .arg(vertices.size())
                .arg(MaxPoints);
        drawn.PointCount[size_t(s)] = int16_t(vertices.size());
        for (size_t k = 0; k < vertices.size(); ++k) {
            drawn.Points[size_t(s)][k + 1] = MapPoint{int16_t(vertices[k].at.x()), int16_t(vertices[k].at.y())};
            for (const int station : vertices[k].stations)
                vertexOf[size_t(station)] = int(k) + 1;
        }
    }
    for (int i = 1; i < int(stations.size()); ++i)
        drawn.Stations[i].Position = PolylineLength(drawn, drawn.Stations[i].Segment, 1, vertexOf[size_t(i)]);
    for (int i = 1; i <= LightsInUse(input); ++i) {
        TrafficLight& light = drawn.Lights[i];
        const int s = light.Segment;
        const double share = light.Position / graph.lines[size_t(s)].length();
        light.Position = share * PolylineLength(drawn, s, 1, PointsInUse(drawn, s));
    }
    for (int a = 1; a < int(stations.size()); ++a) {
        const MapPoint p = LocateOnSegment(drawn, drawn.Stations[a].Segment, drawn.Stations[a].Position);
        for (int b = a + 1; b < int(stations.size()); ++b) {
            const MapPoint q = LocateOnSegment(drawn, drawn.Stations[b].Segment, drawn.Stations[b].Position);
            if (Distance(p, q) < StationSpacing)
                return QStringLiteral("stanice %1 i %2: samo %3 piksela jedna od druge kod %4, a treba bar %5")
                    .arg(a)
                    .arg(b)
                    .arg(Distance(p, q), 0, 'f', 1)
                    .arg(shown(QPoint(p.X, p.Y)))
                    .arg(StationSpacing);
        }
    }
    output = drawn;
    return std::nullopt;
}

} // namespace tram::schematic
