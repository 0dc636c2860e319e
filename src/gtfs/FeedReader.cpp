#include "gtfs/FeedReader.h"

#include "gtfs/FeedError.h"
#include "gtfs/FeedTable.h"

#include <QHash>
#include <algorithm>
#include <limits>
#include <numeric>

namespace tram::gtfs {

namespace {

constexpr long long MaxIndex = std::numeric_limits<int>::max();
// Far more departures of one frequency than any timetable has: the cap keeps
// a hostile file from filling memory.
constexpr int MaxDepartures = 10000;

QByteArray key(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// A lookup key without a copy, for the rows that are mostly skipped.
QByteArray keyView(std::string_view text)
{
    return QByteArray::fromRawData(text.data(), qsizetype(text.size()));
}

// The number a short name starts with, or nothing.
std::optional<long long> leadingNumber(const QString& name)
{
    qsizetype digits = 0;
    while (digits < name.size() && digits < 18 && name[digits].isDigit())
        ++digits;
    if (digits == 0)
        return std::nullopt;
    return name.left(digits).toLongLong();
}

bool comesBefore(const Route& a, const Route& b)
{
    if (a.sortOrder.has_value() != b.sortOrder.has_value())
        return a.sortOrder.has_value();
    if (a.sortOrder != b.sortOrder)
        return *a.sortOrder < *b.sortOrder;
    const auto na = leadingNumber(a.shortName), nb = leadingNumber(b.shortName);
    if (na.has_value() != nb.has_value())
        return na.has_value();
    if (na != nb)
        return *na < *nb;
    if (a.shortName != b.shortName)
        return a.shortName < b.shortName;
    return a.id < b.id;
}

class Reader {
public:
    explicit Reader(FeedFiles& files)
        : files_(files)
    {
    }

    Feed read(const QStringList& wanted)
    {
        readStops();
        readRoutes(wanted);
        readTrips();
        readStopTimes();
        readShapes();
        readCalendars();
        readFrequencies();
        return std::move(feed_);
    }

private:
    void readStops()
    {
        enum { Id, Name, Lat, Lon, Parent };
        static constexpr Column columns[] = {
            {"stop_id", true}, {"stop_name", false}, {"stop_lat", true}, {"stop_lon", true}, {"parent_station", false}};
        struct PendingParent {
            int stop;
            QByteArray parent;
            qint64 line;
        };
        std::vector<PendingParent> parents;
        ReadTable(files_, QStringLiteral("stops.txt"), true, columns, [&](const Row& row) {
            const QByteArray id = key(row.required(Id));
            if (stopIds_.contains(id))
                row.fail(Id, QStringLiteral("stop_id \"%1\" se ponavlja").arg(QString::fromUtf8(id)));
            Stop stop;
            stop.name = row.name(Name);
            stop.line = int(std::min<qint64>(row.line(), MaxIndex));
            const auto lat = row.optionalReal(Lat, -90, 90);
            const auto lon = row.optionalReal(Lon, -180, 180);
            stop.hasPosition = lat && lon;
            if (stop.hasPosition)
                stop.at = {*lat, *lon};
            const int index = int(feed_.stops.size());
            stopIds_.insert(id, index);
            if (!row.isEmpty(Parent))
                parents.push_back({index, key(row.text(Parent)), row.line()});
            feed_.stops.push_back(std::move(stop));
        });
        for (const PendingParent& p : parents) {
            const auto found = stopIds_.constFind(p.parent);
            if (found == stopIds_.constEnd())
                FailAt(QStringLiteral("stops.txt"), p.line, -1, QStringLiteral("parent_station"),
                       QStringLiteral("\"%1\" ne imenuje nijedno stajaliste").arg(QString::fromUtf8(p.parent)));
            feed_.stops[size_t(p.stop)].parent = *found;
        }
    }

    void readRoutes(const QStringList& wanted)
    {
        enum { Id, ShortName, LongName, Type, SortOrder };
        static constexpr Column columns[] = {{"route_id", true},
                                             {"route_short_name", false},
                                             {"route_long_name", false},
                                             {"route_type", true},
                                             {"route_sort_order", false}};
        QStringList unmatched = wanted;
        ReadTable(files_, QStringLiteral("routes.txt"), true, columns, [&](const Row& row) {
            const QByteArray id = key(row.required(Id));
            if (routeIds_.contains(id))
                row.fail(Id, QStringLiteral("route_id \"%1\" se ponavlja").arg(QString::fromUtf8(id)));
            const long long type = row.integer(Type, 0, 1999);
            Route route{QString::fromUtf8(id), row.name(ShortName), row.name(LongName),
                        row.optionalInteger(SortOrder, 0, std::numeric_limits<long long>::max())};
            const bool chosen = IsTramRouteType(type)
                && (wanted.isEmpty() || wanted.contains(route.id) || wanted.contains(route.shortName));
            if (!chosen) {
                routeIds_.insert(id, -1);
                return;
            }
            unmatched.removeAll(route.id);
            unmatched.removeAll(route.shortName);
            routeIds_.insert(id, int(feed_.routes.size()));
            feed_.routes.push_back(std::move(route));
        });
        sortRoutes();
        if (!unmatched.isEmpty())
            FailIn(QStringLiteral("routes.txt"),
                   QStringLiteral("nema tramvajske linije s route_short_name ili route_id: %1")
                       .arg(unmatched.join(u", ")));
        if (feed_.routes.empty())
            FailIn(QStringLiteral("routes.txt"),
                   QStringLiteral("nema nijedne tramvajske linije (route_type 0 ili 900..906)"));
    }

    void sortRoutes()
    {
        std::vector<int> order(feed_.routes.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return comesBefore(feed_.routes[size_t(a)], feed_.routes[size_t(b)]); });
        std::vector<int> newIndex(order.size());
        std::vector<Route> sorted;
        for (size_t i = 0; i < order.size(); ++i) {
            newIndex[size_t(order[i])] = int(i);
            sorted.push_back(std::move(feed_.routes[size_t(order[i])]));
        }
        feed_.routes = std::move(sorted);
        for (int& index : routeIds_) {
            if (index >= 0)
                index = newIndex[size_t(index)];
        }
    }

    int serviceIndex(const QByteArray& id)
    {
        const auto found = serviceIds_.constFind(id);
        if (found != serviceIds_.constEnd())
            return *found;
        const int index = int(feed_.services.size());
        serviceIds_.insert(id, index);
        Service service;
        service.id = QString::fromUtf8(id);
        feed_.services.push_back(std::move(service));
        return index;
    }

    void readTrips()
    {
        enum { RouteId, ServiceId, TripId, ShapeId };
        static constexpr Column columns[] = {{"route_id", true},
                                             {"service_id", true},
                                             {"trip_id", true},
                                             {"shape_id", false}};
        ReadTable(files_, QStringLiteral("trips.txt"), true, columns, [&](const Row& row) {
            const auto route = routeIds_.constFind(keyView(row.required(RouteId)));
            if (route == routeIds_.constEnd())
                row.fail(RouteId, QStringLiteral("\"%1\" ne imenuje nijednu liniju").arg(row.name(RouteId)));
            const QByteArray service = key(row.required(ServiceId));
            const QByteArray id = key(row.required(TripId));
            if (*route < 0)
                return;
            if (tripIds_.contains(id))
                row.fail(TripId, QStringLiteral("trip_id \"%1\" se ponavlja").arg(QString::fromUtf8(id)));
            Trip trip;
            trip.id = QString::fromUtf8(id);
            trip.route = *route;
            trip.service = serviceIndex(service);
            if (!row.isEmpty(ShapeId)) {
                const QByteArray shape = key(row.text(ShapeId));
                trip.shape = shapeIds_.value(shape, int(shapeIds_.size()));
                shapeIds_.insert(shape, trip.shape);
            }
            tripIds_.insert(id, int(feed_.trips.size()));
            feed_.trips.push_back(std::move(trip));
        });
        feed_.shapes.resize(size_t(shapeIds_.size()));
    }

    void readStopTimes()
    {
        enum { TripId, Arrival, Departure, StopId, Sequence, ShapeDistance };
        static constexpr Column columns[] = {{"trip_id", true},         {"arrival_time", false},
                                             {"departure_time", false}, {"stop_id", true},
                                             {"stop_sequence", true},   {"shape_dist_traveled", false}};
        const QString file = QStringLiteral("stop_times.txt");
        ReadTable(files_, file, true, columns, [&](const Row& row) {
            const auto trip = tripIds_.constFind(keyView(row.text(TripId)));
            if (trip == tripIds_.constEnd())
                return;
            const auto stop = stopIds_.constFind(keyView(row.required(StopId)));
            if (stop == stopIds_.constEnd())
                row.fail(StopId, QStringLiteral("\"%1\" ne imenuje nijedno stajaliste").arg(row.name(StopId)));
            StopTime time;
            time.stop = *stop;
            time.sequence = int(row.integer(Sequence, 0, MaxIndex));
            time.arrival = row.optionalTime(Arrival).value_or(-1);
            time.departure = row.optionalTime(Departure).value_or(-1);
            time.shapeDistance = row.optionalReal(ShapeDistance, 0, 1e12).value_or(NAN);
            time.line = int(std::min<qint64>(row.line(), MaxIndex));
            feed_.trips[size_t(*trip)].stops.push_back(time);
        });
        for (Trip& trip : feed_.trips) {
            std::stable_sort(trip.stops.begin(), trip.stops.end(),
                             [](const StopTime& a, const StopTime& b) { return a.sequence < b.sequence; });
            const auto twice = std::adjacent_find(trip.stops.begin(), trip.stops.end(),
                                                  [](const StopTime& a, const StopTime& b) {
                                                      return a.sequence == b.sequence;
                                                  });
            if (twice != trip.stops.end())
                FailAt(file, std::next(twice)->line, -1, QStringLiteral("stop_sequence"),
                       QStringLiteral("voznja \"%1\" vec ima stop_sequence %2").arg(trip.id).arg(twice->sequence));
        }
    }

    void readShapes()
    {
        enum { Id, Lat, Lon, Sequence, Distance };
        static constexpr Column columns[] = {{"shape_id", true},
                                             {"shape_pt_lat", true},
                                             {"shape_pt_lon", true},
                                             {"shape_pt_sequence", true},
                                             {"shape_dist_traveled", false}};
        if (shapeIds_.isEmpty())
            return;
        std::vector<std::vector<std::pair<long long, ShapePoint>>> points(feed_.shapes.size());
        ReadTable(files_, QStringLiteral("shapes.txt"), false, columns, [&](const Row& row) {
            const auto shape = shapeIds_.constFind(keyView(row.text(Id)));
            if (shape == shapeIds_.constEnd())
                return;
            ShapePoint point;
            point.at = {row.real(Lat, -90, 90), row.real(Lon, -180, 180)};
            point.distance = row.optionalReal(Distance, 0, 1e12).value_or(NAN);
            points[size_t(*shape)].emplace_back(row.integer(Sequence, 0, MaxIndex), point);
        });
        for (size_t s = 0; s < points.size(); ++s) {
            auto& list = points[s];
            std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
            for (const auto& [sequence, point] : list)
                feed_.shapes[s].points.push_back(point);
        }
    }

    Service* knownService(const Row& row, int column)
    {
        const auto found = serviceIds_.constFind(keyView(row.required(column)));
        return found == serviceIds_.constEnd() ? nullptr : &feed_.services[size_t(*found)];
    }

    void readCalendars()
    {
        enum { Id, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday, Start, End };
        static constexpr Column weekly[] = {{"service_id", true}, {"monday", true},   {"tuesday", true},
                                            {"wednesday", true},  {"thursday", true}, {"friday", true},
                                            {"saturday", true},   {"sunday", true},   {"start_date", true},
                                            {"end_date", true}};
        const bool hasWeekly = ReadTable(files_, QStringLiteral("calendar.txt"), false, weekly, [&](const Row& row) {
            Service* service = knownService(row, Id);
            bool days[7];
            for (int d = 0; d < 7; ++d)
                days[d] = row.integer(Monday + d, 0, 1) == 1;
            const qint64 start = row.date(Start);
            const qint64 end = row.date(End);
            if (!service)
                return;
            service->weekly = true;
            std::copy(std::begin(days), std::end(days), service->weekdays);
            service->start = start;
            service->end = end;
        });
        enum { DateId, Date, Exception };
        static constexpr Column exceptions[] = {{"service_id", true}, {"date", true}, {"exception_type", true}};
        const bool hasDates = ReadTable(files_, QStringLiteral("calendar_dates.txt"), false, exceptions,
                                        [&](const Row& row) {
                                            Service* service = knownService(row, DateId);
                                            const qint64 date = row.date(Date);
                                            const long long type = row.integer(Exception, 1, 2);
                                            if (service)
                                                (type == 1 ? service->added : service->removed).push_back(date);
                                        });
        for (Service& service : feed_.services) {
            std::sort(service.added.begin(), service.added.end());
            std::sort(service.removed.begin(), service.removed.end());
        }
        if (!hasWeekly && !hasDates)
            FailIn(QStringLiteral("calendar.txt"), QStringLiteral("feed nema ni calendar.txt ni calendar_dates.txt"));
    }

    void readFrequencies()
    {
        enum { TripId, Start, End, Headway };
        static constexpr Column columns[] = {{"trip_id", true},
                                             {"start_time", true},
                                             {"end_time", true},
                                             {"headway_secs", true}};
        ReadTable(files_, QStringLiteral("frequencies.txt"), false, columns, [&](const Row& row) {
            const auto trip = tripIds_.constFind(keyView(row.required(TripId)));
            if (trip == tripIds_.constEnd())
                return;
            const Frequency frequency{row.time(Start), row.time(End), int(row.integer(Headway, 1, MaxIndex))};
            if ((frequency.end - frequency.start) / frequency.headway > MaxDepartures)
                row.fail(Headway,
                         QStringLiteral("od start_time do end_time daje vise od %1 polazaka").arg(MaxDepartures));
            feed_.trips[size_t(*trip)].frequencies.push_back(frequency);
        });
    }

    FeedFiles& files_;
    Feed feed_;
    QHash<QByteArray, int> stopIds_;
    QHash<QByteArray, int> routeIds_; // -1 for the routes not imported
    QHash<QByteArray, int> tripIds_;  // tram trips only
    QHash<QByteArray, int> shapeIds_;
    QHash<QByteArray, int> serviceIds_;
};

} // namespace

bool IsTramRouteType(long long type)
{
    return type == 0 || (type >= 900 && type <= 906);
}

Feed ReadFeed(FeedFiles& files, const QStringList& wanted)
{
    return Reader(files).read(wanted);
}

} // namespace tram::gtfs
