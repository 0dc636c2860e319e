#include "view/WidestPass.h"

#include "view/BandKeys.h"

#include <array>
#include <limits>

namespace tram::bands {

namespace {

// The union of the row's spans: one interval grown by every span that meets
// it, and the others counted in a difference array.
static_assert(MaxSegments * MaxPoints * 2 < std::numeric_limits<int16_t>::max(),
              "a column of the difference array counts every piece and dot of the map");
class SpanUnion {
public:
    void add(int first, int last)
    {
        if (first <= last_ + 1 && last >= first_ - 1) {
            first_ = std::min(first_, first);
            last_ = std::max(last_, last);
            return;
        }
        if (first_ > last_) {
            first_ = first;
            last_ = last;
            return;
        }
        ++starts_[size_t(first)];
        --starts_[size_t(last + 1)];
        scattered_ = true;
    }
    bool covers(int first, int last) const { return first_ <= first && last <= last_; }

    // Every pixel in the union not yet below black becomes black.
    void paint(uint32_t* pixels) const
    {
        for (int x = std::max(first_, 0); x <= last_; ++x)
            pixels[x] = std::min(pixels[x], Black);
        if (!scattered_)
            return;
        int depth = 0;
        for (int x = 0; x < Canvas::Width; ++x) {
            depth += starts_[size_t(x)];
            if (depth > 0)
                pixels[x] = std::min(pixels[x], Black);
        }
    }

private:
    int first_ = Canvas::Width;
    int last_ = -1;
    bool scattered_ = false;
    std::array<int16_t, Canvas::Width + 1> starts_{};
};

} // namespace

void PaintWidestRow(uint32_t* pixels, int y, const std::vector<Frame>& frames, const std::vector<uint32_t>& order,
                    const std::vector<Disc>& discs, int width)
{
    // Only white pixels can change: once the spans cover all of them, the
    // rest of the pieces make no difference.
    int whiteFirst = 0;
    while (whiteFirst < Canvas::Width && pixels[whiteFirst] != White)
        ++whiteFirst;
    if (whiteFirst == Canvas::Width)
        return;
    int whiteLast = Canvas::Width - 1;
    while (pixels[whiteLast] != White)
        --whiteLast;

    const double r = width / 2.0;
    const double yc = y + SampleOffset;
    SpanUnion spans;
    for (const uint32_t i : order) {
        int first = 0;
        int last = 0;
        if (!PixelRange(CapsuleRow(frames[i], yc, r), first, last))
            continue;
        spans.add(first, last);
        if (spans.covers(whiteFirst, whiteLast))
            break;
    }
    // Dots, where pieces have no length; elsewhere inside the bands already.
    for (const Disc& disc : discs) {
        if (spans.covers(whiteFirst, whiteLast))
            break;
        const double dy = yc - disc.centre.Y;
        if (std::abs(dy) > r)
            continue;
        const double h = std::sqrt(r * r - dy * dy);
        Span span;
        span.add(disc.centre.X - h, disc.centre.X + h);
        int first = 0;
        int last = 0;
        if (PixelRange(span, first, last))
            spans.add(first, last);
    }
    spans.paint(pixels);
}

} // namespace tram::bands
