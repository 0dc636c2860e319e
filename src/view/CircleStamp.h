#pragma once

#include "view/Renderer.h"
#include "view/RowShare.h"

#include <QColor>
#include <QImage>
#include <vector>

namespace tram {

// Circles drawn once with the canvas's painter settings and then copied
// wherever the same circles go: pixel for pixel what drawing each of them
// would give, at a fraction of the cost.
class CircleStamp {
public:
    // Radii above this are drawn directly: their pattern would outgrow the canvas.
    static constexpr int MaxRadius = 100;

    // The rings are drawn in the order given, later ones over earlier ones.
    CircleStamp(const std::vector<Ring>& rings, int penWidth);

    // The stamp centred on (cx, cy), in the rows of the share only.
    void drawAt(const CanvasPixels& pixels, int cx, int cy, const RowShare& rows = {}) const;
    // The same shape in one colour.
    void drawAt(const CanvasPixels& pixels, int cx, int cy, QRgb colour, const RowShare& rows = {}) const;

private:
    // Pixels side by side in one row of the pattern; their colours start at
    // `colour` in colours_.
    struct Run {
        int dx;
        int length;
        int colour;
    };
    // The runs of one row of the pattern, from `first` in runs_.
    struct Row {
        int dy;
        int first;
        int count;
    };
    template <typename Write>
    void stamp(const CanvasPixels& pixels, int cx, int cy, const RowShare& rows, Write write) const;

    std::vector<Row> rows_;
    std::vector<Run> runs_;
    std::vector<QRgb> colours_;
};

} // namespace tram
