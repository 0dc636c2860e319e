// The mouse on the canvas as the editing commands take it: which vertex a left
// press grabs, which object Shift picks, which segment the right button picks
// and where Shift inserts, and the drag.

#include "editing/CanvasEditing.h"
#include "support/Schemes.h"

#include <QPointF>
#include <QTest>

using namespace tram;
using testschemes::AddSegment;
using Action = MouseDownResult::Action;
using Polyline = QList<MapPoint>;

Q_DECLARE_METATYPE(MapPoint)
Q_DECLARE_METATYPE(ObjectKind)

namespace {

// The codes the window passes besides LeftButton, RightButton and ShiftBit.
constexpr int MiddleButton = 4;
constexpr int CtrlBit = 2;
constexpr int AltBit = 4;

// The model as the window starts it, driven by button codes and the shift bit.
struct Mouse {
    EditorModel model;
    Scheme& scheme = model.scheme;
    const EditState& edit = model.edit;
    const DragState& drag = model.drag;

    explicit Mouse(const QList<Polyline>& segments = {})
    {
        ApplyStartDisplay(model.display);
        for (const Polyline& points : segments) {
            const int s = AddSegment(scheme, {});
            scheme.PointCount[s] = int16_t(points.size());
            std::copy(points.begin(), points.end(), scheme.Points[s].begin() + 1);
        }
    }

    MouseDownResult press(QPointF at, int button = LeftButton, int shift = 0)
    {
        return CanvasMouseDown(model, button, shift, float(at.x()), float(at.y()));
    }
    bool move(QPointF at) { return CanvasMouseMove(model, float(at.x()), float(at.y())); }
    void release(int button = LeftButton) { CanvasMouseUp(model, button); }

    // Stations and lights on segment 1 at these positions.
    void place(const QList<double>& stations, const QList<double>& lights)
    {
        for (const double position : stations)
            scheme.Stations[++scheme.StationCount] = Station{1, position, 0, {}};
        for (const double position : lights)
            scheme.Lights[++scheme.LightCount] = TrafficLight{1, position, 0, 0, 0, 0};
    }
};

const Polyline Track{{100, 100}, {300, 100}};

} // namespace

class CanvasEditingTest : public QObject {
    Q_OBJECT
private slots:
    void leftPressGrabsTheFirstVertexInReach_data();
    void leftPressGrabsTheFirstVertexInReach();
    void shiftLeftPicksTheFirstObjectInReach_data();
    void shiftLeftPicksTheFirstObjectInReach();
    void rightPressPicksTheFirstSegmentOnTheLine_data();
    void rightPressPicksTheFirstSegmentOnTheLine();
    void shiftRightInsertsTheClickPoint_data();
    void shiftRightInsertsTheClickPoint();
    void fiftyFirstVertexIsRefusedButTheSegmentPicked();
    void dragMovesTheVertexOnEveryMove();
    void onlyLeftReleaseEndsDrag();
    void grabDuringDrag();
    void objectsAreLocatedAfresh();
};

