#pragma once

#include <QColor>
#include <QPainter>
#include <QPen>

namespace tram {

// The settings of the canvas's own painter, for steps that paint the canvas
// image in batches or copy pixels drawn elsewhere: what they paint must be
// what the canvas itself would paint, pixel for pixel.
inline void UseCanvasSettings(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
}

inline QPen CanvasPen(QRgb colour, int width)
{
    return QPen(QColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A line with the painter's pen. Qt strokes nothing but a single pixel for a
// line of zero length; as a point, the round cap makes it a dot as wide as
// the pen, like both ends of any longer line.
inline void StrokeLine(QPainter& painter, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        painter.drawPoint(x1, y1);
    else
        painter.drawLine(x1, y1, x2, y2);
}

// A circle outline with the painter's pen; a negative radius draws nothing.
inline void StrokeCircle(QPainter& painter, int cx, int cy, int radius)
{
    if (radius >= 0)
        painter.drawEllipse(QPoint(cx, cy), radius, radius);
}

} // namespace tram
