#include "view/StationLabels.h"

#include "view/Canvas.h"
#include "view/Geometry.h"
#include "view/Renderer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
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

// The pixels of a row within `reach` of the piece a-b, as a range of
// columns (empty when first > last): the piece's capsule is convex, so its
// row is one run, the union of the runs of its two end discs and of the
// band between them.
std::pair<double, double> capsuleRow(QPointF a, QPointF b, double reach, double y)
{
    constexpr double none = std::numeric_limits<double>::infinity();
    double first = none, last = -none;
    const auto take = [&](double from, double to) {
        if (from <= to) {
            first = std::min(first, from);
            last = std::max(last, to);
        }
    };
    for (const QPointF end : {a, b}) {
        const double dy = y - end.y();
        if (std::abs(dy) <= reach) {
            const double half = std::sqrt(reach * reach - dy * dy);
            take(end.x() - half, end.x() + half);
        }
    }
    const QPointF d = b - a;
    const double length2 = QPointF::dotProduct(d, d);
    if (length2 == 0)
        return {first, last};
    const double ey = y - a.y();
    double from = -none, to = none;
    // Along the piece: 0 <= (P - a).d <= length2.
    if (d.x() != 0) {
        const double p = (0 - ey * d.y()) / d.x(), q = (length2 - ey * d.y()) / d.x();
        from = std::max(from, std::min(p, q));
        to = std::min(to, std::max(p, q));
    } else if (ey * d.y() < 0 || ey * d.y() > length2) {
        return {first, last};
    }
    // Across it: |d x (P - a)| <= reach * length.
    const double across = reach * std::sqrt(length2);
    if (d.y() != 0) {
        const double p = (d.x() * ey - across) / d.y(), q = (d.x() * ey + across) / d.y();
        from = std::max(from, std::min(p, q));
        to = std::min(to, std::max(p, q));
    } else if (std::abs(d.x() * ey) > across) {
        return {first, last};
    }
    take(a.x() + from, a.x() + to);
    return {first, last};
}

// Which pixels the tracks' bands cover, summed from the top left corner, so
// the share of any box takes four lookups. Worked out here rather than
// painted, so it may run on any thread.
class BandCover {
public:
    BandCover(const Scheme& scheme, const DisplaySettings& display)
        : sums_(size_t(Canvas::Width + 1) * (Canvas::Height + 1), 0)
    {
        // A pixel wider on each side: a name clear of this is clear of the
        // band however its edge is measured.
        const double reach = (BandWidth(display) + 2) / 2.0;
        // Per row, +1 where a run starts and -1 past where it ends.
        std::vector<int> runs(size_t(Canvas::Width + 1) * Canvas::Height, 0);
        for (int i = 1; i <= SegmentsInUse(scheme); ++i) {
            for (int j = 2; j <= PointsInUse(scheme, i); ++j) {
                const QPointF a(scheme.Points[i][j - 1].X, scheme.Points[i][j - 1].Y);
                const QPointF b(scheme.Points[i][j].X, scheme.Points[i][j].Y);
                const int top = std::max(0, int(std::ceil(std::min(a.y(), b.y()) - reach)));
                const int bottom = std::min(Canvas::Height - 1, int(std::floor(std::max(a.y(), b.y()) + reach)));
                for (int y = top; y <= bottom; ++y) {
                    const auto [first, last] = capsuleRow(a, b, reach, y);
                    const int from = std::max(0, int(std::ceil(std::max(first, -1.0))));
                    const int to = std::min(Canvas::Width - 1, int(std::floor(std::min(last, double(Canvas::Width)))));
                    if (from > to)
                        continue;
                    ++runs[size_t(y) * (Canvas::Width + 1) + size_t(from)];
                    --runs[size_t(y) * (Canvas::Width + 1) + size_t(to) + 1];
                }
            }
        }
        for (int y = 0; y < Canvas::Height; ++y) {
            int open = 0, inRow = 0;
            for (int x = 0; x < Canvas::Width; ++x) {
                open += runs[size_t(y) * (Canvas::Width + 1) + size_t(x)];
                inRow += open > 0;
                sum(x + 1, y + 1) = sum(x + 1, y) + inRow;
            }
        }
    }