void CanvasEditingTest::leftPressGrabsTheFirstVertexInReach_data()
{
    QTest::addColumn<QList<Polyline>>("segments");
    QTest::addColumn<int>("reach");
    QTest::addColumn<QPointF>("click");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("segment"); // 0: nothing grabbed
    QTest::addColumn<int>("point");

    const auto near = [](int dx, int dy) {
        return QList<Polyline>{{{int16_t(200 + dx), int16_t(150 + dy)}, {600, 300}}};
    };
    const QPointF click(200, 150);
    QTest::newRow("6,8 at reach 10") << near(6, 8) << 10 << click << LeftButton << 0 << 1 << 1;
    QTest::newRow("-8,-6 at reach 10") << near(-8, -6) << 10 << click << LeftButton << 0 << 1 << 1;
    QTest::newRow("10,0 at reach 10") << near(10, 0) << 10 << click << LeftButton << 0 << 1 << 1;
    QTest::newRow("7,8 at reach 10") << near(7, 8) << 10 << click << LeftButton << 0 << 0 << 0;
    QTest::newRow("11,0 at reach 10") << near(11, 0) << 10 << click << LeftButton << 0 << 0 << 0;
    QTest::newRow("on it at reach 0") << near(0, 0) << 0 << click << LeftButton << 0 << 1 << 1;
    QTest::newRow("1,0 at reach 0") << near(1, 0) << 0 << click << LeftButton << 0 << 0 << 0;
    QTest::newRow("on it at reach -1") << near(0, 0) << -1 << click << LeftButton << 0 << 0 << 0;
    // The click point rounds halves to even: only there does reach 0 grab.
    QTest::newRow("halves down to even") << near(0, 0) << 0 << QPointF(200.5, 150.5) << LeftButton << 0 << 1 << 1;
    QTest::newRow("halves up to even") << near(2, 2) << 0 << QPointF(201.5, 151.5) << LeftButton << 0 << 1 << 1;
    QTest::newRow("below a half") << near(0, 0) << 0 << QPointF(200.49, 150.2) << LeftButton << 0 << 1 << 1;
    QTest::newRow("above a half") << near(1, 1) << 0 << QPointF(200.51, 150.7) << LeftButton << 0 << 1 << 1;
    // First in scan order wins, not the nearest.
    QTest::newRow("lower segment wins a shared end point")
        << QList<Polyline>{{{100, 100}, {200, 100}}, {{200, 100}, {300, 200}}} << 10 << QPointF(200, 100) << LeftButton
        << 0 << 1 << 2;
    QTest::newRow("lower vertex wins within a segment")
        << QList<Polyline>{{{100, 100}, {108, 100}}} << 10 << QPointF(107, 100) << LeftButton << 0 << 1 << 1;
    QTest::newRow("lower segment wins over a closer vertex")
        << QList<Polyline>{{{100, 100}, {200, 200}}, {{209, 200}, {300, 300}}} << 10 << QPointF(209, 200) << LeftButton
        << 0 << 1 << 2;
    // Shift with no object in reach, Ctrl and Alt alone: a plain left press.
    QTest::newRow("Shift on no object") << QList<Polyline>{Track} << 10 << QPointF(296, 103) << LeftButton << ShiftBit
                                        << 1 << 2;
    QTest::newRow("Ctrl and Alt") << QList<Polyline>{Track} << 10 << QPointF(100, 100) << LeftButton
                                  << (CtrlBit | AltBit) << 1 << 1;
    QTest::newRow("middle button") << QList<Polyline>{Track} << 10 << QPointF(100, 100) << MiddleButton << 0 << 0 << 0;
}

// Starting a drag neither selects the segment nor asks for a redraw.
void CanvasEditingTest::leftPressGrabsTheFirstVertexInReach()
{
    QFETCH(QList<Polyline>, segments);
    QFETCH(int, reach);
    QFETCH(QPointF, click);
    QFETCH(int, button);
    QFETCH(int, shift);
    QFETCH(int, segment);
    QFETCH(int, point);
    Mouse m(segments);
    m.model.display.CircleSize = int16_t(reach);
    m.model.display.ShowCircles = false; // reach does not depend on what is shown
    const Scheme before = m.scheme;

    QCOMPARE(m.press(click, button, shift).action, segment ? Action::DragStarted : Action::Nothing);
    QCOMPARE(m.drag.Dragging, segment != 0);
    if (segment) {
        QCOMPARE(m.drag.DragSegment, segment);
        QCOMPARE(m.drag.DragPoint, point);
    }
    QVERIFY(m.edit == EditState{});
    QVERIFY(m.scheme == before);
}

void CanvasEditingTest::shiftLeftPicksTheFirstObjectInReach_data()
{
    QTest::addColumn<QList<double>>("stations"); // positions on the track from (100, 100)
    QTest::addColumn<QList<double>>("lights");
    QTest::addColumn<int>("reach");
    QTest::addColumn<QPointF>("click");
    QTest::addColumn<int>("shift");
    QTest::addColumn<ObjectKind>("kind");
    QTest::addColumn<int>("number");

    const QPointF start(100, 100);
    QTest::newRow("light wins over a nearer station")
        << QList<double>{0} << QList<double>{7} << 10 << start << ShiftBit << ObjectKind::Light << 1;
    QTest::newRow("lower light wins over a nearer one") << QList<double>{100, 101} << QList<double>{110, 100} << 10
                                                        << QPointF(200, 100) << ShiftBit << ObjectKind::Light << 1;
    QTest::newRow("lights out of reach: the first station in reach")
        << QList<double>{180, 101} << QList<double>{150, 150} << 10 << QPointF(200, 100) << ShiftBit
        << ObjectKind::Station << 2;
    QTest::newRow("picked over a vertex in reach")
        << QList<double>{5} << QList<double>{} << 10 << QPointF(101, 100) << ShiftBit << ObjectKind::Station << 1;
    QTest::newRow("Ctrl beside Shift") << QList<double>{0} << QList<double>{} << 10 << start << (CtrlBit | ShiftBit)
                                       << ObjectKind::Station << 1;
    QTest::newRow("no Shift, no pick") << QList<double>{0} << QList<double>{} << 10 << start << CtrlBit
                                       << ObjectKind::Nothing << 0;
    QTest::newRow("negative reach picks nothing")
        << QList<double>{0} << QList<double>{0} << -1 << start << ShiftBit << ObjectKind::Nothing << 0;
}

