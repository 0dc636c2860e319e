#include "view/Geometry.h"

#include <QTest>
#include <cmath>
#include <initializer_list>

using namespace tram;

Q_DECLARE_METATYPE(tram::MapPoint)

namespace {

// A scheme whose segment 1 has the given vertices.
Scheme withSegment(std::initializer_list<MapPoint> points)
{
    Scheme s;
    s.SegmentCount = 1;
    int j = 0;
    for (const MapPoint& p : points)
        s.Points[1][++j] = p;
    s.PointCount[1] = int16_t(j);
    return s;
}

QByteArray text(MapPoint p)
{
    return QByteArray::number(p.X) + ", " + QByteArray::number(p.Y);
}

} // namespace

namespace QTest {
template <>
char* toString(const tram::MapPoint& p)
{
    return qstrdup(text(p).constData());
}
} // namespace QTest

class GeometryTest : public QObject {
    Q_OBJECT
private slots:
    void distance_data();
    void distance();
    void polylineLength_data();
    void polylineLength();
    void locateOnSegment_data();
    void locateOnSegment();
    void locateOutsideTheTables_data();
    void locateOutsideTheTables();
    void isOnLine_data();
    void isOnLine();
    void isSegmentInRoute_data();
    void isSegmentInRoute();
};

void GeometryTest::distance_data()
{
    QTest::addColumn<MapPoint>("a");
    QTest::addColumn<MapPoint>("b");
    QTest::addColumn<double>("expected");

    QTest::newRow("3-4-5") << MapPoint{0, 0} << MapPoint{3, 4} << 5.0;
    QTest::newRow("same point") << MapPoint{7, -7} << MapPoint{7, -7} << 0.0;
    QTest::newRow("order does not matter") << MapPoint{3, 4} << MapPoint{0, 0} << 5.0;
    QTest::newRow("difference beyond 16 bits") << MapPoint{-32768, 0} << MapPoint{32767, 0} << 65535.0;
    QTest::newRow("opposite corners of the coordinate range")
        << MapPoint{-32768, -32768} << MapPoint{32767, 32767} << 65535.0 * std::sqrt(2.0);
}

void GeometryTest::distance()
{
    QFETCH(MapPoint, a);
    QFETCH(MapPoint, b);
    QFETCH(double, expected);
    QCOMPARE(Distance(a, b), expected);
}

void GeometryTest::polylineLength_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<double>("expected");

    // Vertices (100, 100), (200, 100), (200, 200), (203, 204).
    QTest::newRow("one vertex") << 3 << 3 << 0.0;
    QTest::newRow("backwards") << 4 << 2 << 0.0;
    QTest::newRow("first piece") << 1 << 2 << 100.0;
    QTest::newRow("middle") << 2 << 4 << 105.0;
    QTest::newRow("whole polyline") << 1 << 4 << 205.0;
}

void GeometryTest::polylineLength()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(double, expected);
    const Scheme s = withSegment({{100, 100}, {200, 100}, {200, 200}, {203, 204}});
    QCOMPARE(PolylineLength(s, 1, from, to), expected);
}

void GeometryTest::locateOnSegment_data()
{
    QTest::addColumn<Scheme>("scheme");
    QTest::addColumn<double>("position");
    QTest::addColumn<MapPoint>("expected");

    const Scheme bend = withSegment({{100, 100}, {200, 100}, {200, 200}});
    QTest::newRow("position 0 is vertex 1") << bend << 0.0 << MapPoint{100, 100};
    QTest::newRow("inside the first piece") << bend << 50.0 << MapPoint{150, 100};
    QTest::newRow("exactly on vertex 2") << bend << 100.0 << MapPoint{200, 100};
    QTest::newRow("inside the second piece") << bend << 150.0 << MapPoint{200, 150};
    QTest::newRow("whole length is the last vertex") << bend << 200.0 << MapPoint{200, 200};

    const Scheme short3 = withSegment({{10, 10}, {13, 10}});
    QTest::newRow("half rounds up to even") << short3 << 1.5 << MapPoint{12, 10};
    QTest::newRow("half rounds down to even") << short3 << 0.5 << MapPoint{10, 10};
    QTest::newRow("single vertex, position 0") << withSegment({{42, 17}}) << 0.0 << MapPoint{42, 17};

    // A repeated vertex: the first vertex that reaches the position decides.
    const Scheme repeated = withSegment({{100, 100}, {200, 100}, {200, 100}, {300, 100}});
    QTest::newRow("on a repeated vertex") << repeated << 100.0 << MapPoint{200, 100};
    QTest::newRow("after a repeated vertex") << repeated << 150.0 << MapPoint{250, 100};

    // Outside the polyline: element 0, the canvas origin, stands before vertex 1.
    const Scheme away = withSegment({{30, 40}, {100, 40}});
    QTest::newRow("past the end") << away << 70.5 << MapPoint{0, 0};
    QTest::newRow("far past the end") << away << 1e300 << MapPoint{0, 0};
    QTest::newRow("negative, towards the origin") << away << -25.0 << MapPoint{15, 20};
    QTest::newRow("negative, exactly the origin") << away << -50.0 << MapPoint{0, 0};
    QTest::newRow("negative, past the origin") << away << -100.0 << MapPoint{-30, -40};
    QTest::newRow("negative beyond 16 bits saturates") << away << -1e6 << MapPoint{-32768, -32768};
    QTest::newRow("negative on a segment starting at the origin")
        << withSegment({{0, 0}, {10, 0}}) << -5.0 << MapPoint{0, 0};
    QTest::newRow("single vertex, past it") << withSegment({{42, 17}}) << 1.0 << MapPoint{0, 0};

    // Pieces longer than 16 bits can hold.
    const Scheme wide = withSegment({{-32768, 5}, {32767, 5}});
    QTest::newRow("wide piece, middle") << wide << 32768.0 << MapPoint{0, 5};
    QTest::newRow("wide piece, end") << wide << 65535.0 << MapPoint{32767, 5};
}

