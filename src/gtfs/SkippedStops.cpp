#include "gtfs/SkippedStops.h"

#include "gtfs/GeoDistance.h"

#include <algorithm>
#include <map>
#include <set>

namespace tram::gtfs {

namespace {

constexpr int MostSkipped = 3;
// A way round through other streets is longer than this; a street that
// bends between its stops is not.
constexpr double Straightness = 1.05;
// Places looked at in the search for one step's way: far more than any
// real network needs, and a bound for a feed of many places in one spot.
constexpr int SearchBudget = 2000;

using Step = std::pair<int, int>; // the lower place first

Step ordered(int u, int v)
{
    return {std::min(u, v), std::max(u, v)};
}

class Bridges {
public:
    Bridges(const std::vector<PlaceSequence>& sequences, const Places& places)
        : places_(places)
    {
        adjacent_.resize(places.places.size());
        for (const PlaceSequence& seq : sequences) {
            for (size_t i = 0; i + 1 < seq.places.size(); ++i) {
                adjacent_[size_t(seq.places[i])].insert(seq.places[i + 1]);
                adjacent_[size_t(seq.places[i + 1])].insert(seq.places[i]);
            }
        }
    }

    // The longest steps first: the places a long step passes are joined by
    // shorter ones. A step bridged is taken out, so no later way uses it.
    void find()
    {
        std::vector<Step> steps;
        for (size_t u = 0; u < adjacent_.size(); ++u) {
            for (const int v : adjacent_[u]) {
                if (int(u) < v)
                    steps.push_back({int(u), v});
            }
        }
        std::stable_sort(steps.begin(), steps.end(),
                         [&](const Step& a, const Step& b) { return length(a) > length(b); });
        for (const Step& step : steps) {
            const double limit = length(step) * Straightness;
            std::vector<int> way = {step.first}, best;
            double bestLength = limit;
            int budget = SearchBudget;
            search(step.second, 0, way, best, bestLength, budget);
            if (best.empty())
                continue;
            ways_[step] = std::vector<int>(best.begin() + 1, best.end() - 1);
            adjacent_[size_t(step.first)].erase(step.second);
            adjacent_[size_t(step.second)].erase(step.first);
        }
    }

    bool isEmpty() const { return ways_.empty(); }

    // The places after u up to v along the track.
    void expand(int u, int v, std::vector<int>& out) const
    {
        const auto found = ways_.find(ordered(u, v));
        if (found == ways_.end()) {
            out.push_back(v);
            return;
        }
        std::vector<int> inner = found->second;
        if (u != found->first.first)
            std::reverse(inner.begin(), inner.end());
        int from = u;
        for (const int w : inner) {
            expand(from, w, out);
            from = w;
        }
        expand(from, v, out);
    }

private:
    double metres(int u, int v) const
    {
        return MetresBetween(places_.places[size_t(u)].at, places_.places[size_t(v)].at);
    }
    double length(const Step& step) const { return metres(step.first, step.second); }

    // The shortest way on from the end of `way` (which starts at the step's
    // first place) to `target`, through at least one other place, none twice.
    void search(int target, double travelled, std::vector<int>& way, std::vector<int>& best, double& bestLength,
                int& budget) const
    {
        const int at = way.back();
        if (at == target) {
            if (way.size() >= 3 && travelled <= bestLength) {
                best = way;
                bestLength = travelled;
            }
            return;
        }
        if (--budget < 0 || int(way.size()) > MostSkipped + 1)
            return;
        for (const int next : adjacent_[size_t(at)]) {
            if ((way.size() == 1 && next == target) || std::find(way.begin(), way.end(), next) != way.end())
                continue;
            const double further = travelled + metres(at, next);
            if (further + metres(next, target) > bestLength)
                continue;
            way.push_back(next);
            search(target, further, way, best, bestLength, budget);
            way.pop_back();
        }
    }

    const Places& places_;
    std::vector<std::set<int>> adjacent_;
    std::map<Step, std::vector<int>> ways_; // inner places, from the step's lower place
};

} // namespace

void BridgeSkippedStops(std::vector<PlaceSequence>& sequences, const Places& places)
{
    Bridges bridges(sequences, places);
    bridges.find();
    if (bridges.isEmpty())
        return;
    for (PlaceSequence& seq : sequences) {
        PlaceSequence bridged;
        for (size_t i = 0; i < seq.places.size(); ++i) {
            if (i == 0) {
                bridged.places.push_back(seq.places[0]);
                continue;
            }
            std::vector<int> passed;
            bridges.expand(seq.places[i - 1], seq.places[i], passed);
            for (size_t k = 0; k < passed.size(); ++k) {
                bridged.places.push_back(passed[k]);
                bridged.steps.push_back(passed.size() == 1 ? seq.steps[i - 1] : std::pair{-1, -1});
            }
        }
        seq = std::move(bridged);
    }
}

} // namespace tram::gtfs
