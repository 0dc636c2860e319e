#include "view/BandRaster.h"
#include "view/CircleStamp.h"
#include "view/Geometry.h"
#include "view/Renderer.h"
#include "view/ThinLine.h"

#include <algorithm>
#include <vector>

namespace tram {

namespace {

// Counts as far as the tables reach, whatever the model says.
int segmentCount(const Scheme& scheme) { return std::clamp<int>(scheme.SegmentCount, 0, MaxSegments); }
int pointCount(const Scheme& scheme, int segment)
{
    return std::clamp<int>(scheme.PointCount[segment], 0, MaxPoints);
}

std::vector<BandPiece> CollectPieces(const Scheme& scheme)
{
    std::vector<BandPiece> pieces;
    for (int i = 1; i <= segmentCount(scheme); ++i) {
        for (int j = 2; j <= pointCount(scheme, i); ++j)
            pieces.push_back(BandPiece{scheme.Points[i][j], scheme.Points[i][j - 1], i});
    }
    return pieces;
}

// Pass 1: one-pixel lines, whose exact pixels are the centre colour of every
// band.
void DrawCentreLines(QImage& image, const Scheme& scheme, const BandKinds& kinds)
{
    for (int i = 1; i <= segmentCount(scheme); ++i) {
        const QRgb colour = BandColour(kinds[i], 1);
        for (int j = 2; j <= pointCount(scheme, i); ++j)
            DrawThinLine(image, scheme.Points[i][j], scheme.Points[i][j - 1], colour);
    }
}

QRgb VertexColour(int j, int count)
{
    if (j == count)
        return VertexLastColour;
    return j == 1 ? VertexFirstColour : VertexMiddleColour;
}

void DrawVertexCircles(Canvas& canvas, const Scheme& scheme, int radius)
{
    if (radius < 0 || segmentCount(scheme) == 0)
        return;
    if (radius > CircleStamp::MaxRadius) {
        canvas.SetDrawWidth(1);
        for (int i = 1; i <= segmentCount(scheme); ++i) {
            const int n = pointCount(scheme, i);
            for (int j = 1; j <= n; ++j) {
                canvas.ForeColor(VertexColour(j, n));
                canvas.Circle(scheme.Points[i][j].X, scheme.Points[i][j].Y, radius);
            }
        }
        return;
    }
    const CircleStamp circle({{radius, VertexMiddleColour}}, 1);
    QImage& image = canvas.pixels();
    for (int i = 1; i <= segmentCount(scheme); ++i) {
        const int n = pointCount(scheme, i);
        for (int j = 1; j <= n; ++j)
            circle.DrawAt(image, scheme.Points[i][j].X, scheme.Points[i][j].Y, VertexColour(j, n));
    }
}

// Stations: six rings of radius 6 down to 1; lights: four of radius 4 down to
// 1; all with a pen 2 pixels wide.
CircleStamp StationStamp()
{
    std::vector<CircleStamp::Ring> rings;
    for (int r = StationRadius; r >= 1; --r)
        rings.push_back({r, StationColour(r)});
    return CircleStamp(rings, SymbolPenWidth);
}

CircleStamp LightStamp(bool green)
{
    std::vector<CircleStamp::Ring> rings;
    for (int r = LightRadius; r >= 1; --r)
        rings.push_back({r, LightColour(green, r)});
    return CircleStamp(rings, SymbolPenWidth);
}

void DrawStationsAndLights(QImage& image, const Scheme& scheme, const DisplaySettings& display)
{
    if (display.ShowStations && scheme.StationCount > 0) {
        const CircleStamp station = StationStamp();
        for (int i = 1; i <= std::min<int>(scheme.StationCount, MaxStations); ++i) {
            const Station& s = scheme.Stations[i];
            const MapPoint p = LocateOnSegment(scheme, s.Segment, s.Position);
            station.DrawAt(image, p.X, p.Y);
        }
    }
    if (display.ShowLights && scheme.LightCount > 0) {
        const CircleStamp green = LightStamp(true);
        const CircleStamp red = LightStamp(false);
        for (int i = 1; i <= std::min<int>(scheme.LightCount, MaxLights); ++i) {
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
    const int w = canvas.DrawWidth();

    BandKinds kinds{};
    for (int i = 1; i <= segmentCount(scheme); ++i)
        kinds[i] = BandKindOf(scheme, edit, display, i);

    PaintBands(canvas.pixels(), CollectPieces(scheme), kinds, w);
    DrawCentreLines(canvas.pixels(), scheme, kinds);
    if (display.ShowCircles)
        DrawVertexCircles(canvas, scheme, display.CircleSize);
    DrawStationsAndLights(canvas.pixels(), scheme, display);
    canvas.SetDrawWidth(w);
}

} // namespace tram
