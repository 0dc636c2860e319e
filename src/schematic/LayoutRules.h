#pragma once

#include "model/Refusal.h"
#include "model/Scheme.h"

namespace tram::schematic {

struct LayoutRules {
    double snap = 3; // pixels within which the input's ends and pieces meet
    int margin = 20; // pixels the drawing keeps from the canvas's sides
};

// The share of the room inside the margin the drawing spans, each way.
inline constexpr double LeastFill = 0.9;
// How much longer than before a segment may run, against the distance of its
// ends: this many times its old ratio, or the floor, whichever is more.
inline constexpr double DetourFactor = 1.5;
inline constexpr double DetourFloor = 1.6;

// Whether `output` draws `input` schematically: only the geometry changed;
// every piece horizontal, vertical or diagonal, no turn sharper than a right
// angle; the same network (ends, junctions, crossings, the order round each
// junction); tracks side by side at least SideBySide apart; no detours;
// stations on vertices, in their order, StationSpacing apart; lights at their
// share of the length; the room inside the margin filled; the tables' limits
// kept and no new finding of the check. The refusal names the first rule
// broken and where.
[[nodiscard]] std::optional<Refusal> CheckSchematic(const Scheme& input, const Scheme& output,
                                                    const LayoutRules& rules);

} // namespace tram::schematic
