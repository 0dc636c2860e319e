#include "schematic/OctilinearGrid.h"

#include <algorithm>
#include <cmath>

namespace tram::schematic {

namespace {

int directionOf(QPoint step)
{
    return int(std::find(Step.begin(), Step.end(), step) - Step.begin());
}

} // namespace

OctilinearGrid::OctilinearGrid(int columns, int rows, int cell, QPoint origin)
    : columns_(columns)
    , rows_(rows)
    , cell_(cell)
    , origin_(origin)
{
    constexpr int reach = 3; // cells; no grid of 7 pixels or more needs further
    for (int d = 0; d < Directions; ++d) {
        const QPoint s = Step[size_t(d)];
        const double length2 = QPoint::dotProduct(s, s);
        for (int dj = -reach; dj <= reach; ++dj) {
            for (int di = -reach; di <= reach; ++di) {
                const QPoint o(di, dj);
                const double across = std::abs(s.x() * o.y() - s.y() * o.x()) / std::sqrt(length2) * cell;
                const double along = QPoint::dotProduct(o, s) / length2;
                if (across < SideBySide && std::abs(along) < 1)
                    conflicts_[size_t(d)].push_back({o, d});
            }
        }
        if (IsDiagonal(d))
            conflicts_[size_t(d)].push_back({QPoint(s.x(), 0), directionOf(QPoint(-s.x(), s.y()))});
    }
}

int OctilinearGrid::neighbour(int node, int direction) const
{
    const int c = column(node) + Step[size_t(direction)].x();
    const int r = row(node) + Step[size_t(direction)].y();
    if (c < 0 || c >= columns_ || r < 0 || r >= rows_)
        return -1;
    return this->node(c, r);
}

} // namespace tram::schematic
