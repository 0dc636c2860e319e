#pragma once

#include "gtfs/Feed.h"

namespace tram::gtfs {

// One place on the map: the stops of a station, or the platforms of one name
// close together, so both directions of a street share one track.
struct Place {
    QString name;
    GeoPoint at; // the middle of its stations and platforms
};

struct Places {
    std::vector<Place> places;
    std::vector<int> placeOfStop; // -1 for a stop no tram trip calls at
    int stopsUsed = 0;            // stops the tram trips call at
    int stopsMerged = 0;          // of those, the ones sharing their place with another
};

// Merges the stops the tram trips call at: a stop belongs to its parent
// station when it has one; stations and stops without one that share a name
// and lie within 300 m of each other become one place, unless one trip calls
// at both (a loop that comes by the same-named stop again). A chain of them
// longer than that is split so that no two of a place lie further apart.
// Throws FeedError for a stop called at that has no position, itself or
// through its station.
Places MergeStops(const Feed& feed);

} // namespace tram::gtfs
