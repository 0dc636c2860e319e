#include "gtfs/Places.h"

#include "gtfs/FeedError.h"
#include "gtfs/GeoDistance.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>

namespace tram::gtfs {

namespace {

// Platforms of one stop on the two sides of a junction lie this far apart.
constexpr double MergeDistance = 300;

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

// A station, or a stop without one, that the tram trips call at.
struct Unit {
    int stop = 0;
    GeoPoint sum; // of the positions of the stops called at
    int count = 0;
    GeoPoint at;
    int name = -1; // among the units' names; -1 for none
    // Sorted: the trips' sets of stops that call at it and at another unit
    // of its name.
    std::vector<int> tripsWithNamesake;
};

class Merger {
public:
    explicit Merger(const Feed& feed)
        : feed_(feed)
    {
    }

    Places merge()
    {
        collectUnits();
        nameUnits();
        markNamesakesOfOneTrip();
        makePlaces(groups());
        return std::move(result_);
    }

private:
    void collectUnits()
    {
        result_.placeOfStop.assign(feed_.stops.size(), -1);
        unitOfStop_.assign(feed_.stops.size(), -1);
        std::vector<int> unitIndex(feed_.stops.size(), -1);
        for (const Trip& trip : feed_.trips) {
            for (const StopTime& time : trip.stops) {
                if (unitOfStop_[size_t(time.stop)] >= 0)
                    continue;
                const Stop& stop = feed_.stops[size_t(time.stop)];
                if (!stop.hasPosition)
                    FailAt(QStringLiteral("stops.txt"), stop.line, -1, QStringLiteral("stop_lat"),
                           QStringLiteral("stajaliste \"%1\" nema polozaj, a tramvaj na njemu staje").arg(stop.name));
                const int station = unitOf(feed_, time.stop);
                if (unitIndex[size_t(station)] < 0) {
                    unitIndex[size_t(station)] = int(units_.size());
                    units_.push_back({station, {}, 0, {}, -1, {}});
                }
                Unit& unit = units_[size_t(unitIndex[size_t(station)])];
                unit.sum.lat += stop.at.lat;
                unit.sum.lon += stop.at.lon;
                ++unit.count;
                unitOfStop_[size_t(time.stop)] = unitIndex[size_t(station)];
                ++result_.stopsUsed;
            }
        }
        for (Unit& unit : units_) {
            const Stop& station = feed_.stops[size_t(unit.stop)];
            unit.at = station.hasPosition ? station.at : GeoPoint{unit.sum.lat / unit.count, unit.sum.lon / unit.count};
        }
    }

    void nameUnits()
    {
        QHash<QString, int> index;
        for (size_t u = 0; u < units_.size(); ++u) {
            const QString& name = feed_.stops[size_t(units_[u].stop)].name;
            if (name.isEmpty())
                continue;
            const auto found = index.constFind(name);
            units_[u].name = found != index.constEnd() ? *found : int(byName_.size());
            if (found == index.constEnd()) {
                index.insert(name, int(byName_.size()));
                byName_.emplace_back();
            }
            byName_[size_t(units_[u].name)].push_back(int(u));
        }
    }

    // Trips of one set of stops are looked at once: a feed has thousands of
    // trips and a few dozen such sets.
    void markNamesakesOfOneTrip()
    {
        std::map<std::vector<int>, int> known;
        for (const Trip& trip : feed_.trips) {
            std::vector<int> called;
            for (const StopTime& time : trip.stops) {
                const int u = unitOfStop_[size_t(time.stop)];
                if (units_[size_t(u)].name >= 0)
                    called.push_back(u);
            }
            std::sort(called.begin(), called.end(), [&](int a, int b) {
                return std::pair(units_[size_t(a)].name, a) < std::pair(units_[size_t(b)].name, b);
            });
            called.erase(std::unique(called.begin(), called.end()), called.end());
            std::vector<int> namesakes;
            for (size_t i = 0; i < called.size(); ++i) {
                const int name = units_[size_t(called[i])].name;
                if ((i > 0 && units_[size_t(called[i - 1])].name == name)
                    || (i + 1 < called.size() && units_[size_t(called[i + 1])].name == name))
                    namesakes.push_back(called[i]);
            }
            if (namesakes.empty())
                continue;
            const auto [entry, added] = known.try_emplace(namesakes, int(known.size()));
            if (added) {
                for (const int u : namesakes)
                    units_[size_t(u)].tripsWithNamesake.push_back(entry->second);
            }
        }
    }

    bool oneTripCallsAtBoth(int a, int b) const
    {
        const auto& x = units_[size_t(a)].tripsWithNamesake;
        const auto& y = units_[size_t(b)].tripsWithNamesake;
        for (size_t i = 0, j = 0; i < x.size() && j < y.size();) {
            if (x[i] == y[j])
                return true;
            x[i] < y[j] ? ++i : ++j;
        }
        return false;
    }

