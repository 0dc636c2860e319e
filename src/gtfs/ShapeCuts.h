#pragma once

#include "gtfs/Feed.h"

namespace tram::gtfs {

// A point on a shape: on the piece from point `piece` to point `piece + 1`,
// at the fraction t of it.
struct ShapeCut {
    int piece = 0;
    double t = 0;
};

// Where each stop of the trip lies on its shape (the trip must have one of
// at least two points): by shape_dist_traveled where the trip and the shape
// both give it and every cut lands near its stop, else at the passes of the
// shape nearest the stops that keep them in order, so a shape that comes by a
// stop twice, round a loop, is cut at the right pass. Each cut is then moved
// to where the shape passes nearest the place of its stop (`placeAt`, one per
// stop), looked for near the stop.
std::vector<ShapeCut> CutShape(const Feed& feed, const Trip& trip, const std::vector<GeoPoint>& placeAt);

// The point of the shape where it is cut.
GeoPoint PointOfCut(const Shape& shape, ShapeCut cut);

// The points of the shape strictly between two cuts; none when the second
// does not lie after the first.
std::vector<GeoPoint> ShapeBetween(const Shape& shape, ShapeCut from, ShapeCut to);

} // namespace tram::gtfs
