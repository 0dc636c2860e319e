#include "schematic/Schematise.h"

#include "schematic/LayoutAttempt.h"
#include "schematic/LayoutRules.h"
#include "schematic/StationSliding.h"
#include "schematic/TrackGraph.h"
#include "view/StationLabels.h"

#include <atomic>
#include <thread>

namespace tram::schematic {

namespace {

// The turns tried, in eighths counter-clockwise: a map is as readable turned
// by 180 degrees more, and fills the canvas no better.
constexpr int Turns[] = {0, 1, 7, 2};
constexpr double Stretches[] = {0.5, 0.0, 0.8};

std::vector<Attempt> attemptsFor(const SchematicOptions& options)
{
    std::vector<Attempt> attempts;
    std::vector<int> cells(std::begin(GridSizes), std::end(GridSizes));
    if (options.grid > 0)
        cells = {options.grid};
    for (const double stretch : Stretches) {
        for (const int eighths : Turns) {
            if (options.northUp && eighths != 0)
                continue;
            for (const int cell : cells)
                attempts.push_back({cell, eighths, stretch});
        }
    }
    return attempts;
}

// Slides stations whose names found no place to where they fit; kept when
// fewer names are left without one and every rule still holds.
void slideForNames(const Scheme& input, const SchematicOptions& options, const std::vector<MeasuredName>& names,
                   Scheme& drawn, SchematicSummary& summary)
{
    constexpr int Passes = 3;
    Scheme slid = drawn;
    int moved = 0;
    for (int pass = 0; pass < Passes; ++pass) {
        const int now = SlideStationsForNames(slid, names);
        moved += now;
        if (now == 0)
            break;
    }
    if (moved == 0 || CheckSchematic(input, slid, {options.snap, options.margin}))
        return;
    DisplaySettings display;
    ApplyStartDisplay(display);
    int without = 0;
    for (const StationLabel& label : PlaceStationLabels(slid, display, names))
        without += !label.clear;
    if (without >= summary.namesWithoutRoom)
        return;
    drawn = slid;
    summary.namesWithoutRoom = without;
}

} // namespace

std::optional<Refusal> Schematise(const Scheme& input, const SchematicOptions& options, Scheme& output,
                                  SchematicSummary& summary)
{
    TrackGraph graph;
    if (auto refusal = BuildTrackGraph(input, options.snap, graph))
        return refusal;
    for (int r = 1; r <= RoutesInUse(input); ++r) {
        for (int k = 1; k <= RouteSlotsInUse(input, r); ++k) {
            const int s = input.RouteSegments[r][k];
            if (s < 1 || s > SegmentsInUse(input))
                return QStringLiteral("ruta %1, mjesto %2: segment %3 ne postoji").arg(r).arg(k).arg(s);
        }
    }
    std::vector<Anchor> stations;
    if (auto refusal = AnchorObjects(input, graph, stations))
        return refusal;

    // Measured here, once: the attempts place the names on both cores, where
    // the font is not theirs to use.
    const std::vector<MeasuredName> names = options.labelFont ? MeasureNames(input, *options.labelFont)
                                                              : std::vector<MeasuredName>{};
    const LayoutAttempts layout(input, graph, stations, options, names);
    const std::vector<Attempt> attempts = attemptsFor(options);
    std::vector<Outcome> outcomes(attempts.size());
    std::atomic<size_t> next = 0;
    {
        // The attempts are independent: both cores take them in turn.
        const auto work = [&] {
            for (size_t k = next++; k < attempts.size(); k = next++)
                outcomes[k] = layout.attempt(attempts[k]);
        };
        std::jthread helper(work);
        work();
    }
    const Outcome* best = nullptr;
    for (const Outcome& outcome : outcomes) {
        if (outcome.stage == Stage::Done && (!best || outcome.score < best->score))
            best = &outcome;
    }
    if (!best) {
        const Outcome* furthest = &outcomes.front();
        for (const Outcome& outcome : outcomes) {
            if (outcome.stage > furthest->stage)
                furthest = &outcome;
        }
        return furthest->failure;
    }
    output = best->scheme;
    summary = best->summary;
    if (options.labelFont && summary.namesWithoutRoom > 0)
        slideForNames(input, options, names, output, summary);
    return std::nullopt;
}

} // namespace tram::schematic
