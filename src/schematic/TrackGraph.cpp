#include "schematic/TrackGraph.h"

#include "view/Geometry.h"

#include <QRectF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace tram::schematic {

QPointF Polyline::at(double arc) const
{
    if (arc <= 0 || points.size() < 2)
        return points.empty() ? QPointF() : points.front();
    if (arc >= length())
        return points.back();
    const size_t i = size_t(std::upper_bound(arcs.begin(), arcs.end(), arc) - arcs.begin()) - 1;
    const double t = (arc - arcs[i]) / (arcs[i + 1] - arcs[i]);
    return points[i] + t * (points[i + 1] - points[i]);
}

std::vector<QPointF> Polyline::between(double fromArc, double toArc) const
{
    std::vector<QPointF> result{at(fromArc)};
    for (size_t i = 0; i < points.size(); ++i) {
        if (arcs[i] > fromArc && arcs[i] < toArc)
            result.push_back(points[i]);
    }
    result.push_back(at(toArc));
    return result;
}

Polyline SegmentPolyline(const Scheme& scheme, int segment)
{
    Polyline line;
    double arc = 0;
    for (int j = 1; j <= PointsInUse(scheme, segment); ++j) {
        const MapPoint p = scheme.Points[segment][j];
        if (j > 1)
            arc += Distance(scheme.Points[segment][j - 1], p);
        const QPointF point(p.X, p.Y);
        if (!line.points.empty() && line.points.back() == point)
            continue;
        line.points.push_back(point);
        line.arcs.push_back(arc);
    }
    return line;
}

int TrackGraph::armNode(int arm) const
{
    const GraphEdge& edge = edges[size_t(ArmEdge(arm))];
    return ArmAtStart(arm) ? edge.from : edge.to;
}

namespace {

struct Incidence {
    int segment = 0;
    double arc = 0;
};

struct DraftNode {
    QPointF at;
    std::vector<Incidence> on;
    bool standsOnPiece = false; // placed on another segment's line
};

QString shownPoint(QPointF p)
{
    return QStringLiteral("(%1, %2)").arg(std::lround(p.x())).arg(std::lround(p.y()));
}

long long orientation(QPointF a, QPointF b, QPointF c)
{
    // Vertices are whole pixels of 16 bits: the products fit exactly.
    const auto x = [](double v) { return static_cast<long long>(std::llround(v)); };
    return (x(b.x()) - x(a.x())) * (x(c.y()) - x(a.y())) - (x(b.y()) - x(a.y())) * (x(c.x()) - x(a.x()));
}

int sign(long long v)
{
    return (v > 0) - (v < 0);
}

struct Contact {
    bool overlap = false;
    double t = 0; // along p1-p2
    double u = 0; // along q1-q2
};

// Where the pieces p1-p2 and q1-q2 meet, if they do.
std::optional<Contact> contactOf(QPointF p1, QPointF p2, QPointF q1, QPointF q2)
{
    const long long d1 = orientation(q1, q2, p1), d2 = orientation(q1, q2, p2);
    const long long d3 = orientation(p1, p2, q1), d4 = orientation(p1, p2, q2);
    if (d1 == 0 && d2 == 0) {
        // On one line: compare along it.
        const QPointF along = p2 - p1;
        const double length2 = QPointF::dotProduct(along, along);
        const double a = QPointF::dotProduct(q1 - p1, along) / length2;
        const double b = QPointF::dotProduct(q2 - p1, along) / length2;
        const double low = std::max(0.0, std::min(a, b)), high = std::min(1.0, std::max(a, b));
        if (low > high)
            return std::nullopt;
        if (low < high)
            return Contact{true, low, 0};
        return Contact{false, low, a == low ? 0.0 : 1.0};
    }
    if ((sign(d1) * sign(d2) > 0) || (sign(d3) * sign(d4) > 0))
        return std::nullopt;
    return Contact{false, double(d1) / double(d1 - d2), double(d3) / double(d3 - d4)};
}

int root(std::vector<int>& parent, int i)
{
    while (parent[size_t(i)] != i)
        i = parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
    return i;
}

class GraphBuilder {
public:
    GraphBuilder(const Scheme& scheme, double snap)
        : scheme_(scheme)
        , snap_(snap)
        , sameArc_(2 * snap + 1e-6)
    {
    }

