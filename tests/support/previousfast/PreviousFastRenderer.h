#pragma once

// The fast redraw as it was before the band sweep was reworked, kept
// unchanged as the second reference of the renderer tests and the redraw
// benchmark: the new drawing must give the same picture, or one closer to
// the plain reference, on every map. Only its interface follows the model:
// the line width comes from the display settings.

#include "model/EditorModel.h"
#include "view/Canvas.h"

namespace tram::previousfast {

void DrawScheme(Canvas& canvas, const Scheme& scheme, const EditState& edit,
                const DisplaySettings& display);

} // namespace tram::previousfast
