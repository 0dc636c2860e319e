#include "view/BandRaster.h"

#include "view/BandKeys.h"
#include "view/VectorClones.h"
#include "view/WidestPass.h"

#include <bit>
#include <cstdint>

namespace tram {

using namespace bands;

namespace {

// Where a pass-2 sweep covers the canvas this many times over, most pixels
// are settled by it and the wider passes are swept only where one is open.
// Measured on random walks of growing steps: below about three covers the
// second sweep costs more than it saves.
constexpr double DenseCover = 3;

// The first key of pass k: every key of pass k or wider is at least this.
constexpr uint32_t FirstKeyOfPass(int k) { return uint32_t(k * SegmentKeys); }
static_assert(KeyOf(3, MaxSegments) >= FirstKeyOfPass(3) && KeyOf(2, 0) < FirstKeyOfPass(3));

constexpr int MaskWords = (Canvas::Width + 63) / 64;

// A pass key and a segment key combine by OR, so that this one leaves a pixel
// as it is whatever the segment.
constexpr uint32_t NoKey = ~uint32_t(0);
static_assert((PassKey(WidestShadedPass) | SegmentKeyOf(0)) == KeyOf(WidestShadedPass, 0)
              && (PassKey(2) & (SegmentKeys - 1)) == 0);

// The columns that may hold keys are kept per row as chunks of this many.
constexpr int ChunkWidth = 64;
constexpr int Chunks = (Canvas::Width + ChunkWidth - 1) / ChunkWidth;
using ChunkSet = uint16_t;
static_assert(Chunks <= 16, "a row's chunks fit in a ChunkSet");

} // namespace

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

struct BandRaster::Scene {
    int widest = 0;
    int shaded = 0;
    std::vector<Frame> frames;
    std::vector<Disc> discs;
    // How many discs come before each frame in drawing order: painting the
    // discs and strips of a segment one after the other keeps their pixels
    // in the cache.
    std::vector<size_t> discsBefore;
    DiscPattern disc;
    // The widest pass of each round of the sweep.
    std::vector<int> rounds;
    // Colours by key; the entry at KeyLimit is never used.
    std::array<QRgb, KeyLimit + 1> colours{};
};

// Per row: the chunks of columns that may hold keys, and the pixels still open. Each
// row is written by one thread only, and a block of rows fills whole cache
// lines of each table.
struct alignas(64) BandRaster::RowTables {
    alignas(64) std::array<ChunkSet, Canvas::Height> dirty;
    alignas(64) std::array<std::array<uint64_t, MaskWords>, Canvas::Height> open;
};
static_assert(RowShare::Block * sizeof(ChunkSet) % 64 == 0);
static_assert(sizeof(std::array<uint64_t, MaskWords>) % 64 == 0);

namespace {

using Scene = BandRaster::Scene;
using RowTables = BandRaster::RowTables;

void MakeDiscPattern(Scene& scene)
{
    DiscPattern& d = scene.disc;
    d.reach = scene.shaded / 2 + 1;
    d.side = 2 * d.reach + 1;
    d.stride = (d.side + 7) / 8 * 8;
    d.keys.assign(size_t(d.side * d.stride), NoKey);
    std::vector<int> passes(size_t(d.side * d.side), 0);
    for (int dy = -d.reach; dy <= d.reach; ++dy) {
        for (int dx = -d.reach; dx <= d.reach; ++dx) {
            const double ex = dx + SampleOffset;
            const double ey = dy + SampleOffset;
            const int k = NarrowestPass(2 * std::sqrt(ex * ex + ey * ey));
            passes[size_t(dy + d.reach) * size_t(d.side) + size_t(dx + d.reach)] = k;
            if (k <= scene.shaded)
                d.keys[size_t(dy + d.reach) * size_t(d.stride) + size_t(dx + d.reach)] = PassKey(k);
        }
    }
    for (int widest : scene.rounds) {
        std::vector<int> first(size_t(d.side), 0);
        std::vector<int> last(size_t(d.side), -1);
        for (int row = 0; row < d.side; ++row) {
            for (int dx = -d.reach; dx <= d.reach; ++dx) {
                if (passes[size_t(row * d.side + dx + d.reach)] > widest)
                    continue;
                if (first[size_t(row)] > last[size_t(row)])
                    first[size_t(row)] = dx;
                last[size_t(row)] = dx;
            }
        }
        d.first.push_back(std::move(first));
        d.last.push_back(std::move(last));
    }
}

// Everything one thread's sweep of one round needs.
struct Sweep {
    const Scene& scene;
    RowTables& tables;
    const CanvasPixels& canvas;
    RowShare rows;

