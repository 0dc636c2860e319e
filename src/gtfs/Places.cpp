#include "gtfs/Places.h"

#include "gtfs/FeedError.h"
#include "gtfs/GeoDistance.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace tram::gtfs {

namespace {

constexpr double MergeDistance = 100;

// The station a stop belongs to, or the stop itself.
int unitOf(const Feed& feed, int stop)
{
    // A few levels at most (boarding area, platform, station); the bound
    // also ends a cycle of parents.
    for (int level = 0; level < 4 && feed.stops[size_t(stop)].parent >= 0; ++level)
        stop = feed.stops[size_t(stop)].parent;
    return stop;
}

int root(std::vector<int>& parent, int i)
{
    while (parent[size_t(i)] != i)
        i = parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
    return i;
}

struct Unit {
    int stop;           // the station, or the stop without one
    GeoPoint sum;       // of the positions of the stops called at, if the station has none
    int count = 0;
    GeoPoint at() const { return {sum.lat / count, sum.lon / count}; }
};

} // namespace

Places MergeStops(const Feed& feed)
{
    Places result;
    result.placeOfStop.assign(feed.stops.size(), -1);
    std::vector<int> unitIndex(feed.stops.size(), -1);
    std::vector<Unit> units;
    std::vector<int> unitOfStop(feed.stops.size(), -1);
    for (const Trip& trip : feed.trips) {
        for (const StopTime& time : trip.stops) {
            if (unitOfStop[size_t(time.stop)] >= 0)
                continue;
            const Stop& stop = feed.stops[size_t(time.stop)];
            if (!stop.hasPosition)
                FailAt(QStringLiteral("stops.txt"), stop.line, -1, QStringLiteral("stop_lat"),
                       QStringLiteral("stajaliste \"%1\" nema polozaj, a tramvaj na njemu staje").arg(stop.name));
            const int station = unitOf(feed, time.stop);
            if (unitIndex[size_t(station)] < 0) {
                unitIndex[size_t(station)] = int(units.size());
                units.push_back({station, {}, 0});
            }
            Unit& unit = units[size_t(unitIndex[size_t(station)])];
            unit.sum.lat += stop.at.lat;
            unit.sum.lon += stop.at.lon;
            ++unit.count;
            unitOfStop[size_t(time.stop)] = unitIndex[size_t(station)];
            ++result.stopsUsed;
        }
    }
    std::vector<GeoPoint> unitAt(units.size());
    for (size_t u = 0; u < units.size(); ++u) {
        const Stop& station = feed.stops[size_t(units[u].stop)];
        unitAt[u] = station.hasPosition ? station.at : units[u].at();
    }

    // Units of one name within reach of each other, in chains.
    std::vector<int> parent(units.size());
    std::iota(parent.begin(), parent.end(), 0);
    QHash<QString, std::vector<int>> byName;
    for (size_t u = 0; u < units.size(); ++u) {
        const QString& name = feed.stops[size_t(units[u].stop)].name;
        if (!name.isEmpty())
            byName[name].push_back(int(u));
    }
    // Sorted from south to north, a unit is compared only with those within
    // reach in latitude, so a name shared by many stops costs little.
    const double reachInLatitude = DegreesOfLatitude(MergeDistance);
    for (std::vector<int>& group : byName) {
        std::sort(group.begin(), group.end(), [&](int a, int b) { return unitAt[size_t(a)].lat < unitAt[size_t(b)].lat; });
        for (size_t i = 0; i < group.size(); ++i) {
            const GeoPoint a = unitAt[size_t(group[i])];
            for (size_t j = i + 1; j < group.size() && unitAt[size_t(group[j])].lat - a.lat <= reachInLatitude; ++j) {
                if (MetresBetween(a, unitAt[size_t(group[j])]) <= MergeDistance)
                    parent[size_t(root(parent, group[j]))] = root(parent, group[i]);
            }
        }
    }

    // Places in the order their first unit was met; a place lies at the
    // middle of its units.
    std::vector<int> placeOfRoot(units.size(), -1);
    std::vector<int> unitsInPlace;
    std::vector<int> placeOfUnit(units.size());
    for (size_t u = 0; u < units.size(); ++u) {
        const int r = root(parent, int(u));
        if (placeOfRoot[size_t(r)] < 0) {
            placeOfRoot[size_t(r)] = int(result.places.size());
            result.places.push_back({feed.stops[size_t(units[u].stop)].name, {}});
            unitsInPlace.push_back(0);
        }
        const int p = placeOfRoot[size_t(r)];
        placeOfUnit[u] = p;
        result.places[size_t(p)].at.lat += unitAt[u].lat;
        result.places[size_t(p)].at.lon += unitAt[u].lon;
        ++unitsInPlace[size_t(p)];
    }
    for (size_t p = 0; p < result.places.size(); ++p) {
        result.places[p].at.lat /= unitsInPlace[p];
        result.places[p].at.lon /= unitsInPlace[p];
    }
    for (size_t s = 0; s < feed.stops.size(); ++s) {
        if (unitOfStop[s] >= 0)
            result.placeOfStop[s] = placeOfUnit[size_t(unitOfStop[s])];
    }
    return result;
}

} // namespace tram::gtfs
