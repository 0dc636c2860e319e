#pragma once

#include "schematic/OctilinearGrid.h"
#include "schematic/TrackGraph.h"

#include <QPointF>
#include <vector>

namespace tram::schematic {

// The network drawn on the grid: a grid node per graph node, and per edge the
// grid nodes of its path from the edge's start to its end.
struct GridDrawing {
    std::vector<int> nodeAt;
    std::vector<std::vector<int>> paths;
};

// The graph as the grid sees it: where each node would like to be and the
// course each edge would like to follow, in grid units (column, row).
struct GridTargets {
    std::vector<QPointF> nodes;
    std::vector<std::vector<QPointF>> courses;
    // The shortest each edge may be drawn, for the stations along it, and
    // the longest, so that it takes no detour; in cells.
    std::vector<double> leastLength;
    std::vector<double> mostLength;
    // Stations per cell of each edge's course: names beside a horizontal
    // run need the most room along it, so a crowded edge had better run
    // another way.
    std::vector<double> crowding;
};

// The length of the shortest octilinear path between two grid nodes, in cells.
double OctilinearDistance(QPoint a, QPoint b);

// Draws the edges one after another, in `order`, each as the cheapest path
// on the grid: short, with few and gentle bends, near its course, clear of
// what is drawn already (no shared grid node, no crossing, nothing beside it
// closer than SideBySide). A node is put on a free grid node near its place
// when its first edge is drawn; the edges round a node leave it in their
// order round the junction, and a segment turns at most a right angle where
// it goes on through a node. Returns the first edge that found no path, or
// -1 when all are drawn; the drawing holds what was drawn before it.
int DrawOnGrid(const TrackGraph& graph, const OctilinearGrid& grid, const GridTargets& targets,
               const std::vector<int>& order, GridDrawing& drawing);

} // namespace tram::schematic
