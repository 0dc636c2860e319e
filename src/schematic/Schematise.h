#pragma once

#include "model/Refusal.h"
#include "model/Scheme.h"

#include <QFont>
#include <optional>

namespace tram::schematic {

struct SchematicOptions {
    int grid = 0;         // pixels between grid lines; 0 tries several
    int margin = 20;      // pixels kept free along the canvas's sides
    bool northUp = false; // never turn the map
    double snap = 3;      // pixels within which ends and pieces meet
    // The station names' font: with it, the drawing that leaves the names
    // the most room wins.
    std::optional<QFont> labelFont;
};

// The grid sizes tried when none is asked for, and the range one may ask for.
inline constexpr int GridSizes[] = {20, 22, 24, 26, 28};
inline constexpr int LeastGrid = 10;
inline constexpr int MostGrid = 100;

struct SchematicSummary {
    int grid = 0; // pixels
    int turn = 0; // degrees, counter-clockwise
    int bends = 0;
    int stationStretches = 0; // runs between neighbouring stations and ends along the segments
    double largestMove = 0;   // pixels a node lies from its place on the grid
    int namesWithoutRoom = 0; // when a font was given
};

// Draws the scheme as a schematic map: every segment along the lines of an
// octilinear grid, the network and the order of everything along it kept,
// the canvas filled. Only the vertices and the stations' and lights'
// positions change. Tries the grid sizes, a few turns (unless north stays
// up) and stretches, and of the drawings that keep every rule
// (CheckSchematic) keeps the one whose names find room best, then with the
// fewest bends. A scheme no drawing fits is refused with the
// rule and the segment or station that broke it.
[[nodiscard]] std::optional<Refusal> Schematise(const Scheme& input, const SchematicOptions& options, Scheme& output,
                                                SchematicSummary& summary);

} // namespace tram::schematic
