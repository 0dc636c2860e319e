#include "gtfs/DirectionPairs.h"

#include "gtfs/GeoDistance.h"

#include <algorithm>
#include <limits>
#include <map>

namespace tram::gtfs {

namespace {

// One-way streets a block or two apart; tracks further apart are two.
constexpr double NearEnough = 300;

// The line from a place along the course to the next place.
std::vector<GeoPoint> gapLine(const TrackSegment& track, size_t gap, const std::vector<GeoPoint>& placeAt)
{
    std::vector<GeoPoint> line = {placeAt[size_t(track.places[gap])]};
    line.insert(line.end(), track.courses[gap].begin(), track.courses[gap].end());
    line.push_back(placeAt[size_t(track.places[gap + 1])]);
    return line;
}

std::vector<GeoPoint> lineOf(const TrackSegment& track, const std::vector<GeoPoint>& placeAt)
{
    std::vector<GeoPoint> line;
    for (size_t gap = 0; gap < track.courses.size(); ++gap) {
        const std::vector<GeoPoint> part = gapLine(track, gap, placeAt);
        line.insert(line.end(), part.begin() + (gap > 0 ? 1 : 0), part.end());
    }
    return line;
}

// Whether every point of `a` lies near the line `b`.
bool liesAlong(const std::vector<GeoPoint>& a, const std::vector<GeoPoint>& b)
{
    return std::all_of(a.begin(), a.end(), [&](GeoPoint p) {
        for (size_t i = 0; i + 1 < b.size(); ++i) {
            if (NearestPointOnPiece(p, b[i], b[i + 1]).metres <= NearEnough)
                return true;
        }
        return false;
    });
}

// Puts the place on the track where the track passes nearest to it.
void putOn(TrackSegment& track, int place, std::vector<GeoPoint>& placeAt)
{
    size_t bestGap = 0, bestPiece = 0;
    NearestOnGeoPiece best{std::numeric_limits<double>::infinity(), 0};
    for (size_t gap = 0; gap < track.courses.size(); ++gap) {
        const std::vector<GeoPoint> line = gapLine(track, gap, placeAt);
        for (size_t piece = 0; piece + 1 < line.size(); ++piece) {
            const NearestOnGeoPiece nearest = NearestPointOnPiece(placeAt[size_t(place)], line[piece], line[piece + 1]);
            if (nearest.metres < best.metres) {
                best = nearest;
                bestGap = gap;
                bestPiece = piece;
            }
        }
    }
    const std::vector<GeoPoint> line = gapLine(track, bestGap, placeAt);
    placeAt[size_t(place)] = PointOnPiece(line[bestPiece], line[bestPiece + 1], best.t);
    // The course's points are those of the line between its two places.
    std::vector<GeoPoint>& course = track.courses[bestGap];
    std::vector<GeoPoint> after(course.begin() + long(bestPiece), course.end());
    course.resize(bestPiece);
    track.places.insert(track.places.begin() + long(bestGap) + 1, place);
    track.courses.insert(track.courses.begin() + long(bestGap) + 1, std::move(after));
}

// Puts the places along `dropped` on `kept`, unless the two run apart
// somewhere or would make a track of too many places.
bool join(TrackSegment& kept, const TrackSegment& dropped, std::vector<GeoPoint>& placeAt, size_t maxPlaces)
{
    if (kept.places.size() + dropped.places.size() - 2 > maxPlaces)
        return false;
    const std::vector<GeoPoint> a = lineOf(kept, placeAt), b = lineOf(dropped, placeAt);
    if (!liesAlong(a, b) || !liesAlong(b, a))
        return false;
    for (size_t k = 1; k + 1 < dropped.places.size(); ++k)
        putOn(kept, dropped.places[k], placeAt);
    return true;
}

} // namespace

std::vector<JoinedTrack> JoinDirectionPairs(std::vector<TrackSegment>& tracks, const std::vector<TrackUse>& use,
                                            std::vector<GeoPoint>& placeAt, size_t maxPlaces)
{
    // The tracks passed one way only, by the places they run from and to.
    std::map<std::pair<int, int>, std::vector<int>> oneWay;
    for (size_t t = 0; t < tracks.size(); ++t) {
        const int first = tracks[t].places.front(), last = tracks[t].places.back();
        if (first == last || (use[t].forward > 0 && use[t].backward > 0))
            continue;
        oneWay[use[t].forward > 0 ? std::pair(first, last) : std::pair(last, first)].push_back(int(t));
    }
    auto trips = [&](int t) { return use[size_t(t)].forward + use[size_t(t)].backward; };
    auto busier = [&](int a, int b) { return trips(a) > trips(b) || (trips(a) == trips(b) && a < b); };

    std::vector<JoinedTrack> joined(tracks.size());
    std::vector<bool> paired(tracks.size(), false);
    for (auto [ends, there] : oneWay) {
        const auto found = oneWay.find({ends.second, ends.first});
        if (ends.first > ends.second || found == oneWay.end())
            continue;
        std::vector<int> back = found->second;
        std::sort(there.begin(), there.end(), busier);
        std::sort(back.begin(), back.end(), busier);
        for (const int a : there) {
            for (const int b : back) {
                const int keep = busier(a, b) ? a : b, drop = keep == a ? b : a;
                if (paired[size_t(b)] || !join(tracks[size_t(keep)], tracks[size_t(drop)], placeAt, maxPlaces))
                    continue;
                const bool reversed = tracks[size_t(drop)].places.front() != tracks[size_t(keep)].places.front();
                joined[size_t(drop)] = {keep, reversed};
                paired[size_t(a)] = paired[size_t(b)] = true;
                break;
            }
        }
    }
    return joined;
}

} // namespace tram::gtfs
