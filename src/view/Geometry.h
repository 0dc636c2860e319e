#pragma once

#include "model/Scheme.h"

#include <QPointF>

namespace tram {

// Straight-line distance of two vertices.
double Distance(MapPoint a, MapPoint b);

// The fraction of the piece a..b nearest to p, from 0 at a to 1 at b; 0 on a
// piece of no length.
double NearestOnPiece(QPointF p, QPointF a, QPointF b);

// Distance from p to the piece a..b.
double DistanceToPiece(QPointF p, QPointF a, QPointF b);

// Length along the polyline of a segment from vertex `from` to vertex `to`;
// 0 when to <= from. Vertex numbers must lie within 0..MaxPoints.
double PolylineLength(const Scheme& scheme, int segment, int from, int to);

// The canvas point of an object placed `position` pixels along a segment,
// measured from vertex 1. A position with no point on the polyline (past its
// end, or any position on a segment without vertices or above 40) gives
// vertex 0, the canvas origin; a negative one extends the line from vertex 1
// back through the origin.
MapPoint LocateOnSegment(const Scheme& scheme, int segment, double position);

// Whether p lies within 0.9 pixels (vertically) of the line through a and b.
bool IsOnLine(MapPoint a, MapPoint b, MapPoint p);

// Whether route `route` lists the segment in one of its used slots.
bool IsSegmentInRoute(const Scheme& scheme, int route, int segment);

} // namespace tram
