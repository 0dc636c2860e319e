#include "view/BandKeys.h"
#include "view/BandRaster.h"
#include "view/CircleStamp.h"
#include "view/Geometry.h"
#include "view/Renderer.h"
#include "view/ThinLine.h"
#include "view/TwoThreads.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace tram {

namespace {

// Below this much work a second thread costs more than it saves.
constexpr double ThreadedWork = 250000;

std::vector<BandPiece> collectPieces(const Scheme& scheme)
{
    std::vector<BandPiece> pieces;
    for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
        for (int j = 2; j <= PointsInUse(scheme, i); ++j)
            pieces.push_back(BandPiece{scheme.Points[i][j], scheme.Points[i][j - 1], i});
    }
    return pieces;
}

// The stamps are the same on every redraw: each is made once, the vertex
// circle once per radius.
const CircleStamp& vertexStamp(int radius)
{
    static std::mutex mutex;
    static std::array<std::unique_ptr<const CircleStamp>, CircleStamp::MaxRadius + 1> stamps;
    const std::lock_guard lock(mutex);
    auto& stamp = stamps[size_t(radius)];
    if (!stamp)
        stamp = std::make_unique<const CircleStamp>(std::vector<Ring>{{radius, VertexMiddleColour}}, 1);
    return *stamp;
}

const CircleStamp& stationStamp()
{
    static const CircleStamp stamp(StationRings(), SymbolPenWidth);
    return stamp;
}

const CircleStamp& lightStamp(bool green)
{
    static const CircleStamp greenStamp(LightRings(true), SymbolPenWidth);
    static const CircleStamp redStamp(LightRings(false), SymbolPenWidth);
    return green ? greenStamp : redStamp;
}

// A station or a light where it sits on its segment.
struct Symbol {
    const CircleStamp* stamp;
    MapPoint at;
};

std::vector<Symbol> placeSymbols(const Scheme& scheme, const DisplaySettings& display)
{
    std::vector<Symbol> symbols;
    if (display.ShowStations) {
        for (int i = 1; i <= StationsInUse(scheme); ++i) {
            const Station& s = scheme.Stations[i];
            symbols.push_back({&stationStamp(), LocateOnSegment(scheme, s.Segment, s.Position)});
        }
    }
    if (display.ShowLights) {
        for (int i = 1; i <= LightsInUse(scheme); ++i) {
            const TrafficLight& l = scheme.Lights[i];
            symbols.push_back({&lightStamp(l.InitialState != 0), LocateOnSegment(scheme, l.Segment, l.Position)});
        }
    }
    return symbols;
}

// Everything of one redraw after the bands, row share by row share.
struct Overlay {
    const Scheme& scheme;
    const BandKinds& kinds;
    const CircleStamp* vertexCircle; // null: no circles, or drawn by the painter
    std::vector<Symbol> symbols;

    // Pass 1: one-pixel lines, whose exact pixels are the centre colour of
    // every band.
    void drawCentreLines(const CanvasPixels& pixels, const RowShare& rows) const
    {
        for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
            const QRgb colour = BandColour(kinds[size_t(i)], 1);
            for (int j = 2; j <= PointsInUse(scheme, i); ++j)
                DrawThinLine(pixels, scheme.Points[i][j], scheme.Points[i][j - 1], colour, rows);
        }
    }

    void drawVertexCircles(const CanvasPixels& pixels, const RowShare& rows) const
    {
        for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
            const int n = PointsInUse(scheme, i);
            for (int j = 1; j <= n; ++j)
                vertexCircle->drawAt(pixels, scheme.Points[i][j].X, scheme.Points[i][j].Y, VertexColour(j, n), rows);
        }
    }

    void drawSymbols(const CanvasPixels& pixels, const RowShare& rows) const
    {
        for (const Symbol& s : symbols)
            s.stamp->drawAt(pixels, s.at.X, s.at.Y, rows);
    }
};

// The background is white, every bit set: the bytes of its rows are all 0xff.
void clearRows(const CanvasPixels& pixels, const RowShare& rows)
{
    Q_ASSERT(Canvas::Background == bands::White);
    rows.forEachRun(0, Canvas::Height - 1, [&](int top, int bottom) {
        std::memset(pixels.row(top), 0xff, size_t(bottom - top + 1) * size_t(pixels.stride));
    });
}

// Circles too large for a stamp, with the canvas's own painter.
void paintVertexCircles(Canvas& canvas, const Scheme& scheme, int radius)
{
    canvas.SetDrawWidth(1);
    for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
        const int n = PointsInUse(scheme, i);
        for (int j = 1; j <= n; ++j) {
            canvas.ForeColor(VertexColour(j, n));
            canvas.Circle(scheme.Points[i][j].X, scheme.Points[i][j].Y, radius);
        }
    }
}

} // namespace

// The passes wider than 1 are computed in one sweep over the pixels near each
// piece instead of being drawn one over the other; the rest is drawn or
// stamped with the painter's own pixels. Heavy maps are painted by two
// threads, each on its own rows, every step in the same order.
void DrawScheme(Canvas& canvas, const Scheme& scheme, const EditState& edit, const DisplaySettings& display)
{
    const int w = BandWidth(display);
    const int pen = canvas.DrawWidth();

    BandKinds kinds{};
    for (int i = 1; i <= SegmentsInUse(scheme); ++i)
        kinds[size_t(i)] = BandKindOf(scheme, edit, display, i);

    BandRaster bands(collectPieces(scheme), kinds, w);
    const int radius = display.CircleSize;
    const bool circles = display.ShowCircles && radius >= 0 && SegmentsInUse(scheme) > 0;
    const bool paintedCircles = circles && radius > CircleStamp::MaxRadius;
    Overlay overlay{scheme, kinds, circles && !paintedCircles ? &vertexStamp(radius) : nullptr,
                    placeSymbols(scheme, display)};

    // The canvas is cleared row by row by the thread that paints the row, as
    // Cls would clear it: the painter ended, every pixel the background.
    const CanvasPixels pixels(canvas.pixels());
    const auto paint = [&](const RowShare& rows) {
        clearRows(pixels, rows);
        bands.paintRows(pixels, rows);
        overlay.drawCentreLines(pixels, rows);
        if (overlay.vertexCircle)
            overlay.drawVertexCircles(pixels, rows);
        if (!paintedCircles)
            overlay.drawSymbols(pixels, rows);
    };
    if (bands.work() < ThreadedWork)
        paint(RowShare{});
    else
        PaintOnTwoThreads(paint);
    if (paintedCircles) {
        paintVertexCircles(canvas, scheme, radius);
        overlay.drawSymbols(CanvasPixels(canvas.pixels()), RowShare{});
    }
    canvas.SetDrawWidth(pen);
}

} // namespace tram
