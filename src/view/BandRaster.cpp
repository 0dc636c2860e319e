#include "view/BandRaster.h"

#include "view/Canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>
#include <thread>
#include <utility>

namespace tram {

namespace {

// The painter fills a pixel when a point a hair above and left of its centre
// lies inside the shape: a band edge through pixel centres keeps its lower and
// right rows, not its upper and left ones.
constexpr double SampleOffset = 0.5 - 1.0 / (1 << 20);

constexpr double Infinity = std::numeric_limits<double>::infinity();

// While the passes run, a pixel holds the best key so far: the narrowest pass
// first, then the highest segment. The cleared canvas (white, all bits set) is
// above every key; black, which the widest passes leave, is above every key
// and below white.
constexpr uint32_t KeyOf(int pass, int segment) { return uint32_t(pass * 64 + 63 - segment); }
constexpr uint32_t KeyLimit = KeyOf(WidestShadedPass + 1, 0);
constexpr QRgb Black = qRgb(0, 0, 0);

// Rows are dealt to the threads in blocks, so that every thread gets a share
// of the map; blocks this tall keep the threads off each other's cache lines
// in the per-row tables.
constexpr int RowBlock = 32;
// Below this much work a second thread costs more than it saves.
constexpr double ThreadedWork = 250000;
// Runs of one pass shorter than this many pixels are cheaper pixel by pixel.
constexpr double ShortestRun = 2;

struct Frame {
    double ax, ay, bx, by;
    double ux, uy; // unit direction from a to b
    double length;
    int segment;
    double invUx, invUy; // 1/ux and 1/uy, 0 where those are 0
};

// A round end of the pieces of one segment at one vertex, or the dot of a
// piece of zero length.
struct Disc {
    MapPoint centre;
    int segment;
    friend bool operator==(const Disc&, const Disc&) = default;
};

struct Span {
    double lo = Infinity;
    double hi = -Infinity;
    void add(double l, double h)
    {
        lo = std::min(lo, l);
        hi = std::max(hi, h);
    }
    bool empty() const { return lo > hi; }
};

// Where the horizontal line at yc crosses the strip of half width r beside
// the piece, between the perpendiculars through its ends.
Span StripRow(const Frame& p, double yc, double r)
{
    Span span;
    // In u = xc - ax: |ux*dy - uy*u| <= r (across) and 0 <= ux*u + uy*dy <= length (along).
    const double dy = yc - p.ay;
    double lo = -Infinity;
    double hi = Infinity;
    if (p.uy != 0) {
        const double e1 = (p.ux * dy - r) / p.uy;
        const double e2 = (p.ux * dy + r) / p.uy;
        lo = std::min(e1, e2);
        hi = std::max(e1, e2);
    } else if (std::abs(p.ux * dy) > r) {
        return span;
    }
    if (p.ux != 0) {
        const double e1 = -p.uy * dy / p.ux;
        const double e2 = (p.length - p.uy * dy) / p.ux;
        lo = std::max(lo, std::min(e1, e2));
        hi = std::min(hi, std::max(e1, e2));
    } else if (p.uy * dy < 0 || p.uy * dy > p.length) {
        return span;
    }
    if (lo <= hi)
        span.add(p.ax + lo, p.ax + hi);
    return span;
}

// Where the horizontal line at yc crosses the capsule of radius r around the
// piece: the strip and the two end discs. The capsule is convex, so the three
// crossings join into one span.
Span CapsuleRow(const Frame& p, double yc, double r)
{
    Span span = StripRow(p, yc, r);
    for (const auto& [cx, cy] : {std::pair{p.ax, p.ay}, std::pair{p.bx, p.by}}) {
        const double dy = yc - cy;
        if (std::abs(dy) <= r) {
            const double h = std::sqrt(r * r - dy * dy);
            span.add(cx - h, cx + h);
        }
    }
    return span;
}

// The innermost loops are built twice where the compiler can and the build
// wants it (the CMake option TRAM_VECTOR_CLONES): for the wide vector units
// most machines have, and for any x86-64; the loader picks one.
#if defined(TRAM_VECTOR_CLONES_WANTED) && defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__)
#define TRAM_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TRAM_VECTOR_CLONES
#endif

// For values well inside the int range; cheaper than the library's rounding.
int FloorToInt(double v)
{
    const int i = int(v);
    return i - (v < i);
}

int CeilToInt(double v)
{
    const int i = int(v);
    return i + (v > i);
}

// The whole pixel columns in [lo, hi], within the canvas.
bool Clamped(double lo, double hi, int& first, int& last)
{
    lo = std::max(lo, -1.0);
    hi = std::min(hi, double(Canvas::Width));
    first = std::max(0, CeilToInt(lo));
    last = std::min(Canvas::Width - 1, FloorToInt(hi));
    return first <= last;
}

// The pixels whose sample point lies in the span, within the canvas.
bool PixelRange(const Span& span, int& first, int& last)
{
    return !span.empty() && Clamped(span.lo - SampleOffset, span.hi - SampleOffset, first, last);
}

class BandPainter {
public:
    BandPainter(QImage& image, const std::vector<BandPiece>& pieces, const BandKinds& kinds, int width)
        : bits_(image.bits()),
          stride_(image.bytesPerLine()),
          widest_(width),
          shaded_(std::min(width, WidestShadedPass)),
          dirtyFirst_(Canvas::Height, Canvas::Width),
          dirtyLast_(Canvas::Height, -1)
    {
        frames_.reserve(pieces.size());
        for (const BandPiece& piece : pieces) {
            const double dx = double(piece.b.X) - piece.a.X;
            const double dy = double(piece.b.Y) - piece.a.Y;
            const double length = std::sqrt(dx * dx + dy * dy);
            if (length == 0) {
                // The canvas draws a line of zero length as a dot as wide as the pen.
                addDisc(Disc{piece.a, piece.segment});
                continue;
            }
            frames_.push_back(Frame{double(piece.a.X), double(piece.a.Y), double(piece.b.X),
                                    double(piece.b.Y), dx / length, dy / length, length,
                                    piece.segment, dx == 0 ? 0 : length / dx,
                                    dy == 0 ? 0 : length / dy});
            addDisc(Disc{piece.a, piece.segment});
            addDisc(Disc{piece.b, piece.segment});
        }
        makeDiscPattern();
        colours_.fill(Black);
        for (int k = 2; k <= WidestShadedPass; ++k) {
            for (int segment = 0; segment <= MaxSegments; ++segment)
                colours_[KeyOf(k, segment)] = BandColour(kinds[segment], k);
        }
    }

