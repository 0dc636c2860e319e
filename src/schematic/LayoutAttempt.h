#pragma once

#include "schematic/DrawnScheme.h"
#include "schematic/Schematise.h"
#include "schematic/TrackGraph.h"
#include "view/StationLabels.h"

#include <memory>

namespace tram::schematic {

// One way of putting the map on the grid: the grid's cells in pixels, the
// turn in eighths counter-clockwise, and the stretch (LayoutFrame).
struct Attempt {
    int cell;
    int eighths;
    double stretch;
};

// How far an attempt got: a refusal from a later stage says more.
enum class Stage { Routing, Drawing, Rules, Done };

struct Outcome {
    Stage stage = Stage::Routing;
    Refusal failure;
    Scheme scheme;
    double score = 0;
    SchematicSummary summary;
};

// The attempts at drawing one network, each on its own: any number may run
// at once, on any thread.
class LayoutAttempts {
public:
    LayoutAttempts(const Scheme& input, const TrackGraph& graph, const std::vector<Anchor>& stations,
                   const SchematicOptions& options, const std::vector<MeasuredName>& names);
    ~LayoutAttempts();
    LayoutAttempts(const LayoutAttempts&) = delete;
    LayoutAttempts& operator=(const LayoutAttempts&) = delete;

    // The network drawn on the attempt's grid, checked against every rule
    // and scored (bends, moves, shape kept, names' room), or how far it got
    // and why it stopped.
    Outcome attempt(const Attempt& attempt) const;

private:
    class Network;
    std::unique_ptr<Network> network_;
};

} // namespace tram::schematic
