#include "view/WidestPass.h"

#include "view/BandKeys.h"

#include <array>

namespace tram::bands {

void PaintWidestRow(uint32_t* pixels, int y, const std::vector<Frame>& frames, const std::vector<Disc>& discs,
                    int width)
{
    const double r = width / 2.0;
    const double yc = y + SampleOffset;
    std::array<int16_t, Canvas::Width + 1> starts{};
    bool any = false;
    for (const Frame& p : frames) {
        int first = 0;
        int last = 0;
        if (!PixelRange(CapsuleRow(p, yc, r), first, last))
            continue;
        if (first == 0 && last == Canvas::Width - 1) {
            for (int x = 0; x < Canvas::Width; ++x)
                pixels[x] = std::min(pixels[x], Black);
            return;
        }
        ++starts[size_t(first)];
        --starts[size_t(last + 1)];
        any = true;
    }
    // Dots, where pieces have no length; elsewhere inside the bands already.
    for (const Disc& disc : discs) {
        const double dy = yc - disc.centre.Y;
        if (std::abs(dy) > r)
            continue;
        const double h = std::sqrt(r * r - dy * dy);
        Span span;
        span.add(disc.centre.X - h, disc.centre.X + h);
        int first = 0;
        int last = 0;
        if (!PixelRange(span, first, last))
            continue;
        ++starts[size_t(first)];
        --starts[size_t(last + 1)];
        any = true;
    }
    if (!any)
        return;
    int depth = 0;
    for (int x = 0; x < Canvas::Width; ++x) {
        depth += starts[size_t(x)];
        if (depth > 0)
            pixels[x] = std::min(pixels[x], Black);
    }
}

} // namespace tram::bands