    // The share of the box's pixels (those whose centres lie in it) on a band.
    double share(const QRectF& box) const
    {
        const int left = std::clamp(int(std::ceil(box.left() - 0.5)), 0, Canvas::Width);
        const int right = std::clamp(int(std::floor(box.right() - 0.5)) + 1, 0, Canvas::Width);
        const int top = std::clamp(int(std::ceil(box.top() - 0.5)), 0, Canvas::Height);
        const int bottom = std::clamp(int(std::floor(box.bottom() - 0.5)) + 1, 0, Canvas::Height);
        const double area = double(right - left) * double(bottom - top);
        if (area <= 0)
            return 0;
        return (sum(right, bottom) - sum(left, bottom) - sum(right, top) + sum(left, top)) / area;
    }

private:
    int& sum(int x, int y) { return sums_[size_t(y) * (Canvas::Width + 1) + size_t(x)]; }
    int sum(int x, int y) const { return sums_[size_t(y) * (Canvas::Width + 1) + size_t(x)]; }

    std::vector<int> sums_;
};

struct Place {
    QRectF box;
    double cost;
};

// The places for a name of `size` round a symbol, with what each costs
// before the tracks are counted: right and left of it, then over and under
// it, near it and further out; last, off its corners, where a name reads
// less plainly as its station's. All within LabelReach of its centre.
std::vector<Place> placesAround(const QRectF& symbol, QSizeF size)
{
    constexpr double offCorner = 5;
    const QPointF c = symbol.center();
    const double w = size.width(), h = size.height();
    const double half = symbol.width() / 2;
    std::vector<Place> places;
    const auto add = [&](double left, double top, double extra) {
        places.push_back({QRectF(left, top, w, h), 0.02 * double(places.size()) + extra});
    };
    for (const double gap : {1.0, 4.0, 7.0, 11.0}) {
        for (const double shift : {0.0, -0.5, 0.5}) {
            const double top = c.y() - h / 2 + shift * h;
            add(c.x() + half + gap, top, 0);
            add(c.x() - half - gap - w, top, 0);
        }
        for (const double along : {0.5, 0.25, 0.75, 0.0, 1.0}) {
            const double left = c.x() - along * w;
            add(left, c.y() - half - gap - h, 0);
            add(left, c.y() + half + gap, 0);
        }
        for (const double aside : {4.0, 9.0}) {
            for (const double left : {c.x() + aside, c.x() - aside - w}) {
                add(left, c.y() - half - gap - h, offCorner);
                add(left, c.y() + half + gap, offCorner);
            }
        }
    }
    // Within reach however it is measured: from the pixel's corner or its
    // centre, to the text or to its box.
    std::erase_if(places,
                  [&](const Place& place) { return distanceToBox(c, place.box) > LabelReach - 1 - Margin - 0.5; });
    return places;
}

// The text's line box from its baseline, widened to the ink where a letter
// reaches beyond it.
QRectF textBox(const QFontMetricsF& metrics, const QString& text)
{
    return QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height())
        .united(metrics.boundingRect(text));
}

// The symbols names keep off: every station, then the lights when shown.
std::vector<QRectF> symbolsOf(const Scheme& scheme, const DisplaySettings& display)
{
    std::vector<QRectF> symbols;
    for (int i = 1; i <= StationsInUse(scheme); ++i) {
        const Station& s = scheme.Stations[i];
        symbols.push_back(symbolBox(LocateOnSegment(scheme, s.Segment, s.Position), StationRadius));
    }
    if (display.ShowLights) {
        for (int i = 1; i <= LightsInUse(scheme); ++i) {
            const TrafficLight& l = scheme.Lights[i];
            symbols.push_back(symbolBox(LocateOnSegment(scheme, l.Segment, l.Position), LightRadius));
        }
    }
    return symbols;
}

// Puts the names where they fit: the most hemmed in first, each at its
// cheapest place over no name placed before; where none is left, a name
// placed before may move to another of its places to make room.
class LabelPlacer {
public:
    LabelPlacer(const Scheme& scheme, const DisplaySettings& display)
        : bands_(scheme, display)
        , symbols_(symbolsOf(scheme, display))
    {
    }

