#include "gtfs/TrackNetwork.h"

#include "gtfs/DirectionPairs.h"
#include "gtfs/ShapeCuts.h"
#include "gtfs/SkippedStops.h"
#include "model/Scheme.h"

#include <QHash>
#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace tram::gtfs {

namespace {

struct Edge {
    int a = 0; // a < b
    int b = 0;
    bool hasCourse = false;
    std::vector<GeoPoint> course; // from a to b
};

struct Pattern {
    int trips = 0;
    int firstTrip = 0;
};

struct Traversal {
    int segment;
    bool forward;
};

class Builder {
public:
    Builder(const Feed& feed, const Places& places)
        : feed_(feed)
        , places_(places)
    {
    }

    TrackNetwork build()
    {
        collectEdges();
        choosePatterns();
        markSplits();
        buildSegments();
        followShapes();
        makeTracks();
        joinDirections();
        orderSegments();
        return finish();
    }

private:
    int edgeOf(int u, int v) const { return edgeIndex_.value(ordered(u, v), -1); }
    static std::pair<int, int> ordered(int u, int v) { return {std::min(u, v), std::max(u, v)}; }

    void collectEdges()
    {
        sequences_.reserve(feed_.trips.size());
        for (const Trip& trip : feed_.trips)
            sequences_.push_back(PlacesOf(trip, places_));
        BridgeSkippedStops(sequences_, places_);
        adjacent_.resize(places_.places.size());
        for (const PlaceSequence& sequence : sequences_) {
            const auto& seq = sequence.places;
            for (size_t i = 0; i + 1 < seq.size(); ++i) {
                const auto key = ordered(seq[i], seq[i + 1]);
                if (edgeIndex_.contains(key))
                    continue;
                edgeIndex_.insert(key, int(edges_.size()));
                edges_.push_back({key.first, key.second, false, {}});
                adjacent_[size_t(key.first)].push_back(key.second);
                adjacent_[size_t(key.second)].push_back(key.first);
            }
        }
    }

    // The most frequent pattern of each route; of equally frequent ones the
    // longer, then the first met.
    void choosePatterns()
    {
        std::vector<std::map<std::vector<int>, Pattern>> patterns(feed_.routes.size());
        for (size_t t = 0; t < feed_.trips.size(); ++t) {
            const auto& seq = sequences_[t].places;
            if (seq.size() < 2)
                continue;
            Pattern& pattern = patterns[size_t(feed_.trips[t].route)][seq];
            if (pattern.trips++ == 0)
                pattern.firstTrip = int(t);
        }
        chosen_.assign(feed_.routes.size(), -1);
        for (size_t r = 0; r < patterns.size(); ++r) {
            const Pattern* best = nullptr;
            for (const auto& [seq, pattern] : patterns[r]) {
                const size_t length = sequences_[size_t(pattern.firstTrip)].places.size();
                if (!best || pattern.trips > best->trips
                    || (pattern.trips == best->trips
                        && (length > sequences_[size_t(best->firstTrip)].places.size()
                            || (length == sequences_[size_t(best->firstTrip)].places.size()
                                && pattern.firstTrip < best->firstTrip))))
                    best = &pattern;
            }
            if (best)
                chosen_[r] = best->firstTrip;
        }
    }

    void markSplits()
    {
        split_.assign(places_.places.size(), false);
        for (size_t p = 0; p < adjacent_.size(); ++p)
            split_[p] = adjacent_[p].size() != 2;
        for (const int trip : chosen_) {
            if (trip < 0)
                continue;
            const auto& seq = sequences_[size_t(trip)].places;
            split_[size_t(seq.front())] = true;
            split_[size_t(seq.back())] = true;
            for (size_t i = 1; i + 1 < seq.size(); ++i) {
                if (seq[i - 1] == seq[i + 1])
                    split_[size_t(seq[i])] = true;
            }
        }
    }

    // Walks from a split place along the edge to `next` up to the next split
    // place (or back to the start, round a loop).
    void walk(int start, int next)
    {
        Chain chain;
        chain.places = {start};
        int previous = start;
        int current = next;
        for (;;) {
            const int edge = edgeOf(previous, current);
            used_[size_t(edge)] = true;
            chain.edges.push_back(edge);
            chain.places.push_back(current);
            if (split_[size_t(current)] || current == start)
                break;
            const auto& around = adjacent_[size_t(current)];
            const int following = around[0] == previous ? around[1] : around[0];
            previous = current;
            current = following;
        }
        for (size_t k = 0; k < chain.edges.size(); ++k)
            placeInChain_[size_t(chain.edges[k])] = {int(chains_.size()), int(k)};
        chains_.push_back(std::move(chain));
    }

