#include "schematic/LayoutAttempt.h"

#include "schematic/GridRouter.h"
#include "schematic/LayoutFrame.h"
#include "schematic/LayoutRules.h"
#include "view/Canvas.h"
#include "view/Geometry.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace tram::schematic {

namespace {

// Room along an edge per station on it, in pixels: stations on two arms of
// a junction that part at 45 degrees stay StationSpacing apart.
constexpr double RoomPerStation = 23;
constexpr double RoomPerStationLevel = 30;
// Half the room, in cells, kept round a junction and round any other node.
constexpr double JunctionReach = 1;
constexpr double NodeReach = 0.6;
// What stretching one axis e times as much as the other weighs, in bends.
constexpr double DistortionCost = 8;
// What a name without a clear place weighs, in bends, and one wholly on a track.
constexpr double NameWithoutRoomCost = 30;
constexpr double NameOnTrackCost = 20;
// A failing edge is drawn first and the rest again, this many times.
constexpr int Redraws = 8;
// A drawing spanning less of the grid than this is drawn again, stretched,
// at most this many times.
constexpr double WellFilled = 0.95;
constexpr int Widenings = 2;

OctilinearGrid gridFor(int cell, int margin)
{
    const int spanX = Canvas::Width - 1 - 2 * margin, spanY = Canvas::Height - 1 - 2 * margin;
    const int columns = spanX / cell + 1, rows = spanY / cell + 1;
    return OctilinearGrid(columns, rows, cell,
                          QPoint(margin + (spanX - (columns - 1) * cell) / 2,
                                 margin + (spanY - (rows - 1) * cell) / 2));
}

// How many routes run over each segment.
std::vector<int> routesOver(const Scheme& scheme)
{
    std::vector<int> count(size_t(SegmentsInUse(scheme)) + 1, 0);
    for (int r = 1; r <= RoutesInUse(scheme); ++r) {
        for (int k = 1; k <= RouteSlotsInUse(scheme, r); ++k) {
            const int s = scheme.RouteSegments[r][k];
            if (s >= 1 && s < int(count.size()))
                ++count[size_t(s)];
        }
    }
    return count;
}

double courseLength(const std::vector<QPointF>& course)
{
    double length = 0;
    for (size_t k = 0; k + 1 < course.size(); ++k)
        length += std::hypot(course[k + 1].x() - course[k].x(), course[k + 1].y() - course[k].y());
    return length;
}

// The order the edges are drawn in: outwards from the busiest junction, at
// each step the edge of the most routes, then the longest, among those that
// touch what is drawn.
std::vector<int> drawingOrder(const TrackGraph& graph, const Scheme& scheme, const GridTargets& targets)
{
    const std::vector<int> routes = routesOver(scheme);
    const auto better = [&](int a, int b) {
        const GraphEdge& ea = graph.edges[size_t(a)];
        const GraphEdge& eb = graph.edges[size_t(b)];
        const int ra = routes[size_t(ea.segment)], rb = routes[size_t(eb.segment)];
        if (ra != rb)
            return ra > rb;
        const int da = graph.degree(ea.from) + graph.degree(ea.to), db = graph.degree(eb.from) + graph.degree(eb.to);
        if (da != db)
            return da > db;
        const double la = courseLength(targets.courses[size_t(a)]), lb = courseLength(targets.courses[size_t(b)]);
        if (la != lb)
            return la > lb;
        return a < b;
    };
    std::vector<bool> reached(graph.nodes.size(), false), drawn(graph.edges.size(), false);
    std::vector<int> order;
    while (order.size() < graph.edges.size()) {
        int best = -1;
        bool touching = false;
        for (int e = 0; e < int(graph.edges.size()); ++e) {
            if (drawn[size_t(e)])
                continue;
            const bool touches = reached[size_t(graph.edges[size_t(e)].from)]
                || reached[size_t(graph.edges[size_t(e)].to)];
            if (best < 0 || (touches && !touching) || (touches == touching && better(e, best))) {
                best = e;
                touching = touches;
            }
        }
        drawn[size_t(best)] = true;
        reached[size_t(graph.edges[size_t(best)].from)] = reached[size_t(graph.edges[size_t(best)].to)] = true;
        order.push_back(best);
    }
    return order;
}

int bendsOf(const Scheme& scheme)
{
    int bends = 0;
    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        for (int j = 2; j < PointsInUse(scheme, s); ++j) {
            const MapPoint a = scheme.Points[s][j - 1], b = scheme.Points[s][j], c = scheme.Points[s][j + 1];
            bends += (b.X - a.X) * (c.Y - b.Y) != (b.Y - a.Y) * (c.X - b.X);
        }
    }
    return bends;
}

