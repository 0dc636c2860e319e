#pragma once

#include <QColor>
#include <QImage>
#include <vector>

namespace tram {

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

} // namespace tram
