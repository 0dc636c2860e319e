#include "view/Geometry.h"
#include "view/Renderer.h"

namespace tram {

void DrawSchemePlain(Canvas& canvas, const Scheme& scheme, const EditState& edit,
                     const DisplaySettings& display)
{
    canvas.Cls();
    const int w = canvas.DrawWidth();

    auto drawPass = [&](int k) {
        canvas.SetDrawWidth(k);
        for (int i = 1; i <= scheme.SegmentCount; ++i) {
            canvas.ForeColor(BandColour(BandKindOf(scheme, edit, display, i), k));
            for (int j = 2; j <= scheme.PointCount[i]; ++j) {
                const MapPoint a = scheme.Points[i][j];
                const MapPoint b = scheme.Points[i][j - 1];
                canvas.Line(a.X, a.Y, b.X, b.Y);
            }
        }
    };
    if (w > WidestShadedPass)
        drawPass(w);
    for (int k = std::min(w, WidestShadedPass); k >= 1; --k)
        drawPass(k);

    if (display.ShowCircles) {
        canvas.SetDrawWidth(1);
        for (int i = 1; i <= scheme.SegmentCount; ++i) {
            const int n = scheme.PointCount[i];
            for (int j = 1; j <= n; ++j) {
                QRgb colour = j == 1 ? VertexFirstColour : VertexMiddleColour;
                if (j == n)
                    colour = VertexLastColour;
                canvas.ForeColor(colour);
                canvas.Circle(scheme.Points[i][j].X, scheme.Points[i][j].Y, display.CircleSize);
            }
        }
    }

    canvas.SetDrawWidth(2);
    if (display.ShowStations) {
        for (int i = 1; i <= scheme.StationCount; ++i) {
            const Station& s = scheme.Stations[i];
            for (int r = 6; r >= 1; --r) {
                canvas.ForeColor(StationColour(r));
                const MapPoint p = LocateOnSegment(scheme, s.Segment, s.Position);
                canvas.Circle(p.X, p.Y, r);
            }
        }
    }
    if (display.ShowLights) {
        for (int i = 1; i <= scheme.LightCount; ++i) {
            const TrafficLight& l = scheme.Lights[i];
            for (int r = 4; r >= 1; --r) {
                canvas.ForeColor(LightColour(l.InitialState != 0, r));
                const MapPoint p = LocateOnSegment(scheme, l.Segment, l.Position);
                canvas.Circle(p.X, p.Y, r);
            }
        }
    }
    canvas.SetDrawWidth(w);
}

} // namespace tram