    std::optional<Refusal> build(TrackGraph& graph)
    {
        const int segments = SegmentsInUse(scheme_);
        if (segments == 0)
            return QStringLiteral("sema nema nijedan segment");
        lines_.resize(size_t(segments) + 1);
        for (int s = 1; s <= segments; ++s) {
            lines_[size_t(s)] = SegmentPolyline(scheme_, s);
            if (lines_[size_t(s)].points.size() < 2)
                return QStringLiteral("segment %1: ima manje od dvije razlicite tacke").arg(s);
        }
        addEnds();
        addEndsOnPieces();
        if (auto refusal = addCrossings())
            return refusal;
        return makeGraph(graph);
    }

private:
    const Polyline& line(int s) const { return lines_[size_t(s)]; }
    int segments() const { return int(lines_.size()) - 1; }

    // The node that already has the segment near `arc`, if any.
    int nodeAt(int segment, double arc) const
    {
        for (size_t n = 0; n < nodes_.size(); ++n) {
            for (const Incidence& i : nodes_[n].on) {
                if (i.segment == segment && std::abs(i.arc - arc) <= sameArc_)
                    return int(n);
            }
        }
        return -1;
    }

    bool has(int node, int segment, double arc) const
    {
        return std::any_of(nodes_[size_t(node)].on.begin(), nodes_[size_t(node)].on.end(), [&](const Incidence& i) {
            return i.segment == segment && std::abs(i.arc - arc) <= sameArc_;
        });
    }

    // Ends within the snap distance of each other, in chains, are one node.
    void addEnds()
    {
        const int ends = 2 * segments();
        const auto endPoint = [&](int e) {
            const Polyline& l = line(e / 2 + 1);
            return e % 2 == 0 ? l.points.front() : l.points.back();
        };
        std::vector<int> parent(static_cast<size_t>(ends));
        std::iota(parent.begin(), parent.end(), 0);
        for (int a = 0; a < ends; ++a) {
            for (int b = a + 1; b < ends; ++b) {
                const QPointF d = endPoint(a) - endPoint(b);
                if (std::hypot(d.x(), d.y()) <= snap_)
                    parent[size_t(root(parent, b))] = root(parent, a);
            }
        }
        std::vector<int> nodeOfRoot(size_t(ends), -1);
        std::vector<int> count;
        for (int e = 0; e < ends; ++e) {
            const int r = root(parent, e);
            if (nodeOfRoot[size_t(r)] < 0) {
                nodeOfRoot[size_t(r)] = int(nodes_.size());
                nodes_.emplace_back();
                count.push_back(0);
            }
            const int n = nodeOfRoot[size_t(r)];
            const int s = e / 2 + 1;
            nodes_[size_t(n)].on.push_back({s, e % 2 == 0 ? 0.0 : line(s).length()});
            nodes_[size_t(n)].at += endPoint(e);
            ++count[size_t(n)];
        }
        for (size_t n = 0; n < nodes_.size(); ++n)
            nodes_[n].at /= count[n];
    }

    // An end near another segment's line stands on it: the node moves onto
    // the line, so the end meets it exactly.
    void addEndsOnPieces()
    {
        const size_t endNodes = nodes_.size();
        for (size_t n = 0; n < endNodes; ++n) {
            const std::vector<Incidence> ends = nodes_[n].on;
            for (const Incidence& end : ends) {
                const QPointF p = line(end.segment).at(end.arc);
                for (int t = 1; t <= segments(); ++t) {
                    const Polyline& l = line(t);
                    for (size_t i = 0; i + 1 < l.points.size(); ++i) {
                        if (DistanceToPiece(p, l.points[i], l.points[i + 1]) > snap_)
                            continue;
                        const double f = NearestOnPiece(p, l.points[i], l.points[i + 1]);
                        const double arc = l.arcs[i] + f * (l.arcs[i + 1] - l.arcs[i]);
                        if (has(int(n), t, arc))
                            continue;
                        nodes_[n].on.push_back({t, arc});
                        if (!nodes_[n].standsOnPiece) {
                            nodes_[n].at = l.at(arc);
                            nodes_[n].standsOnPiece = true;
                        }
                    }
                }
            }
        }
    }

