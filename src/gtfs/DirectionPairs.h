#pragma once

#include "gtfs/TrackNetwork.h"

namespace tram::gtfs {

// How many trips pass a track from its first place to its last, and back.
struct TrackUse {
    int forward = 0;
    int backward = 0;
};

// What became of a track: -1, or the track it was joined into and whether
// that one runs the other way.
struct JoinedTrack {
    int into = -1;
    bool reversed = false;
};

// Where each direction of a street has a track of its own (one-way streets
// side by side, platforms apart), two tracks between the same two places,
// one passed only one way and the other only the other way, that run near
// each other all along, become one: the track more trips pass stays (of
// equals the first), and the places along the other are put on it where it
// passes nearest to them (`placeAt` moves them there). Tracks that would
// make one of more than `maxPlaces` places stay apart.
std::vector<JoinedTrack> JoinDirectionPairs(std::vector<TrackSegment>& tracks, const std::vector<TrackUse>& use,
                                            std::vector<GeoPoint>& placeAt, size_t maxPlaces);

} // namespace tram::gtfs