    uint32_t* row(int y) const { return canvas.row(y); }

    void markDirty(int y, int first, int last)
    {
        tables.dirty[size_t(y)] |= ChunkSet((2u << (unsigned(last) / ChunkWidth)) - (1u << (unsigned(first) / ChunkWidth)));
    }

    // Narrows [lo, hi] to its first and last open pixel; false when none is.
    bool narrowToOpen(int y, int& lo, int& hi) const
    {
        const uint64_t* words = tables.open[size_t(y)].data();
        const int w0 = lo >> 6;
        const int w1 = hi >> 6;
        uint64_t m0 = words[w0] & (~uint64_t(0) << (lo & 63));
        const uint64_t m1 = words[w1] & (~uint64_t(0) >> (63 - (hi & 63)));
        if (w0 == w1) {
            m0 &= m1;
            if (m0 == 0)
                return false;
            lo = w0 * 64 + std::countr_zero(m0);
            hi = w0 * 64 + 63 - std::countl_zero(m0);
            return true;
        }
        int first = w0;
        uint64_t firstBits = m0;
        while (firstBits == 0 && ++first < w1)
            firstBits = words[first];
        if (firstBits == 0) {
            if (m1 == 0)
                return false;
            firstBits = m1;
        }
        int last = w1;
        uint64_t lastBits = m1;
        while (lastBits == 0 && --last > w0)
            lastBits = words[last];
        if (lastBits == 0)
            lastBits = m0;
        lo = first * 64 + std::countr_zero(firstBits);
        hi = last * 64 + 63 - std::countl_zero(lastBits);
        return true;
    }

    static void FillMin(uint32_t* __restrict pixels, int first, int last, uint32_t key)
    {
        for (int x = first; x <= last; ++x)
            pixels[x] = pixels[x] < key ? pixels[x] : key;
    }

    // keys[x] is the pass part of the key of pixels[x], x from 0 to last.
    static void FillKeys(uint32_t* __restrict pixels, const uint32_t* __restrict keys, int last,
                         uint32_t segmentKey)
    {
        for (int x = 0; x <= last; ++x) {
            const uint32_t key = keys[x] | segmentKey;
            pixels[x] = pixels[x] < key ? pixels[x] : key;
        }
    }

    void paintDisc(const Disc& disc, size_t round, bool onlyOpen)
    {
        const DiscPattern& d = scene.disc;
        const int cx = disc.centre.X;
        const int cy = disc.centre.Y;
        if (cx + d.reach < 0 || cx - d.reach >= Canvas::Width)
            return;
        const uint32_t segmentKey = SegmentKeyOf(disc.segment);
        const int left = cx - d.reach;
        if (!onlyOpen && round + 1 == scene.rounds.size() && left >= 0 && left + d.stride <= Canvas::Width) {
            // Whole rows of the pattern, clear of the canvas's sides.
            rows.forEachRun(cy - d.reach, cy + d.reach, [&](int top, int bottom) {
                for (int y = top; y <= bottom; ++y) {
                    const uint32_t* keys = d.keys.data() + size_t(y - cy + d.reach) * size_t(d.stride);
                    FillKeys(row(y) + left, keys, d.stride - 1, segmentKey);
                    markDirty(y, left, left + d.stride - 1);
                }
            });
            return;
        }
        const std::vector<int>& rowFirst = d.first[round];
        const std::vector<int>& rowLast = d.last[round];
        rows.forEachRun(cy - d.reach, cy + d.reach, [&](int top, int bottom) {
            for (int y = top; y <= bottom; ++y) {
                const size_t patternRow = size_t(y - cy + d.reach);
                int lo = cx + std::max(rowFirst[patternRow], -cx);
                int hi = cx + std::min(rowLast[patternRow], Canvas::Width - 1 - cx);
                if (lo > hi || (onlyOpen && !narrowToOpen(y, lo, hi)))
                    continue;
                const uint32_t* keys = d.keys.data() + patternRow * size_t(d.stride) + size_t(d.reach - cx + lo);
                FillKeys(row(y) + lo, keys, hi - lo, segmentKey);
                markDirty(y, lo, hi);
            }
        });
    }

