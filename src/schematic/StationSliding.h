#pragma once

#include "model/Scheme.h"
#include "view/StationLabels.h"

namespace tram::schematic {

// Most a station slides along its track to make room for its name, in pixels.
inline constexpr double MostSlide = 40;

// Slides each station whose name finds no clear place along the straight run
// of track it stands on, no further than MostSlide, to the nearest point
// where its name fits, still StationSpacing from every other station and
// between the same neighbours. Stations on a junction or at a bend stay.
// Only stations' vertices and positions, and the lights' positions on their
// segments, change; the tracks keep their shape. Returns how many moved.
int SlideStationsForNames(Scheme& drawn, const std::vector<MeasuredName>& names);

} // namespace tram::schematic
