#pragma once

#include "gtfs/TrackNetwork.h"
#include "model/Scheme.h"

namespace tram::gtfs {

struct CanvasSegment {
    std::vector<MapPoint> points;
    std::vector<int> placeVertex; // per place of the segment: its index in points
};

struct CanvasLayout {
    std::vector<CanvasSegment> segments;
    double largestError = 0; // pixels between a point of a course and its segment
};

// Projects the network onto the canvas (equirectangular around its middle,
// north up, scaled to fit with a margin, aspect kept) and simplifies every
// segment to at most `maxPoints` vertices, its places always kept. Each
// segment must have no more places than that.
CanvasLayout LayOut(const TrackNetwork& network, int maxPoints);

} // namespace tram::gtfs
