#pragma once

#include "gtfs/TrackNetwork.h"

namespace tram::gtfs {

// A trip that passes stops without calling at them (a stop closed for works,
// a run that serves only some) goes from one place to another that other
// trips reach through the places between: that step is no track of its own.
// It is replaced by those places, found along the other steps (at most three
// of them, the way at most 5 % longer than straight), so the sequences join
// only places that are next to each other on the track. The steps put in
// have no stop times (-1, -1).
void BridgeSkippedStops(std::vector<PlaceSequence>& sequences, const Places& places);

} // namespace tram::gtfs
