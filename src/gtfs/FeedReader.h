#pragma once

#include "gtfs/Feed.h"
#include "gtfs/FeedFiles.h"

#include <QStringList>

namespace tram::gtfs {

// Tram routes: route_type 0 and the extended tram types 900..906.
bool IsTramRouteType(long long type);

// Reads the tram part of a feed, the routes in their order: by
// route_sort_order (those without one last), then by short name, numbers by
// their value (2 before 10), then by route_id. `wanted` narrows the tram routes by
// route_short_name or route_id (empty: all). stop_times.txt and shapes.txt
// are streamed and only the rows of tram trips are kept. Throws FeedError
// naming file, line and column of the first value that is missing or does
// not parse, of a reference that names nothing, and of a wanted route the
// feed has no tram route for.
Feed ReadFeed(FeedFiles& files, const QStringList& wanted);

} // namespace tram::gtfs
