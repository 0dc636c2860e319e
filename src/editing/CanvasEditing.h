#pragma once

#include "model/EditorModel.h"
#include "model/Refusal.h"

#include <optional>

namespace tram {

// Mouse button codes and the one modifier bit the canvas looks at.
inline constexpr int LeftButton = 1;
inline constexpr int RightButton = 2;
inline constexpr int ShiftBit = 1;

// The pointer position as a vertex: each coordinate rounded, halves to even.
MapPoint ClickPoint(float x, float y);

// What a mouse-down on the canvas did, so the window knows what to show.
struct MouseDownResult {
    enum class Action {
        Nothing,       // no redraw
        ObjectPicked,  // show the selected object; no redraw
        DragStarted,   // no redraw until the pointer moves
        SegmentPicked, // show CurrentSegment, then redraw
    };
    Action action = Action::Nothing;
    // Set when a Shift+right click could not insert its vertex; the segment
    // is picked all the same.
    std::optional<Refusal> refusal;
};

// Shift+left picks a light, else a station; left (also a Shift+left that picked
// nothing) grabs the first vertex in reach; right picks the first piece under
// the pointer and with Shift inserts the click point into it. First match in
// ascending order wins; reach is inclusive.
MouseDownResult CanvasMouseDown(EditorModel& model, int button, int shift, float x, float y);

// During a drag the vertex takes the pointer position; true when it moved and
// the map needs a redraw.
bool CanvasMouseMove(EditorModel& model, float x, float y);

// Only the left button ends a drag.
void CanvasMouseUp(EditorModel& model, int button);

// The first light, else the first station, within CircleSize of the click point
// becomes the selected object, shown or hidden alike. False when none is in reach.
bool PickObject(EditorModel& model, MapPoint click);

// Makes p vertex after + 1 of the segment, moving the later vertices up. A
// segment already holding the most vertices refuses with the returned text and
// stays as it is.
[[nodiscard]] std::optional<Refusal> InsertPoint(Scheme& scheme, int segment, int after, MapPoint p);

} // namespace tram
