#include "view/CanvasPainter.h"
#include "view/Geometry.h"
#include "view/Renderer.h"

namespace tram {

void PaintSchemePasses(QPainter& painter, const Scheme& scheme, const EditState& edit, const DisplaySettings& display)
{
    const int w = BandWidth(display);
    auto drawPass = [&](int k) {
        for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
            painter.setPen(CanvasPen(BandColour(BandKindOf(scheme, edit, display, i), k), k));
            for (int j = 2; j <= PointsInUse(scheme, i); ++j) {
                const MapPoint a = scheme.Points[i][j];
                const MapPoint b = scheme.Points[i][j - 1];
                StrokeLine(painter, a.X, a.Y, b.X, b.Y);
            }
        }
    };
    if (w > WidestShadedPass)
        drawPass(w);
    for (int k = std::min(w, WidestShadedPass); k >= 1; --k)
        drawPass(k);

    if (display.ShowCircles) {
        for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
            const int n = PointsInUse(scheme, i);
            for (int j = 1; j <= n; ++j) {
                painter.setPen(CanvasPen(VertexColour(j, n), 1));
                StrokeCircle(painter, scheme.Points[i][j].X, scheme.Points[i][j].Y, display.CircleSize);
            }
        }
    }

    if (display.ShowStations) {
        for (int i = 1; i <= StationsInUse(scheme); ++i) {
            const Station& s = scheme.Stations[i];
            const MapPoint p = LocateOnSegment(scheme, s.Segment, s.Position);
            for (const Ring& ring : StationRings()) {
                painter.setPen(CanvasPen(ring.colour, SymbolPenWidth));
                StrokeCircle(painter, p.X, p.Y, ring.radius);
            }
        }
    }
    if (display.ShowLights) {
        for (int i = 1; i <= LightsInUse(scheme); ++i) {
            const TrafficLight& l = scheme.Lights[i];
            const MapPoint p = LocateOnSegment(scheme, l.Segment, l.Position);
            for (const Ring& ring : LightRings(l.InitialState != 0)) {
                painter.setPen(CanvasPen(ring.colour, SymbolPenWidth));
                StrokeCircle(painter, p.X, p.Y, ring.radius);
            }
        }
    }
}

void DrawSchemePlain(Canvas& canvas, const Scheme& scheme, const EditState& edit, const DisplaySettings& display)
{
    canvas.Cls();
    QPainter painter(&canvas.pixels());
    UseCanvasSettings(painter);
    PaintSchemePasses(painter, scheme, edit, display);
}

} // namespace tram
