#pragma once

#include "view/BandGeometry.h"

#include <cstdint>
#include <vector>

namespace tram::bands {

// The single black pass of a width beyond the shaded ones, in row y: the
// union of all bands of that width, under whatever the shaded passes left
// (keys, or white where none reached). The frames are taken in the given
// order; rows with nothing left white cost next to nothing.
void PaintWidestRow(uint32_t* pixels, int y, const std::vector<Frame>& frames, const std::vector<uint32_t>& order,
                    const std::vector<Disc>& discs, int width);

} // namespace tram::bands
