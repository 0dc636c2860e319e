// Draws whatever scheme the bytes make. The input is a scheme file, as the
// editor opens it (so the table limits hold), followed by the display settings
// in the bytes the reader ignores: line width (1..32767), circle size (any),
// the five display switches, the current segment and route; a missing byte
// keeps the editor's start-up value. The fast drawing must run clean under the
// sanitizers, keep the pen width, and for widths up to ComparedWidths stay
// within the renderer tests' tolerance of the plain reference drawing (the
// same picture up to single pass shades on band edges): every exact colour
// exactly where the plain drawing has it, and every other differing pixel a
// shade of the same or a neighbouring pass. The tests also bound how many
// pixels may differ (10 or 40 in a thousand) for their fixed maps; that share
// is no rule for any map (a lone short band can have 4 of 370 pixels a shade
// off, a thin band across the canvas from far off one in six), so it is not
// checked here.
#include "files/SchemeFile.h"
#include "support/RendererComparison.h"
#include "view/Renderer.h"

#include <cstdlib>
#include <limits>

namespace {

// The plain drawing costs a pass per unit of width; beyond the widest shaded
// pass every further pass is the same black one.
constexpr int ComparedWidths = tram::WidestShadedPass + 6;

struct Settings {
    tram::EditState edit;
    tram::DisplaySettings display;
};

// Reads the settings from the bytes after the scheme.
Settings settingsFrom(QByteArrayView tail)
{
    Settings s;
    tram::ApplyStartDisplay(s.display);
    const auto byte = [&](qsizetype i, uint8_t otherwise) {
        return i < tail.size() ? static_cast<uint8_t>(tail[i]) : otherwise;
    };
    if (tail.size() >= 2)
        s.display.DrawWidth = static_cast<int16_t>(
            1 + (byte(0, 0) | byte(1, 0) << 8) % std::numeric_limits<int16_t>::max());
    if (tail.size() >= 4)
        s.display.CircleSize = static_cast<int16_t>(byte(2, 0) | byte(3, 0) << 8);
    if (tail.size() >= 5) {
        const uint8_t switches = byte(4, 0);
        s.display.ShowCircles = switches & 1;
        s.display.ShowStations = switches & 2;
        s.display.ShowLights = switches & 4;
        s.display.ShowRoute = switches & 8;
        s.display.MarkSegment = switches & 16;
    }
    s.edit.CurrentSegment = byte(5, 0);
    s.edit.CurrentRoute = byte(6, 0);
    return s;
}

QImage draw(const tram::Scheme& scheme, const Settings& s, bool fast)
{
    tram::Canvas canvas;
    canvas.SetDrawWidth(s.display.DrawWidth);
    (fast ? tram::DrawScheme : tram::DrawSchemePlain)(canvas, scheme, s.edit, s.display);
    if (canvas.DrawWidth() != s.display.DrawWidth)
        std::abort();
    return canvas.image().copy();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tram::Scheme scheme;
    if (tram::ReadSchemeBytes(bytes, scheme))
        return -1; // not a scheme: nothing to draw, and nothing to keep
    const Settings settings = settingsFrom(QByteArrayView(bytes).sliced(tram::WriteSchemeBytes(scheme).size()));

    const QImage fast = draw(scheme, settings, true);
    if (settings.display.DrawWidth > ComparedWidths)
        return 0;
    using namespace tram::renderercomparison;
    const Comparison c = Compare(fast, draw(scheme, settings, false), settings.display.DrawWidth);
    if (c.exactBroken != 0 || c.farOff != 0)
        std::abort();
    return 0;
}
