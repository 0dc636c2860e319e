#pragma once

#include "model/EditorModel.h"
#include "model/Refusal.h"

#include <optional>
#include <random>

namespace tram {

// The pseudo-random source of new segments' vertices. Mersenne Twister output
// is fixed by the C++ standard, so with a fixed seed the n-th new segment of a
// run lands on the same coordinates on every machine. Nothing else may draw
// from it, or that would no longer hold.
class SegmentCoordinateGenerator {
public:
    static constexpr std::mt19937::result_type Seed = 5489u;

    // The next value u, 0 <= u < 1.
    double nextUniform();

private:
    std::mt19937 engine_{Seed};
};

// Where a new segment's vertices land: each coordinate in [NewVertexLowest,
// NewVertexHighest].
inline constexpr int NewVertexLowest = 100;
inline constexpr int NewVertexHighest = 300;

// Appends a segment of two vertices at u * (NewVertexHighest - NewVertexLowest)
// + NewVertexLowest, rounded halves to even, for the next four values, in the
// order X1, Y1, X2, Y2, and makes it current.
// A full table refuses the command with the returned text and changes nothing,
// the generator included.
[[nodiscard]] std::optional<Refusal> NewSegment(Scheme& scheme, EditState& edit, SegmentCoordinateGenerator& generator);

// Step the current segment; false when already at the end, where nothing at
// all changes.
bool PreviousSegment(EditState& edit);
bool NextSegment(const Scheme& scheme, EditState& edit);

} // namespace tram