// The stretches the stations cut the segments into, each a run from an end
// or a station to the next station or end.
int stationStretches(const Scheme& scheme)
{
    int stretches = SegmentsInUse(scheme);
    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        std::vector<double> inside;
        const double length = PolylineLength(scheme, s, 1, PointsInUse(scheme, s));
        for (int i = 1; i <= StationsInUse(scheme); ++i) {
            const Station& station = scheme.Stations[i];
            if (station.Segment == s && station.Position > 0 && station.Position < length)
                inside.push_back(station.Position);
        }
        std::sort(inside.begin(), inside.end());
        stretches += int(std::unique(inside.begin(), inside.end()) - inside.begin());
    }
    return stretches;
}

} // namespace

class LayoutAttempts::Network {
public:
    Network(const Scheme& input, const TrackGraph& graph, const std::vector<Anchor>& stations,
            const SchematicOptions& options, const std::vector<MeasuredName>& names)
        : input_(input)
        , graph_(graph)
        , stations_(stations)
        , options_(options)
        , names_(names)
    {
        for (const GraphNode& node : graph.nodes)
            content_.push_back(node.at);
        stationsOn_.assign(graph.edges.size(), 0);
        for (size_t i = 1; i < stations.size(); ++i) {
            const Station& s = input.Stations[i];
            content_.push_back(graph.lines[s.Segment].at(s.Position));
            if (stations[i].node < 0)
                ++stationsOn_[size_t(stations[i].edge)];
        }
    }

