// The previous fast redraw, copied unchanged (band sweep, thin lines, circle
// stamps) into a namespace of its own; see PreviousFastRenderer.h.

#include "support/previousfast/PreviousFastRenderer.h"

#include "view/CanvasPainter.h"
#include "view/Geometry.h"
#include "view/Renderer.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tram::previousfast {

namespace {

// The painter steps along the major axis in 26.6 fixed point and carries the
// minor coordinate in 16.16, after clipping the line in floating point to the
// image grown by one pixel on each side (two on the right and bottom).
struct Clip {
    double xmin, xmax, ymin, ymax;
};

int To26Dot6(double v) { return int(v * 64.); }

int Div16Dot16(int num, int den)
{
    return int((int64_t(num) * 65536) / den);
}

// Cuts the line to the clip box; false when nothing of it is left.
bool ClipLine(const Clip& c, double& x1, double& y1, double& x2, double& y2)
{
    if (x1 < c.xmin) {
        if (x2 <= c.xmin)
            return false;
        y1 += (y2 - y1) / (x2 - x1) * (c.xmin - x1);
        x1 = c.xmin;
    } else if (x1 > c.xmax) {
        if (x2 >= c.xmax)
            return false;
        y1 += (y2 - y1) / (x2 - x1) * (c.xmax - x1);
        x1 = c.xmax;
    }
    if (x2 < c.xmin) {
        y2 += (y2 - y1) / (x2 - x1) * (c.xmin - x2);
        x2 = c.xmin;
    } else if (x2 > c.xmax) {
        y2 += (y2 - y1) / (x2 - x1) * (c.xmax - x2);
        x2 = c.xmax;
    }
    if (y1 < c.ymin) {
        if (y2 <= c.ymin)
            return false;
        x1 += (x2 - x1) / (y2 - y1) * (c.ymin - y1);
        y1 = c.ymin;
    } else if (y1 > c.ymax) {
        if (y2 >= c.ymax)
            return false;
        x1 += (x2 - x1) / (y2 - y1) * (c.ymax - y1);
        y1 = c.ymax;
    }
    if (y2 < c.ymin) {
        x2 += (x2 - x1) / (y2 - y1) * (c.ymin - y2);
        y2 = c.ymin;
    } else if (y2 > c.ymax) {
        x2 += (x2 - x1) / (y2 - y1) * (c.ymax - y2);
        y2 = c.ymax;
    }
    return true;
}

class PixelWriter {
public:
    PixelWriter(QImage& image, QRgb colour)
        : bits_(image.bits()), stride_(image.bytesPerLine()), width_(image.width()),
          height_(image.height()), colour_(colour)
    {
    }
    void put(int x, int y)
    {
        if (x >= 0 && x < width_ && y >= 0 && y < height_)
            reinterpret_cast<QRgb*>(bits_ + qsizetype(y) * stride_)[x] = colour_;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    uchar* bits_;
    qsizetype stride_;
    int width_;
    int height_;
    QRgb colour_;
};

// Steps from `m1` to `m2` along the major axis (both 26.6, m1 < m2 after the
// caps add half a pixel at each end) with the minor coordinate `n1` (26.6)
// moving by `inc` (16.16) per pixel; `plot(major, minor)` sets each pixel.
template <typename Plot>
void Walk(int m1, int m2, int n1, int inc, Plot plot)
{
    m1 -= 32;
    m2 += 32;
    int minor = (n1 << 10) - (inc >> 1);
    int major = (m1 + 32) >> 6;
    const int end = (m2 + 32) >> 6;
    if (major == end)
        return;
    const int round = inc > 0 ? 32 : 0;
    minor += (((major << 6) + round - m1) * inc) >> 6;
    for (; major < end; ++major, minor += inc)
        plot(major, minor >> 16);
}

} // namespace

void DrawThinLine(QImage& image, MapPoint from, MapPoint to, QRgb colour)
{
    PixelWriter writer(image, colour);
    if (from == to) {
        writer.put(from.X, from.Y);
        return;
    }
    const Clip clip{-1.0, writer.width() + 1.0, -1.0, writer.height() + 1.0};
    double rx1 = from.X;
    double ry1 = from.Y;
    double rx2 = to.X;
    double ry2 = to.Y;
    if (!ClipLine(clip, rx1, ry1, rx2, ry2))
        return;
    int x1 = To26Dot6(rx1);
    int y1 = To26Dot6(ry1);
    int x2 = To26Dot6(rx2);
    int y2 = To26Dot6(ry2);
    const int dx = x2 > x1 ? x2 - x1 : x1 - x2;
    const int dy = y2 > y1 ? y2 - y1 : y1 - y2;
    if (dx < dy) {
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        Walk(y1, y2, x1, Div16Dot16(x2 - x1, y2 - y1), [&](int y, int x) { writer.put(x, y); });
    } else if (dx > 0) {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        Walk(x1, x2, y1, Div16Dot16(y2 - y1, x2 - x1), [&](int x, int y) { writer.put(x, y); });
    }
}

} // namespace tram::previousfast

