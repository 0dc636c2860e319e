#pragma once

#include "gtfs/FeedFiles.h"
#include "model/Refusal.h"
#include "model/Scheme.h"
#include "schematic/Schematise.h"

#include <QStringList>
#include <optional>

namespace tram::gtfs {

struct ImportOptions {
    QStringList routes;        // route_short_name or route_id; empty: every tram route
    std::optional<qint64> day; // Julian day; none: the busiest day of the calendars
    // Drawn as a schematic map rather than as the city's geography.
    std::optional<schematic::SchematicOptions> schematic;
};

struct ImportedRoute {
    QString name;
    int segments = 0;
    int trams = 0;
};

struct ImportSummary {
    std::vector<ImportedRoute> routes; // in the scheme's order
    int stopsUsed = 0;                 // stops the tram trips call at
    int stopsMerged = 0;               // of those, the ones sharing a station with another
    int stations = 0;                  // the places they were merged into
    int segments = 0;
    int directionPairsJoined = 0; // one-way tracks of a street's two directions made one
    double largestError = 0;      // pixels, of the simplification
    std::optional<qint64> day;
    int tripsOnDay = 0;
    int moment = -1;   // seconds of the service day
    QStringList notes; // names cut or changed, routes left out
    std::optional<schematic::SchematicSummary> schematic;
};

struct ImportResult {
    Scheme scheme;
    ImportSummary summary;
};

// Turns the tram routes of a feed into a scheme: one station per merged
// stop, one track per street, split into segments where lines meet, part
// or end, one route per GTFS route with the segments of its most frequent
// stop pattern, and as many trams per route as it has trips underway at the
// busiest moment.
// A refusal (a broken feed, a scheme limit passed) gives the reason, one
// problem a line, and leaves `result` as it was.
[[nodiscard]] std::optional<Refusal> ImportGtfs(FeedFiles& files, const ImportOptions& options, ImportResult& result);

// The same for a folder or a .zip archive.
[[nodiscard]] std::optional<Refusal> ImportGtfs(const QString& path, const ImportOptions& options,
                                                ImportResult& result);

} // namespace tram::gtfs
