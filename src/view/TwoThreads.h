#pragma once

#include "view/RowShare.h"

#include <functional>

namespace tram {

// Paints the rows of the canvas on this thread and a helper, each its share,
// and returns when both are done; with no thread to be had, this thread paints
// every row. What either thread throws comes out here, after both have stopped.
void PaintOnTwoThreads(const std::function<void(const RowShare&)>& paint);

} // namespace tram