// Hidden objects are picked alike; a pick starts no drag.
void CanvasEditingTest::shiftLeftPicksTheFirstObjectInReach()
{
    QFETCH(QList<double>, stations);
    QFETCH(QList<double>, lights);
    QFETCH(int, reach);
    QFETCH(QPointF, click);
    QFETCH(int, shift);
    QFETCH(ObjectKind, kind);
    QFETCH(int, number);
    for (const bool shown : {true, false}) {
        Mouse m({Track});
        m.place(stations, lights);
        m.model.display.CircleSize = int16_t(reach);
        m.model.display.ShowStations = shown;
        m.model.display.ShowLights = shown;
        const MouseDownResult result = m.press(click, LeftButton, shift);
        QCOMPARE(m.edit.SelectedKind, kind);
        if (kind == ObjectKind::Nothing)
            continue;
        QCOMPARE(result.action, Action::ObjectPicked);
        QCOMPARE(kind == ObjectKind::Light ? m.edit.CurrentLight : m.edit.CurrentStation, number);
        QVERIFY(!m.drag.Dragging);
        QVERIFY(!m.move({150, 150}));
    }
}

void CanvasEditingTest::rightPressPicksTheFirstSegmentOnTheLine_data()
{
    QTest::addColumn<QList<Polyline>>("segments");
    QTest::addColumn<QPointF>("click");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("picked"); // 0: none, the current segment stays

    const QList<Polyline> three{{{100, 50}, {300, 50}}, {{100, 100}, {300, 100}}, {{100, 150}, {200, 150}, {300, 250}}};
    QTest::newRow("a later piece") << three << QPointF(250, 200) << 0 << 3;
    QTest::newRow("the line beyond a piece, the lower segment first")
        << QList<Polyline>{three[0], three[1], {{400, 100}, {500, 100}}} << QPointF(450, 100) << 0 << 2;
    QTest::newRow("Ctrl inserts nothing") << three << QPointF(200, 100) << CtrlBit << 2;
    QTest::newRow("nothing under the pointer") << three << QPointF(200, 180) << ShiftBit << 0;
}

void CanvasEditingTest::rightPressPicksTheFirstSegmentOnTheLine()
{
    QFETCH(QList<Polyline>, segments);
    QFETCH(QPointF, click);
    QFETCH(int, shift);
    QFETCH(int, picked);
    Mouse m(segments);
    m.model.edit.CurrentSegment = 1;
    const Scheme before = m.scheme;

    const MouseDownResult result = m.press(click, RightButton, shift);
    QCOMPARE(result.action, picked ? Action::SegmentPicked : Action::Nothing);
    QVERIFY(!result.refusal);
    QCOMPARE(m.edit.CurrentSegment, picked ? picked : 1);
    QVERIFY(m.scheme == before);
    QVERIFY(!m.drag.Dragging);
}

void CanvasEditingTest::shiftRightInsertsTheClickPoint_data()
{
    QTest::addColumn<Polyline>("points");
    QTest::addColumn<QPointF>("click");
    QTest::addColumn<Polyline>("after");
    // Only piece 3 lies on the click point's line.
    QTest::newRow("after the piece's first vertex")
        << Polyline{{100, 100}, {150, 50}, {200, 100}, {300, 100}, {350, 150}} << QPointF(250.5, 99.5)
        << Polyline{{100, 100}, {150, 50}, {200, 100}, {250, 100}, {300, 100}, {350, 150}};
    // At x = 200 the line runs through y = 100.5, so (200, 101) is on it while
    // its projection onto the piece would round to (200, 100).
    QTest::newRow("the click point, not its projection")
        << Polyline{{100, 100}, {300, 101}} << QPointF(200.4, 100.6) << Polyline{{100, 100}, {200, 101}, {300, 101}};
}

void CanvasEditingTest::shiftRightInsertsTheClickPoint()
{
    QFETCH(Polyline, points);
    QFETCH(QPointF, click);
    QFETCH(Polyline, after);
    Mouse m({points});
    const MouseDownResult result = m.press(click, RightButton, ShiftBit);
    QCOMPARE(result.action, Action::SegmentPicked);
    QVERIFY(!result.refusal);
    QCOMPARE(m.edit.CurrentSegment, 1);
    QCOMPARE(m.scheme.PointCount[1], after.size());
    QCOMPARE(Polyline(m.scheme.Points[1].begin() + 1, m.scheme.Points[1].begin() + 1 + after.size()), after);
}

