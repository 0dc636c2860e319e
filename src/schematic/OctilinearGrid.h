#pragma once

#include <QPoint>
#include <array>
#include <cstdint>
#include <vector>

namespace tram::schematic {

// The eight directions of the drawing, in order of angle on the canvas
// (x to the right, y downwards): east, south-east, south, ... north-east.
inline constexpr int Directions = 8;
inline constexpr std::array<QPoint, Directions> Step{
    {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}}};

constexpr int Opposite(int direction)
{
    return (direction + 4) % Directions;
}
constexpr bool IsDiagonal(int direction)
{
    return direction % 2 == 1;
}
// How far a path turns going on from direction a into b, in eighths of a
// full turn: 0 straight on, 2 a right angle, 4 back.
constexpr int Turn(int a, int b)
{
    const int t = (b - a + Directions) % Directions;
    return t > Directions / 2 ? Directions - t : t;
}
// Sharper turns than a right angle are not drawn.
inline constexpr int SharpestTurn = 2;

// Two tracks side by side keep at least this far apart, centre to centre, so
// both bands of the default width show.
inline constexpr double SideBySide = 20;

// Square grid nodes on the canvas, `cell` pixels apart.
class OctilinearGrid {
public:
    OctilinearGrid(int columns, int rows, int cell, QPoint origin);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int cell() const { return cell_; }
    int nodes() const { return columns_ * rows_; }
    int node(int column, int row) const { return row * columns_ + column; }
    int column(int node) const { return node % columns_; }
    int row(int node) const { return node / columns_; }
    QPoint canvasPoint(int node) const { return origin_ + cell_ * QPoint(column(node), row(node)); }
    // The next node in the direction, or -1 off the grid.
    int neighbour(int node, int direction) const;

    // The grid edges that must stay unused while the one from a node in a
    // direction is used: those crossing it, and those running beside it
    // closer than SideBySide. As offsets of their start from the edge's
    // start; all in the edge's own direction but the crossing diagonal.
    struct Conflict {
        QPoint offset;
        int direction;
    };
    const std::vector<Conflict>& conflicts(int direction) const { return conflicts_[size_t(direction)]; }

private:
    int columns_;
    int rows_;
    int cell_;
    QPoint origin_;
    std::array<std::vector<Conflict>, Directions> conflicts_;
};

} // namespace tram::schematic