    // The columns of pass k's band in a row of the strip, within [first, last].
    // halfRuns[k] is k * p.halfRun.
    static bool BandColumns(const Frame& p, const double* halfRuns, double across0, double centre, int k, int first,
                            int last, int& lo, int& hi)
    {
        lo = first;
        hi = last;
        if (p.uy == 0) {
            if (std::abs(across0) > k / 2.0)
                return false;
        } else if (!Clamped(centre - halfRuns[k], centre + halfRuns[k], lo, hi)) {
            return false;
        }
        lo = std::max(lo, first);
        hi = std::min(hi, last);
        return lo <= hi;
    }

    // The straight part of a piece's bands, passes (from, to]: the pixels
    // beside the piece, not beyond its ends (the discs cover those), at their
    // distance across it. Along a row that distance changes linearly, so each
    // pass's band is one run of pixels, and the pixels a pass adds are the two
    // runs beyond the band of the pass before it.
    void paintStrip(const Frame& p, int from, int to, bool onlyOpen)
    {
        const int shaded = scene.shaded;
        const double r = shaded / 2.0;
        const int top = int(std::max(std::floor(std::min(p.ay, p.by) - r - 1), 0.0));
        const int bottom = int(std::min(std::ceil(std::max(p.ay, p.by) + r + 1), Canvas::Height - 1.0));
        const uint32_t segmentKey = SegmentKeyOf(p.segment);
        // A steep piece's pixels learn their pass one by one; a round short of
        // the widest reaches one pass further, so that no pixel of its passes
        // is left to rounding.
        const int across = to == shaded ? shaded : std::min(to + 1, shaded);
        std::array<double, WidestShadedPass + 1> halfRuns;
        for (int k = 0; k <= shaded; ++k)
            halfRuns[size_t(k)] = k * p.halfRun;
        rows.forEachRun(top, bottom, [&](int runTop, int runBottom) {
            for (int y = runTop; y <= runBottom; ++y) {
                const double dyA = y + SampleOffset - p.ay;
                int first = 0;
                int last = 0;
                if (!BesideRange(p, dyA, first, last))
                    continue;
                // across(x) = ux*dyA - uy*(x + SampleOffset - ax) = uy*(centre - x):
                // the band of width k is centre -+ k*halfRun, or all or nothing.
                const double across0 = p.ux * dyA - p.acrossAtA;
                const double centre = across0 * p.invUy;
                uint32_t* pixels = row(y);
                if (p.pixelByPixel) {
                    int lo = first;
                    int hi = last;
                    if (!Clamped(centre - halfRuns[size_t(across)], centre + halfRuns[size_t(across)], lo, hi))
                        continue;
                    lo = std::max(lo, first);
                    hi = std::min(hi, last);
                    if (lo > hi || (onlyOpen && !narrowToOpen(y, lo, hi)))
                        continue;
                    PaintAcross(pixels, lo, hi, centre, 2 * std::abs(p.uy), shaded, segmentKey);
                    markDirty(y, lo, hi);
                    continue;
                }
                if (onlyOpen) {
                    if (!BandColumns(p, halfRuns.data(), across0, centre, to, first, last, first, last)
                        || !narrowToOpen(y, first, last))
                        continue;
                }
                int inner = last + 1; // the band of the previous pass, empty at first
                int outer = last;
                int lo = 0;
                int hi = 0;
                // Passes whose band misses [first, last] add nothing there:
                // the loop starts at the last of them.
                int start = from;
                if (p.uy != 0) {
                    const double gap = centre < first ? first - centre : centre > last ? centre - last : 0;
                    const int missing = std::min(to, int((gap - 1) / p.halfRun));
                    if (missing > from && !BandColumns(p, halfRuns.data(), across0, centre, missing, first, last, lo, hi))
                        start = missing;
                }
                if (start == from && from >= 2
                    && BandColumns(p, halfRuns.data(), across0, centre, from, first, last, lo, hi)) {
                    inner = lo;
                    outer = hi;
                }
                for (int k = start + 1; k <= to; ++k) {
                    if (!BandColumns(p, halfRuns.data(), across0, centre, k, first, last, lo, hi))
                        continue;
                    const uint32_t key = PassKey(k) + segmentKey;
                    if (inner > outer) {
                        FillMin(pixels, lo, hi, key);
                    } else {
                        FillMin(pixels, lo, inner - 1, key);
                        FillMin(pixels, outer + 1, hi, key);
                    }
                    inner = lo;
                    outer = hi;
                    if (inner == first && outer == last)
                        break; // wider passes add nothing within [first, last]
                }
                if (inner <= outer)
                    markDirty(y, inner, outer);
            }
        });
    }