void GeometryTest::locateOnSegment()
{
    QFETCH(Scheme, scheme);
    QFETCH(double, position);
    QFETCH(MapPoint, expected);
    QCOMPARE(LocateOnSegment(scheme, 1, position), expected);
}

void GeometryTest::locateOutsideTheTables_data()
{
    QTest::addColumn<int>("segment");
    QTest::addColumn<double>("position");

    QTest::newRow("segment never made") << 2 << 0.0;
    QTest::newRow("segment never made, negative position") << 2 << -10.0;
    QTest::newRow("segment 0") << 0 << 0.0;
    QTest::newRow("segment 41") << 41 << 0.0;
    QTest::newRow("segment 255") << 255 << 5.0;
    QTest::newRow("segment 255, negative position") << 255 << -5.0;
}

void GeometryTest::locateOutsideTheTables()
{
    QFETCH(int, segment);
    QFETCH(double, position);
    const Scheme s = withSegment({{100, 100}, {200, 100}});
    QCOMPARE(LocateOnSegment(s, segment, position), (MapPoint{0, 0}));
}

void GeometryTest::isOnLine_data()
{
    QTest::addColumn<MapPoint>("a");
    QTest::addColumn<MapPoint>("b");
    QTest::addColumn<MapPoint>("p");
    QTest::addColumn<bool>("expected");

    QTest::newRow("diagonal, on") << MapPoint{0, 0} << MapPoint{10, 10} << MapPoint{5, 5} << true;
    QTest::newRow("diagonal, one row off") << MapPoint{0, 0} << MapPoint{10, 10} << MapPoint{5, 6} << false;
    QTest::newRow("diagonal, beyond B") << MapPoint{0, 0} << MapPoint{10, 10} << MapPoint{20, 20} << true;
    QTest::newRow("diagonal, before A") << MapPoint{0, 0} << MapPoint{10, 10} << MapPoint{-7, -7} << true;
    QTest::newRow("shallow, below the line") << MapPoint{0, 0} << MapPoint{10, 3} << MapPoint{5, 1} << true;
    QTest::newRow("shallow, above the line") << MapPoint{0, 0} << MapPoint{10, 3} << MapPoint{5, 2} << true;
    QTest::newRow("shallow, too far") << MapPoint{0, 0} << MapPoint{10, 3} << MapPoint{5, 3} << false;
    QTest::newRow("exactly 0.9 away is off") << MapPoint{0, 0} << MapPoint{10, 9} << MapPoint{1, 0} << false;
    QTest::newRow("0.1 away is on") << MapPoint{0, 0} << MapPoint{10, 9} << MapPoint{1, 1} << true;
    QTest::newRow("vertical, A itself") << MapPoint{5, 0} << MapPoint{5, 10} << MapPoint{5, 0} << true;
    QTest::newRow("vertical, between A and B") << MapPoint{5, 0} << MapPoint{5, 10} << MapPoint{5, 5} << false;
    QTest::newRow("zero length, far along the row") << MapPoint{4, 4} << MapPoint{4, 4} << MapPoint{100, 4} << true;
    QTest::newRow("zero length, another row") << MapPoint{4, 4} << MapPoint{4, 4} << MapPoint{100, 5} << false;
    // A 16-bit subtraction would wrap these differences round.
    QTest::newRow("wide horizontal, on") << MapPoint{-32768, 0} << MapPoint{32767, 0} << MapPoint{0, 0} << true;
    QTest::newRow("wide horizontal, off") << MapPoint{-32768, 0} << MapPoint{32767, 0} << MapPoint{0, 1} << false;
    QTest::newRow("wide diagonal, on") << MapPoint{-32768, -32768} << MapPoint{32767, 32767} << MapPoint{0, 0} << true;
    QTest::newRow("wide diagonal, off") << MapPoint{-32768, -32768} << MapPoint{32767, 32767} << MapPoint{0, 2}
                                        << false;
}

void GeometryTest::isOnLine()
{
    QFETCH(MapPoint, a);
    QFETCH(MapPoint, b);
    QFETCH(MapPoint, p);
    QFETCH(bool, expected);
    QCOMPARE(IsOnLine(a, b, p), expected);
}

void GeometryTest::isSegmentInRoute_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<int>("segment");
    QTest::addColumn<bool>("expected");

    QTest::newRow("listed") << 2 << 3 << true;
    QTest::newRow("listed last") << 2 << 5 << true;
    QTest::newRow("not listed") << 2 << 4 << false;
    QTest::newRow("beyond the route's length") << 2 << 7 << false;
    QTest::newRow("another route") << 1 << 3 << false;
    QTest::newRow("before any route") << 0 << 3 << false;
    QTest::newRow("route 0 never lists 0") << 0 << 0 << false;
    QTest::newRow("route beyond the table") << 21 << 3 << false;
    QTest::newRow("route 255") << 255 << 3 << false;
}

void GeometryTest::isSegmentInRoute()
{
    QFETCH(int, route);
    QFETCH(int, segment);
    QFETCH(bool, expected);

    Scheme s;
    s.RouteCount = 2;
    s.RouteLength[1] = 1;
    s.RouteSegments[1][1] = 4;
    s.RouteLength[2] = 3;
    s.RouteSegments[2] = {0, 3, 5, 3, 7};
    QCOMPARE(IsSegmentInRoute(s, route, segment), expected);
}

QTEST_APPLESS_MAIN(GeometryTest)
#include "test_geometry.moc"
