#pragma once

// How closely the fast redraw must match the plain one: the same picture up to
// single pass shades on band edges, exact wherever a colour is exact. Shared by
// the renderer tests and the renderer's fuzz target.

#include "view/Canvas.h"
#include "view/Renderer.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tram::renderercomparison {

// Colours that only one drawing step can give: they must land exactly.
inline bool IsExactColour(QRgb c)
{
    static const std::vector<QRgb> exact = [] {
        std::vector<QRgb> colours{VertexFirstColour, VertexMiddleColour, VertexLastColour};
        for (BandKind kind : {BandKind::Track, BandKind::Route, BandKind::Marked})
            colours.push_back(BandColour(kind, 1));
        for (int r = 1; r <= 6; ++r)
            colours.push_back(StationColour(r));
        for (int r = 1; r <= 4; ++r) {
            colours.push_back(LightColour(true, r));
            colours.push_back(LightColour(false, r));
        }
        return colours;
    }();
    return std::find(exact.begin(), exact.end(), c | 0xff000000u) != exact.end();
}

// The passes in drawing order, widest first, as the plain redraw runs them.
inline std::vector<int> PassesOf(int width)
{
    std::vector<int> passes;
    if (width > WidestShadedPass)
        passes.push_back(width);
    for (int k = std::min(width, WidestShadedPass); k >= 1; --k)
        passes.push_back(k);
    return passes;
}

// Where a colour sits in the pass order: the indices into PassesOf(width) of
// every pass that draws it in some kind of band, -1 for the background beyond
// the widest band. Pass 1 is exact and never counts.
inline std::vector<int> PassIndicesOf(QRgb colour, const std::vector<int>& passes)
{
    std::vector<int> indices;
    if (colour == (Canvas::Background | 0xff000000u))
        indices.push_back(-1);
    for (int index = 0; index + 1 < int(passes.size()); ++index) {
        for (BandKind kind : {BandKind::Track, BandKind::Route, BandKind::Marked}) {
            if ((BandColour(kind, passes[size_t(index)]) | 0xff000000u) == colour)
                indices.push_back(index);
        }
    }
    return indices;
}

// Whether a and b are band colours of the same or neighbouring passes: where
// bands of different kinds cross, an edge pixel may go to the other band.
inline bool AreNeighbouringShades(QRgb a, QRgb b, int width)
{
    const std::vector<int> passes = PassesOf(width);
    for (int ia : PassIndicesOf(a, passes)) {
        for (int ib : PassIndicesOf(b, passes)) {
            if (std::abs(ia - ib) <= 1)
                return true;
        }
    }
    return false;
}

struct Comparison {
    int drawn = 0;
    int differing = 0;
    int exactBroken = 0;
    int farOff = 0;
};

inline Comparison Compare(const QImage& fast, const QImage& plain, int width)
{
    Comparison c;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb f = fast.pixel(x, y);
            const QRgb p = plain.pixel(x, y);
            if (p != (Canvas::Background | 0xff000000u) || f != (Canvas::Background | 0xff000000u))
                ++c.drawn;
            if (f == p)
                continue;
            ++c.differing;
            if (AreNeighbouringShades(f, p, width))
                continue;
            if (IsExactColour(f) || IsExactColour(p))
                ++c.exactBroken;
            else
                ++c.farOff;
        }
    }
    return c;
}

} // namespace tram::renderercomparison
