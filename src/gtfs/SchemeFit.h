#pragma once

#include "gtfs/ServiceDay.h"
#include "gtfs/TrackNetwork.h"

#include <QStringList>

namespace tram::gtfs {

// The routes that go into the scheme, in the feed's order: those without a
// trip of two places are left out.
std::vector<int> SchemeRouteOrder(const Feed& feed, const TrackNetwork& network);

// One line for every limit of the scheme the import would pass: the limit,
// the number needed and the routes that need it, each with its own share,
// so the user knows what to leave out with --routes. Empty when all fits.
QStringList LimitProblems(const Feed& feed, const TrackNetwork& network, const std::vector<int>& order,
                          const TramsOnDay& trams);

} // namespace tram::gtfs