    void buildSegments()
    {
        used_.assign(edges_.size(), false);
        placeInChain_.assign(edges_.size(), {-1, -1});
        for (size_t p = 0; p < adjacent_.size(); ++p) {
            if (!split_[p])
                continue;
            for (const int next : adjacent_[p]) {
                if (!used_[size_t(edgeOf(int(p), next))])
                    walk(int(p), next);
            }
        }
        // What is left are rings with no split place: each starts anywhere.
        for (size_t e = 0; e < edges_.size(); ++e) {
            if (!used_[e]) {
                split_[size_t(edges_[e].a)] = true;
                walk(edges_[e].a, edges_[e].b);
            }
        }
    }

    // The segments a place sequence passes, in order, with the direction.
    std::vector<Traversal> traverse(const std::vector<int>& seq) const
    {
        std::vector<Traversal> passed;
        size_t i = 0;
        while (i + 1 < seq.size()) {
            const auto [chain, k] = placeInChain_[size_t(edgeOf(seq[i], seq[i + 1]))];
            const Chain& c = chains_[size_t(chain)];
            const bool forward = c.places[size_t(k)] == seq[i];
            const size_t steps = forward ? c.edges.size() - size_t(k) : size_t(k) + 1;
            const JoinedTrack& joined = joined_[size_t(chain)];
            passed.push_back(joined.into < 0 ? Traversal{chain, forward}
                                             : Traversal{joined.into, forward != joined.reversed});
            i += steps;
        }
        return passed;
    }

    // Numbers and directions follow the routes: route 1's segments first,
    // each the way it is first passed.
    void orderSegments()
    {
        numberOf_.assign(chains_.size(), -1);
        reversed_.assign(chains_.size(), false);
        auto add = [&](int chain, bool forward) {
            if (numberOf_[size_t(chain)] >= 0 || joined_[size_t(chain)].into >= 0)
                return;
            numberOf_[size_t(chain)] = int(order_.size());
            reversed_[size_t(chain)] = !forward;
            order_.push_back(chain);
        };
        for (const int trip : chosen_) {
            if (trip >= 0) {
                for (const Traversal& t : traverse(sequences_[size_t(trip)].places))
                    add(t.segment, t.forward);
            }
        }
        for (size_t c = 0; c < chains_.size(); ++c)
            add(int(c), true);
        for (size_t c = 0; c < chains_.size(); ++c) {
            if (joined_[c].into >= 0)
                numberOf_[c] = numberOf_[size_t(joined_[c].into)];
        }
    }

    // The course of every edge from the first trip that passes it on a
    // shape, the trips of the chosen patterns first; a place goes where the
    // first course that reaches it is cut.
    void followShapes()
    {
        placeAt_.reserve(places_.places.size());
        for (const Place& place : places_.places)
            placeAt_.push_back(place.at);
        std::vector<bool> onShape(places_.places.size(), false);
        std::vector<int> trips;
        for (const int trip : chosen_) {
            if (trip >= 0)
                trips.push_back(trip);
        }
        for (size_t t = 0; t < feed_.trips.size(); ++t)
            trips.push_back(int(t));
        // A trip that passes places without calling gives no course there,
        // so it does not stand for the trips of its pattern that call.
        std::set<std::tuple<std::vector<int>, int, bool>> done;
        for (const int t : trips) {
            const Trip& trip = feed_.trips[size_t(t)];
            const PlaceSequence& seq = sequences_[size_t(t)];
            const bool passesSome = std::any_of(seq.steps.begin(), seq.steps.end(),
                                                [](auto step) { return step.first < 0; });
            if (trip.shape < 0 || feed_.shapes[size_t(trip.shape)].points.size() < 2
                || !done.insert({seq.places, trip.shape, passesSome}).second)
                continue;
            std::vector<ShapeCut> cuts;
            for (size_t i = 0; i + 1 < seq.places.size(); ++i) {
                Edge& edge = edges_[size_t(edgeOf(seq.places[i], seq.places[i + 1]))];
                const auto [from, to] = seq.steps[i];
                if (edge.hasCourse || from < 0)
                    continue;
                if (cuts.empty())
                    cuts = CutShape(feed_, trip, placesOf(trip));
                const Shape& shape = feed_.shapes[size_t(trip.shape)];
                edge.course = ShapeBetween(shape, cuts[size_t(from)], cuts[size_t(to)]);
                for (const auto& [place, cut] : {std::pair(seq.places[i], from), std::pair(seq.places[i + 1], to)}) {
                    if (!onShape[size_t(place)]) {
                        onShape[size_t(place)] = true;
                        placeAt_[size_t(place)] = PointOfCut(shape, cuts[size_t(cut)]);
                    }
                }
                if (seq.places[i] != edge.a)
                    std::reverse(edge.course.begin(), edge.course.end());
                edge.hasCourse = true;
            }
        }
    }

    // Each chain as a track from its first place to its last.
    void makeTracks()
    {
        for (const Chain& chain : chains_) {
            TrackSegment track;
            track.places = chain.places;
            for (size_t k = 0; k < chain.edges.size(); ++k) {
                track.courses.push_back(edges_[size_t(chain.edges[k])].course);
                if (chain.places[k] != edges_[size_t(chain.edges[k])].a)
                    std::reverse(track.courses.back().begin(), track.courses.back().end());
            }
            tracks_.push_back(std::move(track));
        }
    }

