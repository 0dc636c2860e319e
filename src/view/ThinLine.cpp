#include "view/ThinLine.h"

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

} // namespace tram