void CanvasEditingTest::fiftyFirstVertexIsRefusedButTheSegmentPicked()
{
    Polyline full;
    for (int k = 1; k <= MaxPoints; ++k)
        full << MapPoint{int16_t(10 * k), 100};
    Mouse m({full});
    const Scheme before = m.scheme;

    const MouseDownResult refused = m.press({15, 100}, RightButton, ShiftBit);
    QCOMPARE(refused.action, Action::SegmentPicked);
    QVERIFY(refused.refusal);
    QVERIFY(m.scheme == before);
    QCOMPARE(m.edit.CurrentSegment, 1);

    // One vertex fewer still takes one, the last moving up to the table's end.
    m.scheme.PointCount[1] = MaxPoints - 1;
    QVERIFY(!m.press({15, 100}, RightButton, ShiftBit).refusal);
    QCOMPARE(m.scheme.Points[1][2], (MapPoint{15, 100}));
    QCOMPARE(m.scheme.Points[1][MaxPoints], (MapPoint{490, 100}));
}

// Every move of a drag asks for a redraw, off the canvas too; a move without
// one does not.
void CanvasEditingTest::dragMovesTheVertexOnEveryMove()
{
    Mouse m({Track});
    QVERIFY(!m.move({150, 150}));
    m.press({300, 100});
    QVERIFY(m.move({310, 120}));
    QVERIFY(m.move({300, 300}));
    QCOMPARE(m.scheme.Points[1][2], (MapPoint{300, 300}));
    QVERIFY(m.move({-40.5, 500.5}));
    QCOMPARE(m.scheme.Points[1][2], (MapPoint{-40, 500}));
    QVERIFY(m.move({1200, -7}));
    QCOMPARE(m.scheme.Points[1][2], (MapPoint{1200, -7}));
    QCOMPARE(m.scheme.Points[1][1], (MapPoint{100, 100}));
    QCOMPARE(m.scheme.PointCount[1], 2);

    m.release();
    QVERIFY(!m.drag.Dragging);
    QVERIFY(!m.move({350, 350}));
    QCOMPARE(m.scheme.Points[1][2], (MapPoint{1200, -7}));
}

void CanvasEditingTest::onlyLeftReleaseEndsDrag()
{
    Mouse m({Track});
    m.press({104, 97}); // off-centre: the vertex snaps under the pointer
    m.press({500, 300}, RightButton);
    m.release(RightButton);
    m.press({500, 300}, MiddleButton);
    m.release(MiddleButton);
    QVERIFY(m.drag.Dragging);
    QVERIFY(m.move({120, 130}));
    QCOMPARE(m.scheme.Points[1][1], (MapPoint{120, 130}));

    m.release();
    QVERIFY(!m.drag.Dragging);
    // The last drag target stays recorded.
    QCOMPARE(m.drag.DragSegment, 1);
    QCOMPARE(m.drag.DragPoint, 1);
}

void CanvasEditingTest::grabDuringDrag()
{
    Mouse m({Track});
    m.press({100, 100});
    // A left press that grabs nothing (its release was lost) leaves the drag running.
    m.press({600, 300});
    QVERIFY(m.drag.Dragging);
    m.move({110, 110});
    QCOMPARE(m.scheme.Points[1][1], (MapPoint{110, 110}));
    // One that grabs replaces the dragged vertex.
    m.press({300, 100});
    QCOMPARE(m.drag.DragPoint, 2);
    m.move({310, 90});
    QCOMPARE(m.scheme.Points[1][1], (MapPoint{110, 110}));
    QCOMPARE(m.scheme.Points[1][2], (MapPoint{310, 90}));
}

// The station moved with vertex 1; its old place picks nothing and grabs nothing.
void CanvasEditingTest::objectsAreLocatedAfresh()
{
    Mouse m({Track});
    m.place({0}, {});
    m.press({100, 100});
    m.move({400, 300});
    m.release();
    QCOMPARE(m.press({100, 100}, LeftButton, ShiftBit).action, Action::Nothing);
    QCOMPARE(m.edit.SelectedKind, ObjectKind::Nothing);
    QCOMPARE(m.press({400, 300}, LeftButton, ShiftBit).action, Action::ObjectPicked);
    QCOMPARE(m.edit.SelectedKind, ObjectKind::Station);
    QCOMPARE(m.scheme.Stations[1].Position, 0.0);
}

QTEST_GUILESS_MAIN(CanvasEditingTest)
#include "test_canvas_editing.moc"