    Outcome attempt(const Attempt& attempt) const
    {
        Outcome outcome;
        const OctilinearGrid grid = gridFor(attempt.cell, options_.margin);
        if (grid.columns() < 2 || grid.rows() < 2) {
            outcome.failure = QStringLiteral("mreza od %1 piksela ne stane u platno s marginom %2")
                                  .arg(attempt.cell)
                                  .arg(options_.margin);
            return outcome;
        }
        const LayoutFrame frame(attempt.eighths, attempt.stretch, content_,
                                QSizeF(grid.columns() - 1, grid.rows() - 1));
        // Paths cut corners that the frame put at the grid's sides: where the
        // drawing falls short of filling the room, it is drawn again with
        // the room it took stretched over the whole grid.
        QRectF took(0, 0, grid.columns() - 1, grid.rows() - 1);
        GridDrawing drawing;
        GridTargets targets;
        for (int widen = 0;; ++widen) {
            const QRectF room(0, 0, grid.columns() - 1, grid.rows() - 1);
            const auto onGrid = [&](QPointF p) {
                const QPointF f = frame(p);
                return QPointF((f.x() - took.left()) * room.width() / took.width(),
                               (f.y() - took.top()) * room.height() / took.height());
            };
            targets = targetsFor(onGrid, grid);
            if (const int failed = draw(targets, grid, drawing); failed >= 0) {
                outcome.failure = routingFailure(failed, targets, attempt.cell);
                return outcome;
            }
            const QRectF drawn = extent(drawing, grid);
            if (widen == Widenings
                || (drawn.width() >= WellFilled * room.width() && drawn.height() >= WellFilled * room.height()))
                break;
            // The part of the frame's room the drawing spans, in the frame's cells.
            took = QRectF(took.left() + drawn.left() * took.width() / room.width(),
                          took.top() + drawn.top() * took.height() / room.height(),
                          std::max(drawn.width(), 1.0) * took.width() / room.width(),
                          std::max(drawn.height(), 1.0) * took.height() / room.height());
        }
        outcome.stage = Stage::Drawing;
        if (auto refusal = BuildDrawnScheme(input_, graph_, stations_, grid, drawing, outcome.scheme)) {
            outcome.failure = *refusal;
            return outcome;
        }
        outcome.stage = Stage::Rules;
        if (auto refusal = CheckSchematic(input_, outcome.scheme, {options_.snap, options_.margin})) {
            outcome.failure = *refusal;
            return outcome;
        }
        outcome.stage = Stage::Done;
        SchematicSummary& summary = outcome.summary;
        summary.grid = attempt.cell;
        summary.turn = attempt.eighths > 4 ? 45 * (attempt.eighths - 8) : 45 * attempt.eighths;
        summary.bends = bendsOf(outcome.scheme);
        summary.stationStretches = stationStretches(outcome.scheme);
        double moves = 0;
        for (size_t n = 0; n < graph_.nodes.size(); ++n) {
            const QPointF want = targets.nodes[n];
            const double d = std::hypot(grid.column(drawing.nodeAt[n]) - want.x(),
                                        grid.row(drawing.nodeAt[n]) - want.y());
            moves += d;
            summary.largestMove = std::max(summary.largestMove, d * attempt.cell);
        }
        outcome.score = summary.bends + 0.5 * moves + DistortionCost * distortion(attempt.eighths, grid);
        if (options_.labelFont) {
            DisplaySettings display;
            ApplyStartDisplay(display);
            for (const StationLabel& label : PlaceStationLabels(outcome.scheme, display, names_)) {
                summary.namesWithoutRoom += !label.clear;
                outcome.score += NameWithoutRoomCost * !label.clear + NameOnTrackCost * label.onTrack;
            }
        }
        return outcome;
    }

private:
    // Where the nodes and courses go on the grid, and what each edge needs.
    GridTargets targetsFor(const std::function<QPointF(QPointF)>& onGrid, const OctilinearGrid& grid) const
    {
        GridTargets targets;
        std::vector<double> reach;
        for (size_t n = 0; n < graph_.nodes.size(); ++n) {
            targets.nodes.push_back(onGrid(graph_.nodes[n].at));
            reach.push_back(graph_.degree(int(n)) > 2 ? JunctionReach : NodeReach);
        }
        SpreadNodes(targets.nodes, reach, QSizeF(grid.columns() - 1, grid.rows() - 1));
        for (size_t e = 0; e < graph_.edges.size(); ++e) {
            std::vector<QPointF> course;
            for (const QPointF& p : graph_.edges[e].course)
                course.push_back(onGrid(p));
            course.front() = targets.nodes[size_t(graph_.edges[e].from)];
            course.back() = targets.nodes[size_t(graph_.edges[e].to)];
            const QPointF ends = course.back() - course.front();
            // Names beside a run that is mostly level need more room along it.
            const double perStation = std::abs(ends.x()) > 2 * std::abs(ends.y()) ? RoomPerStationLevel
                                                                                  : RoomPerStation;
            const double least = std::max(1.0, perStation * (stationsOn_[e] + 1) / grid.cell());
            targets.leastLength.push_back(least);
            targets.crowding.push_back(stationsOn_[e] / std::max(1.0, courseLength(course)));
            targets.mostLength.push_back(std::max(
                {DetourFactor * courseLength(course), DetourFloor * std::hypot(ends.x(), ends.y()), least + 2}));
            targets.courses.push_back(course);
        }
        return targets;
    }