    void run()
    {
        if (frames_.empty() && discs_.empty())
            return;
        if (work() < ThreadedWork) {
            paint(0, 1);
            return;
        }
        try {
            std::thread helper([this] { paint(1, 2); });
            paint(0, 2);
            helper.join();
        } catch (const std::system_error&) {
            // No thread to be had: every row is painted here.
            paint(0, 1);
        }
    }

private:
    // Neighbouring pieces of a segment share their end disc: one is enough.
    void addDisc(const Disc& disc)
    {
        if (discs_.empty() || !(discs_.back() == disc))
            discs_.push_back(disc);
    }

    double work() const
    {
        double sum = double(discs_.size()) * shaded_ * shaded_;
        for (const Frame& p : frames_)
            sum += p.length * shaded_;
        if (widest_ > WidestShadedPass)
            sum += double(frames_.size() + discs_.size()) * Canvas::Height;
        return sum;
    }

    // One thread paints every row, or two share them block by block.
    static bool owns(int y, int part, int parts) { return parts == 1 || ((y / RowBlock) & 1) == part; }

    uint32_t* row(int y) const { return reinterpret_cast<uint32_t*>(bits_ + qsizetype(y) * stride_); }

    void paint(int part, int parts)
    {
        if (shaded_ >= 2) {
            for (const Disc& disc : discs_)
                paintDisc(disc, part, parts);
            for (const Frame& p : frames_)
                paintStrip(p, part, parts);
        }
        if (widest_ > WidestShadedPass) {
            for (int y = 0; y < Canvas::Height; ++y) {
                if (owns(y, part, parts))
                    paintWidestPass(y);
            }
        }
        for (int y = 0; y < Canvas::Height; ++y) {
            if (owns(y, part, parts))
                colourRow(y);
        }
    }

    // Pass widths as keys without the segment, for the pixels around a vertex:
    // the same for every vertex, since vertices sit on whole pixels.
    void makeDiscPattern()
    {
        if (shaded_ < 2)
            return;
        discReach_ = shaded_ / 2 + 1;
        const int side = 2 * discReach_ + 1;
        discFirst_.assign(size_t(side), 0);
        discLast_.assign(size_t(side), -1);
        discKeys_.assign(size_t(side * side), 0);
        for (int dy = -discReach_; dy <= discReach_; ++dy) {
            for (int dx = -discReach_; dx <= discReach_; ++dx) {
                const double ex = dx + SampleOffset;
                const double ey = dy + SampleOffset;
                const int k = NarrowestPass(2 * std::sqrt(ex * ex + ey * ey));
                if (k > shaded_)
                    continue;
                const size_t row = size_t(dy + discReach_);
                if (discFirst_[row] > discLast_[row])
                    discFirst_[row] = dx;
                discLast_[row] = dx;
                discKeys_[row * size_t(side) + size_t(dx + discReach_)] = KeyOf(k, 0) - KeyOf(0, 0);
            }
        }
    }

