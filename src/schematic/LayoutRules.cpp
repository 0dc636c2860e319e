#include "schematic/LayoutRules.h"

#include "files/SchemeCheck.h"
#include "schematic/DrawnScheme.h"
#include "schematic/OctilinearGrid.h"
#include "schematic/TrackGraph.h"
#include "view/Canvas.h"
#include "view/Geometry.h"

#include <QPoint>
#include <algorithm>
#include <cmath>

namespace tram::schematic {

namespace {

QString shown(MapPoint p)
{
    return QStringLiteral("(%1, %2)").arg(p.X).arg(p.Y);
}

std::optional<Refusal> onlyGeometryChanged(const Scheme& input, const Scheme& output)
{
    Scheme same = input;
    same.PointCount = output.PointCount;
    same.Points = output.Points;
    for (int i = 0; i <= MaxStations; ++i)
        same.Stations[i].Position = output.Stations[i].Position;
    for (int i = 0; i <= MaxLights; ++i)
        same.Lights[i].Position = output.Lights[i].Position;
    if (!(same == output))
        return QStringLiteral("promijenjeno je nesto osim geometrije");
    return std::nullopt;
}

std::optional<Refusal> piecesAreOctilinear(const Scheme& output, int margin)
{
    for (int s = 1; s <= SegmentsInUse(output); ++s) {
        const int count = PointsInUse(output, s);
        if (output.PointCount[s] > MaxPoints || count < 2)
            return QStringLiteral("segment %1: ima %2 tacaka").arg(s).arg(output.PointCount[s]);
        for (int j = 1; j <= count; ++j) {
            const MapPoint p = output.Points[s][j];
            if (p.X < margin || p.X > Canvas::Width - 1 - margin || p.Y < margin || p.Y > Canvas::Height - 1 - margin)
                return QStringLiteral("segment %1, tacka %2: %3 je izvan platna ili margine")
                    .arg(s)
                    .arg(j)
                    .arg(shown(p));
            if (j == 1)
                continue;
            const MapPoint a = output.Points[s][j - 1];
            const int dx = p.X - a.X, dy = p.Y - a.Y;
            if ((dx == 0 && dy == 0) || (dx != 0 && dy != 0 && std::abs(dx) != std::abs(dy)))
                return QStringLiteral("segment %1: komad od %2 do %3 nije vodoravan, uspravan ni dijagonalan")
                    .arg(s)
                    .arg(shown(a), shown(p));
            if (j == 2)
                continue;
            const MapPoint o = output.Points[s][j - 2];
            if ((a.X - o.X) * dx + (a.Y - o.Y) * dy < 0)
                return QStringLiteral("segment %1: skrece ostrije od pravog ugla u %2").arg(s).arg(shown(a));
        }
    }
    return std::nullopt;
}

std::optional<Refusal> sameNetwork(const Scheme& input, const Scheme& output, double snap)
{
    TrackGraph before, after;
    if (auto refusal = BuildTrackGraph(input, snap, before))
        return refusal;
    if (auto refusal = BuildTrackGraph(output, snap, after))
        return refusal;
    return CompareNetworks(before, after);
}

struct Piece {
    int segment;
    QPoint a, b;
};

// Pieces of two segments that run side by side closer than a band's width.
std::optional<Refusal> tracksApart(const Scheme& output)
{
    std::vector<Piece> pieces;
    for (int s = 1; s <= SegmentsInUse(output); ++s) {
        for (int j = 2; j <= PointsInUse(output, s); ++j) {
            const MapPoint a = output.Points[s][j - 1], b = output.Points[s][j];
            pieces.push_back({s, QPoint(a.X, a.Y), QPoint(b.X, b.Y)});
        }
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        for (size_t k = i + 1; k < pieces.size(); ++k) {
            const Piece& p = pieces[i];
            const Piece& q = pieces[k];
            if (p.segment == q.segment)
                continue;
            const QPoint u = p.b - p.a, v = q.b - q.a;
            if (u.x() * v.y() - u.y() * v.x() != 0)
                continue;
            // In whole numbers, along and across p, scaled by its length: a
            // touch end to end is no overlap, however a square root rounds.
            const long long length2 = QPoint::dotProduct(u, u);
            const long long across = u.x() * (q.a.y() - p.a.y()) - u.y() * (q.a.x() - p.a.x());
            const long long from = QPoint::dotProduct(q.a - p.a, u), to = QPoint::dotProduct(q.b - p.a, u);
            const long long overlap = std::min(length2, std::max(from, to)) - std::max(0LL, std::min(from, to));
            if (overlap > 0 && double(across) * double(across) < SideBySide * SideBySide * double(length2))
                return QStringLiteral("segmenti %1 i %2: idu jedan uz drugi samo %3 piksela razmaka kod (%4, %5)")
                    .arg(p.segment)
                    .arg(q.segment)
                    .arg(std::abs(double(across)) / std::sqrt(double(length2)), 0, 'f', 1)
                    .arg(q.a.x())
                    .arg(q.a.y());
        }
    }
    return std::nullopt;
}

std::optional<Refusal> noDetours(const Scheme& input, const Scheme& output, double snap)
{
    for (int s = 1; s <= SegmentsInUse(output); ++s) {
        const int n = PointsInUse(input, s), m = PointsInUse(output, s);
        const double before = Distance(input.Points[s][1], input.Points[s][n]);
        if (before <= snap)
            continue;
        const double after = Distance(output.Points[s][1], output.Points[s][m]);
        const double was = PolylineLength(input, s, 1, n) / before;
        const double is = PolylineLength(output, s, 1, m) / after;
        if (!(is <= std::max(DetourFactor * was, DetourFloor) + 1e-9))
            return QStringLiteral("segment %1: zaobilazi (duzina %2 puta razmak krajeva, a prije %3)")
                .arg(s)
                .arg(is, 0, 'f', 2)
                .arg(was, 0, 'f', 2);
    }
    return std::nullopt;
}

std::optional<Refusal> stationsInPlace(const Scheme& input, const Scheme& output)
{
    for (int i = 1; i <= StationsInUse(output); ++i) {
        const Station& station = output.Stations[i];
        bool onVertex = false;
        for (int j = 1; j <= PointsInUse(output, station.Segment) && !onVertex; ++j)
            onVertex = PolylineLength(output, station.Segment, 1, j) == station.Position;
        if (!onVertex)
            return QStringLiteral("stanica %1: nije na tacki svog segmenta").arg(i);
        const MapPoint p = LocateOnSegment(output, station.Segment, station.Position);
        for (int k = 1; k < i; ++k) {
            const Station& other = output.Stations[k];
            const double before = input.Stations[k].Position - input.Stations[i].Position;
            const double after = other.Position - station.Position;
            if (other.Segment == station.Segment && ((before < 0 && !(after < 0)) || (before > 0 && !(after > 0))))
                return QStringLiteral("stanice %1 i %2: nisu vise istim redom na segmentu %3")
                    .arg(k)
                    .arg(i)
                    .arg(station.Segment);
            const double apart = Distance(p, LocateOnSegment(output, other.Segment, other.Position));
            if (apart < StationSpacing)
                return QStringLiteral("stanice %1 i %2: samo %3 piksela jedna od druge")
                    .arg(k)
                    .arg(i)
                    .arg(apart, 0, 'f', 1);
        }
    }
    return std::nullopt;
}

std::optional<Refusal> lightsInPlace(const Scheme& input, const Scheme& output)
{
    for (int i = 1; i <= LightsInUse(output); ++i) {
        const int s = output.Lights[i].Segment;
        const double before = input.Lights[i].Position / PolylineLength(input, s, 1, PointsInUse(input, s));
        const double after = output.Lights[i].Position / PolylineLength(output, s, 1, PointsInUse(output, s));
        if (!(std::abs(before - after) <= 1e-9))
            return QStringLiteral("semafor %1: nije na istom dijelu duzine segmenta").arg(i);
    }
    return std::nullopt;
}

std::optional<Refusal> roomFilled(const Scheme& output, int margin)
{
    int left = Canvas::Width, right = -1, top = Canvas::Height, bottom = -1;
    for (int s = 1; s <= SegmentsInUse(output); ++s) {
        for (int j = 1; j <= PointsInUse(output, s); ++j) {
            left = std::min<int>(left, output.Points[s][j].X);
            right = std::max<int>(right, output.Points[s][j].X);
            top = std::min<int>(top, output.Points[s][j].Y);
            bottom = std::max<int>(bottom, output.Points[s][j].Y);
        }
    }
    const double width = double(right - left) / (Canvas::Width - 1 - 2 * margin);
    const double height = double(bottom - top) / (Canvas::Height - 1 - 2 * margin);
    if (width < LeastFill || height < LeastFill)
        return QStringLiteral("crtez zauzima %1 % sirine i %2 % visine platna unutar margine, a treba bar %3 %")
            .arg(std::lround(100 * width))
            .arg(std::lround(100 * height))
            .arg(std::lround(100 * LeastFill));
    return std::nullopt;
}

std::optional<Refusal> noNewFindings(const Scheme& input, const Scheme& output)
{
    const QStringList before = CheckScheme(input);
    for (const QString& finding : CheckScheme(output)) {
        if (!before.contains(finding))
            return QStringLiteral("nov nalaz provjere: %1").arg(finding);
    }
    return std::nullopt;
}

} // namespace

std::optional<Refusal> CheckSchematic(const Scheme& input, const Scheme& output, const LayoutRules& rules)
{
    if (auto refusal = onlyGeometryChanged(input, output))
        return refusal;
    if (auto refusal = piecesAreOctilinear(output, rules.margin))
        return refusal;
    if (auto refusal = sameNetwork(input, output, rules.snap))
        return refusal;
    if (auto refusal = tracksApart(output))
        return refusal;
    if (auto refusal = noDetours(input, output, rules.snap))
        return refusal;
    if (auto refusal = stationsInPlace(input, output))
        return refusal;
    if (auto refusal = lightsInPlace(input, output))
        return refusal;
    if (auto refusal = roomFilled(output, rules.margin))
        return refusal;
    return noNewFindings(input, output);
}

} // namespace tram::schematic
