#pragma once

#include "model/Scheme.h"
#include "view/BandGeometry.h"
#include "view/Renderer.h"
#include "view/RowShare.h"

#include <array>
#include <memory>
#include <vector>

namespace tram {

namespace bands {
struct BandScene;
struct BandRowTables;
} // namespace bands

// One piece of a segment's polyline, as the band passes draw it.
struct BandPiece {
    MapPoint a;
    MapPoint b;
    int segment = 0;
};

// Kind of band per segment number.
using BandKinds = std::array<BandKind, MaxSegments + 1>;

// The band passes of pen widths `width` down to 2, with the picture those
// passes leave: a pixel takes the colour of the narrowest pass whose band
// reaches it, in the colour of the highest-numbered segment reaching it in
// that pass. Pass 1 is left to the caller. A band of width k is every pixel
// whose sample point lies within k/2 of the piece (round caps); a piece of
// zero length is a dot as wide as the pass.
//
// The passes are computed in one sweep over the pixels near each piece
// instead of being drawn one over the other. Where the narrowest bands
// already cover most of the canvas, every piece is swept at pass 2 first,
// and the wider passes only where a pixel is still open.
class BandRaster {
public:
    BandRaster(const std::vector<BandPiece>& pieces, const BandKinds& kinds, int width);
    ~BandRaster();
    BandRaster(const BandRaster&) = delete;
    BandRaster& operator=(const BandRaster&) = delete;

    // About how many pixels the sweep visits.
    double work() const;

    // Paints the bands into the share's rows of a freshly cleared canvas
    // image. Threads may paint their shares at the same time.
    void paintRows(const CanvasPixels& pixels, const RowShare& rows);

private:
    std::unique_ptr<bands::BandScene> scene_;
    std::unique_ptr<bands::BandRowTables> tables_;
};

} // namespace tram
