#pragma once

#include <QPointF>
#include <QSizeF>
#include <vector>

namespace tram::schematic {

// How the map is put on the grid: turned by a multiple of 45 degrees, then
// fitted to the grid's size axis by axis. A stretch above 0 spreads the map by
// the rank of its points as well as by their distance, so a crowded centre
// gets more room and thin outskirts less; it keeps every point on the same
// side of every other, so nothing crosses that did not.
class LayoutFrame {
public:
    // `eighths`: the turn, counter-clockwise as the map is seen; `content`:
    // the points to spread, in canvas pixels; `room`: the grid's size in cells.
    LayoutFrame(int eighths, double stretch, const std::vector<QPointF>& content, QSizeF room);

    // A canvas point in grid cells.
    QPointF operator()(QPointF p) const;

private:
    struct Axis {
        std::vector<double> values; // of the content, sorted, each once
        double size = 0;            // cells
        double stretch = 0;
        double operator()(double v) const;
    };

    QPointF turned(QPointF p) const;

    double cos_;
    double sin_;
    Axis x_;
    Axis y_;
};

// Moves nodes that lie closer on the grid than `apart(i, j)` cells away from
// each other, a little at a time, and keeps them within the grid's `room`: a
// cluster of junctions close together in the city gets room for the edges
// between them.
void SpreadNodes(std::vector<QPointF>& nodes, const std::vector<double>& reach, QSizeF room);

} // namespace tram::schematic
