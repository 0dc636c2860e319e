// Draws the editor's icon with the editor's own renderer: a tiny network of
// three segments, one of them on the shown route and one marked, with
// stations and lights. Writes the PNG sizes of the hicolor theme, scaled down
// from the canvas, and a scalable SVG of the same drawing.
//
//   tram-make-icons FOLDER ID SIZE...   writes FOLDER/ID.svg and FOLDER/ID-SIZE.png

#include "view/Canvas.h"
#include "view/Geometry.h"
#include "view/Renderer.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <initializer_list>

using namespace tram;

namespace {

// The drawing fills a square in the canvas's top left corner; the icon shows
// it on a white card with rounded corners, as the canvas is white.
constexpr int Side = 384;
constexpr int PenWidth = 34;
constexpr QRect Card(16, 16, Side - 32, Side - 32);
constexpr int CardRadius = 44;
constexpr int CardBorder = 6;
const QColor CardBorderColour(140, 140, 140);

void addSegment(Scheme& scheme, std::initializer_list<MapPoint> points)
{
    const int s = ++scheme.SegmentCount;
    for (const MapPoint p : points)
        scheme.Points[s][++scheme.PointCount[s]] = p;
}

void addStation(Scheme& scheme, int segment, double position)
{
    scheme.Stations[++scheme.StationCount] = {uint8_t(segment), position, 0, {}};
}

void addLight(Scheme& scheme, int segment, double position, bool green)
{
    scheme.Lights[++scheme.LightCount] = {uint8_t(segment), position, uint8_t(green), 0, 0, 0};
}

Scheme iconScheme()
{
    Scheme s;
    addSegment(s, {{72, 304}, {150, 212}, {242, 192}, {314, 80}}); // the route
    addSegment(s, {{150, 212}, {118, 104}, {70, 76}});
    addSegment(s, {{242, 192}, {298, 310}}); // marked
    s.RouteCount = 1;
    s.RouteLength[1] = 1;
    s.RouteSegments[1][1] = 1;
    addStation(s, 1, 70);
    addStation(s, 1, 230);
    addStation(s, 2, 90);
    addStation(s, 3, 90);
    addLight(s, 1, 150, false);
    addLight(s, 2, 160, true);
    return s;
}

EditState iconEdit()
{
    EditState edit;
    edit.CurrentRoute = 1;
    edit.CurrentSegment = 3;
    return edit;
}

DisplaySettings iconDisplay()
{
    DisplaySettings display;
    display.ShowStations = true;
    display.ShowLights = true;
    display.ShowRoute = true;
    display.MarkSegment = true;
    display.DrawWidth = PenWidth;
    return display;
}

QPainterPath cardPath()
{
    QPainterPath path;
    path.addRoundedRect(QRectF(Card), CardRadius, CardRadius);
    return path;
}

// The canvas square on its card, transparent around it, ready to scale.
QImage drawnSquare()
{
    Canvas canvas;
    DrawScheme(canvas, iconScheme(), iconEdit(), iconDisplay());
    QImage square(Side, Side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(cardPath());
    painter.drawImage(0, 0, canvas.image(), 0, 0, Side, Side);
    painter.setClipping(false);
    painter.strokePath(cardPath(), QPen(CardBorderColour, CardBorder));
    painter.end();
    return square;
}

QString colour(QRgb rgb)
{
    return QColor(rgb).name();
}

// The renderer's picture as vector strokes: its passes from the widest pen
// down to 1, each lighter than the one before, then the station and light
// circles.
QByteArray svgDrawing()
{
    const Scheme scheme = iconScheme();
    const EditState edit = iconEdit();
    const DisplaySettings display = iconDisplay();
    QString svg =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 %1 %1\">\n"
            "<rect x=\"%2\" y=\"%2\" width=\"%3\" height=\"%3\" rx=\"%4\" fill=\"%5\" stroke=\"%6\" stroke-width=\"%7\"/>\n"
            "<g fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n")
            .arg(Side)
            .arg(Card.x())
            .arg(Card.width())
            .arg(CardRadius)
            .arg(colour(Canvas::Background), CardBorderColour.name())
            .arg(CardBorder);
    QList<int> passes;
    if (PenWidth > WidestShadedPass)
        passes << PenWidth;
    for (int k = std::min(PenWidth, WidestShadedPass); k >= 1; --k)
        passes << k;
    for (const int k : passes) {
        for (int i = 1; i <= scheme.SegmentCount; ++i) {
            QStringList points;
            for (int j = 1; j <= scheme.PointCount[i]; ++j)
                points << QStringLiteral("%1,%2").arg(scheme.Points[i][j].X).arg(scheme.Points[i][j].Y);
            svg += QStringLiteral("<polyline points=\"%1\" stroke=\"%2\" stroke-width=\"%3\"/>\n")
                       .arg(points.join(u' '), colour(BandColour(BandKindOf(scheme, edit, display, i), k)))
                       .arg(k);
        }
    }
    auto circles = [&](MapPoint p, int largest, auto colourOf) {
        for (int r = largest; r >= 1; --r)
            svg += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" stroke=\"%4\" stroke-width=\"2\"/>\n")
                       .arg(p.X)
                       .arg(p.Y)
                       .arg(r)
                       .arg(colour(colourOf(r)));
    };
    for (int i = 1; i <= scheme.StationCount; ++i) {
        const Station& s = scheme.Stations[i];
        circles(LocateOnSegment(scheme, s.Segment, s.Position), 6, StationColour);
    }
    for (int i = 1; i <= scheme.LightCount; ++i) {
        const TrafficLight& l = scheme.Lights[i];
        circles(LocateOnSegment(scheme, l.Segment, l.Position), 4,
                [&](int r) { return LightColour(l.InitialState != 0, r); });
    }
    svg += QStringLiteral("</g>\n</svg>\n");
    return svg.toUtf8();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fputs("usage: tram-make-icons FOLDER ID SIZE...\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString id = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder) || !writeFile(folder + u'/' + id + QStringLiteral(".svg"), svgDrawing())) {
        std::fprintf(stderr, "tram-make-icons: cannot write %s.svg in %s\n", argv[2], argv[1]);
        return 1;
    }
    const QImage square = drawnSquare();
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString path = QStringLiteral("%1/%2-%3.png").arg(folder, id).arg(size);
        if (size < 1 || !square.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(path, "PNG")) {
            std::fprintf(stderr, "tram-make-icons: cannot write the %s px icon\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