    // Pieces that cross or touch away from the nodes so far make a node.
    std::optional<Refusal> addCrossings()
    {
        struct Piece {
            int segment;
            size_t index;
            QRectF box;
        };
        std::vector<Piece> pieces;
        for (int s = 1; s <= segments(); ++s) {
            const Polyline& l = line(s);
            for (size_t i = 0; i + 1 < l.points.size(); ++i)
                pieces.push_back({s, i, QRectF(l.points[i], l.points[i + 1]).normalized()});
        }
        for (size_t a = 0; a < pieces.size(); ++a) {
            for (size_t b = a + 1; b < pieces.size(); ++b) {
                const Piece& p = pieces[a];
                const Piece& q = pieces[b];
                if (p.segment == q.segment && q.index == p.index + 1)
                    continue;
                const QRectF& pb = p.box;
                const QRectF& qb = q.box;
                if (pb.right() < qb.left() || qb.right() < pb.left() || pb.bottom() < qb.top()
                    || qb.bottom() < pb.top())
                    continue;
                const Polyline& lp = line(p.segment);
                const Polyline& lq = line(q.segment);
                const auto contact = contactOf(lp.points[p.index], lp.points[p.index + 1], lq.points[q.index],
                                               lq.points[q.index + 1]);
                if (!contact)
                    continue;
                const QPointF at = lp.points[p.index] + contact->t * (lp.points[p.index + 1] - lp.points[p.index]);
                if (contact->overlap) {
                    if (p.segment == q.segment)
                        return QStringLiteral("segment %1: ide sam preko sebe kod %2")
                            .arg(p.segment)
                            .arg(shownPoint(at));
                    return QStringLiteral("segmenti %1 i %2: idu jedan preko drugog kod %3")
                        .arg(p.segment)
                        .arg(q.segment)
                        .arg(shownPoint(at));
                }
                const double arcP = lp.arcs[p.index] + contact->t * (lp.arcs[p.index + 1] - lp.arcs[p.index]);
                const double arcQ = lq.arcs[q.index] + contact->u * (lq.arcs[q.index + 1] - lq.arcs[q.index]);
                addContact(p.segment, arcP, q.segment, arcQ, at);
                if (int(nodes_.size()) > MaxNodes)
                    return QStringLiteral(
                               "segmenti %1 i %2 i drugi: sijeku se i dodiruju na toliko mjesta da mreza ima vise od %3 cvorova")
                        .arg(p.segment)
                        .arg(q.segment)
                        .arg(MaxNodes);
            }
        }
        return std::nullopt;
    }

    // Whether a node already joins the two places: for one segment, by two
    // of its incidences.
    bool joined(int s, double arcS, int t, double arcT) const
    {
        for (const DraftNode& node : nodes_) {
            bool hasS = false, hasT = false;
            for (const Incidence& i : node.on) {
                if (i.segment == s && std::abs(i.arc - arcS) <= sameArc_)
                    hasS = true;
                else if (i.segment == t && std::abs(i.arc - arcT) <= sameArc_)
                    hasT = true;
            }
            if (hasS && hasT)
                return true;
        }
        return false;
    }

    void addContact(int s, double arcS, int t, double arcT, QPointF at)
    {
        // A bend of a segment that folds back to within the snap distance of
        // itself is no contact.
        if ((s == t && std::abs(arcS - arcT) <= sameArc_) || joined(s, arcS, t, arcT))
            return;
        for (const auto& [known, knownArc, other, otherArc] :
             {std::tuple{s, arcS, t, arcT}, std::tuple{t, arcT, s, arcS}}) {
            const int n = nodeAt(known, knownArc);
            if (n < 0)
                continue;
            const QPointF d = nodes_[size_t(n)].at - at;
            if (std::hypot(d.x(), d.y()) <= snap_) {
                nodes_[size_t(n)].on.push_back({other, otherArc});
                return;
            }
        }
        nodes_.push_back({at, {{s, arcS}, {t, arcT}}, false});
    }

    struct Stop {
        double arc;
        int node;
    };

    // Each segment's nodes in order along it; nodes that fall on the same
    // point of a segment are one.
    std::vector<std::vector<Stop>> stopsAlongSegments()
    {
        std::vector<int> parent(nodes_.size());
        std::iota(parent.begin(), parent.end(), 0);
        std::vector<std::vector<Stop>> stops;
        for (bool merged = true; merged;) {
            merged = false;
            stops.assign(size_t(segments()) + 1, {});
            for (size_t n = 0; n < nodes_.size(); ++n) {
                for (const Incidence& i : nodes_[n].on)
                    stops[size_t(i.segment)].push_back({i.arc, root(parent, int(n))});
            }
            for (auto& along : stops) {
                std::sort(along.begin(), along.end(), [](const Stop& a, const Stop& b) {
                    return a.arc != b.arc ? a.arc < b.arc : a.node < b.node;
                });
                for (size_t k = 0; k + 1 < along.size(); ++k) {
                    const int a = root(parent, along[k].node), b = root(parent, along[k + 1].node);
                    if (along[k + 1].arc - along[k].arc <= 1e-9 && a != b) {
                        parent[size_t(b)] = a;
                        merged = true;
                    }
                }
            }
        }
        // Renumber the nodes that are left, in order of first appearance.
        std::vector<int> number(nodes_.size(), -1);
        std::vector<DraftNode> kept;
        for (auto& along : stops) {
            std::vector<Stop> distinct;
            for (const Stop& stop : along) {
                if (!distinct.empty() && distinct.back().node == stop.node && stop.arc - distinct.back().arc <= 1e-9)
                    continue;
                distinct.push_back(stop);
            }
            for (Stop& stop : distinct) {
                if (number[size_t(stop.node)] < 0) {
                    number[size_t(stop.node)] = int(kept.size());
                    kept.push_back(nodes_[size_t(stop.node)]);
                }
                stop.node = number[size_t(stop.node)];
            }
            along = distinct;
        }
        nodes_ = kept;
        return stops;
    }

