#pragma once

// Where a piece's bands meet the pixel grid: the sample point of a pixel, the
// piece in the frame the band sweep works in, and the crossings of a pixel
// row with a band.

#include "model/Scheme.h"
#include "view/Canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tram::bands {

// The painter fills a pixel when a point a hair above and left of its centre
// lies inside the shape: a band edge through pixel centres keeps its lower and
// right rows, not its upper and left ones.
inline constexpr double SampleOffset = 0.5 - 1.0 / (1 << 20);

inline constexpr double Infinity = std::numeric_limits<double>::infinity();

// Runs of one pass shorter than this many pixels are cheaper pixel by pixel.
inline constexpr double ShortestRun = 2;

// For values well inside the int range; cheaper than the library's rounding.
inline int FloorToInt(double v)
{
    const int i = int(v);
    return i - (v < i);
}

inline int CeilToInt(double v)
{
    const int i = int(v);
    return i + (v > i);
}

// The whole pixel columns in [lo, hi], within the canvas.
inline bool Clamped(double lo, double hi, int& first, int& last)
{
    lo = std::max(lo, -1.0);
    hi = std::min(hi, double(Canvas::Width));
    first = std::max(0, CeilToInt(lo));
    last = std::min(Canvas::Width - 1, FloorToInt(hi));
    return first <= last;
}

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

// The pixels whose sample point lies in the span, within the canvas.
inline bool PixelRange(const Span& span, int& first, int& last)
{
    return !span.empty() && Clamped(span.lo - SampleOffset, span.hi - SampleOffset, first, last);
}

// The narrowest pass of two or more whose band reaches a pixel at `reach` =
// twice its distance from the piece: the band of width k reaches it when
// reach <= k.
inline int NarrowestPass(double reach)
{
    int k = int(reach);
    k += reach > k;
    return std::max(k, 2);
}

// A piece of non-zero length, with what every row of its strip needs.
struct Frame {
    double ax, ay, bx, by;
    double ux, uy; // unit direction from a to b
    double length;
    int segment;
    double invUx, invUy; // 1/ux and 1/uy, 0 where those are 0
    double alongAtA;     // ux * (SampleOffset - ax)
    double acrossAtA;    // uy * (SampleOffset - ax)
    double halfRun;      // half the run of pixels a pass adds per unit of width
    bool pixelByPixel;   // steep: the passes change from pixel to pixel along a row

    static Frame of(MapPoint a, MapPoint b, int segment)
    {
        const double dx = double(b.X) - a.X;
        const double dy = double(b.Y) - a.Y;
        const double length = std::sqrt(dx * dx + dy * dy);
        Frame f{double(a.X),
                double(a.Y),
                double(b.X),
                double(b.Y),
                dx / length,
                dy / length,
                length,
                segment,
                dx == 0 ? 0 : length / dx,
                dy == 0 ? 0 : length / dy,
                0,
                0,
                0,
                false};
        f.alongAtA = f.ux * (SampleOffset - f.ax);
        f.acrossAtA = f.uy * (SampleOffset - f.ax);
        f.halfRun = 0.5 * std::abs(f.invUy);
        f.pixelByPixel = f.uy != 0 && f.halfRun < ShortestRun;
        return f;
    }
};

// A round end of the pieces of one segment at one vertex, or the dot of a
// piece of zero length.
struct Disc {
    MapPoint centre;
    int segment;
    friend bool operator==(const Disc&, const Disc&) = default;
};

// Where the horizontal line at yc crosses the strip of half width r beside
// the piece, between the perpendiculars through its ends.
inline Span StripRow(const Frame& p, double yc, double r)
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
inline Span CapsuleRow(const Frame& p, double yc, double r)
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

// The pixels of a row whose sample point lies between the perpendiculars
// through the piece's ends; dyA is the row's sample height above a.
inline bool BesideRange(const Frame& p, double dyA, int& first, int& last)
{
    // along(x) = ux*(x + SampleOffset - ax) + uy*dyA, from 0 to length
    const double along0 = p.alongAtA + p.uy * dyA;
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

} // namespace tram::bands
