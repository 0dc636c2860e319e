#pragma once

#include "model/Scheme.h"
#include "view/Renderer.h"

#include <QImage>
#include <array>
#include <vector>

namespace tram {

// One piece of a segment's polyline, as the band passes draw it.
struct BandPiece {
    MapPoint a;
    MapPoint b;
    int segment = 0;
};

// Kind of band per segment number.
using BandKinds = std::array<BandKind, MaxSegments + 1>;

// Paints the band passes of pen widths `width` down to 2 into a freshly
// cleared canvas image, with the picture those passes leave: a pixel takes the
// colour of the narrowest pass whose band reaches it, in the colour of the
// highest-numbered segment reaching it in that pass. Pass 1 is left to the
// caller. A band of width k is every pixel whose sample point lies within k/2
// of the piece (round caps); a piece of zero length is a dot as wide as the
// pass.
void PaintBands(QImage& image, const std::vector<BandPiece>& pieces, const BandKinds& kinds, int width);

} // namespace tram
