#pragma once

#include "model/Refusal.h"
#include "model/Scheme.h"

#include <QPointF>
#include <vector>

namespace tram::schematic {

// A segment's polyline with the distance along it to every vertex, summed as
// the editor sums a station's position. Repeated vertices are left out; they
// add nothing to the length.
struct Polyline {
    std::vector<QPointF> points;
    std::vector<double> arcs;

    double length() const { return arcs.empty() ? 0 : arcs.back(); }
    QPointF at(double arc) const;
    // The points from `fromArc` to `toArc`, both ends included.
    std::vector<QPointF> between(double fromArc, double toArc) const;
};

Polyline SegmentPolyline(const Scheme& scheme, int segment);

// The track as a network: nodes where segments end, meet, touch or cross,
// and edges, the stretches of one segment between two nodes. A segment is a
// chain of edges; a node is a grid point of the drawing, and every edge a
// path between two of them.
struct GraphNode {
    QPointF at;
    // The edge ends at this node, by the angle at which they leave it
    // (atan2 on the canvas, y downwards): their order round the junction.
    std::vector<int> arms;
};

struct GraphEdge {
    int segment = 0;
    int from = -1;
    int to = -1;
    double fromArc = 0; // along the segment, from its vertex 1
    double toArc = 0;
    std::vector<QPointF> course; // the segment's own line, from `from` to `to`
};

// An edge end: 2 * edge at the edge's start, 2 * edge + 1 at its end.
constexpr int ArmOf(int edge, bool atStart)
{
    return 2 * edge + (atStart ? 0 : 1);
}
constexpr int ArmEdge(int arm)
{
    return arm / 2;
}
constexpr bool ArmAtStart(int arm)
{
    return arm % 2 == 0;
}

struct TrackGraph {
    std::vector<GraphNode> nodes;
    std::vector<GraphEdge> edges;          // segment by segment, each in order along it
    std::vector<std::vector<int>> edgesOf; // per segment number (0 unused)
    std::vector<Polyline> lines;           // per segment number (0 unused)

    int armNode(int arm) const;
    int degree(int node) const { return int(nodes[size_t(node)].arms.size()); }
};

// Most ends a node can have: one per direction of the grid.
inline constexpr int MaxArms = 8;
// How far along an edge, in pixels, the direction it leaves its node in is
// read, and read again where two edges leave alike.
inline constexpr double ArmReadingNear = 12;
inline constexpr double ArmReadingFar = 30;

// Most nodes a network may have: a tenth of the nodes of the finest grid the
// canvas holds leaves the edges room to run between them.
inline constexpr int MaxNodes = 200;

// Builds the network of a scheme's segments. Ends within `snap` pixels of
// each other meet; an end within `snap` of another segment's piece or vertex
// stands on it; pieces that cross or touch make a node of their own. A
// segment of fewer than two distinct vertices, segments that run along each
// other, or a node of more than eight ends are refused, naming the segment.
[[nodiscard]] std::optional<Refusal> BuildTrackGraph(const Scheme& scheme, double snap, TrackGraph& graph);

// Whether two networks are the same: the same chains of edges, meeting at the
// same nodes, in the same order round every node. The refusal says where
// they differ.
[[nodiscard]] std::optional<Refusal> CompareNetworks(const TrackGraph& before, const TrackGraph& after);

} // namespace tram::schematic
