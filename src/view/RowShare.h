#pragma once

#include "view/Canvas.h"

#include <QImage>
#include <algorithm>
#include <cstdint>

namespace tram {

// The canvas rows one of the redraw's threads paints. Rows are dealt in
// blocks, so that every thread gets a share of the map. The per-row tables
// give a block whole cache lines of their own; in the image two threads can
// meet only on the one line where two blocks join.
struct RowShare {
    static constexpr int Block = 32;

    int part = 0;
    int parts = 1;

    bool owns(int y) const { return parts == 1 || (y / Block) % parts == part; }

    // Calls f(first, last) for every run of owned rows within [top, bottom].
    template <typename F>
    void forEachRun(int top, int bottom, F&& f) const
    {
        top = std::max(top, 0);
        bottom = std::min(bottom, Canvas::Height - 1);
        if (parts == 1) {
            if (top <= bottom)
                f(top, bottom);
            return;
        }
        for (int block = top / Block; block * Block <= bottom; ++block) {
            if (block % parts == part)
                f(std::max(top, block * Block), std::min(bottom, block * Block + Block - 1));
        }
    }
};

// The canvas image's pixels, taken once before the threads start: asking the
// image for them may copy it.
struct CanvasPixels {
    explicit CanvasPixels(QImage& image)
        : bits(image.bits())
        , stride(image.bytesPerLine())
    {
        Q_ASSERT(image.width() == Canvas::Width && image.height() == Canvas::Height);
    }
    uint32_t* row(int y) const { return reinterpret_cast<uint32_t*>(bits + qsizetype(y) * stride); }

    uchar* bits;
    qsizetype stride;
};

} // namespace tram
