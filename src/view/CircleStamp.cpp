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
            if (line[x] == Untouched)
                continue;
            if (x == 0 || line[x - 1] == Untouched)
                runs_.push_back(Run{y - centre, x - centre, 0, int(colours_.size())});
            ++runs_.back().length;
            colours_.push_back(line[x]);
        }
    }
}

template <typename Write>
void CircleStamp::stamp(const CanvasPixels& pixels, int cx, int cy, const RowShare& rows, Write write) const
{
    for (const Run& run : runs_) {
        const int y = cy + run.dy;
        if (y < 0 || y >= Canvas::Height || !rows.owns(y))
            continue;
        const int first = std::max(0, cx + run.dx);
        const int last = std::min(Canvas::Width - 1, cx + run.dx + run.length - 1);
        QRgb* line = pixels.row(y);
        for (int x = first; x <= last; ++x)
            line[x] = write(run.colour + (x - cx - run.dx));
    }
}

void CircleStamp::DrawAt(const CanvasPixels& pixels, int cx, int cy, const RowShare& rows) const
{
    stamp(pixels, cx, cy, rows, [this](int i) { return colours_[size_t(i)]; });
}

void CircleStamp::DrawAt(const CanvasPixels& pixels, int cx, int cy, QRgb colour, const RowShare& rows) const
{
    stamp(pixels, cx, cy, rows, [colour](int) { return colour; });
}

} // namespace tram
