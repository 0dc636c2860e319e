#include "view/BandRaster.h"
#include "view/CircleStamp.h"
#include "view/Geometry.h"
#include "view/Renderer.h"
#include "view/ThinLine.h"

#include <algorithm>
#include <vector>

namespace tram {

namespace {

std::vector<BandPiece> CollectPieces(const Scheme& scheme)
{
    std::vector<BandPiece> pieces;
    for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
        for (int j = 2; j <= PointsInUse(scheme, i); ++j)
            pieces.push_back(BandPiece{scheme.Points[i][j], scheme.Points[i][j - 1], i});
    }
    return pieces;
}

// Pass 1: one-pixel lines, whose exact pixels are the centre colour of every
// band.
void DrawCentreLines(QImage& image, const Scheme& scheme, const BandKinds& kinds)
{
    for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
        const QRgb colour = BandColour(kinds[i], 1);
        for (int j = 2; j <= PointsInUse(scheme, i); ++j)
            DrawThinLine(image, scheme.Points[i][j], scheme.Points[i][j - 1], colour);
    }
}

void DrawVertexCircles(Canvas& canvas, const Scheme& scheme, int radius)
{
    if (radius < 0 || SegmentsInUse(scheme) == 0)
        return;
    if (radius > CircleStamp::MaxRadius) {
        canvas.SetDrawWidth(1);
        for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
            const int n = PointsInUse(scheme, i);
            for (int j = 1; j <= n; ++j) {
                canvas.ForeColor(VertexColour(j, n));
                canvas.Circle(scheme.Points[i][j].X, scheme.Points[i][j].Y, radius);
            }
        }
        return;
    }
    const CircleStamp circle({{radius, VertexMiddleColour}}, 1);
    QImage& image = canvas.pixels();
    for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
        const int n = PointsInUse(scheme, i);
        for (int j = 1; j <= n; ++j)
            circle.DrawAt(image, scheme.Points[i][j].X, scheme.Points[i][j].Y, VertexColour(j, n));
    }
}

CircleStamp SymbolStamp(const std::vector<SymbolRing>& rings)
{
    std::vector<CircleStamp::Ring> stampRings;
    for (const SymbolRing& ring : rings)
        stampRings.push_back({ring.radius, ring.colour});
    return CircleStamp(stampRings, SymbolPenWidth);
}

void DrawStationsAndLights(QImage& image, const Scheme& scheme, const DisplaySettings& display)
{
    if (display.ShowStations && StationsInUse(scheme) > 0) {
        const CircleStamp station = SymbolStamp(StationRings());
        for (int i = 1; i <= StationsInUse(scheme); ++i) {
            const Station& s = scheme.Stations[i];
            const MapPoint p = LocateOnSegment(scheme, s.Segment, s.Position);
            station.DrawAt(image, p.X, p.Y);
        }
    }
    if (display.ShowLights && LightsInUse(scheme) > 0) {
        const CircleStamp green = SymbolStamp(LightRings(true));
        const CircleStamp red = SymbolStamp(LightRings(false));
        for (int i = 1; i <= LightsInUse(scheme); ++i) {
            const TrafficLight& l = scheme.Lights[i];
            const MapPoint p = LocateOnSegment(scheme, l.Segment, l.Position);
            (l.InitialState != 0 ? green : red).DrawAt(image, p.X, p.Y);
        }
    }
}

} // namespace

// The passes wider than 1 are computed in one sweep over the pixels near each
// piece instead of being drawn one over the other; the rest is drawn or
// stamped with the painter's own pixels.
void DrawScheme(Canvas& canvas, const Scheme& scheme, const EditState& edit,
                const DisplaySettings& display)
{
    canvas.Cls();
    const int w = BandWidth(display);
    const int pen = canvas.DrawWidth();

    BandKinds kinds{};
    for (int i = 1; i <= SegmentsInUse(scheme); ++i)
        kinds[i] = BandKindOf(scheme, edit, display, i);

    PaintBands(canvas.pixels(), CollectPieces(scheme), kinds, w);
    DrawCentreLines(canvas.pixels(), scheme, kinds);
    if (display.ShowCircles)
        DrawVertexCircles(canvas, scheme, display.CircleSize);
    DrawStationsAndLights(canvas.pixels(), scheme, display);
    canvas.SetDrawWidth(pen);
}

} // namespace tram