    // The narrowest pass of two or more whose band reaches a pixel at `reach`
    // = twice its distance from the piece: the band of width k reaches it when
    // reach <= k.
    static int NarrowestPass(double reach)
    {
        int k = int(reach);
        k += reach > k;
        return std::max(k, 2);
    }

    void markDirty(int y, int first, int last)
    {
        dirtyFirst_[y] = std::min(dirtyFirst_[y], first);
        dirtyLast_[y] = std::max(dirtyLast_[y], last);
    }

    void paintDisc(const Disc& disc, int part, int parts)
    {
        const int cx = disc.centre.X;
        const int cy = disc.centre.Y;
        if (cx + discReach_ < 0 || cx - discReach_ >= Canvas::Width)
            return;
        const int side = 2 * discReach_ + 1;
        const uint32_t segmentKey = KeyOf(0, disc.segment);
        for (int dy = -discReach_; dy <= discReach_; ++dy) {
            const int y = cy + dy;
            if (y < 0 || y >= Canvas::Height || !owns(y, part, parts))
                continue;
            const size_t patternRow = size_t(dy + discReach_);
            const int first = std::max(discFirst_[patternRow], -cx);
            const int last = std::min(discLast_[patternRow], Canvas::Width - 1 - cx);
            if (first > last)
                continue;
            const uint32_t* keys = discKeys_.data() + patternRow * size_t(side) + size_t(discReach_ + first);
            FillKeys(row(y) + cx + first, keys, 0, last - first, segmentKey);
            markDirty(y, cx + first, cx + last);
        }
    }

    // The straight part of a piece's bands: the pixels beside the piece, not
    // beyond its ends (the discs cover those), at their distance across it.
    // Along a row that distance changes linearly, so each pass's band is one
    // run of pixels, and the pixels a pass adds are the two runs beyond the
    // band of the pass before it.
    void paintStrip(const Frame& p, int part, int parts)
    {
        const double r = shaded_ / 2.0;
        const int top = int(std::max(std::floor(std::min(p.ay, p.by) - r - 1), 0.0));
        const int bottom = int(std::min(std::ceil(std::max(p.ay, p.by) + r + 1), Canvas::Height - 1.0));
        const uint32_t segmentKey = KeyOf(0, p.segment);
        for (int y = top; y <= bottom; ++y) {
            if (!owns(y, part, parts))
                continue;
            const double dyA = y + SampleOffset - p.ay;
            int first = 0;
            int last = 0;
            if (!besideRange(p, dyA, first, last))
                continue;
            // across(x) = ux*dyA - uy*(x + SampleOffset - ax) = uy*(centre - x):
            // the band of width k is centre -+ k*halfRun, or all or nothing.
            const double across0 = p.ux * dyA - p.uy * (SampleOffset - p.ax);
            const double centre = across0 * p.invUy;
            const double halfRun = 0.5 * std::abs(p.invUy);
            uint32_t* pixels = row(y);
            if (p.uy != 0 && halfRun < ShortestRun) {
                int lo = first;
                int hi = last;
                if (Clamped(centre - shaded_ * halfRun, centre + shaded_ * halfRun, lo, hi)) {
                    lo = std::max(lo, first);
                    hi = std::min(hi, last);
                    PaintAcross(pixels, lo, hi, centre, 2 * std::abs(p.uy), shaded_, segmentKey);
                    markDirty(y, lo, hi);
                }
                continue;
            }
            int inner = last + 1; // the band of the previous pass, empty at first
            int outer = last;
            for (int k = 2; k <= shaded_; ++k) {
                int lo = first;
                int hi = last;
                if (p.uy == 0) {
                    if (std::abs(across0) > k / 2.0)
                        continue;
                } else if (!Clamped(centre - k * halfRun, centre + k * halfRun, lo, hi)) {
                    continue;
                }
                lo = std::max(lo, first);
                hi = std::min(hi, last);
                if (lo > hi)
                    continue;
                const uint32_t key = KeyOf(k, 0) - KeyOf(0, 0) + segmentKey;
                if (inner > outer) {
                    Fill(pixels, lo, hi, key);
                } else {
                    Fill(pixels, lo, inner - 1, key);
                    Fill(pixels, outer + 1, hi, key);
                }
                inner = lo;
                outer = hi;
            }
            if (inner <= outer)
                markDirty(y, inner, outer);
        }
    }

