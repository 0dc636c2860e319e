#include "schematic/GridRouter.h"

#include "view/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace tram::schematic {

namespace {

// Costs, in cells of path: a bend of 45 and of 90 degrees, a cell travelled
// one cell off the course, passing next to what is drawn, passing the free
// grid nodes round a node whose edges are not all drawn yet, and a node put
// one cell from its place (squared).
constexpr double BendCost[SharpestTurn + 1] = {0, 1.5, 3.5};
constexpr double OffCourseCost = 0.3;
constexpr double CrowdCost = 0.4;
constexpr double ReservedCost = 2.5;
constexpr double MoveCost = 1.0;
// A horizontal cell of an edge with a station on every cell.
constexpr double CrowdedRunCost = 2.0;
// How far a path may stray from its course, in cells, before the whole grid
// is tried; and how far a node may move from its place.
constexpr double Corridor = 3;
constexpr double NodeReach[] = {1.5, 2.5};

constexpr double Unreachable = std::numeric_limits<double>::infinity();
constexpr int Free = -1;
// Grid nodes taken by graph nodes hold -2 - node (and the node is -2 - owner).
constexpr int GraphNodeOwner(int node)
{
    return -2 - node;
}

double stepLength(int direction)
{
    return IsDiagonal(direction) ? M_SQRT2 : 1.0;
}

class Router {
public:
    Router(const TrackGraph& graph, const OctilinearGrid& grid, const GridTargets& targets)
        : graph_(graph)
        , grid_(grid)
        , targets_(targets)
        , owner_(size_t(grid.nodes()), Free)
        , used_(size_t(grid.nodes()), 0)
        , crowd_(size_t(grid.nodes()), 0)
        , port_(2 * graph.edges.size(), -1)
        , offCourse_(size_t(grid.nodes()))
        , cost_(size_t(grid.nodes()) * Directions + size_t(grid.nodes()))
        , length_(cost_.size())
        , from_(cost_.size())
        , done_(cost_.size())
        , targetCost_(size_t(grid.nodes()), Unreachable)
        , arrival_(size_t(grid.nodes()), -1)
        , isSource_(size_t(grid.nodes()), false)
    {
        drawing_.nodeAt.assign(graph.nodes.size(), -1);
        drawing_.paths.resize(graph.edges.size());
    }

    bool draw(int edge)
    {
        for (const bool wholeGrid : {false, true}) {
            for (const double reach : NodeReach) {
                if (search(edge, wholeGrid, reach))
                    return true;
            }
        }
        return false;
    }

    GridDrawing& drawing() { return drawing_; }

private:
    // The search runs from a placed end when there is one.
    struct Ends {
        int sourceArm;
        int targetArm;
    };

    Ends endsOf(int edge) const
    {
        const GraphEdge& e = graph_.edges[size_t(edge)];
        if (drawing_.nodeAt[size_t(e.from)] < 0 && drawing_.nodeAt[size_t(e.to)] >= 0)
            return {ArmOf(edge, false), ArmOf(edge, true)};
        return {ArmOf(edge, true), ArmOf(edge, false)};
    }

    bool gridEdgeFree(int node, int direction) const
    {
        const int c = grid_.column(node), r = grid_.row(node);
        for (const auto& conflict : grid_.conflicts(direction)) {
            const int cc = c + conflict.offset.x(), rr = r + conflict.offset.y();
            if (cc < 0 || cc >= grid_.columns() || rr < 0 || rr >= grid_.rows())
                continue;
            if (used_[size_t(grid_.node(cc, rr))] & (1u << conflict.direction))
                return false;
        }
        return true;
    }

    // The same segment's edge on the other side of the arm's node, if it
    // goes on from there.
    int continuingArm(int arm) const
    {
        const int edge = ArmEdge(arm);
        const GraphEdge& e = graph_.edges[size_t(edge)];
        const auto& chain = graph_.edgesOf[size_t(e.segment)];
        const auto at = std::find(chain.begin(), chain.end(), edge) - chain.begin();
        if (ArmAtStart(arm))
            return at > 0 ? ArmOf(chain[size_t(at - 1)], false) : -1;
        return at + 1 < std::ssize(chain) ? ArmOf(chain[size_t(at + 1)], true) : -1;
    }

