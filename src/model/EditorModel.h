#pragma once

#include "model/Scheme.h"

namespace tram {

// What lasts only while the editor runs: none of it is in a scheme file, and
// opening or saving one changes none of it.

enum class ObjectKind : uint8_t { Nothing = 0, Station = 1, Light = 2 };

// The current element of every table, and which object the property panel shows.
struct EditState {
    uint8_t CurrentSegment = 0;
    uint8_t CurrentRoute = 0;
    uint8_t CurrentTram = 0;
    uint8_t CurrentStation = 0;
    uint8_t CurrentLight = 0;
    ObjectKind SelectedKind = ObjectKind::Nothing;
    friend bool operator==(const EditState&, const EditState&) = default;
};
static_assert(Holds<decltype(EditState::CurrentSegment)>(MaxSegments)
              && Holds<decltype(EditState::CurrentRoute)>(MaxRoutes)
              && Holds<decltype(EditState::CurrentTram)>(MaxTrams)
              && Holds<decltype(EditState::CurrentStation)>(MaxStations)
              && Holds<decltype(EditState::CurrentLight)>(MaxLights));

// What the canvas shows, and the line width its tracks are drawn with.
struct DisplaySettings {
    bool ShowCircles = false;
    bool ShowStations = false;
    bool ShowLights = false;
    bool ShowRoute = false;
    bool MarkSegment = false;
    int16_t CircleSize = 0;
    // In pixels; the canvas has no pen narrower than 1.
    int16_t DrawWidth = 1;
    friend bool operator==(const DisplaySettings&, const DisplaySettings&) = default;
};

// A vertex held by the left mouse button.
struct DragState {
    bool Dragging = false;
    int16_t DragSegment = 0;
    int16_t DragPoint = 0;
};
static_assert(Holds<decltype(DragState::DragSegment)>(MaxSegments) && Holds<decltype(DragState::DragPoint)>(MaxPoints));

// How far the canvas is panned inside its frame, in pixels.
struct ScrollState {
    int16_t ScrollOffset = 0;
};

// Everything the main window owns besides its controls and the canvas picture.
struct EditorModel {
    Scheme scheme;
    EditState edit;
    DisplaySettings display;
    DragState drag;
    ScrollState scroll;
};

// The display defaults the window applies when it loads.
inline constexpr int StartDrawWidth = 20;
inline void ApplyStartDisplay(DisplaySettings& d)
{
    d.CircleSize = 10;
    d.ShowCircles = true;
    d.ShowStations = true;
    d.ShowLights = true;
    d.MarkSegment = true;
    d.ShowRoute = false;
    d.DrawWidth = StartDrawWidth;
}

} // namespace tram
