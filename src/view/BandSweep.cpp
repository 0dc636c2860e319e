#include "view/BandSweep.h"

#include "view/VectorClones.h"
#include "view/WidestPass.h"

#include <bit>

namespace tram::bands {

namespace {

// Everything one thread's sweep needs.
struct Sweep {
    const BandScene& scene;
    BandRowTables& tables;
    const CanvasPixels& canvas;
    RowShare rows;

    uint32_t* row(int y) const { return canvas.row(y); }

    void markDirty(int y, int first, int last)
    {
        tables.dirty[size_t(y)] |= ChunkSet((2u << (unsigned(last) / ChunkWidth))
                                            - (1u << (unsigned(first) / ChunkWidth)));
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

    static void fillMin(uint32_t* __restrict pixels, int first, int last, uint32_t key)
    {
        for (int x = first; x <= last; ++x)
            pixels[x] = pixels[x] < key ? pixels[x] : key;
    }

    // keys[x] is the pass part of the key of pixels[x], x from 0 to last.
    static void fillKeys(uint32_t* __restrict pixels, const uint32_t* __restrict keys, int last, uint32_t segmentKey)
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
                    fillKeys(row(y) + left, keys, d.stride - 1, segmentKey);
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
                fillKeys(row(y) + lo, keys, hi - lo, segmentKey);
                markDirty(y, lo, hi);
            }
        });
    }

    // The columns of pass k's band in a row of the strip, within [first, last].
    // halfRuns[k] is k * p.halfRun.
    static bool bandColumns(const Frame& p, const double* halfRuns, double across0, double centre, int k, int first,
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
                    paintAcross(pixels, lo, hi, centre, 2 * std::abs(p.uy), shaded, segmentKey);
                    markDirty(y, lo, hi);
                    continue;
                }
                if (onlyOpen) {
                    if (!bandColumns(p, halfRuns.data(), across0, centre, to, first, last, first, last)
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
                    const int missing = int(std::min<double>(to, (gap - 1) / p.halfRun));
                    if (missing > from
                        && !bandColumns(p, halfRuns.data(), across0, centre, missing, first, last, lo, hi))
                        start = missing;
                }
                if (start == from && from >= 2
                    && bandColumns(p, halfRuns.data(), across0, centre, from, first, last, lo, hi)) {
                    inner = lo;
                    outer = hi;
                }
                for (int k = start + 1; k <= to; ++k) {
                    if (!bandColumns(p, halfRuns.data(), across0, centre, k, first, last, lo, hi))
                        continue;
                    const uint32_t key = PassKey(k) + segmentKey;
                    if (inner > outer) {
                        fillMin(pixels, lo, hi, key);
                    } else {
                        fillMin(pixels, lo, inner - 1, key);
                        fillMin(pixels, outer + 1, hi, key);
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
    static void paintAcross(uint32_t* __restrict pixels, int first, int last, double centre, double scale, int widest,
                            uint32_t segmentKey)
    {
        for (int x = first; x <= last; ++x) {
            const int k = std::min(NarrowestPass(scale * std::fabs(centre - double(x))), widest);
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
                    PaintWidestRow(row(y), y, scene.frames, scene.middleFirst, scene.discs, scene.widest);
                colourRow(y);
            }
        });
    }
};

} // namespace

TRAM_VECTOR_CLONES
void SweepRows(const BandScene& scene, BandRowTables& tables, const CanvasPixels& pixels, RowShare rows)
{
    Sweep{scene, tables, pixels, rows}.run();
}

} // namespace tram::bands