    // Draws the edges, again with a failing edge first; the edge that still
    // fails, or -1.
    int draw(const GridTargets& targets, const OctilinearGrid& grid, GridDrawing& drawing) const
    {
        std::vector<int> order = drawingOrder(graph_, input_, targets);
        int failed = -1;
        for (int round = 0; round <= Redraws; ++round) {
            failed = DrawOnGrid(graph_, grid, targets, order, drawing);
            if (failed < 0)
                break;
            order.erase(std::find(order.begin(), order.end(), failed));
            order.insert(order.begin(), failed);
        }
        return failed;
    }

    // The grid cells the drawing spans.
    static QRectF extent(const GridDrawing& drawing, const OctilinearGrid& grid)
    {
        int left = grid.columns(), right = -1, top = grid.rows(), bottom = -1;
        for (const auto& path : drawing.paths) {
            for (const int node : path) {
                left = std::min(left, grid.column(node));
                right = std::max(right, grid.column(node));
                top = std::min(top, grid.row(node));
                bottom = std::max(bottom, grid.row(node));
            }
        }
        return QRectF(left, top, right - left, bottom - top);
    }

    // Why an edge found no path: more stations than it has room for without
    // a detour, or no way past what is drawn.
    Refusal routingFailure(int edge, const GridTargets& targets, int cell) const
    {
        const int segment = graph_.edges[size_t(edge)].segment;
        const auto& course = targets.courses[size_t(edge)];
        const QPointF ends = course.back() - course.front();
        const double room = std::max(DetourFactor * courseLength(course), DetourFloor * std::hypot(ends.x(), ends.y()));
        if (targets.leastLength[size_t(edge)] > room + 1)
            return QStringLiteral("segment %1: za %2 stanica (bar %3 piksela jedna od druge, s mjestom za nazive) "
                                  "treba %4 piksela, a toliko bi bio dug samo zaobilazeci")
                .arg(segment)
                .arg(stationsOn_[size_t(edge)])
                .arg(StationSpacing)
                .arg(std::lround(targets.leastLength[size_t(edge)] * cell));
        return QStringLiteral("segment %1: nema puta po mrezi od %2 piksela koji ima mjesta za njegove stanice, "
                              "ne zaobilazi i ne sijece ni ne dodiruje druge segmente")
            .arg(segment)
            .arg(cell);
    }

    // How much more one axis is stretched than the other to fill the grid,
    // turned as the attempt turns: a map keeps its shape better turned the
    // way its extent matches the canvas.
    double distortion(int eighths, const OctilinearGrid& grid) const
    {
        const double c = std::cos(eighths * M_PI / 4), s = std::sin(eighths * M_PI / 4);
        double left = 1e300, right = -1e300, top = 1e300, bottom = -1e300;
        for (const QPointF& p : content_) {
            const double x = p.x() * c + p.y() * s, y = -p.x() * s + p.y() * c;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
        const double width = std::max(right - left, 1.0), height = std::max(bottom - top, 1.0);
        return std::abs(std::log((grid.columns() - 1) / width * height / (grid.rows() - 1)));
    }

    const Scheme& input_;
    const TrackGraph& graph_;
    const std::vector<Anchor>& stations_;
    const SchematicOptions& options_;
    const std::vector<MeasuredName>& names_;
    std::vector<QPointF> content_;
    std::vector<int> stationsOn_; // per edge, between its nodes
};

LayoutAttempts::LayoutAttempts(const Scheme& input, const TrackGraph& graph, const std::vector<Anchor>& stations,
                               const SchematicOptions& options, const std::vector<MeasuredName>& names)
    : network_(std::make_unique<Network>(input, graph, stations, options, names))
{
}

LayoutAttempts::~LayoutAttempts() = default;

Outcome LayoutAttempts::attempt(const Attempt& attempt) const
{
    return network_->attempt(attempt);
}

} // namespace tram::schematic
