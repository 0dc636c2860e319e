#pragma once

#include "gtfs/Feed.h"

#include <optional>

namespace tram::gtfs {

struct TramsOnDay {
    std::optional<qint64> day; // Julian day number; none when no service runs any day
    int trips = 0;             // tram trips that run that day
    int moment = -1;           // the busiest moment, seconds of the service day; -1 when none runs
    std::vector<int> trams;    // per route of the feed: its trips underway then
};

// The day (the given one, else the day of the calendars with the most tram
// trips, the earliest of equals) and its busiest moment: the earliest time at
// which the most tram trips of that service day are underway, a trip being
// underway from its first departure up to, not including, its last arrival;
// a trip of frequencies.txt counts once for each of its departures.
TramsOnDay CountTrams(const Feed& feed, std::optional<qint64> day);

} // namespace tram::gtfs
