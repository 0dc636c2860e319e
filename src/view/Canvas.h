#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <memory>

namespace tram {

// The drawing surface: a persistent 1000 x 392 image with a pen. Drawing is
// aliased so every colour lands exactly; lines have round caps so the bends of
// a polyline show no notch.
class Canvas {
public:
    static constexpr int Width = 1000;
    static constexpr int Height = 392;
    static const QRgb Background;

    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void Cls();
    int DrawWidth() const { return drawWidth_; }
    void SetDrawWidth(int width);
    void ForeColor(QRgb colour);
    void Line(int x1, int y1, int x2, int y2);
    void Circle(int cx, int cy, int radius);

    // The finished picture. Ends any painting in progress.
    const QImage& image() const;
    // Direct pixel access for renderers that write the image themselves.
    QImage& pixels();

private:
    QPainter& painter();
    void applyPen();

    mutable QImage image_;
    mutable std::unique_ptr<QPainter> painter_;
    int drawWidth_ = 1;
    QRgb foreColor_ = qRgb(0, 0, 0);
};

} // namespace tram