    // Each pixel's pass from its own distance, reach = scale * |centre - x|.
    static void PaintAcross(uint32_t* __restrict pixels, int first, int last, double centre, double scale,
                            int widest, uint32_t segmentKey)
    {
        for (int x = first; x <= last; ++x) {
            const double reach = scale * std::fabs(centre - double(x));
            int k = int(reach);
            k += reach > double(k) ? 1 : 0;
            k = k < 2 ? 2 : k;
            k = k > widest ? widest : k;
            const uint32_t key = uint32_t(k * SegmentKeys) + segmentKey;
            pixels[x] = pixels[x] < key ? pixels[x] : key;
        }
    }

    // Marks the pixels of row y that a pass wider than `settled` may still change.
    void findOpen(int y, int settled)
    {
        const uint32_t* pixels = row(y);
        const uint32_t limit = FirstKeyOfPass(settled + 1);
        auto& words = tables.open[size_t(y)];
        for (int w = 0; w < MaskWords; ++w) {
            uint64_t m = 0;
            const int end = std::min(64, Canvas::Width - w * 64);
            for (int b = 0; b < end; ++b)
                m |= uint64_t(pixels[w * 64 + b] >= limit) << b;
            words[size_t(w)] = m;
        }
    }

    void colourRow(int y)
    {
        uint32_t* pixels = row(y);
        for (unsigned chunks = tables.dirty[size_t(y)]; chunks != 0; chunks &= chunks - 1) {
            const int first = std::countr_zero(chunks) * ChunkWidth;
            Colour(pixels, scene.colours.data(), first, std::min(first + ChunkWidth, Canvas::Width) - 1);
        }
    }

    static void Colour(uint32_t* __restrict pixels, const QRgb* __restrict colours, int first, int last)
    {
        for (int x = first; x <= last; ++x) {
            const uint32_t v = pixels[x];
            const QRgb c = colours[v < KeyLimit ? v : KeyLimit];
            pixels[x] = v < KeyLimit ? c : v;
        }
    }

