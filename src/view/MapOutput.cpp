#include "view/MapOutput.h"

#include "view/Canvas.h"
#include "view/CanvasPainter.h"
#include "view/Renderer.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace tram {

namespace {

// The painter's transform takes the canvas, where pixel (x, y) is the unit
// square from (x, y), to the device; the background and the names are placed
// there. The scheme's coordinates name pixels, so its drawing is moved to the
// pixel centres; on an image the painter's aliased drawing already puts
// (x, y) at the centre of device pixel (x, y), which is moved back, so that
// at scale 1 the picture is the canvas's to the pixel.
void paintMap(QPainter& painter, const MapScene& scene, bool aliasedDevice)
{
    const QTransform canvas = painter.transform();
    painter.fillRect(QRect(0, 0, Canvas::Width, Canvas::Height), QColor(Canvas::Background));
    QTransform pixelCentres = QTransform::fromTranslate(0.5, 0.5) * canvas;
    if (aliasedDevice)
        pixelCentres *= QTransform::fromTranslate(-0.5, -0.5);
    painter.setTransform(pixelCentres);
    UseCanvasSettings(painter);
    PaintSchemePasses(painter, scene.scheme, scene.edit, scene.display);
    painter.setTransform(canvas);
    if (scene.labels)
        DrawStationLabels(painter, scene.labels->placed, scene.labels->font);
}

QPageSize pageSize(Paper paper)
{
    switch (paper) {
    case Paper::A4:
        return QPageSize(QPageSize::A4);
    case Paper::A3:
        return QPageSize(QPageSize::A3);
    case Paper::FitMap:
        break;
    }
    return QPageSize(QSizeF(Canvas::Width, Canvas::Height), QPageSize::Point, QString(), QPageSize::ExactMatch);
}

} // namespace

QImage MapImage(const MapScene& scene, int scale)
{
    QImage image(Canvas::Width * scale, Canvas::Height * scale, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paintMap(painter, scene, true);
    return image;
}

QByteArray MapSvg(const MapScene& scene, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(Canvas::Width, Canvas::Height));
    svg.setViewBox(QRect(0, 0, Canvas::Width, Canvas::Height));
    // A pixel is a CSS pixel, so a browser shows the map at the canvas size.
    svg.setResolution(96);
    svg.setTitle(title);
    svg.setDescription(QStringLiteral("tram-map-tool"));
    QPainter painter(&svg);
    paintMap(painter, scene, false);
    painter.end();
    return bytes;
}

QByteArray MapPdf(const MapScene& scene, Paper paper, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("tram-map-tool"));
    // One device unit is one point.
    pdf.setResolution(72);
    const QMarginsF margins = paper == Paper::FitMap ? QMarginsF() : QMarginsF(10, 10, 10, 10);
    pdf.setPageLayout(QPageLayout(pageSize(paper),
                                  paper == Paper::FitMap ? QPageLayout::Portrait : QPageLayout::Landscape, margins,
                                  QPageLayout::Millimeter));
    const QRectF area = pdf.pageLayout().paintRectPixels(pdf.resolution());
    const double fit = std::min(area.width() / Canvas::Width, area.height() / Canvas::Height);

    QPainter painter(&pdf);
    painter.translate((area.width() - fit * Canvas::Width) / 2, (area.height() - fit * Canvas::Height) / 2);
    painter.scale(fit, fit);
    paintMap(painter, scene, false);
    painter.end();
    return bytes;
}

} // namespace tram