namespace tram::previousfast {

// Circles drawn once with the canvas's painter settings and then copied
// wherever the same circles go: pixel for pixel what drawing each of them
// would give, at a fraction of the cost.
class CircleStamp {
public:
    struct Ring {
        int radius;
        QRgb colour;
    };

    // Radii above this are drawn directly: their pattern would outgrow the canvas.
    static constexpr int MaxRadius = 100;

    // The rings are drawn in the order given, later ones over earlier ones.
    CircleStamp(const std::vector<Ring>& rings, int penWidth);

    void DrawAt(QImage& image, int cx, int cy) const;
    // The same shape in one colour.
    void DrawAt(QImage& image, int cx, int cy, QRgb colour) const;

private:
    struct Dot {
        int dx;
        int dy;
        QRgb colour;
    };
    template <typename ColourOf>
    void stamp(QImage& image, int cx, int cy, ColourOf colourOf) const;

    std::vector<Dot> dots_;
};

} // namespace tram::previousfast

namespace tram::previousfast {

namespace {

// No ring colour of the map is this one, so what still has it was not drawn.
constexpr QRgb Untouched = qRgb(1, 2, 3);

} // namespace

CircleStamp::CircleStamp(const std::vector<Ring>& rings, int penWidth)
{
    int reach = 0;
    for (const Ring& ring : rings)
        reach = std::max(reach, ring.radius);
    const int centre = reach + penWidth + 2;
    QImage pattern(2 * centre + 1, 2 * centre + 1, QImage::Format_RGB32);
    pattern.fill(Untouched);
    {
        QPainter painter(&pattern);
        UseCanvasSettings(painter);
        for (const Ring& ring : rings) {
            painter.setPen(CanvasPen(ring.colour, penWidth));
            StrokeCircle(painter, centre, centre, ring.radius);
        }
    }
    for (int y = 0; y < pattern.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pattern.constScanLine(y));
        for (int x = 0; x < pattern.width(); ++x) {
            if (line[x] != Untouched)
                dots_.push_back(Dot{x - centre, y - centre, line[x]});
        }
    }
}

template <typename ColourOf>
void CircleStamp::stamp(QImage& image, int cx, int cy, ColourOf colourOf) const
{
    const int width = image.width();
    const int height = image.height();
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const Dot& dot : dots_) {
        const int x = cx + dot.dx;
        const int y = cy + dot.dy;
        if (x >= 0 && x < width && y >= 0 && y < height)
            reinterpret_cast<QRgb*>(bits + y * stride)[x] = colourOf(dot);
    }
}

void CircleStamp::DrawAt(QImage& image, int cx, int cy) const
{
    stamp(image, cx, cy, [](const Dot& dot) { return dot.colour; });
}

void CircleStamp::DrawAt(QImage& image, int cx, int cy, QRgb colour) const
{
    stamp(image, cx, cy, [colour](const Dot&) { return colour; });
}

} // namespace tram::previousfast

namespace tram::previousfast {

// One piece of a segment's polyline, as the band passes draw it.
struct BandPiece {
    MapPoint a;
    MapPoint b;
    int segment = 0;
};

// Kind of band per segment number.
using BandKinds = std::array<BandKind, MaxSegments + 1>;

// Paints the band passes of pen widths `width` down to 2 into a freshly
// cleared canvas image, with the picture those passes leave: a pixel takes the
// colour of the narrowest pass whose band reaches it, in the colour of the
// highest-numbered segment reaching it in that pass. Pass 1 is left to the
// caller. A band of width k is every pixel whose sample point lies within k/2
// of the piece (round caps); a piece of zero length is a dot as wide as the
// pass.
void PaintBands(QImage& image, const std::vector<BandPiece>& pieces, const BandKinds& kinds, int width);

} // namespace tram::previousfast

namespace tram::previousfast {

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

} // namespace tram::previousfast