    void run()
    {
        rows.forEachRun(0, Canvas::Height - 1, [&](int top, int bottom) {
            for (int y = top; y <= bottom; ++y) {
                tables.dirty[size_t(y)] = 0;
            }
        });
        int from = 1;
        for (size_t round = 0; round < scene.rounds.size(); ++round) {
            const int to = scene.rounds[round];
            const bool onlyOpen = round > 0;
            size_t disc = 0;
            for (size_t i = 0; i < scene.frames.size(); ++i) {
                for (; disc < scene.discsBefore[i]; ++disc)
                    paintDisc(scene.discs[disc], round, onlyOpen);
                paintStrip(scene.frames[i], from, to, onlyOpen);
            }
            for (; disc < scene.discs.size(); ++disc)
                paintDisc(scene.discs[disc], round, onlyOpen);
            if (round + 1 < scene.rounds.size()) {
                rows.forEachRun(0, Canvas::Height - 1, [&](int top, int bottom) {
                    for (int y = top; y <= bottom; ++y)
                        findOpen(y, to);
                });
            }
            from = to;
        }
        rows.forEachRun(0, Canvas::Height - 1, [&](int top, int bottom) {
            for (int y = top; y <= bottom; ++y) {
                if (scene.widest > scene.shaded)
                    PaintWidestRow(row(y), y, scene.frames, scene.discs, scene.widest);
                colourRow(y);
            }
        });
    }
};

TRAM_VECTOR_CLONES
void SweepRows(const Scene& scene, RowTables& tables, const CanvasPixels& pixels, RowShare rows)
{
    Sweep{scene, tables, pixels, rows}.run();
}

} // namespace

BandRaster::BandRaster(const std::vector<BandPiece>& pieces, const BandKinds& kinds, int width)
    : scene_(std::make_unique<Scene>())
{
    Scene& s = *scene_;
    s.widest = width;
    s.shaded = std::min(width, WidestShadedPass);
    if (s.shaded < 2)
        return;
    // Neighbouring pieces of a segment share their end disc: one is enough.
    auto addDisc = [&s](const Disc& disc) {
        if (s.discs.empty() || !(s.discs.back() == disc))
            s.discs.push_back(disc);
    };
    double narrowCover = 0;
    s.frames.reserve(pieces.size());
    s.discsBefore.reserve(pieces.size());
    for (const BandPiece& piece : pieces) {
        addDisc(Disc{piece.a, piece.segment});
        if (piece.a == piece.b)
            continue; // the canvas draws a line of zero length as a dot as wide as the pen
        s.frames.push_back(Frame::Of(piece.a, piece.b, piece.segment));
        s.discsBefore.push_back(s.discs.size());
        narrowCover += 2 * s.frames.back().length;
        addDisc(Disc{piece.b, piece.segment});
    }
    if (narrowCover > DenseCover * Canvas::Width * Canvas::Height && s.shaded > 2)
        s.rounds = {2, s.shaded};
    else
        s.rounds = {s.shaded};
    if (s.frames.empty() && s.discs.empty())
        return;
    // Every row's entries are set before they are read.
    tables_ = std::make_unique_for_overwrite<RowTables>();
    MakeDiscPattern(s);
    s.colours.fill(Black);
    for (int k = 2; k <= WidestShadedPass; ++k) {
        for (int segment = 0; segment <= MaxSegments; ++segment)
            s.colours[KeyOf(k, segment)] = BandColour(kinds[size_t(segment)], k);
    }
}

BandRaster::~BandRaster() = default;

double BandRaster::work() const
{
    const Scene& s = *scene_;
    if (s.shaded < 2 || (s.frames.empty() && s.discs.empty()))
        return 0;
    double sum = double(s.discs.size()) * s.shaded * s.shaded;
    for (const Frame& p : s.frames)
        sum += p.length * s.shaded;
    if (s.widest > WidestShadedPass)
        sum += double(s.frames.size() + s.discs.size()) * Canvas::Height;
    return sum;
}

void BandRaster::paintRows(const CanvasPixels& pixels, const RowShare& rows)
{
    if (!tables_)
        return; // nothing to paint
    SweepRows(*scene_, *tables_, pixels, rows);
}

} // namespace tram
