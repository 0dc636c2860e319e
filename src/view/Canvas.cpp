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
    StrokeLine(painter(), x1, y1, x2, y2);
}

void Canvas::Circle(int cx, int cy, int radius)
{
    StrokeCircle(painter(), cx, cy, radius);
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