    std::optional<Refusal> makeGraph(TrackGraph& graph)
    {
        const auto stops = stopsAlongSegments();
        graph = TrackGraph{};
        for (const DraftNode& draft : nodes_)
            graph.nodes.push_back({draft.at, {}});
        graph.edgesOf.resize(size_t(segments()) + 1);
        const auto addEdge = [&](int s, const Stop& a, const Stop& b) {
            graph.edgesOf[size_t(s)].push_back(int(graph.edges.size()));
            graph.edges.push_back({s, a.node, b.node, a.arc, b.arc, line(s).between(a.arc, b.arc)});
        };
        for (int s = 1; s <= segments(); ++s) {
            const auto& along = stops[size_t(s)];
            for (size_t k = 0; k + 1 < along.size(); ++k) {
                if (along[k].node != along[k + 1].node) {
                    addEdge(s, along[k], along[k + 1]);
                    continue;
                }
                // A loop back to the node it left is drawn through a node of
                // its own half way round.
                const double middle = (along[k].arc + along[k + 1].arc) / 2;
                const Stop half{middle, int(graph.nodes.size())};
                graph.nodes.push_back({line(s).at(middle), {}});
                addEdge(s, along[k], half);
                addEdge(s, half, along[k + 1]);
            }
        }
        graph.lines = lines_;
        return orderArms(graph);
    }

    // The direction an edge leaves its node in, read a little way along it,
    // where it shows past what a hand or a survey wobbles in its first
    // pixels; a second reading further on settles ties.
    static std::pair<double, double> leavingAngle(const TrackGraph& graph, int arm)
    {
        const GraphEdge& edge = graph.edges[size_t(ArmEdge(arm))];
        std::vector<QPointF> course = edge.course;
        if (!ArmAtStart(arm))
            std::reverse(course.begin(), course.end());
        // Seen from the node: the arms of one node start up to the snap
        // distance apart.
        const QPointF from = graph.nodes[size_t(graph.armNode(arm))].at;
        const auto angleAt = [&](double reach) {
            double along = 0;
            for (size_t k = 0; k + 1 < course.size(); ++k) {
                const QPointF piece = course[k + 1] - course[k];
                const double length = std::hypot(piece.x(), piece.y());
                if (along + length >= reach && length > 0) {
                    const QPointF p = course[k] + (reach - along) / length * piece - from;
                    return std::atan2(p.y(), p.x());
                }
                along += length;
            }
            const QPointF p = course.back() - from;
            return std::atan2(p.y(), p.x());
        };
        return {angleAt(ArmReadingNear), angleAt(ArmReadingFar)};
    }

    // Two tracks between the same two nodes that leave one of them in the
    // same direction (drawn on top of each other): which lies
    // first round one node decides the order round the other, so that they
    // can be drawn side by side without crossing.
    static void orderTwinTracks(const TrackGraph& graph, GraphNode& node,
                                const std::vector<std::pair<std::pair<double, double>, int>>& byAngle)
    {
        const size_t count = node.arms.size();
        for (size_t k = 0; count > 1 && k < count; ++k) {
            const size_t next = (k + 1) % count;
            const GraphEdge& a = graph.edges[size_t(ArmEdge(node.arms[k]))];
            const GraphEdge& b = graph.edges[size_t(ArmEdge(node.arms[next]))];
            if (byAngle[k].first != byAngle[next].first || std::minmax(a.from, a.to) != std::minmax(b.from, b.to))
                continue;
            // The lower edge first round the lower node, last round the other.
            const bool lowerFirst = ArmEdge(node.arms[k]) < ArmEdge(node.arms[next]);
            const bool atLowerNode = graph.armNode(node.arms[k]) == std::min(a.from, a.to);
            if (lowerFirst != atLowerNode)
                std::swap(node.arms[k], node.arms[next]);
        }
    }