    // A name of `size` for the station's symbol.
    void add(const QRectF& symbol, QSizeF size)
    {
        Name name;
        for (const Place& place : placesAround(symbol, size)) {
            name.all.push_back(place.box);
            if (!canvas().contains(place.box) || coversSymbol(place.box))
                continue;
            const double onTrack = bands_.share(place.box);
            if (onTrack <= MostOnTrack)
                name.places.push_back({place.box, 100 * onTrack + place.cost});
        }
        std::stable_sort(name.places.begin(), name.places.end(),
                         [](const Place& a, const Place& b) { return a.cost < b.cost; });
        name.blocked.assign(name.places.size(), 0);
        names_.push_back(name);
    }

    struct Result {
        QRectF box;
        bool clear;
        double onTrack;
    };

    // The box of each name in the order added, whether it is clear, and how
    // much of it lies on a track.
    std::vector<Result> place()
    {
        for (size_t left = names_.size(); left > 0; --left) {
            const int n = mostHemmedIn();
            Name& name = names_[size_t(n)];
            int chosen = cheapestFree(name);
            if (chosen < 0)
                chosen = makeRoom(n);
            if (chosen >= 0) {
                put(n, chosen);
            } else {
                name.fallback = leastCovered(name.all);
                name.done = true;
            }
        }
        settleCrowds();
        std::vector<Result> result;
        for (const Name& name : names_) {
            const QRectF box = name.chosen >= 0 ? name.places[size_t(name.chosen)].box : name.fallback;
            result.push_back({box, name.chosen >= 0, bands_.share(box)});
        }
        return result;
    }

private:
    struct Name {
        std::vector<QRectF> all;
        std::vector<Place> places; // on the canvas, off the symbols, mostly off the tracks
        std::vector<int> blocked;  // by how many placed names each place is covered
        int chosen = -1;
        QRectF fallback;
        bool done = false;
    };

    static QRectF canvas() { return QRectF(0, 0, Canvas::Width, Canvas::Height); }

    bool coversSymbol(const QRectF& box) const
    {
        return std::any_of(symbols_.begin(), symbols_.end(), [&](const QRectF& s) { return box.intersects(s); });
    }

    int freePlaces(const Name& name) const { return int(std::count(name.blocked.begin(), name.blocked.end(), 0)); }

    int mostHemmedIn() const
    {
        int best = -1, fewest = 0;
        for (size_t n = 0; n < names_.size(); ++n) {
            if (names_[n].done)
                continue;
            const int free = freePlaces(names_[n]);
            if (best < 0 || free < fewest) {
                best = int(n);
                fewest = free;
            }
        }
        return best;
    }

    static int cheapestFree(const Name& name)
    {
        for (size_t k = 0; k < name.places.size(); ++k) {
            if (name.blocked[k] == 0)
                return int(k);
        }
        return -1;
    }

    // Counts the box of name `n` in or out of every other name's places.
    void mark(int n, const QRectF& box, int by)
    {
        for (size_t m = 0; m < names_.size(); ++m) {
            if (int(m) == n)
                continue;
            Name& other = names_[m];
            for (size_t k = 0; k < other.places.size(); ++k) {
                if (other.places[k].box.intersects(box))
                    other.blocked[k] += by;
            }
        }
    }

    void put(int n, int place)
    {
        Name& name = names_[size_t(n)];
        name.chosen = place;
        name.done = true;
        mark(n, name.places[size_t(place)].box, 1);
    }

    // A place of name `n` covered by one placed name only, which can move
    // to another free place of its own clear of it; -1 when there is none.
    int makeRoom(int n)
    {
        const Name& name = names_[size_t(n)];
        for (size_t k = 0; k < name.places.size(); ++k) {
            const QRectF& box = name.places[k].box;
            int inTheWay = -1, count = 0;
            for (size_t m = 0; m < names_.size() && count < 2; ++m) {
                if (names_[m].chosen >= 0 && names_[m].places[size_t(names_[m].chosen)].box.intersects(box)) {
                    inTheWay = int(m);
                    ++count;
                }
            }
            if (count != 1)
                continue;
            Name& other = names_[size_t(inTheWay)];
            const QRectF old = other.places[size_t(other.chosen)].box;
            for (size_t j = 0; j < other.places.size(); ++j) {
                const QRectF& move = other.places[j].box;
                if (int(j) == other.chosen || other.blocked[j] != 0 || move.intersects(box))
                    continue;
                mark(inTheWay, old, -1);
                other.chosen = int(j);
                mark(inTheWay, move, 1);
                return int(k);
            }
        }
        return -1;
    }

