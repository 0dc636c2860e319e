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
        const int first = int(runs_.size());
        for (int x = 0; x < pattern.width(); ++x) {
            if (line[x] == Untouched)
                continue;
            if (x == 0 || line[x - 1] == Untouched)
                runs_.push_back(Run{x - centre, 0, int(colours_.size())});
            ++runs_.back().length;
            colours_.push_back(line[x]);
        }
        rows_.push_back(Row{y - centre, first, int(runs_.size()) - first});
    }
    // Every row between the first and the last drawn one stays, so that a
    // canvas row finds its pattern row by its distance from the top.
    while (!rows_.empty() && rows_.back().count == 0)
        rows_.pop_back();
    const auto drawn = std::find_if(rows_.begin(), rows_.end(), [](const Row& row) { return row.count > 0; });
    rows_.erase(rows_.begin(), drawn);
}

template <typename Write>
void CircleStamp::stamp(const CanvasPixels& pixels, int cx, int cy, const RowShare& rows, Write write) const
{
    if (rows_.empty())
        return;
    const int top = cy + rows_.front().dy;
    rows.forEachRun(top, cy + rows_.back().dy, [&](int first, int last) {
        for (int y = first; y <= last; ++y) {
            const Row& row = rows_[size_t(y - top)];
            QRgb* line = pixels.row(y);
            for (int i = row.first; i < row.first + row.count; ++i) {
                const Run& run = runs_[size_t(i)];
                const int from = std::max(0, cx + run.dx);
                const int to = std::min(Canvas::Width - 1, cx + run.dx + run.length - 1);
                for (int x = from; x <= to; ++x)
                    line[x] = write(run.colour + (x - cx - run.dx));
            }
        }
    });
}

void CircleStamp::drawAt(const CanvasPixels& pixels, int cx, int cy, const RowShare& rows) const
{
    stamp(pixels, cx, cy, rows, [this](int i) { return colours_[size_t(i)]; });
}

void CircleStamp::drawAt(const CanvasPixels& pixels, int cx, int cy, QRgb colour, const RowShare& rows) const
{
    stamp(pixels, cx, cy, rows, [colour](int) { return colour; });
}

} // namespace tram