    std::optional<Refusal> orderArms(TrackGraph& graph) const
    {
        for (size_t e = 0; e < graph.edges.size(); ++e) {
            graph.nodes[size_t(graph.edges[e].from)].arms.push_back(ArmOf(int(e), true));
            graph.nodes[size_t(graph.edges[e].to)].arms.push_back(ArmOf(int(e), false));
        }
        for (GraphNode& node : graph.nodes) {
            std::vector<std::pair<std::pair<double, double>, int>> byAngle;
            for (const int arm : node.arms)
                byAngle.push_back({leavingAngle(graph, arm), arm});
            std::sort(byAngle.begin(), byAngle.end());
            for (size_t k = 0; k < byAngle.size(); ++k)
                node.arms[k] = byAngle[k].second;
            orderTwinTracks(graph, node, byAngle);
            if (int(node.arms.size()) > MaxArms) {
                QStringList names;
                for (const int arm : node.arms) {
                    const QString name = QString::number(graph.edges[size_t(ArmEdge(arm))].segment);
                    if (!names.contains(name))
                        names << name;
                }
                return QStringLiteral("segmenti %1: u tacki %2 sastaje se %3 krakova, a mreza ih crta najvise %4")
                    .arg(names.join(QStringLiteral(", ")), shownPoint(node.at))
                    .arg(node.arms.size())
                    .arg(MaxArms);
            }
        }
        return std::nullopt;
    }

    const Scheme& scheme_;
    const double snap_;
    const double sameArc_;
    std::vector<Polyline> lines_;
    std::vector<DraftNode> nodes_;
};

// The arms of a node as a cyclic sequence, starting from its smallest arm.
std::vector<int> cyclic(std::vector<int> arms)
{
    if (!arms.empty())
        std::rotate(arms.begin(), std::min_element(arms.begin(), arms.end()), arms.end());
    return arms;
}

} // namespace

std::optional<Refusal> BuildTrackGraph(const Scheme& scheme, double snap, TrackGraph& graph)
{
    TrackGraph built;
    if (auto refusal = GraphBuilder(scheme, snap).build(built))
        return refusal;
    graph = std::move(built);
    return std::nullopt;
}

std::optional<Refusal> CompareNetworks(const TrackGraph& before, const TrackGraph& after)
{
    if (before.edgesOf.size() != after.edgesOf.size())
        return QStringLiteral("broj segmenata se promijenio");
    for (size_t s = 1; s < before.edgesOf.size(); ++s) {
        if (before.edgesOf[s].size() != after.edgesOf[s].size())
            return QStringLiteral("segment %1: sastaje se s drugima na %2 mjesta umjesto %3")
                .arg(s)
                .arg(after.edgesOf[s].size() + 1)
                .arg(before.edgesOf[s].size() + 1);
    }
    if (before.nodes.size() != after.nodes.size())
        return QStringLiteral("mreza ima %1 cvorova umjesto %2").arg(after.nodes.size()).arg(before.nodes.size());
    // Edges are numbered alike in both; the nodes must follow them.
    std::vector<int> image(before.nodes.size(), -1);
    std::vector<int> preimage(after.nodes.size(), -1);
    for (size_t e = 0; e < before.edges.size(); ++e) {
        for (const bool atStart : {true, false}) {
            const int arm = ArmOf(int(e), atStart);
            const int b = before.armNode(arm);
            const int a = after.armNode(arm);
            if ((image[size_t(b)] >= 0 && image[size_t(b)] != a)
                || (preimage[size_t(a)] >= 0 && preimage[size_t(a)] != b))
                return QStringLiteral("segment %1: sastaje se s drugim segmentima na drugim mjestima")
                    .arg(before.edges[e].segment);
            image[size_t(b)] = a;
            preimage[size_t(a)] = b;
        }
    }
    for (size_t n = 0; n < before.nodes.size(); ++n) {
        if (cyclic(before.nodes[n].arms) != cyclic(after.nodes[size_t(image[n])].arms)) {
            const GraphNode& node = after.nodes[size_t(image[n])];
            return QStringLiteral("segmenti se u tacki %1 ne redaju kao prije").arg(shownPoint(node.at));
        }
    }
    return std::nullopt;
}

} // namespace tram::schematic