    // The pixels of a row whose sample point lies between the perpendiculars
    // through the piece's ends.
    static bool besideRange(const Frame& p, double dyA, int& first, int& last)
    {
        // along(x) = ux*(x + SampleOffset - ax) + uy*dyA, from 0 to length
        const double along0 = p.ux * (SampleOffset - p.ax) + p.uy * dyA;
        if (p.ux == 0) {
            if (along0 < 0 || along0 > p.length)
                return false;
            first = 0;
            last = Canvas::Width - 1;
            return true;
        }
        const double e1 = -along0 * p.invUx;
        const double e2 = (p.length - along0) * p.invUx;
        return Clamped(std::min(e1, e2), std::max(e1, e2), first, last);
    }

    // A steep piece's bands change from pixel to pixel along a row: there each
    // pixel learns its pass from its own distance, reach = scale * |centre - x|.
    TRAM_VECTOR_CLONES
    static void PaintAcross(uint32_t* __restrict pixels, int first, int last, double centre,
                            double scale, int widest, uint32_t segmentKey)
    {
        for (int x = first; x <= last; ++x) {
            const double reach = scale * std::fabs(centre - double(x));
            int k = int(reach);
            k += reach > double(k) ? 1 : 0;
            k = k < 2 ? 2 : k;
            k = k > widest ? widest : k;
            const uint32_t key = uint32_t(k * 64) + segmentKey;
            pixels[x] = pixels[x] < key ? pixels[x] : key;
        }
    }

    TRAM_VECTOR_CLONES
    static void Fill(uint32_t* __restrict pixels, int first, int last, uint32_t key)
    {
        for (int x = first; x <= last; ++x)
            pixels[x] = pixels[x] < key ? pixels[x] : key;
    }

    // keys[x] is the pass part of the key of pixels[x].
    TRAM_VECTOR_CLONES
    static void FillKeys(uint32_t* __restrict pixels, const uint32_t* __restrict keys, int first,
                         int last, uint32_t segmentKey)
    {
        for (int x = first; x <= last; ++x) {
            const uint32_t key = keys[x] + segmentKey;
            pixels[x] = pixels[x] < key ? pixels[x] : key;
        }
    }

    // The single black pass of a width beyond the shaded ones: the union of
    // all bands of that width, under whatever the shaded passes left.
    void paintWidestPass(int y)
    {
        const double r = widest_ / 2.0;
        const double yc = y + SampleOffset;
        uint32_t* pixels = row(y);
        std::array<int16_t, Canvas::Width + 1> starts{};
        bool any = false;
        for (const Frame& p : frames_) {
            int first = 0;
            int last = 0;
            if (!PixelRange(CapsuleRow(p, yc, r), first, last))
                continue;
            if (first == 0 && last == Canvas::Width - 1) {
                for (int x = 0; x < Canvas::Width; ++x)
                    pixels[x] = std::min(pixels[x], Black);
                return;
            }
            ++starts[first];
            --starts[last + 1];
            any = true;
        }
        // Dots, where pieces have no length; elsewhere inside the bands already.
        for (const Disc& disc : discs_) {
            const double dy = yc - disc.centre.Y;
            if (std::abs(dy) > r)
                continue;
            const double h = std::sqrt(r * r - dy * dy);
            Span span;
            span.add(disc.centre.X - h, disc.centre.X + h);
            int first = 0;
            int last = 0;
            if (!PixelRange(span, first, last))
                continue;
            ++starts[first];
            --starts[last + 1];
            any = true;
        }
        if (!any)
            return;
        int depth = 0;
        for (int x = 0; x < Canvas::Width; ++x) {
            depth += starts[x];
            if (depth > 0)
                pixels[x] = std::min(pixels[x], Black);
        }
    }

    void colourRow(int y)
    {
        uint32_t* pixels = row(y);
        for (int x = dirtyFirst_[y]; x <= dirtyLast_[y]; ++x) {
            if (pixels[x] < KeyLimit)
                pixels[x] = colours_[pixels[x]];
        }
    }

    uchar* bits_;
    qsizetype stride_;
    int widest_;
    int shaded_;
    std::vector<Frame> frames_;
    std::vector<Disc> discs_;
    // The keys around a vertex, row by row, with each row's first and last column.
    int discReach_ = 0;
    std::vector<uint32_t> discKeys_;
    std::vector<int> discFirst_;
    std::vector<int> discLast_;
    std::array<QRgb, KeyLimit> colours_{};
    // Per row, the columns that may hold keys; each row is written by one thread only.
    std::vector<int> dirtyFirst_;
    std::vector<int> dirtyLast_;
};

} // namespace

void PaintBands(QImage& image, const std::vector<BandPiece>& pieces, const BandKinds& kinds, int width)
{
    if (width < 2 || pieces.empty())
        return;
    BandPainter(image, pieces, kinds, width).run();
}

} // namespace tram