    // The names whose places can meet each other's.
    std::vector<std::vector<int>> neighbours() const
    {
        std::vector<QRectF> reach;
        for (const Name& name : names_) {
            QRectF all;
            for (const Place& place : name.places)
                all = all.united(place.box);
            reach.push_back(all);
        }
        std::vector<std::vector<int>> result(names_.size());
        for (size_t n = 0; n < names_.size(); ++n) {
            for (size_t m = 0; m < names_.size(); ++m) {
                if (m != n && !reach[n].isNull() && reach[n].intersects(reach[m]))
                    result[n].push_back(int(m));
            }
        }
        return result;
    }

    // Where names were left without a place, every name in a crowd in turn
    // moves to the place of its own that covers the fewest others, until no
    // name covers another or the rounds run out; then the names are taken
    // back cheapest first, each clear of those taken before it. Kept only
    // when it leaves fewer names without a place.
    void settleCrowds()
    {
        constexpr int Rounds = 30;
        const auto unplaced = [&] {
            return std::count_if(names_.begin(), names_.end(), [](const Name& n) { return n.chosen < 0; });
        };
        const auto before = unplaced();
        if (before == 0)
            return;
        const auto near = neighbours();
        std::vector<int> at(names_.size(), -1);
        for (size_t n = 0; n < names_.size(); ++n)
            at[n] = names_[n].chosen;
        const auto covers = [&](size_t n, int place) {
            int count = 0;
            for (const int m : near[n]) {
                if (at[size_t(m)] >= 0
                    && names_[size_t(m)].places[size_t(at[size_t(m)])].box.intersects(
                        names_[n].places[size_t(place)].box))
                    ++count;
            }
            return count;
        };
        const auto leastCovering = [&](size_t n) {
            int best = -1;
            double bestScore = 0;
            for (size_t k = 0; k < names_[n].places.size(); ++k) {
                const double score = 1000.0 * covers(n, int(k)) + names_[n].places[k].cost;
                if (best < 0 || score < bestScore) {
                    best = int(k);
                    bestScore = score;
                }
            }
            return best;
        };
        for (size_t n = 0; n < names_.size(); ++n) {
            if (at[n] < 0)
                at[n] = leastCovering(n);
        }
        for (int round = 0; round < Rounds; ++round) {
            bool crowded = false;
            for (size_t n = 0; n < names_.size(); ++n) {
                if (at[n] < 0 || covers(n, at[n]) == 0)
                    continue;
                crowded = true;
                at[n] = leastCovering(n);
            }
            if (!crowded)
                break;
        }
        std::vector<size_t> order(names_.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return (at[a] < 0 ? 1e9 : names_[a].places[size_t(at[a])].cost)
                < (at[b] < 0 ? 1e9 : names_[b].places[size_t(at[b])].cost);
        });
        std::vector<int> taken(names_.size(), -1);
        for (const size_t n : order) {
            if (at[n] < 0)
                continue;
            const QRectF& box = names_[n].places[size_t(at[n])].box;
            const bool clear = std::none_of(near[n].begin(), near[n].end(), [&](int m) {
                return taken[size_t(m)] >= 0 && names_[size_t(m)].places[size_t(taken[size_t(m)])].box.intersects(box);
            });
            if (clear)
                taken[n] = at[n];
        }
        if (std::count(taken.begin(), taken.end(), -1) >= before)
            return;
        for (size_t n = 0; n < names_.size(); ++n)
            names_[n].chosen = taken[n];
        for (size_t n = 0; n < names_.size(); ++n) {
            if (names_[n].chosen < 0)
                names_[n].fallback = leastCovered(names_[n].all);
        }
    }

    // Where no place is free: the one with the least area off the canvas or
    // over names, symbols and tracks.
    QRectF leastCovered(const std::vector<QRectF>& boxes) const
    {
        QRectF least;
        double leastArea = 0;
        for (const QRectF& box : boxes) {
            double area = box.width() * box.height() * (1 + bands_.share(box)) - overlap(box, canvas());
            for (const Name& name : names_) {
                if (name.chosen >= 0)
                    area += overlap(box, name.places[size_t(name.chosen)].box);
            }
            for (const QRectF& symbol : symbols_)
                area += overlap(box, symbol);
            if (least.isNull() || area < leastArea) {
                least = box;
                leastArea = area;
            }
        }
        return least;
    }

    BandCover bands_;
    std::vector<QRectF> symbols_;
    std::vector<Name> names_;
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

