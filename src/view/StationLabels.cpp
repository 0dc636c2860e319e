#include "view/StationLabels.h"

#include "view/Canvas.h"
#include "view/Geometry.h"
#include "view/Renderer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLineF>
#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

namespace tram {

namespace {

constexpr double Margin = 1;

// The pixels a symbol of rings up to `radius` covers, in continuous
// coordinates where pixel (x, y) is the unit square from (x, y).
QRectF symbolBox(MapPoint p, int radius)
{
    const int reach = radius + SymbolPenWidth / 2;
    return QRectF(p.X - reach, p.Y - reach, 2 * reach + 1, 2 * reach + 1);
}

double overlap(const QRectF& a, const QRectF& b)
{
    const QRectF common = a.intersected(b);
    return common.isEmpty() ? 0 : common.width() * common.height();
}

double distanceToBox(QPointF p, const QRectF& box)
{
    const double dx = std::max({box.left() - p.x(), 0.0, p.x() - box.right()});
    const double dy = std::max({box.top() - p.y(), 0.0, p.y() - box.bottom()});
    return std::hypot(dx, dy);
}

double distanceToPiece(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

double pieceDistanceToBox(QPointF a, QPointF b, const QRectF& box)
{
    if (box.contains(a) || box.contains(b))
        return 0;
    const std::array<QPointF, 4> corners{box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()};
    const QLineF piece(a, b);
    double d = std::min(distanceToBox(a, box), distanceToBox(b, box));
    for (int i = 0; i < 4; ++i) {
        if (piece.intersects(QLineF(corners[i], corners[(i + 1) % 4]), nullptr) == QLineF::BoundedIntersection)
            return 0;
        d = std::min(d, distanceToPiece(corners[i], a, b));
    }
    return d;
}

// Where a label centred on a symbol starts, moved along the canvas's side of
// `length` so that it stays within it, as long as it still spans the symbol:
// a station near the edge keeps its name beside it, not a place further on.
double centredWithin(double symbolStart, double symbolEnd, double size, double length)
{
    const double centred = (symbolStart + symbolEnd) / 2 - size / 2;
    if (size > length)
        return centred;
    const double within = std::clamp(centred, 0.0, length - size);
    return within <= symbolStart && within + size >= symbolEnd ? within : centred;
}

// The eight places around the symbol, `out` pixels away from it.
std::array<QRectF, 8> placesAround(const QRectF& symbol, QSizeF size, double out)
{
    const double w = size.width();
    const double h = size.height();
    const double right = symbol.right() + out;
    const double left = symbol.left() - out - w;
    const double above = symbol.top() - out - h;
    const double below = symbol.bottom() + out;
    const double middleX = centredWithin(symbol.left(), symbol.right(), w, Canvas::Width);
    const double middleY = centredWithin(symbol.top(), symbol.bottom(), h, Canvas::Height);
    return {QRectF(right, middleY, w, h), QRectF(left, middleY, w, h),  QRectF(middleX, above, w, h),
            QRectF(middleX, below, w, h), QRectF(right, above, w, h),   QRectF(right, below, w, h),
            QRectF(left, above, w, h),    QRectF(left, below, w, h)};
}

// What a label must keep clear of (the canvas edges, the labels placed so
// far, the symbols) and what it had better keep off (the tracks).
class LabelPlaces {
public:
    LabelPlaces(const Scheme& scheme, const DisplaySettings& display)
        : halfWidth_(BandWidth(display) / 2.0)
    {
        for (int i = 1; i <= StationsInUse(scheme); ++i) {
            const Station& s = scheme.Stations[i];
            symbols_.push_back(symbolBox(LocateOnSegment(scheme, s.Segment, s.Position), StationRadius));
        }
        if (display.ShowLights) {
            for (int i = 1; i <= LightsInUse(scheme); ++i) {
                const TrafficLight& l = scheme.Lights[i];
                symbols_.push_back(symbolBox(LocateOnSegment(scheme, l.Segment, l.Position), LightRadius));
            }
        }
        const QPointF centre(0.5, 0.5);
        for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
            for (int j = 2; j <= PointsInUse(scheme, i); ++j) {
                const MapPoint a = scheme.Points[i][j - 1];
                const MapPoint b = scheme.Points[i][j];
                pieces_.emplace_back(QPointF(a.X, a.Y) + centre, QPointF(b.X, b.Y) + centre);
            }
        }
    }

    // The first free place off the tracks, else the first free one, else
    // the one that covers least; and whether it is free. The places are
    // tried next to the symbol, just past the edge of its track, and a line
    // further out.
    std::pair<QRectF, bool> choose(const QRectF& symbol, QSizeF size) const
    {
        std::optional<QRectF> free;
        QRectF least;
        double leastCovered = 0;
        const double pastTrack = std::max(1.0, halfWidth_ - (symbol.width() - 1) / 2 + 1);
        for (const double out : {1.0, pastTrack, pastTrack + size.height()}) {
            for (const QRectF& box : placesAround(symbol, size, out)) {
                const double area = covered(box);
                if (area == 0 && !onTrack(box))
                    return {box, true};
                if (area == 0 && !free)
                    free = box;
                if (least.isNull() || area < leastCovered) {
                    least = box;
                    leastCovered = area;
                }
            }
        }
        return {free ? *free : least, free.has_value()};
    }

    void take(const QRectF& box) { labels_.push_back(box); }

private:
    // The area off the canvas or over labels and symbols.
    double covered(const QRectF& box) const
    {
        const QRectF canvas(0, 0, Canvas::Width, Canvas::Height);
        double area = box.width() * box.height() - overlap(box, canvas);
        for (const QRectF& label : labels_)
            area += overlap(box, label);
        for (const QRectF& symbol : symbols_)
            area += overlap(box, symbol);
        return area;
    }

    bool onTrack(const QRectF& box) const
    {
        return std::any_of(pieces_.begin(), pieces_.end(), [&](const QLineF& piece) {
            return pieceDistanceToBox(piece.p1(), piece.p2(), box) < halfWidth_;
        });
    }

    std::vector<QRectF> symbols_;
    std::vector<QLineF> pieces_; // between pixel centres
    std::vector<QRectF> labels_;
    double halfWidth_;
};

} // namespace

std::optional<Refusal> LoadLabelFont(QFont& font)
{
    // Once per process: the font database keeps it.
    static const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(LabelFontFile));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty())
        return QStringLiteral("Font za nazive stanica nije ucitan iz \"%1\" (paket fonts-dejavu-core).")
            .arg(QString::fromLatin1(LabelFontFile));
    font = QFont(families.constFirst());
    font.setPixelSize(LabelPixelSize);
    // The same shapes and widths at every scale and on every device, so the
    // boxes measured here hold the text wherever it is drawn; no other font
    // stands in for a missing letter.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return std::nullopt;
}

