#include "view/ThinLine.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tram {

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

// Floor and ceiling of a / b for b > 0.
int64_t FloorDiv(int64_t a, int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int64_t CeilDiv(int64_t a, int64_t b)
{
    return -FloorDiv(-a, b);
}

// The painter's steps along the major axis: step i sets the pixel at major
// coordinate `major + i` and minor coordinate `(minor + i * inc) >> 16`.
struct Steps {
    int major = 0;
    int minor = 0;
    int inc = 0;
    int count = 0;
};

// Steps from `m1` to `m2` along the major axis (both 26.6, m1 < m2 after the
// caps add half a pixel at each end) with the minor coordinate `n1` (26.6)
// moving by `inc` (16.16) per pixel.
Steps Walk(int m1, int m2, int n1, int inc)
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
void StepsWithMinorIn(const Steps& s, int lo, int hi, int64_t& first, int64_t& last)
{
    const int64_t below = int64_t(lo) * 65536 - s.minor;
    const int64_t above = (int64_t(hi) + 1) * 65536 - 1 - s.minor;
    first = 0;
    last = s.count - 1;
    if (s.inc > 0) {
        first = std::max<int64_t>(first, CeilDiv(below, s.inc));
        last = std::min<int64_t>(last, FloorDiv(above, s.inc));
    } else if (s.inc < 0) {
        first = std::max<int64_t>(first, CeilDiv(-above, -s.inc));
        last = std::min<int64_t>(last, FloorDiv(-below, -s.inc));
    } else if (below > 0 || above < 0) {
        last = -1;
    }
}

class PixelWriter {
public:
    PixelWriter(const CanvasPixels& pixels, QRgb colour)
        : pixels_(pixels), colour_(colour)
    {
    }
    // y must lie on the canvas.
    void put(int x, int y)
    {
        if (x >= 0 && x < Canvas::Width)
            pixels_.row(y)[x] = colour_;
    }

private:
    const CanvasPixels& pixels_;
    QRgb colour_;
};

} // namespace

void DrawThinLine(const CanvasPixels& pixels, MapPoint from, MapPoint to, QRgb colour, const RowShare& rows)
{
    PixelWriter writer(pixels, colour);
    const int bottom = Canvas::Height - 1;
    if (from == to) {
        if (from.Y >= 0 && from.Y <= bottom && rows.owns(from.Y))
            writer.put(from.X, from.Y);
        return;
    }
    const Clip clip{-1.0, Canvas::Width + 1.0, -1.0, Canvas::Height + 1.0};
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
        const Steps s = Walk(y1, y2, x1, Div16Dot16(x2 - x1, y2 - y1));
        rows.forEachRun(s.major, std::min(bottom, s.major + s.count - 1), [&](int top, int end) {
            for (int y = top; y <= end; ++y)
                writer.put((s.minor + (y - s.major) * s.inc) >> 16, y);
        });
    } else if (dx > 0) {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const Steps s = Walk(x1, x2, y1, Div16Dot16(y2 - y1, x2 - x1));
        rows.forEachRun(0, bottom, [&](int top, int end) {
            int64_t first = 0;
            int64_t last = 0;
            StepsWithMinorIn(s, top, end, first, last);
            for (int64_t i = first; i <= last; ++i)
                writer.put(s.major + int(i), (s.minor + int(i) * s.inc) >> 16);
        });
    }
}

} // namespace tram
