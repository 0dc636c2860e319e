#include "view/Canvas.h"

#include "view/CanvasPainter.h"

#include <algorithm>

namespace tram {

const QRgb Canvas::Background = qRgb(255, 255, 255);

Canvas::Canvas()
    : image_(Width, Height, QImage::Format_RGB32)
{
    image_.fill(Background);
}

Canvas::~Canvas() = default;

void Canvas::Cls()
{
    painter_.reset();
    image_.fill(Background);
}

void Canvas::SetDrawWidth(int width)
{
    drawWidth_ = std::max(1, width);
    if (painter_)
        applyPen();
}

void Canvas::ForeColor(QRgb colour)
{
    foreColor_ = colour;
    if (painter_)
        applyPen();
}

void Canvas::Line(int x1, int y1, int x2, int y2)
{
    // Qt strokes nothing but a single pixel for a line of zero length; as a
    // point, the round cap makes it a dot as wide as the pen, like both ends
    // of any longer line.
    if (x1 == x2 && y1 == y2)
        painter().drawPoint(x1, y1);
    else
        painter().drawLine(x1, y1, x2, y2);
}

void Canvas::Circle(int cx, int cy, int radius)
{
    if (radius < 0)
        return;
    painter().drawEllipse(QPoint(cx, cy), radius, radius);
}

const QImage& Canvas::image() const
{
    painter_.reset();
    return image_;
}

QImage& Canvas::pixels()
{
    painter_.reset();
    return image_;
}

QPainter& Canvas::painter()
{
    // One painter for a whole redraw: opening one per line would cost more
    // than the line itself.
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        UseCanvasSettings(*painter_);
        applyPen();
    }
    return *painter_;
}

void Canvas::applyPen()
{
    painter_->setPen(CanvasPen(foreColor_, drawWidth_));
}

} // namespace tram
