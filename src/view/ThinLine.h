#pragma once

#include "model/Scheme.h"

#include <QColor>
#include <QImage>

namespace tram {

// A line one pixel wide with round caps, without antialiasing: the pixels the
// canvas's painter sets for it, written straight into the image. The painter
// itself spends far longer per pixel on such lines.
void DrawThinLine(QImage& image, MapPoint from, MapPoint to, QRgb colour);

} // namespace tram