    // The directions the arm may leave its node in: between the arms drawn
    // so far that come before and after it round the node, with room left
    // for the arms not yet drawn in between; and no sharper turn than a
    // right angle from the same segment's edge on the other side.
    unsigned allowedPorts(int arm) const
    {
        const auto& arms = graph_.nodes[size_t(graph_.armNode(arm))].arms;
        const int count = int(arms.size());
        const int k = int(std::find(arms.begin(), arms.end(), arm) - arms.begin());
        unsigned mask = 0xFF;
        int before = -1, after = -1, openBefore = 0, openAfter = 0;
        for (int step = 1; step < count && before < 0; ++step) {
            const int other = arms[size_t((k - step + count) % count)];
            if (port_[size_t(other)] >= 0)
                before = other;
            else
                ++openBefore;
        }
        for (int step = 1; step < count && after < 0; ++step) {
            const int other = arms[size_t((k + step) % count)];
            if (port_[size_t(other)] >= 0)
                after = other;
            else
                ++openAfter;
        }
        if (before >= 0) {
            mask = 0;
            const int from = port_[size_t(before)], to = port_[size_t(after)];
            const int span = before == after ? Directions : (to - from + Directions) % Directions;
            for (int offset = openBefore + 1; offset <= span - openAfter - 1; ++offset)
                mask |= 1u << ((from + offset) % Directions);
        }
        if (const int other = continuingArm(arm); other >= 0 && port_[size_t(other)] >= 0) {
            for (int d = 0; d < Directions; ++d) {
                if (Turn(Opposite(port_[size_t(other)]), d) > SharpestTurn)
                    mask &= ~(1u << d);
            }
        }
        return mask;
    }

    int freeNeighbours(int node) const
    {
        int count = 0;
        for (int d = 0; d < Directions; ++d) {
            const int n = grid_.neighbour(node, d);
            count += n >= 0 && owner_[size_t(n)] == Free;
        }
        return count;
    }

    QPoint at(int node) const { return QPoint(grid_.column(node), grid_.row(node)); }

    // Whether a node placed at the grid node leaves every edge to a placed
    // neighbour room for its stations.
    bool roomyFor(int graphNode, int node) const
    {
        for (const int arm : graph_.nodes[size_t(graphNode)].arms) {
            const int edge = ArmEdge(arm);
            const GraphEdge& e = graph_.edges[size_t(edge)];
            const int other = drawing_.nodeAt[size_t(ArmAtStart(arm) ? e.to : e.from)];
            if (other >= 0 && OctilinearDistance(at(node), at(other)) < targets_.leastLength[size_t(edge)])
                return false;
        }
        return true;
    }

