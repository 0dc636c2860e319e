#include "schematic/LayoutFrame.h"

#include <algorithm>
#include <cmath>

namespace tram::schematic {

LayoutFrame::LayoutFrame(int eighths, double stretch, const std::vector<QPointF>& content, QSizeF room)
    : cos_(std::cos(eighths * M_PI / 4))
    , sin_(std::sin(eighths * M_PI / 4))
{
    for (const QPointF& p : content) {
        const QPointF t = turned(p);
        x_.values.push_back(t.x());
        y_.values.push_back(t.y());
    }
    for (Axis* axis : {&x_, &y_}) {
        std::sort(axis->values.begin(), axis->values.end());
        axis->values.erase(std::unique(axis->values.begin(), axis->values.end(),
                                       [](double a, double b) { return b - a < 1e-9; }),
                           axis->values.end());
        axis->stretch = stretch;
    }
    x_.size = room.width();
    y_.size = room.height();
}

QPointF LayoutFrame::turned(QPointF p) const
{
    // y grows downwards on the canvas: this turns the picture counter-clockwise.
    return {p.x() * cos_ + p.y() * sin_, -p.x() * sin_ + p.y() * cos_};
}

double LayoutFrame::Axis::operator()(double v) const
{
    if (values.size() < 2)
        return size / 2;
    const double low = values.front(), high = values.back();
    const double byDistance = std::clamp((v - low) / (high - low), 0.0, 1.0);
    const auto above = std::upper_bound(values.begin(), values.end(), v);
    double byRank;
    if (above == values.begin())
        byRank = 0;
    else if (above == values.end())
        byRank = 1;
    else {
        const size_t k = size_t(above - values.begin()) - 1;
        byRank = (k + (v - values[k]) / (values[k + 1] - values[k])) / double(values.size() - 1);
    }
    return size * ((1 - stretch) * byDistance + stretch * byRank);
}

QPointF LayoutFrame::operator()(QPointF p) const
{
    const QPointF t = turned(p);
    return {x_(t.x()), y_(t.y())};
}

} // namespace tram::schematic

namespace tram::schematic {

void SpreadNodes(std::vector<QPointF>& nodes, const std::vector<double>& reach, QSizeF room)
{
    constexpr int Rounds = 40;
    for (int round = 0; round < Rounds; ++round) {
        bool moved = false;
        for (size_t i = 0; i < nodes.size(); ++i) {
            for (size_t j = i + 1; j < nodes.size(); ++j) {
                const double apart = reach[i] + reach[j];
                QPointF d = nodes[j] - nodes[i];
                double length = std::hypot(d.x(), d.y());
                if (length >= apart)
                    continue;
                if (length < 1e-9) {
                    // On the same spot: part them along a direction of their own.
                    const double angle = double(i + 7 * j);
                    d = QPointF(std::cos(angle), std::sin(angle));
                    length = 1;
                }
                const QPointF push = (apart - length) / 2 / length * d;
                nodes[i] -= push;
                nodes[j] += push;
                moved = true;
            }
        }
        for (QPointF& p : nodes)
            p = QPointF(std::clamp(p.x(), 0.0, room.width()), std::clamp(p.y(), 0.0, room.height()));
        if (!moved)
            break;
    }
}

} // namespace tram::schematic
