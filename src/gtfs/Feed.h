#pragma once

#include <QString>
#include <cmath>
#include <optional>
#include <vector>

namespace tram::gtfs {

struct GeoPoint {
    double lat = 0;
    double lon = 0;
};

struct Stop {
    QString name;
    GeoPoint at;
    bool hasPosition = false;
    int parent = -1; // index of the parent station, or -1
    int line = 0;    // in stops.txt, for messages
};

struct Route {
    QString id;
    QString shortName;
    QString longName;
    std::optional<long long> sortOrder;
    // How the user knows the route: its short name, else its long name, else its id.
    QString shownName() const;
};

struct StopTime {
    int stop = 0;
    int sequence = 0;
    int arrival = -1; // seconds of the service day, -1 when not given
    int departure = -1;
    double shapeDistance = NAN;
    int line = 0; // in stop_times.txt, for messages
};

// Headway-based service: the trip runs every `headway` seconds from start
// (included) to end (excluded).
struct Frequency {
    int start = 0;
    int end = 0;
    int headway = 0;
};

struct Trip {
    QString id;
    int route = 0;               // index in Feed::routes
    int service = 0;             // index in Feed::services
    int shape = -1;              // index in Feed::shapes, or -1
    std::vector<StopTime> stops; // in stop_sequence order
    std::vector<Frequency> frequencies;
};

struct ShapePoint {
    GeoPoint at;
    double distance = NAN;
};

struct Shape {
    std::vector<ShapePoint> points; // in shape_pt_sequence order
};

// A service_id: the weekly pattern of calendar.txt and the exceptions of
// calendar_dates.txt. Days are Julian day numbers.
struct Service {
    QString id;
    bool weekly = false;
    bool weekdays[7] = {}; // Monday first
    qint64 start = 0;
    qint64 end = -1;
    std::vector<qint64> added;   // sorted
    std::vector<qint64> removed; // sorted
    bool runsOn(qint64 day) const;
};

// The tram part of a feed: the chosen tram routes, their trips with their
// stop times, the shapes those trips follow, every stop and the services.
struct Feed {
    std::vector<Stop> stops;
    std::vector<Route> routes;
    std::vector<Trip> trips;
    std::vector<Shape> shapes;
    std::vector<Service> services;
};

} // namespace tram::gtfs