    double metres(int a, int b) const { return MetresBetween(units_[size_t(a)].at, units_[size_t(b)].at); }

    // Units of one name within reach of each other, in chains; each chain
    // split where it must be.
    std::vector<std::vector<int>> groups()
    {
        std::vector<int> parent(units_.size());
        std::iota(parent.begin(), parent.end(), 0);
        // Sorted from south to north, a unit is compared only with those
        // within reach in latitude, so a name shared by many stops costs little.
        const double reachInLatitude = DegreesOfLatitude(MergeDistance);
        auto latitude = [&](int u) { return units_[size_t(u)].at.lat; };
        for (std::vector<int> group : byName_) {
            std::sort(group.begin(), group.end(), [&](int a, int b) { return latitude(a) < latitude(b); });
            for (size_t i = 0; i < group.size(); ++i) {
                for (size_t j = i + 1; j < group.size() && latitude(group[j]) - latitude(group[i]) <= reachInLatitude;
                     ++j) {
                    if (metres(group[i], group[j]) <= MergeDistance)
                        parent[size_t(root(parent, group[j]))] = root(parent, group[i]);
                }
            }
        }
        std::vector<std::vector<int>> chains(units_.size());
        for (size_t u = 0; u < units_.size(); ++u)
            chains[size_t(root(parent, int(u)))].push_back(int(u));
        std::vector<std::vector<int>> result;
        for (const std::vector<int>& chain : chains) {
            if (chain.empty())
                continue;
            for (std::vector<int>& group : split(chain))
                result.push_back(std::move(group));
        }
        return result;
    }

    // In order along the longer side of the chain, each unit joins the
    // group whose farthest unit is nearest, of those whose every unit lies
    // within reach and shares no trip with it; else it starts a group.
    std::vector<std::vector<int>> split(std::vector<int> chain) const
    {
        if (chain.size() < 2)
            return {chain};
        GeoPoint low{90, 180}, high{-90, -180};
        for (const int u : chain) {
            const GeoPoint at = units_[size_t(u)].at;
            low = {std::min(low.lat, at.lat), std::min(low.lon, at.lon)};
            high = {std::max(high.lat, at.lat), std::max(high.lon, at.lon)};
        }
        const bool northward = MetresBetween(low, {high.lat, low.lon}) >= MetresBetween(low, {low.lat, high.lon});
        std::stable_sort(chain.begin(), chain.end(), [&](int a, int b) {
            const GeoPoint x = units_[size_t(a)].at, y = units_[size_t(b)].at;
            return northward ? x.lat < y.lat : x.lon < y.lon;
        });
        std::vector<std::vector<int>> result;
        for (const int u : chain) {
            int best = -1;
            double bestFarthest = std::numeric_limits<double>::infinity();
            for (size_t g = 0; g < result.size(); ++g) {
                double farthest = 0;
                for (const int v : result[g]) {
                    const double d = metres(u, v);
                    farthest = d > MergeDistance || oneTripCallsAtBoth(u, v) ? std::numeric_limits<double>::infinity()
                                                                             : std::max(farthest, d);
                }
                if (farthest < bestFarthest) {
                    best = int(g);
                    bestFarthest = farthest;
                }
            }
            if (best < 0)
                result.push_back({u});
            else
                result[size_t(best)].push_back(u);
        }
        return result;
    }

    // Places in the order their first unit was met; a place lies at the
    // middle of its units.
    void makePlaces(std::vector<std::vector<int>> groups)
    {
        for (std::vector<int>& group : groups)
            std::sort(group.begin(), group.end());
        std::sort(groups.begin(), groups.end());
        std::vector<int> placeOfUnit(units_.size());
        for (const std::vector<int>& group : groups) {
            Place place{feed_.stops[size_t(units_[size_t(group.front())].stop)].name, {}};
            for (const int u : group) {
                place.at.lat += units_[size_t(u)].at.lat;
                place.at.lon += units_[size_t(u)].at.lon;
                placeOfUnit[size_t(u)] = int(result_.places.size());
            }
            place.at.lat /= double(group.size());
            place.at.lon /= double(group.size());
            result_.places.push_back(place);
        }
        std::vector<int> stopsInPlace(result_.places.size(), 0);
        for (size_t s = 0; s < feed_.stops.size(); ++s) {
            if (unitOfStop_[s] >= 0)
                ++stopsInPlace[size_t(result_.placeOfStop[s] = placeOfUnit[size_t(unitOfStop_[s])])];
        }
        for (const int count : stopsInPlace)
            result_.stopsMerged += count > 1 ? count : 0;
    }

    const Feed& feed_;
    Places result_;
    std::vector<Unit> units_;              // in the order the trips first call at them
    std::vector<int> unitOfStop_;          // -1 for a stop no trip calls at
    std::vector<std::vector<int>> byName_; // units of each name
};

} // namespace

Places MergeStops(const Feed& feed)
{
    return Merger(feed).merge();
}

} // namespace tram::gtfs
