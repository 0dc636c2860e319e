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
// both give it and every cut lands near its stop, else the nearest point of
// the shape, searched onwards from the previous stop, so a shape that passes
// a place twice is cut in order.
std::vector<ShapeCut> CutShape(const Feed& feed, const Trip& trip);

// The points of the shape strictly between two cuts; none when the second
// does not lie after the first.
std::vector<GeoPoint> ShapeBetween(const Shape& shape, ShapeCut from, ShapeCut to);

} // namespace tram::gtfs
