#include "gtfs/SchemeFit.h"

#include "model/Scheme.h"

#include <algorithm>
#include <set>

namespace tram::gtfs {

namespace {

// "2 (14), 5 (12)": the routes with what each needs, the largest first.
QString routeShares(const Feed& feed, const std::vector<int>& order, const std::vector<int>& share)
{
    std::vector<int> needing;
    for (const int r : order) {
        if (share[size_t(r)] > 0)
            needing.push_back(r);
    }
    std::stable_sort(needing.begin(), needing.end(), [&](int a, int b) { return share[size_t(a)] > share[size_t(b)]; });
    QStringList parts;
    for (const int r : needing)
        parts << QStringLiteral("%1 (%2)").arg(feed.routes[size_t(r)].shownName()).arg(share[size_t(r)]);
    return parts.join(u", ");
}

QString problem(const QString& what, int needed, int limit, const QString& routes)
{
    return QStringLiteral("%1: potrebno %2, a najvise moze biti %3; trebaju ih linije: %4")
        .arg(what)
        .arg(needed)
        .arg(limit)
        .arg(routes);
}

} // namespace

std::vector<int> SchemeRouteOrder(const Feed& feed, const TrackNetwork& network)
{
    std::vector<int> order;
    for (size_t r = 0; r < feed.routes.size(); ++r) {
        if (!network.routeSegments[r].empty())
            order.push_back(int(r));
    }
    return order;
}

QStringList LimitProblems(const Feed& feed, const TrackNetwork& network, const std::vector<int>& order,
                          const TramsOnDay& trams)
{
    QStringList problems;
    std::vector<int> one(feed.routes.size(), 1);
    if (int(order.size()) > MaxRoutes)
        problems << problem(QStringLiteral("rute"), int(order.size()), MaxRoutes, routeShares(feed, order, one));

    std::vector<int> segmentsOf(feed.routes.size()), placesOf(feed.routes.size());
    for (size_t r = 0; r < feed.routes.size(); ++r) {
        segmentsOf[r] = int(network.routeUsesSegments[r].size());
        placesOf[r] = int(network.routeUsesPlaces[r].size());
    }
    if (int(network.segments.size()) > MaxSegments)
        problems << problem(QStringLiteral("segmenti"), int(network.segments.size()), MaxSegments,
                            routeShares(feed, order, segmentsOf));

    for (size_t s = 0; s < network.segments.size(); ++s) {
        const int places = int(network.segments[s].places.size());
        if (places <= MaxPoints)
            continue;
        std::vector<int> passing(feed.routes.size(), 0);
        for (size_t r = 0; r < feed.routes.size(); ++r) {
            const auto& used = network.routeUsesSegments[r];
            passing[r] = std::binary_search(used.begin(), used.end(), int(s)) ? places : 0;
        }
        problems << problem(QStringLiteral("tacke segmenta %1 (jedna po stanici)").arg(s + 1), places, MaxPoints,
                            routeShares(feed, order, passing));
    }

    std::set<int> stations;
    for (const TrackSegment& segment : network.segments)
        stations.insert(segment.places.begin(), segment.places.end());
    if (int(stations.size()) > MaxStations)
        problems << problem(QStringLiteral("stanice"), int(stations.size()), MaxStations,
                            routeShares(feed, order, placesOf));

    for (const int r : order) {
        const int length = int(network.routeSegments[size_t(r)].size());
        if (length > MaxRouteSlots) {
            std::vector<int> own(feed.routes.size(), 0);
            own[size_t(r)] = length;
            problems << problem(QStringLiteral("segmenti rute linije %1").arg(feed.routes[size_t(r)].shownName()),
                                length, MaxRouteSlots, routeShares(feed, order, own));
        }
    }

    int tramCount = 0;
    for (const int r : order)
        tramCount += trams.trams[size_t(r)];
    if (tramCount > MaxTrams)
        problems << problem(QStringLiteral("vlakoni"), tramCount, MaxTrams, routeShares(feed, order, trams.trams));
    return problems;
}

} // namespace tram::gtfs
