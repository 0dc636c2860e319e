#pragma once

#include "gtfs/Feed.h"
#include "gtfs/Places.h"

namespace tram::gtfs {

// A stretch of track between two places where lines meet, part or end: the
// places along it and, between each two, the course of the track (the inner
// points of the shape, or none for a straight line).
struct TrackSegment {
    std::vector<int> places;
    std::vector<std::vector<GeoPoint>> courses; // places.size() - 1 of them
};

// Which way a trip passes: the places in order and, for each step from one
// place to the next, the stop times it leaves and reaches them by (-1, -1
// next to a place it passes without calling).
struct PlaceSequence {
    std::vector<int> places;
    std::vector<std::pair<int, int>> steps; // indices in Trip::stops
};

struct TrackNetwork {
    std::vector<TrackSegment> segments;
    // Per place: where its station sits, on the track where a shape passes
    // nearest to the middle of its platforms, else at that middle.
    std::vector<GeoPoint> placeAt;
    int directionPairsJoined = 0; // pairs of one-way tracks made one
    // Per route of the feed: the segments its most frequent stop pattern
    // passes, in travel order; empty for a route without trips.
    std::vector<std::vector<int>> routeSegments;
    // Per route: every segment and every place any of its trips uses, for
    // telling which routes need what.
    std::vector<std::vector<int>> routeUsesSegments;
    std::vector<std::vector<int>> routeUsesPlaces;
};

// The places a trip calls at, a place called at twice in a row counted once.
PlaceSequence PlacesOf(const Trip& trip, const Places& places);

// Joins two places wherever a trip goes from one straight to the other (not
// past places other trips call at between them: see BridgeSkippedStops),
// splits the network at the places where lines meet, part or end (a place
// with other than two neighbours, or where a route's most frequent pattern
// starts, ends or turns back), follows the shapes between the places and
// makes the two directions' tracks of a street one (see JoinDirectionPairs).
// Segments are numbered and directed in the order the routes pass them.
TrackNetwork BuildNetwork(const Feed& feed, const Places& places);

} // namespace tram::gtfs
