#pragma once

#include "schematic/GridRouter.h"

namespace tram::schematic {

// The least distance between two stations, centre to centre.
inline constexpr double StationSpacing = 16;

// Where a station or light of the input lies in the network: on an edge, a
// fraction of the way along it, or on a node.
struct Anchor {
    int edge = -1;
    double fraction = 0;
    int node = -1; // when it stands on a node
};

// The anchors of every station and light; refuses one whose segment does not
// exist or whose position lies off its segment.
[[nodiscard]] std::optional<Refusal> AnchorObjects(const Scheme& scheme, const TrackGraph& graph,
                                                   std::vector<Anchor>& stations);

// The scheme with the drawing's geometry: every segment through its edges'
// paths, a vertex where it bends, ends or holds a station, the stations of an
// edge evenly spaced along it, the lights at their share of their segment's
// length. Everything else is the input's. Refuses when a segment would need
// more vertices than its table holds or two stations come too close.
[[nodiscard]] std::optional<Refusal> BuildDrawnScheme(const Scheme& input, const TrackGraph& graph,
                                                      const std::vector<Anchor>& stations, const OctilinearGrid& grid,
                                                      const GridDrawing& drawing, Scheme& output);

} // namespace tram::schematic
