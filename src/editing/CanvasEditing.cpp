#include "editing/CanvasEditing.h"

#include "editing/RefusalTexts.h"
#include "model/NumberText.h"
#include "view/Geometry.h"

namespace tram {

namespace {

// Objects 1..inUse, which must lie within the table.
template <typename Object, size_t Size>
int firstInReach(const std::array<Object, Size>& objects, int inUse, const Scheme& scheme, MapPoint click,
                 int16_t reach)
{
    for (int i = 1; i <= inUse; ++i) {
        const MapPoint p = LocateOnSegment(scheme, objects[i].Segment, objects[i].Position);
        if (Distance(click, p) <= reach)
            return i;
    }
    return 0;
}

bool grabVertex(EditorModel& model, MapPoint click)
{
    const Scheme& scheme = model.scheme;
    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        for (int j = 1; j <= PointsInUse(scheme, s); ++j) {
            if (Distance(scheme.Points[s][j], click) <= model.display.CircleSize) {
                model.drag = DragState{true, int16_t(s), int16_t(j)};
                return true;
            }
        }
    }
    return false;
}

MouseDownResult pickSegment(EditorModel& model, bool insert, MapPoint click)
{
    Scheme& scheme = model.scheme;
    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        const auto& points = scheme.Points[s];
        for (int j = 1; j <= PointsInUse(scheme, s) - 1; ++j) {
            if (!IsOnLine(points[j], points[j + 1], click))
                continue;
            model.edit.CurrentSegment = static_cast<uint8_t>(s);
            MouseDownResult result{MouseDownResult::Action::SegmentPicked, std::nullopt};
            if (insert)
                result.refusal = InsertPoint(scheme, s, j, click);
            return result;
        }
    }
    return {};
}

} // namespace

MapPoint ClickPoint(float x, float y)
{
    return MapPoint{ToInt16Saturated(x), ToInt16Saturated(y)};
}

MouseDownResult CanvasMouseDown(EditorModel& model, int button, int shift, float x, float y)
{
    using Action = MouseDownResult::Action;
    const MapPoint click = ClickPoint(x, y);
    const bool shiftHeld = (shift & ShiftBit) != 0;

    if (button == LeftButton) {
        if (shiftHeld && PickObject(model, click))
            return {Action::ObjectPicked, std::nullopt};
        if (grabVertex(model, click))
            return {Action::DragStarted, std::nullopt};
        return {};
    }
    if (button == RightButton)
        return pickSegment(model, shiftHeld, click);
    return {};
}

bool CanvasMouseMove(EditorModel& model, float x, float y)
{
    const DragState& drag = model.drag;
    if (!drag.Dragging)
        return false;
    model.scheme.Points[drag.DragSegment][drag.DragPoint] = ClickPoint(x, y);
    return true;
}

void CanvasMouseUp(EditorModel& model, int button)
{
    if (button == LeftButton)
        model.drag.Dragging = false;
}

bool PickObject(EditorModel& model, MapPoint click)
{
    const Scheme& scheme = model.scheme;
    const int16_t reach = model.display.CircleSize;
    if (const int light = firstInReach(scheme.Lights, LightsInUse(scheme), scheme, click, reach)) {
        model.edit.CurrentLight = static_cast<uint8_t>(light);
        model.edit.SelectedKind = ObjectKind::Light;
        return true;
    }
    if (const int station = firstInReach(scheme.Stations, StationsInUse(scheme), scheme, click, reach)) {
        model.edit.CurrentStation = static_cast<uint8_t>(station);
        model.edit.SelectedKind = ObjectKind::Station;
        return true;
    }
    return false;
}

std::optional<Refusal> InsertPoint(Scheme& scheme, int segment, int after, MapPoint p)
{
    if (scheme.PointCount[segment] >= MaxPoints)
        return TableFull(QStringLiteral("Nova tacka nije dodana"), MaxPoints,
                         QStringLiteral("tacaka u segmentu %1").arg(segment));

    const int n = ++scheme.PointCount[segment];
    auto& points = scheme.Points[segment];
    for (int k = n; k >= after + 2; --k)
        points[k] = points[k - 1];
    points[after + 1] = p;
    return std::nullopt;
}

} // namespace tram
