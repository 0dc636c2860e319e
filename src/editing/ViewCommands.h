#pragma once

#include "model/EditorModel.h"

#include <QString>
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
std::optional<QString> ApplySizes(const SizeTexts& texts, DisplaySettings& display);

// What "Promijeni velicinu" did: a coefficient not above 0 is ignored without
// a word; a result that does not fit refuses the whole rescale.
struct RescaleResult {
    bool rescaled = false;
    QString refusal;
};

// Multiplies the X of every vertex in use by the coefficient read from the
// text, halves to even. Every vertex is checked before any is changed.
RescaleResult RescaleHorizontally(const QString& coefficientText, Scheme& scheme);

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
