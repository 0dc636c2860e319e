#pragma once

// While the band passes run, a pixel holds the best key so far instead of a
// colour: the narrowest pass first, then the highest segment.

#include "model/Scheme.h"
#include "view/Renderer.h"

#include <QColor>
#include <cstdint>

namespace tram::bands {

inline constexpr int SegmentKeys = 64;
static_assert(MaxSegments < SegmentKeys, "a key holds the segment in its low six bits");

constexpr uint32_t KeyOf(int pass, int segment)
{
    return uint32_t(pass * SegmentKeys + SegmentKeys - 1 - segment);
}
// The key of a pass for segment 0; a segment's own key adds SegmentKeyOf.
constexpr uint32_t PassKey(int pass)
{
    return KeyOf(pass, 0) - KeyOf(0, 0);
}
constexpr uint32_t SegmentKeyOf(int segment)
{
    return KeyOf(0, segment);
}

// Every shaded key lies below this one. The cleared canvas (white, all bits
// set) is above every key; black, which the widest passes leave, is above
// every key and below white.
inline constexpr uint32_t KeyLimit = KeyOf(WidestShadedPass + 1, 0);
inline constexpr QRgb Black = qRgb(0, 0, 0);
inline constexpr QRgb White = qRgb(255, 255, 255);
static_assert(KeyLimit < Black && Black < White, "keys sort below both black and white");
static_assert(White == 0xffffffffu, "nothing sorts above the cleared canvas");

} // namespace tram::bands
