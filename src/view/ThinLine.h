#pragma once

#include "model/Scheme.h"
#include "view/RowShare.h"

#include <QColor>

namespace tram {

// A line one pixel wide with round caps, without antialiasing: the pixels the
// canvas's painter sets for it, written straight into the image. The painter
// itself spends far longer per pixel on such lines. Only the pixels in the
// rows of the share are set.
void DrawThinLine(const CanvasPixels& pixels, MapPoint from, MapPoint to, QRgb colour, const RowShare& rows = {});

} // namespace tram