    // The trips that pass each chain each way tell which are one-way.
    void joinDirections()
    {
        std::vector<TrackUse> use(chains_.size());
        for (const PlaceSequence& sequence : sequences_) {
            const auto& seq = sequence.places;
            std::set<std::pair<int, bool>> passed;
            for (size_t i = 0; i + 1 < seq.size(); ++i) {
                const auto [chain, k] = placeInChain_[size_t(edgeOf(seq[i], seq[i + 1]))];
                passed.insert({chain, chains_[size_t(chain)].places[size_t(k)] == seq[i]});
            }
            for (const auto& [chain, forward] : passed)
                ++(forward ? use[size_t(chain)].forward : use[size_t(chain)].backward);
        }
        joined_ = JoinDirectionPairs(tracks_, use, placeAt_, MaxPoints);
    }

    std::vector<GeoPoint> placesOf(const Trip& trip) const
    {
        std::vector<GeoPoint> at;
        for (const StopTime& time : trip.stops)
            at.push_back(places_.places[size_t(places_.placeOfStop[size_t(time.stop)])].at);
        return at;
    }

    TrackNetwork finish() const
    {
        TrackNetwork network;
        network.placeAt = placeAt_;
        network.directionPairsJoined = int(
            std::count_if(joined_.begin(), joined_.end(), [](const JoinedTrack& j) { return j.into >= 0; }));
        for (const int c : order_) {
            TrackSegment segment = tracks_[size_t(c)];
            if (reversed_[size_t(c)]) {
                std::reverse(segment.places.begin(), segment.places.end());
                std::reverse(segment.courses.begin(), segment.courses.end());
                for (auto& course : segment.courses)
                    std::reverse(course.begin(), course.end());
            }
            network.segments.push_back(std::move(segment));
        }
        const size_t routes = feed_.routes.size();
        network.routeSegments.resize(routes);
        for (size_t r = 0; r < routes; ++r) {
            if (chosen_[r] >= 0) {
                for (const Traversal& t : traverse(sequences_[size_t(chosen_[r])].places))
                    network.routeSegments[r].push_back(numberOf_[size_t(t.segment)]);
            }
        }
        std::vector<std::set<int>> segmentsUsed(routes), placesUsed(routes);
        for (size_t t = 0; t < feed_.trips.size(); ++t) {
            const auto& seq = sequences_[t].places;
            const size_t r = size_t(feed_.trips[t].route);
            placesUsed[r].insert(seq.begin(), seq.end());
            for (size_t i = 0; i + 1 < seq.size(); ++i)
                segmentsUsed[r].insert(numberOf_[size_t(placeInChain_[size_t(edgeOf(seq[i], seq[i + 1]))].first)]);
        }
        for (size_t r = 0; r < routes; ++r) {
            network.routeUsesSegments.emplace_back(segmentsUsed[r].begin(), segmentsUsed[r].end());
            network.routeUsesPlaces.emplace_back(placesUsed[r].begin(), placesUsed[r].end());
        }
        return network;
    }

    struct Chain {
        std::vector<int> places;
        std::vector<int> edges;
    };

    const Feed& feed_;
    const Places& places_;
    std::vector<PlaceSequence> sequences_; // per trip
    std::vector<Edge> edges_;
    QHash<std::pair<int, int>, int> edgeIndex_;
    std::vector<std::vector<int>> adjacent_; // per place
    std::vector<int> chosen_;                // per route: a trip of its pattern, or -1
    std::vector<bool> split_;                // per place
    std::vector<Chain> chains_;
    std::vector<bool> used_;                        // per edge
    std::vector<std::pair<int, int>> placeInChain_; // per edge: chain and step
    std::vector<int> numberOf_;                     // per chain: its segment's index
    std::vector<bool> reversed_;                    // per chain
    std::vector<int> order_;                        // chains by segment index
    std::vector<GeoPoint> placeAt_;                 // per place
    std::vector<TrackSegment> tracks_;              // per chain, from its first place
    std::vector<JoinedTrack> joined_;               // per chain
};

} // namespace

PlaceSequence PlacesOf(const Trip& trip, const Places& places)
{
    PlaceSequence seq;
    for (size_t i = 0; i < trip.stops.size(); ++i) {
        const int place = places.placeOfStop[size_t(trip.stops[i].stop)];
        if (!seq.places.empty() && seq.places.back() == place)
            continue;
        if (!seq.places.empty())
            seq.steps.push_back({int(i) - 1, int(i)});
        seq.places.push_back(place);
    }
    return seq;
}

TrackNetwork BuildNetwork(const Feed& feed, const Places& places)
{
    return Builder(feed, places).build();
}

} // namespace tram::gtfs