namespace tram::previousfast {

namespace {

// Counts as far as the tables reach, whatever the model says.
int segmentCount(const Scheme& scheme) { return std::clamp<int>(scheme.SegmentCount, 0, MaxSegments); }
int pointCount(const Scheme& scheme, int segment)
{
    return std::clamp<int>(scheme.PointCount[segment], 0, MaxPoints);
}

std::vector<BandPiece> CollectPieces(const Scheme& scheme)
{
    std::vector<BandPiece> pieces;
    for (int i = 1; i <= segmentCount(scheme); ++i) {
        for (int j = 2; j <= pointCount(scheme, i); ++j)
            pieces.push_back(BandPiece{scheme.Points[i][j], scheme.Points[i][j - 1], i});
    }
    return pieces;
}

// Pass 1: one-pixel lines, whose exact pixels are the centre colour of every
// band.
void DrawCentreLines(QImage& image, const Scheme& scheme, const BandKinds& kinds)
{
    for (int i = 1; i <= segmentCount(scheme); ++i) {
        const QRgb colour = BandColour(kinds[i], 1);
        for (int j = 2; j <= pointCount(scheme, i); ++j)
            DrawThinLine(image, scheme.Points[i][j], scheme.Points[i][j - 1], colour);
    }
}

QRgb VertexColour(int j, int count)
{
    if (j == count)
        return VertexLastColour;
    return j == 1 ? VertexFirstColour : VertexMiddleColour;
}

void DrawVertexCircles(Canvas& canvas, const Scheme& scheme, int radius)
{
    if (radius < 0 || segmentCount(scheme) == 0)
        return;
    if (radius > CircleStamp::MaxRadius) {
        canvas.SetDrawWidth(1);
        for (int i = 1; i <= segmentCount(scheme); ++i) {
            const int n = pointCount(scheme, i);
            for (int j = 1; j <= n; ++j) {
                canvas.ForeColor(VertexColour(j, n));
                canvas.Circle(scheme.Points[i][j].X, scheme.Points[i][j].Y, radius);
            }
        }
        return;
    }
    const CircleStamp circle({{radius, VertexMiddleColour}}, 1);
    QImage& image = canvas.pixels();
    for (int i = 1; i <= segmentCount(scheme); ++i) {
        const int n = pointCount(scheme, i);
        for (int j = 1; j <= n; ++j)
            circle.DrawAt(image, scheme.Points[i][j].X, scheme.Points[i][j].Y, VertexColour(j, n));
    }
}

// Stations: six rings of radius 6 down to 1; lights: four of radius 4 down to
// 1; all with a pen 2 pixels wide.
CircleStamp StationStamp()
{
    std::vector<CircleStamp::Ring> rings;
    for (int r = StationRadius; r >= 1; --r)
        rings.push_back({r, StationColour(r)});
    return CircleStamp(rings, SymbolPenWidth);
}

CircleStamp LightStamp(bool green)
{
    std::vector<CircleStamp::Ring> rings;
    for (int r = LightRadius; r >= 1; --r)
        rings.push_back({r, LightColour(green, r)});
    return CircleStamp(rings, SymbolPenWidth);
}

void DrawStationsAndLights(QImage& image, const Scheme& scheme, const DisplaySettings& display)
{
    if (display.ShowStations && scheme.StationCount > 0) {
        const CircleStamp station = StationStamp();
        for (int i = 1; i <= std::min<int>(scheme.StationCount, MaxStations); ++i) {
            const Station& s = scheme.Stations[i];
            const MapPoint p = LocateOnSegment(scheme, s.Segment, s.Position);
            station.DrawAt(image, p.X, p.Y);
        }
    }
    if (display.ShowLights && scheme.LightCount > 0) {
        const CircleStamp green = LightStamp(true);
        const CircleStamp red = LightStamp(false);
        for (int i = 1; i <= std::min<int>(scheme.LightCount, MaxLights); ++i) {
            const TrafficLight& l = scheme.Lights[i];
            const MapPoint p = LocateOnSegment(scheme, l.Segment, l.Position);
            (l.InitialState != 0 ? green : red).DrawAt(image, p.X, p.Y);
        }
    }
}

} // namespace

// The passes wider than 1 are computed in one sweep over the pixels near each
// piece instead of being drawn one over the other; the rest is drawn or
// stamped with the painter's own pixels.
void DrawScheme(Canvas& canvas, const Scheme& scheme, const EditState& edit,
                const DisplaySettings& display)
{
    canvas.Cls();
    const int w = BandWidth(display);
    const int pen = canvas.DrawWidth();

    BandKinds kinds{};
    for (int i = 1; i <= segmentCount(scheme); ++i)
        kinds[i] = BandKindOf(scheme, edit, display, i);

    PaintBands(canvas.pixels(), CollectPieces(scheme), kinds, w);
    DrawCentreLines(canvas.pixels(), scheme, kinds);
    if (display.ShowCircles)
        DrawVertexCircles(canvas, scheme, display.CircleSize);
    DrawStationsAndLights(canvas.pixels(), scheme, display);
    canvas.SetDrawWidth(pen);
}

} // namespace tram::previousfast