std::vector<MeasuredName> MeasureNames(const Scheme& scheme, const QFont& font)
{
    const QFontMetricsF metrics(font);
    std::vector<MeasuredName> names;
    for (int i = 1; i <= StationsInUse(scheme); ++i) {
        const QString text = LabelText(scheme.Stations[i].Name);
        if (!text.isEmpty())
            names.push_back({i, text, textBox(metrics, text)});
    }
    return names;
}

std::vector<StationLabel> PlaceStationLabels(const Scheme& scheme, const DisplaySettings& display, const QFont& font)
{
    return PlaceStationLabels(scheme, display, MeasureNames(scheme, font));
}

std::vector<StationLabel> PlaceStationLabels(const Scheme& scheme, const DisplaySettings& display,
                                             const std::vector<MeasuredName>& names)
{
    LabelPlacer placer(scheme, display);
    for (const MeasuredName& name : names) {
        const Station& s = scheme.Stations[name.station];
        placer.add(symbolBox(LocateOnSegment(scheme, s.Segment, s.Position), StationRadius),
                   name.ink.size() + QSizeF(2 * Margin, 2 * Margin));
    }
    const auto places = placer.place();
    std::vector<StationLabel> labels;
    for (size_t k = 0; k < names.size(); ++k) {
        StationLabel label;
        label.station = names[k].station;
        label.text = names[k].text;
        label.box = places[k].box;
        label.clear = places[k].clear;
        label.onTrack = places[k].onTrack;
        label.baseline = label.box.topLeft() + QPointF(Margin, Margin) - names[k].ink.topLeft();
        labels.push_back(label);
    }
    return labels;
}

struct NameRoom::Room {
    Room(const Scheme& scheme, const DisplaySettings& display)
        : bands(scheme, display)
        , symbols(symbolsOf(scheme, display))
        , placed(size_t(StationsInUse(scheme)) + 1)
        , sizes(placed.size())
    {
    }

    BandCover bands;
    std::vector<QRectF> symbols;               // station i at i - 1
    std::vector<std::optional<QRectF>> placed; // per station, its clear name
    std::vector<QSizeF> sizes;                 // per station, its name's box
};

NameRoom::NameRoom(const Scheme& scheme, const DisplaySettings& display, const std::vector<MeasuredName>& names,
                   const std::vector<StationLabel>& placed)
    : room_(std::make_unique<Room>(scheme, display))
{
    for (const MeasuredName& name : names)
        room_->sizes[size_t(name.station)] = name.ink.size() + QSizeF(2 * Margin, 2 * Margin);
    for (const StationLabel& label : placed) {
        if (label.clear)
            room_->placed[size_t(label.station)] = label.box;
    }
}

NameRoom::~NameRoom() = default;

bool NameRoom::fits(int station, MapPoint at) const
{
    const QRectF symbol = symbolBox(at, StationRadius);
    const auto overOthers = [&](const QRectF& box) {
        for (size_t s = 1; s < room_->placed.size(); ++s) {
            if (int(s) != station && room_->placed[s] && room_->placed[s]->intersects(box))
                return true;
        }
        return false;
    };
    if (overOthers(symbol))
        return false;
    const QRectF canvas(0, 0, Canvas::Width, Canvas::Height);
    for (const Place& place : placesAround(symbol, room_->sizes[size_t(station)])) {
        if (!canvas.contains(place.box) || place.box.intersects(symbol) || overOthers(place.box)
            || room_->bands.share(place.box) > MostOnTrack)
            continue;
        bool overSymbol = false;
        for (size_t k = 0; k < room_->symbols.size() && !overSymbol; ++k)
            overSymbol = int(k) + 1 != station && place.box.intersects(room_->symbols[k]);
        if (!overSymbol)
            return true;
    }
    return false;
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
