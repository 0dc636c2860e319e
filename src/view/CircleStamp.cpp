#include "view/CircleStamp.h"

#include "view/CanvasPainter.h"

#include <QPainter>
#include <algorithm>

namespace tram {

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

} // namespace tram
