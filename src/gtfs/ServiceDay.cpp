#include "gtfs/ServiceDay.h"

#include <algorithm>
#include <map>

namespace tram::gtfs {

namespace {

// A calendar running for decades repeats itself; ten years hold its busiest day.
constexpr qint64 LongestRange = 3660;

struct Interval {
    int start;
    int end;
    int route;
};

// When the trip runs, from its stop times: first departure to last arrival.
std::optional<std::pair<int, int>> span(const Trip& trip)
{
    int first = -1, last = -1;
    for (const StopTime& time : trip.stops) {
        const int leaves = time.departure >= 0 ? time.departure : time.arrival;
        const int arrives = time.arrival >= 0 ? time.arrival : time.departure;
        if (first < 0 && leaves >= 0)
            first = leaves;
        if (arrives >= 0)
            last = arrives;
    }
    if (first < 0 || last < first)
        return std::nullopt;
    return std::pair{first, last};
}

// Each run of the trip: one, or one per departure of its frequencies.
std::vector<Interval> runsOf(const Trip& trip)
{
    std::vector<Interval> runs;
    const auto times = span(trip);
    if (!times)
        return runs;
    if (trip.frequencies.empty()) {
        runs.push_back({times->first, times->second, trip.route});
        return runs;
    }
    const int duration = times->second - times->first;
    for (const Frequency& f : trip.frequencies) {
        for (int start = f.start; start < f.end; start += f.headway)
            runs.push_back({start, start + duration, trip.route});
    }
    return runs;
}

int runCount(const Trip& trip)
{
    if (trip.frequencies.empty())
        return 1;
    int count = 0;
    for (const Frequency& f : trip.frequencies)
        count += f.end > f.start ? (f.end - f.start + f.headway - 1) / f.headway : 0;
    return count;
}

std::optional<qint64> busiestDay(const Feed& feed)
{
    std::vector<int> tripsOf(feed.services.size(), 0);
    for (const Trip& trip : feed.trips)
        tripsOf[size_t(trip.service)] += runCount(trip);
    std::map<qint64, long long> tripsOn;
    for (size_t s = 0; s < feed.services.size(); ++s) {
        const Service& service = feed.services[s];
        std::vector<qint64> days = service.added;
        if (service.weekly) {
            for (qint64 d = service.start; d <= std::min(service.end, service.start + LongestRange); ++d)
                days.push_back(d);
        }
        std::sort(days.begin(), days.end());
        days.erase(std::unique(days.begin(), days.end()), days.end());
        for (const qint64 d : days) {
            if (service.runsOn(d))
                tripsOn[d] += tripsOf[s];
        }
    }
    std::optional<qint64> best;
    long long most = -1;
    for (const auto& [d, trips] : tripsOn) {
        if (trips > most) {
            most = trips;
            best = d;
        }
    }
    return best;
}

} // namespace

TramsOnDay CountTrams(const Feed& feed, std::optional<qint64> day)
{
    TramsOnDay result;
    result.day = day ? day : busiestDay(feed);
    result.trams.assign(feed.routes.size(), 0);
    if (!result.day)
        return result;

    struct Event {
        int time;
        int change; // -1 sorts before +1: a trip that arrives as another leaves is not counted twice
        bool operator<(const Event& other) const
        {
            return time != other.time ? time < other.time : change < other.change;
        }
    };
    std::vector<Interval> runs;
    for (const Trip& trip : feed.trips) {
        if (!feed.services[size_t(trip.service)].runsOn(*result.day))
            continue;
        result.trips += runCount(trip);
        for (const Interval& run : runsOf(trip)) {
            if (run.end > run.start)
                runs.push_back(run);
        }
    }
    std::vector<Event> events;
    for (const Interval& run : runs) {
        events.push_back({run.start, +1});
        events.push_back({run.end, -1});
    }
    std::sort(events.begin(), events.end());
    int underway = 0, most = 0;
    for (const Event& e : events) {
        underway += e.change;
        if (underway > most) {
            most = underway;
            result.moment = e.time;
        }
    }
    for (const Interval& run : runs) {
        if (run.start <= result.moment && result.moment < run.end)
            ++result.trams[size_t(run.route)];
    }
    return result;
}

} // namespace tram::gtfs
