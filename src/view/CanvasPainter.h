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

} // namespace tram