QString LabelText(const StationName& name)
{
    QString text(reinterpret_cast<const QChar*>(name.data()), NameLength);
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return text.trimmed();
}

std::vector<StationLabel> PlaceStationLabels(const Scheme& scheme, const DisplaySettings& display,
                                             const QFont& font)
{
    const QFontMetricsF metrics(font);
    LabelPlaces places(scheme, display);
    std::vector<StationLabel> labels;
    for (int i = 1; i <= StationsInUse(scheme); ++i) {
        StationLabel label;
        label.station = i;
        label.text = LabelText(scheme.Stations[i].Name);
        if (label.text.isEmpty())
            continue;
        // The line box, widened to the ink where a letter reaches beyond it.
        const QRectF text = QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(label.text), metrics.height())
                                .united(metrics.boundingRect(label.text));
        const Station& s = scheme.Stations[i];
        const QRectF symbol = symbolBox(LocateOnSegment(scheme, s.Segment, s.Position), StationRadius);
        std::tie(label.box, label.clear) = places.choose(symbol, text.size() + QSizeF(2 * Margin, 2 * Margin));
        places.take(label.box);
        label.baseline = label.box.topLeft() + QPointF(Margin, Margin) - text.topLeft();
        labels.push_back(label);
    }
    return labels;
}

void DrawStationLabels(QPainter& painter, const std::vector<StationLabel>& labels, const QFont& font)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0));
    for (const StationLabel& label : labels)
        painter.drawText(label.baseline, label.text);
    painter.restore();
}

} // namespace tram
