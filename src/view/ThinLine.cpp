#include "view/ThinLine.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace tram {

namespace {

// The painter steps along the major axis in 26.6 fixed point and carries the
// minor coordinate in 16.16, after clipping the line in floating point to the
// image grown by one pixel on each side (two on the right and bottom).
struct Clip {
    double xmin, xmax, ymin, ymax;
};

int to26Dot6(double v)
{
    return int(v * 64.);
}

int div16Dot16(int num, int den)
{
    return int((int64_t(num) * 65536) / den);
}

// Cuts the line to the clip box; false when nothing of it is left.
bool clipLine(const Clip& c, double& x1, double& y1, double& x2, double& y2)
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

// Floor and ceiling of a / b for b > 0.
int64_t floorDiv(int64_t a, int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int64_t ceilDiv(int64_t a, int64_t b)
{
    return -floorDiv(-a, b);
}

// The painter's steps along the major axis: step i sets the pixel at major
// coordinate `major + i` and minor coordinate `(minor + i * inc) >> 16`. Lines
// are clipped to the canvas first, so these stay well inside an int.
static_assert((Canvas::Width + 4) * 65536.0 * 2 < std::numeric_limits<int>::max());
struct Steps {
    int major = 0;
    int minor = 0;
    int inc = 0;
    int count = 0;
};

// Steps from `m1` to `m2` along the major axis (both 26.6, m1 < m2 after the
// caps add half a pixel at each end) with the minor coordinate `n1` (26.6)
// moving by `inc` (16.16) per pixel.
Steps walk(int m1, int m2, int n1, int inc)
{
    m1 -= 32;
    m2 += 32;
    Steps steps;
    steps.inc = inc;
    steps.minor = (n1 << 10) - (inc >> 1);
    steps.major = (m1 + 32) >> 6;
    const int end = (m2 + 32) >> 6;
    if (steps.major == end)
        return steps;
    const int round = inc > 0 ? 32 : 0;
    steps.minor += (((steps.major << 6) + round - m1) * inc) >> 6;
    steps.count = end - steps.major;
    return steps;
}

// The steps whose minor coordinate lies in [lo, hi].
void stepsWithMinorIn(const Steps& s, int lo, int hi, int64_t& first, int64_t& last)
{
    const int64_t below = int64_t(lo) * 65536 - s.minor;
    const int64_t above = (int64_t(hi) + 1) * 65536 - 1 - s.minor;
    first = 0;
    last = s.count - 1;
    if (s.inc > 0) {
        first = std::max<int64_t>(first, ceilDiv(below, s.inc));
        last = std::min<int64_t>(last, floorDiv(above, s.inc));
    } else if (s.inc < 0) {
        first = std::max<int64_t>(first, ceilDiv(-above, -s.inc));
        last = std::min<int64_t>(last, floorDiv(-below, -s.inc));
    } else if (below > 0 || above < 0) {
        last = -1;
    }
}

// `count` steps from `at`: each moves `majorBytes` along the major axis and
// sets the pixel `minor >> 16` minor units (of `minorBytes`) away.
void plot(QRgb* at, qsizetype majorBytes, qsizetype minorBytes, int minor, int inc, int count, QRgb colour)
{
    auto* base = reinterpret_cast<uchar*>(at);
    for (int i = 0; i < count; ++i, minor += inc, base += majorBytes)
        *reinterpret_cast<QRgb*>(base + qsizetype(minor >> 16) * minorBytes) = colour;
}

} // namespace

void DrawThinLine(const CanvasPixels& pixels, MapPoint from, MapPoint to, QRgb colour, const RowShare& rows)
{
    constexpr int Right = Canvas::Width - 1;
    constexpr int Bottom = Canvas::Height - 1;
    if (from == to) {
        if (from.X >= 0 && from.X <= Right && from.Y >= 0 && from.Y <= Bottom && rows.owns(from.Y))
            pixels.row(from.Y)[from.X] = colour;
        return;
    }
    const Clip clip{-1.0, Canvas::Width + 1.0, -1.0, Canvas::Height + 1.0};
    double rx1 = from.X;
    double ry1 = from.Y;
    double rx2 = to.X;
    double ry2 = to.Y;
    if (!clipLine(clip, rx1, ry1, rx2, ry2))
        return;
    int x1 = to26Dot6(rx1);
    int y1 = to26Dot6(ry1);
    int x2 = to26Dot6(rx2);
    int y2 = to26Dot6(ry2);
    const int dx = x2 > x1 ? x2 - x1 : x1 - x2;
    const int dy = y2 > y1 ? y2 - y1 : y1 - y2;
    if (dx < dy) {
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const Steps s = walk(y1, y2, x1, div16Dot16(x2 - x1, y2 - y1));
        // Step i sets the pixel of row major + i, in the column of its minor
        // coordinate; those off the canvas's columns are left out.
        int64_t first = 0;
        int64_t last = 0;
        stepsWithMinorIn(s, 0, Right, first, last);
        rows.forEachRun(s.major + int(first), s.major + int(last), [&, s](int top, int end) {
            plot(pixels.row(top), pixels.stride, 4, s.minor + (top - s.major) * s.inc, s.inc, end - top + 1, colour);
        });
    } else if (dx > 0) {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const Steps s = walk(x1, x2, y1, div16Dot16(y2 - y1, x2 - x1));
        // Step i sets the pixel of column major + i, in the row of its minor coordinate.
        const int64_t onCanvasFirst = std::max<int64_t>(0, -s.major);
        const int64_t onCanvasLast = std::min<int64_t>(s.count - 1, Right - s.major);
        rows.forEachRun(0, Bottom, [&](int top, int end) {
            int64_t first = 0;
            int64_t last = 0;
            stepsWithMinorIn(s, top, end, first, last);
            first = std::max(first, onCanvasFirst);
            last = std::min(last, onCanvasLast);
            if (first <= last)
                plot(pixels.row(0) + s.major + first, 4, pixels.stride, s.minor + int(first) * s.inc, s.inc,
                     int(last - first + 1), colour);
        });
    }
}

} // namespace tram