    // Where an end of the edge may go, and what going there costs.
    std::vector<std::pair<int, double>> placesFor(int graphNode, double reach) const
    {
        if (drawing_.nodeAt[size_t(graphNode)] >= 0)
            return {{drawing_.nodeAt[size_t(graphNode)], 0.0}};
        const QPointF want = targets_.nodes[size_t(graphNode)];
        std::vector<std::pair<int, double>> places;
        const int r = int(std::ceil(reach));
        for (int row = int(std::round(want.y())) - r; row <= int(std::round(want.y())) + r; ++row) {
            for (int column = int(std::round(want.x())) - r; column <= int(std::round(want.x())) + r; ++column) {
                if (column < 0 || column >= grid_.columns() || row < 0 || row >= grid_.rows())
                    continue;
                const double d2 = std::pow(column - want.x(), 2) + std::pow(row - want.y(), 2);
                const int node = grid_.node(column, row);
                if (d2 > reach * reach || owner_[size_t(node)] != Free
                    || freeNeighbours(node) < graph_.degree(graphNode) || !roomyFor(graphNode, node))
                    continue;
                places.push_back({node, MoveCost * d2});
            }
        }
        std::sort(places.begin(), places.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        return places;
    }

    // How far each grid node lies off the edge's course, in cells; beyond
    // the corridor, unreachable unless the whole grid is searched.
    void measureOffCourse(int edge, bool wholeGrid)
    {
        const auto& course = targets_.courses[size_t(edge)];
        double left = course.front().x(), right = left, top = course.front().y(), bottom = top;
        for (const QPointF& p : course) {
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
        const double margin = Corridor + NodeReach[std::size(NodeReach) - 1];
        for (int n = 0; n < grid_.nodes(); ++n) {
            const QPointF p(grid_.column(n), grid_.row(n));
            if (!wholeGrid
                && (p.x() < left - margin || p.x() > right + margin || p.y() < top - margin
                    || p.y() > bottom + margin)) {
                offCourse_[size_t(n)] = Unreachable;
                continue;
            }
            double d = Unreachable;
            for (size_t i = 0; i + 1 < course.size(); ++i)
                d = std::min(d, DistanceToPiece(p, course[i], course[i + 1]));
            if (course.size() == 1)
                d = std::hypot(p.x() - course[0].x(), p.y() - course[0].y());
            offCourse_[size_t(n)] = !wholeGrid && d > margin ? Unreachable : d;
        }
    }

    // The cost of passing a grid node on the way: off the course, next to
    // drawn paths, or in the way of a node's arms still to be drawn.
    double passCost(int node, int edge) const
    {
        double cost = OffCourseCost * std::max(0.0, offCourse_[size_t(node)] - 0.5) + CrowdCost * crowd_[size_t(node)];
        const GraphEdge& e = graph_.edges[size_t(edge)];
        for (int d = 0; d < Directions; ++d) {
            const int n = grid_.neighbour(node, d);
            if (n < 0 || owner_[size_t(n)] > GraphNodeOwner(0))
                continue;
            const int graphNode = GraphNodeOwner(owner_[size_t(n)]);
            if (graphNode == e.from || graphNode == e.to)
                continue;
            const auto& arms = graph_.nodes[size_t(graphNode)].arms;
            if (std::any_of(arms.begin(), arms.end(), [&](int arm) { return port_[size_t(arm)] < 0; }))
                cost += ReservedCost;
        }
        return cost;
    }

    bool search(int edge, bool wholeGrid, double reach)
    {
        const Ends ends = endsOf(edge);
        auto sources = placesFor(graph_.armNode(ends.sourceArm), reach);
        auto targets = placesFor(graph_.armNode(ends.targetArm), reach);
        // With neither end placed, the source goes where it wants most, and
        // the target no nearer than the edge's stations need.
        if (sources.size() > 1)
            sources.resize(1);
        const double least = targets_.leastLength[size_t(edge)];
        std::erase_if(targets, [&](const auto& target) {
            return !sources.empty() && OctilinearDistance(at(sources[0].first), at(target.first)) < least;
        });
        // A path neither ends nor passes where it could have started.
        std::fill(isSource_.begin(), isSource_.end(), false);
        for (const auto& source : sources)
            isSource_[size_t(source.first)] = true;
        std::erase_if(targets, [&](const auto& target) { return isSource_[size_t(target.first)]; });
        if (sources.empty() || targets.empty())
            return false;
        measureOffCourse(edge, wholeGrid);
        const unsigned sourcePorts = allowedPorts(ends.sourceArm);
        const unsigned targetPorts = allowedPorts(ends.targetArm);

        const int nodes = grid_.nodes();
        std::fill(targetCost_.begin(), targetCost_.end(), Unreachable);
        for (const auto& [node, cost] : targets)
            targetCost_[size_t(node)] = cost;
        std::vector<double> estimate(size_t(nodes), Unreachable);
        for (int n = 0; n < nodes; ++n) {
            for (const auto& target : targets)
                estimate[size_t(n)] = std::min(estimate[size_t(n)], OctilinearDistance(at(n), at(target.first)));
        }
        const double longest = std::max(targets_.mostLength[size_t(edge)], estimate[size_t(sources[0].first)] + 2);
        std::fill(cost_.begin(), cost_.end(), Unreachable);
        std::fill(done_.begin(), done_.end(), false);
        using Entry = std::pair<double, int>;
        std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;

        // One step from `node` in `direction`, coming from `state` (a source
        // is -1 - its grid node). Reaching a target gives a finishing state,
        // nodes * Directions + target, that remembers the arrival direction.
        const auto stepTo = [&](int state, int node, int direction, double cost) {
            const int next = grid_.neighbour(node, direction);
            if (next < 0 || isSource_[size_t(next)] || !gridEdgeFree(node, direction))
                return;
            cost += stepLength(direction);
            if (targetCost_[size_t(next)] < Unreachable && (targetPorts & (1u << Opposite(direction)))) {
                const int finish = nodes * Directions + next;
                const double total = cost + targetCost_[size_t(next)];
                if (total < cost_[size_t(finish)]) {
                    cost_[size_t(finish)] = total;
                    from_[size_t(finish)] = state;
                    arrival_[size_t(next)] = direction;
                    open.push({total, finish});
                }
            }
            const double length = (state < 0 ? 0 : length_[size_t(state)]) + stepLength(direction);
            if (owner_[size_t(next)] != Free || offCourse_[size_t(next)] == Unreachable
                || length + estimate[size_t(next)] > longest)
                return;
            const int to = next * Directions + direction;
            const double total = cost + stepLength(direction) * passCost(next, edge)
                + (direction % 4 == 0 ? CrowdedRunCost * targets_.crowding[size_t(edge)] : 0.0);
            if (total < cost_[size_t(to)]) {
                cost_[size_t(to)] = total;
                length_[size_t(to)] = length;
                from_[size_t(to)] = state;
                open.push({total + estimate[size_t(next)], to});
            }
        };

        for (const auto& [node, cost] : sources) {
            for (int d = 0; d < Directions; ++d) {
                if (sourcePorts & (1u << d))
                    stepTo(-1 - node, node, d, cost);
            }
        }
        while (!open.empty()) {
            const int state = open.top().second;
            open.pop();
            if (done_[size_t(state)])
                continue;
            done_[size_t(state)] = true;
            if (state >= nodes * Directions)
                return commit(edge, ends, state - nodes * Directions);
            const int node = state / Directions, direction = state % Directions;
            for (int d = 0; d < Directions; ++d) {
                if (Turn(direction, d) <= SharpestTurn)
                    stepTo(state, node, d, cost_[size_t(state)] + BendCost[Turn(direction, d)]);
            }
        }
        return false;
    }

    void take(int node, int owner)
    {
        owner_[size_t(node)] = owner;
        for (int d = 0; d < Directions; ++d) {
            if (const int n = grid_.neighbour(node, d); n >= 0)
                ++crowd_[size_t(n)];
        }
    }

    // Takes the path found into the drawing; a path that would cross itself
    // on the way to a port is no path.
    bool commit(int edge, const Ends& ends, int target)
    {
        std::vector<int> path{target};
        std::vector<int> directions{arrival_[size_t(target)]};
        int state = from_[size_t(grid_.nodes() * Directions + target)];
        for (; state >= 0; state = from_[size_t(state)]) {
            path.push_back(state / Directions);
            directions.push_back(state % Directions);
        }
        path.push_back(-1 - state);
        std::reverse(path.begin(), path.end());
        std::reverse(directions.begin(), directions.end());
        std::vector<int> sorted = path;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
            return false;

        for (const auto& [arm, node] :
             {std::pair{ends.sourceArm, path.front()}, std::pair{ends.targetArm, path.back()}}) {
            const int graphNode = graph_.armNode(arm);
            if (drawing_.nodeAt[size_t(graphNode)] < 0) {
                drawing_.nodeAt[size_t(graphNode)] = node;
                take(node, GraphNodeOwner(graphNode));
            }
        }
        for (size_t k = 1; k + 1 < path.size(); ++k)
            take(path[k], edge);
        for (size_t k = 0; k + 1 < path.size(); ++k) {
            used_[size_t(path[k])] |= 1u << directions[k];
            used_[size_t(path[k + 1])] |= 1u << Opposite(directions[k]);
        }
        port_[size_t(ends.sourceArm)] = directions.front();
        port_[size_t(ends.targetArm)] = Opposite(directions.back());
        if (!ArmAtStart(ends.sourceArm))
            std::reverse(path.begin(), path.end());
        drawing_.paths[size_t(edge)] = path;
        return true;
    }

    const TrackGraph& graph_;
    const OctilinearGrid& grid_;
    const GridTargets& targets_;
    std::vector<int> owner_;
    std::vector<uint8_t> used_;
    std::vector<uint8_t> crowd_;
    std::vector<int> port_;
    std::vector<double> offCourse_;
    std::vector<double> cost_;
    std::vector<double> length_;
    std::vector<int> from_;
    std::vector<bool> done_;
    std::vector<double> targetCost_;
    std::vector<int> arrival_;
    std::vector<bool> isSource_;
    GridDrawing drawing_;
};

} // namespace

double OctilinearDistance(QPoint a, QPoint b)
{
    const int dx = std::abs(a.x() - b.x()), dy = std::abs(a.y() - b.y());
    return std::max(dx, dy) + (M_SQRT2 - 1) * std::min(dx, dy);
}

int DrawOnGrid(const TrackGraph& graph, const OctilinearGrid& grid, const GridTargets& targets,
               const std::vector<int>& order, GridDrawing& drawing)
{
    Router router(graph, grid, targets);
    int failed = -1;
    for (const int edge : order) {
        if (!router.draw(edge)) {
            failed = edge;
            break;
        }
    }
    drawing = std::move(router.drawing());
    return failed;
}

} // namespace tram::schematic
