#pragma once

#include "model/EditorModel.h"
#include "view/Canvas.h"
#include "view/Geometry.h"

#include <QColor>
#include <algorithm>
#include <vector>

namespace tram {

// Clears the canvas and draws the whole scheme: the track bands from the line
// width W (BandWidth) down to 1, the vertex circles, the stations and the
// lights. The canvas's pen width is left as it was. Nothing is kept between
// calls.
void DrawScheme(Canvas& canvas, const Scheme& scheme, const EditState& edit, const DisplaySettings& display);

// The same picture drawn the straightforward way, one line per piece per pass:
// the reference the faster drawing is held to.
void DrawSchemePlain(Canvas& canvas, const Scheme& scheme, const EditState& edit, const DisplaySettings& display);

// That drawing on any painter set up with the canvas settings, in canvas
// coordinates: the canvas image, or through a scaling transform a larger
// image, an SVG or a PDF page. The background is the caller's.
void PaintSchemePasses(QPainter& painter, const Scheme& scheme, const EditState& edit, const DisplaySettings& display);

// W: the line width, as the canvas has no pen narrower than one pixel.
inline int BandWidth(const DisplaySettings& display)
{
    return std::max(1, int(display.DrawWidth));
}

// Colours of the band passes; k is the pen width of the pass. Wide pens would
// make components negative: they are clamped, so passes of 25 and above are black.
enum class BandKind { Track, Route, Marked };

inline int bandComponent(int value)
{
    return std::clamp(value, 0, 255);
}

inline QRgb BandColour(BandKind kind, int k)
{
    const int v = bandComponent(200 - 10 * k);
    switch (kind) {
    case BandKind::Route:
        return qRgb(v, 0, v);
    case BandKind::Marked:
        return qRgb(0, v, bandComponent(250 - 10 * k));
    case BandKind::Track:
        break;
    }
    return qRgb(v, v, v);
}

// Beyond this width every pass is black, so the passes between the widest one
// and this one change nothing and are skipped.
inline constexpr int WidestShadedPass = 24;

inline constexpr QRgb VertexFirstColour = qRgb(0, 255, 0);
inline constexpr QRgb VertexLastColour = qRgb(255, 0, 0);
inline constexpr QRgb VertexMiddleColour = qRgb(255, 255, 255);

// The circle of vertex j of a segment of `count` vertices: the last one's
// colour wins over the first one's, so a lone vertex is red.
inline QRgb VertexColour(int j, int count)
{
    if (j == count)
        return VertexLastColour;
    return j == 1 ? VertexFirstColour : VertexMiddleColour;
}

// Stations are rings of radius StationRadius down to 1, lights rings of
// LightRadius down to 1, all drawn with a pen SymbolPenWidth wide.
inline constexpr int StationRadius = 6;
inline constexpr int LightRadius = 4;
inline constexpr int SymbolPenWidth = 2;

inline QRgb StationColour(int r)
{
    return qRgb(0, 0, 250 - 8 * r);
}
inline QRgb LightColour(bool green, int r)
{
    return green ? qRgb(0, 250 - 8 * r, 0) : qRgb(250 - 8 * r, 0, 0);
}

// A circle of the picture: a vertex circle, or one ring of a symbol.
struct Ring {
    int radius;
    QRgb colour;
};

// The rings of a symbol in drawing order, outermost first.
inline std::vector<Ring> StationRings()
{
    std::vector<Ring> rings;
    for (int r = StationRadius; r >= 1; --r)
        rings.push_back({r, StationColour(r)});
    return rings;
}

inline std::vector<Ring> LightRings(bool green)
{
    std::vector<Ring> rings;
    for (int r = LightRadius; r >= 1; --r)
        rings.push_back({r, LightColour(green, r)});
    return rings;
}

// The marked colour wins over the route colour.
inline BandKind BandKindOf(const Scheme& scheme, const EditState& edit, const DisplaySettings& display, int segment)
{
    if (segment == edit.CurrentSegment && display.MarkSegment)
        return BandKind::Marked;
    if (display.ShowRoute && IsSegmentInRoute(scheme, edit.CurrentRoute, segment))
        return BandKind::Route;
    return BandKind::Track;
}

} // namespace tram
