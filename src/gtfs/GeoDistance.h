#pragma once

#include "gtfs/Feed.h"

namespace tram::gtfs {

// Distance in metres on the earth's surface.
double MetresBetween(GeoPoint a, GeoPoint b);

// How far north or south a distance in metres reaches, in degrees.
double DegreesOfLatitude(double metres);

// The point at the fraction t of the piece from a to b.
GeoPoint PointOnPiece(GeoPoint a, GeoPoint b, double t);

struct NearestOnGeoPiece {
    double metres = 0; // from the point to the piece
    double t = 0;      // the fraction of the piece nearest to the point
};

// The point of the piece a-b nearest to p, in a flat picture around p.
NearestOnGeoPiece NearestPointOnPiece(GeoPoint p, GeoPoint a, GeoPoint b);

} // namespace tram::gtfs
