#pragma once

#include "model/EditorModel.h"
#include "model/Refusal.h"

#include <optional>

namespace tram {

// The texts of the two size boxes that "Crtaj" takes over.
struct SizeTexts {
    QString drawWidth;
    QString circleSize;
};

// Sets DrawWidth and CircleSize from the boxes. A width below 1 keeps the
// previous width (the circle size is still taken). A value that does not fit
// 16 bits refuses the command with the returned text, and then nothing changes.
[[nodiscard]] std::optional<Refusal> ApplySizes(const SizeTexts& texts, DisplaySettings& display);

// The coefficient "Promijeni velicinu" reads from its box; nothing for one not
// above 0, which the command ignores without a word.
std::optional<double> RescaleCoefficient(const QString& text);

// Multiplies the X of every vertex in use by the coefficient, halves to even.
// Every vertex is checked before any is changed: an infinite coefficient or an
// X that would not fit refuses the whole rescale.
[[nodiscard]] std::optional<Refusal> RescaleHorizontally(double coefficient, Scheme& scheme);

// The ruler captions under the canvas frame: the canvas x coordinates at the
// frame's left edge, middle and right edge.
struct RulerTexts {
    QString left;
    QString middle;
    QString right;
};

// Takes the scroll bar's value as the pan offset and gives the ruler for it.
RulerTexts PanTo(int scrollValue, ScrollState& scroll);

} // namespace tram
