#pragma once

#include "view/BandScene.h"

namespace tram::bands {

// Paints the bands into the share's rows of a freshly cleared canvas: every
// round of the sweep, the black pass, the colours.
void SweepRows(const BandScene& scene, BandRowTables& tables, const CanvasPixels& pixels, RowShare rows);

} // namespace tram::bands
