#pragma once

// What one redraw's band sweep paints, and the tables it keeps per row.

#include "view/BandGeometry.h"
#include "view/BandKeys.h"
#include "view/RowShare.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tram::bands {

// The first key of pass k: every key of pass k or wider is at least this.
constexpr uint32_t FirstKeyOfPass(int k)
{
    return uint32_t(k * SegmentKeys);
}
static_assert(KeyOf(3, MaxSegments) >= FirstKeyOfPass(3) && KeyOf(2, 0) < FirstKeyOfPass(3));

inline constexpr int MaskWords = (Canvas::Width + 63) / 64;

// A pass key and a segment key combine by OR, so that this one leaves a pixel
// as it is whatever the segment.
inline constexpr uint32_t NoKey = ~uint32_t(0);
static_assert((PassKey(WidestShadedPass) | SegmentKeyOf(0)) == KeyOf(WidestShadedPass, 0)
              && (PassKey(2) & (SegmentKeys - 1)) == 0);

// The columns that may hold keys are kept per row as chunks of this many.
inline constexpr int ChunkWidth = 64;
inline constexpr int Chunks = (Canvas::Width + ChunkWidth - 1) / ChunkWidth;
using ChunkSet = uint16_t;
static_assert(Chunks <= 16, "a row's chunks fit in a ChunkSet");

// The pass widths as keys without the segment, for the pixels around a
// vertex: the same for every vertex, since vertices sit on whole pixels.
struct DiscPattern {
    int reach = 0;
    int side = 0;
    // Rows of keys are this long, a whole number of vectors; beyond the
    // disc they hold NoKey.
    int stride = 0;
    std::vector<uint32_t> keys;
    // Per round, per row of the pattern, the columns (from the centre) whose
    // pass is no wider than the round's widest.
    std::vector<std::vector<int>> first;
    std::vector<std::vector<int>> last;
};

struct BandScene {
    int widest = 0;
    int shaded = 0;
    std::vector<Frame> frames;
    std::vector<Disc> discs;
    // How many discs come before each frame in drawing order: painting the
    // discs and strips of a segment one after the other keeps their pixels
    // in the cache.
    std::vector<size_t> discsBefore;
    // For the black pass: the frames, those nearest the canvas's middle column
    // first, whose wide bands cover most of a row.
    std::vector<uint32_t> middleFirst;
    DiscPattern disc;
    // The widest pass of each round of the sweep.
    std::vector<int> rounds;
    // Colours by key; the entry at KeyLimit is never used.
    std::array<QRgb, KeyLimit + 1> colours{};
};

// Per row: the chunks of columns that may hold keys, and the pixels still open. Each
// row is written by one thread only, and a block of rows fills whole cache
// lines of each table.
struct alignas(64) BandRowTables {
    alignas(64) std::array<ChunkSet, Canvas::Height> dirty;
    alignas(64) std::array<std::array<uint64_t, MaskWords>, Canvas::Height> open;
};
static_assert(RowShare::Block * sizeof(ChunkSet) % 64 == 0);

} // namespace tram::bands
