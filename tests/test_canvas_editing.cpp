#include "support/Schemes.h"
#include "support/Window.h"

using namespace tram;
using testschemes::AddSegment;
using testwindow::Window;

namespace {

void addStation(Scheme& scheme, int segment, double position)
{
    Station& station = scheme.Stations[++scheme.StationCount];
    station.Segment = uint8_t(segment);
    station.Position = position;
}

void addLight(Scheme& scheme, int segment, double position)
{
    TrafficLight& light = scheme.Lights[++scheme.LightCount];
    light.Segment = uint8_t(segment);
    light.Position = position;
}

} // namespace

class CanvasEditingTest : public QObject {
    Q_OBJECT
private slots:
    void clickPointRoundsHalvesToEven_data();
    void clickPointRoundsHalvesToEven();
    void reachIsInclusive_data();
    void reachIsInclusive();
    void negativeReachPicksNothing();
    void lowerSegmentWinsSharedEndPoint();
    void firstInScanOrderWinsOverCloser();
    void lightWinsOverStation();
    void lowerLightWins();
    void objectPickWinsOverVertex();
    void hiddenObjectsArePicked();
    void shiftLeftOnNothingStartsDrag();
    void onlyTheShiftBitCounts();
    void leftClickOnNothingChangesNothing();
    void objectsAreLocatedAfresh();
    void dragRedrawsOnEveryMove();
    void dragOutsideCanvas();
    void onlyLeftReleaseEndsDrag();
    void grabDuringDrag();
    void rightClickPicksSegment();
    void rightClickTieGoesToLowerSegment();
    void shiftRightInsertsVertex();
    void insertedVertexIsTheClickPoint();
    void rightClickOnNothing();
    void fiftyFirstVertexIsRefused();
    void refusalEndsDrag();
    void middleButtonAndKeysDoNothing();
};

void CanvasEditingTest::clickPointRoundsHalvesToEven_data()
{
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("halves down to even") << QPointF(10.5, 20.5) << 10 << 20;
    QTest::newRow("halves up to even") << QPointF(11.5, 21.5) << 12 << 22;
    QTest::newRow("below a half") << QPointF(30.49, 40.2) << 30 << 40;
    QTest::newRow("above a half") << QPointF(30.51, 40.7) << 31 << 41;
}

void CanvasEditingTest::clickPointRoundsHalvesToEven()
{
    QFETCH(QPointF, pointer);
    QFETCH(int, x);
    QFETCH(int, y);
    Window w;
    AddSegment(w.scheme(), {{int16_t(x), int16_t(y)}, {500, 300}});
    // Only a click that rounds exactly onto the vertex reaches it.
    w.display().CircleSize = 0;
    w.press(pointer);
    QVERIFY(w.drag().Dragging);

    w.move(pointer + QPointF(100, 50));
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{int16_t(x + 100), int16_t(y + 50)}));
}

void CanvasEditingTest::reachIsInclusive_data()
{
    QTest::addColumn<int>("reach");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("grabbed");
    QTest::newRow("6,8 at reach 10") << 10 << QPoint(6, 8) << true;
    QTest::newRow("-8,-6 at reach 10") << 10 << QPoint(-8, -6) << true;
    QTest::newRow("10,0 at reach 10") << 10 << QPoint(10, 0) << true;
    QTest::newRow("7,8 at reach 10") << 10 << QPoint(7, 8) << false;
    QTest::newRow("11,0 at reach 10") << 10 << QPoint(11, 0) << false;
    QTest::newRow("on it at reach 0") << 0 << QPoint(0, 0) << true;
    QTest::newRow("1,0 at reach 0") << 0 << QPoint(1, 0) << false;
}

void CanvasEditingTest::reachIsInclusive()
{
    QFETCH(int, reach);
    QFETCH(QPoint, offset);
    QFETCH(bool, grabbed);
    Window w;
    w.display().CircleSize = int16_t(reach);
    const QPoint click(200, 150);
    AddSegment(w.scheme(), {{int16_t(click.x() + offset.x()), int16_t(click.y() + offset.y())}, {600, 300}});
    // Vertex circles off: reach does not depend on what is shown.
    w.display().ShowCircles = false;

    w.press(click);
    QCOMPARE(w.drag().Dragging, grabbed);
    if (grabbed) {
        QCOMPARE(w.drag().DragSegment, 1);
        QCOMPARE(w.drag().DragPoint, 1);
    }
    // Starting a drag neither redraws nor selects the segment.
    QCOMPARE(w.window.redrawCount(), 0);
    QCOMPARE(w.edit().CurrentSegment, 0);
}

void CanvasEditingTest::negativeReachPicksNothing()
{
    Window w;
    w.display().CircleSize = -1;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addStation(w.scheme(), 1, 0);
    addLight(w.scheme(), 1, 0);
    w.press(QPointF(100, 100), Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(!w.drag().Dragging);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Nothing);
}

void CanvasEditingTest::lowerSegmentWinsSharedEndPoint()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {200, 100}});
    AddSegment(w.scheme(), {{200, 100}, {300, 200}});
    w.press(QPointF(200, 100));
    QCOMPARE(w.drag().DragSegment, 1);
    QCOMPARE(w.drag().DragPoint, 2);

    w.move(QPointF(250, 50));
    w.release(QPointF(250, 50));
    QCOMPARE(w.scheme().Points[1][2], (MapPoint{250, 50}));
    QCOMPARE(w.scheme().Points[2][1], (MapPoint{200, 100}));
}

void CanvasEditingTest::firstInScanOrderWinsOverCloser()
{
    Window w;
    // Within one segment: vertex 1 is in reach, vertex 2 is closer.
    AddSegment(w.scheme(), {{100, 100}, {108, 100}});
    w.press(QPointF(107, 100));
    QCOMPARE(w.drag().DragSegment, 1);
    QCOMPARE(w.drag().DragPoint, 1);
    w.release(QPointF(107, 100));

    // Across segments: segment 2's vertex is on the click point, segment 1's is 9 away.
    AddSegment(w.scheme(), {{200, 200}, {300, 300}});
    w.scheme().Points[2][1] = MapPoint{209, 200};
    w.scheme().Points[1][2] = MapPoint{200, 200};
    w.press(QPointF(209, 200));
    QCOMPARE(w.drag().DragSegment, 1);
    QCOMPARE(w.drag().DragPoint, 2);
}

void CanvasEditingTest::lightWinsOverStation()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addStation(w.scheme(), 1, 0); // on the click point
    addLight(w.scheme(), 1, 7);   // 7 away
    w.press(QPointF(100, 100), Qt::LeftButton, Qt::ShiftModifier);
    w.release(QPointF(100, 100));

    QCOMPARE(w.edit().SelectedKind, ObjectKind::Light);
    QCOMPARE(w.edit().CurrentLight, 1);
    QCOMPARE(w.edit().CurrentStation, 0);
    QCOMPARE(w.text("txtRedniBroj"), QStringLiteral("1"));
    QCOMPARE(w.text("txtPozicija"), QStringLiteral("7"));
    QCOMPARE(w.window.redrawCount(), 0);
}

void CanvasEditingTest::lowerLightWins()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addLight(w.scheme(), 1, 110); // 10 away: in reach
    addLight(w.scheme(), 1, 100); // on the click point
    addStation(w.scheme(), 1, 100);
    addStation(w.scheme(), 1, 101);
    QTest::mouseClick(w.canvas, Qt::LeftButton, Qt::ShiftModifier, QPoint(200, 100));
    QCOMPARE(w.edit().CurrentLight, 1);
    QCOMPARE(w.text("txtPozicija"), QStringLiteral("110"));

    // Lights out of reach: the first station in reach.
    w.scheme().Lights[1].Position = 150;
    w.scheme().Lights[2].Position = 150;
    w.scheme().Stations[1].Position = 180;
    QTest::mouseClick(w.canvas, Qt::LeftButton, Qt::ShiftModifier, QPoint(200, 100));
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Station);
    QCOMPARE(w.edit().CurrentStation, 2);
    QCOMPARE(w.text("txtRedniBroj"), QStringLiteral("2"));
}

void CanvasEditingTest::objectPickWinsOverVertex()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addStation(w.scheme(), 1, 5);
    const Scheme before = w.scheme();
    QTest::mousePress(w.canvas, Qt::LeftButton, Qt::ShiftModifier, QPoint(101, 100));
    QTest::mouseMove(w.canvas, QPoint(150, 150));
    QTest::mouseRelease(w.canvas, Qt::LeftButton, Qt::ShiftModifier, QPoint(150, 150));

    QCOMPARE(w.edit().SelectedKind, ObjectKind::Station);
    QCOMPARE(w.text("txtRedniBroj"), QStringLiteral("1"));
    QCOMPARE(w.text("txtNaSegmentu"), QStringLiteral("1"));
    QVERIFY(!w.drag().Dragging);
    QVERIFY(w.scheme() == before);
    QCOMPARE(w.window.redrawCount(), 0);
}

void CanvasEditingTest::hiddenObjectsArePicked()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addStation(w.scheme(), 1, 50);
    addLight(w.scheme(), 1, 150);
    w.display().ShowStations = false;
    w.display().ShowLights = false;

    w.press(QPointF(150, 100), Qt::LeftButton, Qt::ShiftModifier);
    w.release(QPointF(150, 100));
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Station);
    QCOMPARE(w.text("txtPozicija"), QStringLiteral("50"));

    w.press(QPointF(250, 100), Qt::LeftButton, Qt::ShiftModifier);
    w.release(QPointF(250, 100));
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Light);
    QCOMPARE(w.text("txtPozicija"), QStringLiteral("150"));
}

void CanvasEditingTest::shiftLeftOnNothingStartsDrag()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addStation(w.scheme(), 1, 100); // 100 away from the click
    QTest::mousePress(w.canvas, Qt::LeftButton, Qt::ShiftModifier, QPoint(296, 103));
    QVERIFY(w.drag().Dragging);
    QCOMPARE(w.drag().DragPoint, 2);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Nothing);

    QTest::mouseMove(w.canvas, QPoint(320, 140));
    QTest::mouseRelease(w.canvas, Qt::LeftButton, Qt::ShiftModifier, QPoint(320, 140));
    QCOMPARE(w.scheme().Points[1][2], (MapPoint{320, 140}));
    QVERIFY(!w.drag().Dragging);
}

void CanvasEditingTest::onlyTheShiftBitCounts()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addStation(w.scheme(), 1, 0);

    // Ctrl alone is a plain left click: the vertex is grabbed, the station not picked.
    w.press(QPointF(100, 100), Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier);
    QVERIFY(w.drag().Dragging);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Nothing);
    w.release(QPointF(100, 100));

    // With Shift among them the station is picked.
    w.press(QPointF(100, 100), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!w.drag().Dragging);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Station);
    w.release(QPointF(100, 100));

    // Ctrl on the right button does not insert a vertex.
    w.press(QPointF(200, 100), Qt::RightButton, Qt::ControlModifier);
    QCOMPARE(w.scheme().PointCount[1], 2);
    QCOMPARE(w.edit().CurrentSegment, 1);
}

void CanvasEditingTest::leftClickOnNothingChangesNothing()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addStation(w.scheme(), 1, 100);
    const Scheme before = w.scheme();
    w.press(QPointF(200, 100)); // on the track and the station, far from both vertices
    w.move(QPointF(220, 120));
    w.release(QPointF(220, 120));
    QVERIFY(!w.drag().Dragging);
    QVERIFY(w.scheme() == before);
    QVERIFY(w.edit() == EditState{});
    QCOMPARE(w.window.redrawCount(), 0);
}

void CanvasEditingTest::objectsAreLocatedAfresh()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addStation(w.scheme(), 1, 0);
    w.press(QPointF(100, 100));
    w.move(QPointF(400, 300));
    w.release(QPointF(400, 300));

    // The station moved with vertex 1; the old place picks nothing and grabs nothing.
    w.press(QPointF(100, 100), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Nothing);
    QVERIFY(!w.drag().Dragging);
    w.press(QPointF(400, 300), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Station);
    QCOMPARE(w.scheme().Stations[1].Position, 0.0);
}

void CanvasEditingTest::dragRedrawsOnEveryMove()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    w.move(QPointF(150, 150), Qt::NoButton);
    QCOMPARE(w.window.redrawCount(), 0);

    w.press(QPointF(300, 100));
    w.move(QPointF(310, 120));
    w.move(QPointF(320, 200));
    w.move(QPointF(300, 300));
    QCOMPARE(w.window.redrawCount(), 3);
    QCOMPARE(w.scheme().Points[1][2], (MapPoint{300, 300}));
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{100, 100}));
    QCOMPARE(w.scheme().PointCount[1], 2);

    // The picture follows: the track now runs through (200, 200), not (200, 100).
    const QImage& image = w.window.canvas().image();
    QVERIFY(image.pixel(200, 200) != Canvas::Background);
    QCOMPARE(image.pixel(200, 100), Canvas::Background);

    w.release(QPointF(300, 300));
    w.move(QPointF(350, 350), Qt::NoButton);
    QCOMPARE(w.window.redrawCount(), 3);
    QCOMPARE(w.scheme().Points[1][2], (MapPoint{300, 300}));
}

void CanvasEditingTest::dragOutsideCanvas()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    w.press(QPointF(104, 97)); // off-centre: the vertex snaps under the pointer
    w.move(QPointF(-40.5, 500.5));
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{-40, 500}));
    w.move(QPointF(1200, -7));
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{1200, -7}));
    QCOMPARE(w.window.redrawCount(), 2);

    w.release(QPointF(1300, 600));
    QVERIFY(!w.drag().Dragging);
    w.move(QPointF(10, 10), Qt::NoButton);
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{1200, -7}));
}

void CanvasEditingTest::onlyLeftReleaseEndsDrag()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    w.press(QPointF(100, 100));
    w.press(QPointF(500, 300), Qt::RightButton);
    w.release(QPointF(500, 300), Qt::RightButton);
    w.press(QPointF(500, 300), Qt::MiddleButton);
    w.release(QPointF(500, 300), Qt::MiddleButton);
    QVERIFY(w.drag().Dragging);
    w.move(QPointF(120, 130));
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{120, 130}));

    w.release(QPointF(120, 130));
    QVERIFY(!w.drag().Dragging);
    // The last drag target stays recorded.
    QCOMPARE(w.drag().DragSegment, 1);
    QCOMPARE(w.drag().DragPoint, 1);
}

void CanvasEditingTest::grabDuringDrag()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    w.press(QPointF(100, 100));
    // A left press that grabs nothing (its release was lost) leaves the drag running.
    w.press(QPointF(600, 300));
    QVERIFY(w.drag().Dragging);
    w.move(QPointF(110, 110));
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{110, 110}));
    // One that grabs replaces the dragged vertex.
    w.press(QPointF(300, 100));
    QCOMPARE(w.drag().DragPoint, 2);
    w.move(QPointF(310, 90));
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{110, 110}));
    QCOMPARE(w.scheme().Points[1][2], (MapPoint{310, 90}));
}

void CanvasEditingTest::rightClickPicksSegment()
{
    Window w;
    AddSegment(w.scheme(), {{100, 50}, {300, 50}});
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    AddSegment(w.scheme(), {{100, 150}, {200, 150}, {300, 250}});
    QTest::mouseClick(w.canvas, Qt::RightButton, Qt::NoModifier, QPoint(250, 200));

    QCOMPARE(w.edit().CurrentSegment, 3);
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("3"));
    QCOMPARE(w.window.redrawCount(), 1);
    QCOMPARE(w.scheme().PointCount[3], 3);
    QVERIFY(!w.drag().Dragging);
}

void CanvasEditingTest::rightClickTieGoesToLowerSegment()
{
    Window w;
    AddSegment(w.scheme(), {{100, 50}, {300, 50}});
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    AddSegment(w.scheme(), {{400, 100}, {500, 100}});
    w.press(QPointF(450, 100), Qt::RightButton);
    QCOMPARE(w.edit().CurrentSegment, 2);
}

void CanvasEditingTest::shiftRightInsertsVertex()
{
    Window w;
    // Only piece 3 lies on the click point's line.
    AddSegment(w.scheme(), {{100, 100}, {150, 50}, {200, 100}, {300, 100}, {350, 150}});
    w.press(QPointF(250.5, 99.5), Qt::RightButton, Qt::ShiftModifier);
    w.release(QPointF(250.5, 99.5), Qt::RightButton);

    QCOMPARE(w.scheme().PointCount[1], 6);
    const auto& p = w.scheme().Points[1];
    const MapPoint expected[] = {{100, 100}, {150, 50}, {200, 100}, {250, 100}, {300, 100}, {350, 150}};
    for (int k = 1; k <= 6; ++k)
        QCOMPARE(p[k], expected[k - 1]);
    QCOMPARE(w.edit().CurrentSegment, 1);
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("1"));
    QCOMPARE(w.window.redrawCount(), 1);
    QVERIFY(w.prompts.warnings.isEmpty());
}

void CanvasEditingTest::insertedVertexIsTheClickPoint()
{
    Window w;
    // A shallow piece: at x = 200 the line runs through y = 100.5, so (200, 101)
    // is on it while its projection onto the piece would round to (200, 100).
    AddSegment(w.scheme(), {{100, 100}, {300, 101}});
    w.press(QPointF(200.4, 100.6), Qt::RightButton, Qt::ShiftModifier);
    QCOMPARE(w.scheme().PointCount[1], 3);
    QCOMPARE(w.scheme().Points[1][2], (MapPoint{200, 101}));
    QCOMPARE(w.scheme().Points[1][3], (MapPoint{300, 101}));
}

void CanvasEditingTest::rightClickOnNothing()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    AddSegment(w.scheme(), {{100, 200}, {300, 300}});
    w.edit().CurrentSegment = 2;
    const Scheme before = w.scheme();
    w.press(QPointF(200, 180), Qt::RightButton, Qt::ShiftModifier);
    QCOMPARE(w.edit().CurrentSegment, 2);
    QCOMPARE(w.text("txtBrojSegmenta"), QString());
    QVERIFY(w.scheme() == before);
    QCOMPARE(w.window.redrawCount(), 0);
}

void CanvasEditingTest::fiftyFirstVertexIsRefused()
{
    Window w;
    const int n = AddSegment(w.scheme(), {});
    for (int k = 1; k <= MaxPoints; ++k)
        w.scheme().Points[n][k] = MapPoint{int16_t(10 * k), 100};
    w.scheme().PointCount[n] = MaxPoints;
    const Scheme before = w.scheme();

    w.press(QPointF(15, 100), Qt::RightButton, Qt::ShiftModifier);
    QCOMPARE(w.prompts.warnings.size(), 1);
    QVERIFY(w.prompts.warnings.first().contains(QStringLiteral("50")));
    QVERIFY(w.scheme() == before);
    QCOMPARE(w.edit().CurrentSegment, 1);
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("1"));
    QCOMPARE(w.window.redrawCount(), 1);

    // One vertex fewer still takes one.
    w.scheme().PointCount[n] = MaxPoints - 1;
    w.press(QPointF(15, 100), Qt::RightButton, Qt::ShiftModifier);
    QCOMPARE(w.prompts.warnings.size(), 1);
    QCOMPARE(w.scheme().PointCount[n], MaxPoints);
    QCOMPARE(w.scheme().Points[n][2], (MapPoint{15, 100}));
    QCOMPARE(w.scheme().Points[n][MaxPoints], (MapPoint{490, 100}));
}

// The refusal box opens while the left button still holds a drag; the box,
// not the canvas, gets that button's release.
void CanvasEditingTest::refusalEndsDrag()
{
    Window w;
    const int full = AddSegment(w.scheme(), {});
    for (int k = 1; k <= MaxPoints; ++k)
        w.scheme().Points[full][k] = MapPoint{int16_t(10 * k), 100};
    w.scheme().PointCount[full] = MaxPoints;
    const int dragged = AddSegment(w.scheme(), {{100, 300}, {300, 300}});
    w.press(QPointF(100, 300));
    w.move(QPointF(120, 310));

    w.send(QEvent::MouseButtonPress, QPointF(15, 100), Qt::RightButton, Qt::LeftButton | Qt::RightButton,
           Qt::ShiftModifier);
    QCOMPARE(w.prompts.warnings.size(), 1);
    QVERIFY(!w.drag().Dragging);

    w.move(QPointF(200, 250), Qt::NoButton);
    QCOMPARE(w.scheme().Points[dragged][1], (MapPoint{120, 310}));
    QCOMPARE(w.scheme().PointCount[full], MaxPoints);
}

void CanvasEditingTest::middleButtonAndKeysDoNothing()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    addStation(w.scheme(), 1, 0);
    const Scheme before = w.scheme();
    QTest::mouseClick(w.canvas, Qt::MiddleButton, Qt::ShiftModifier, QPoint(100, 100));
    w.press(QPointF(200, 100), Qt::MiddleButton);
    w.move(QPointF(210, 110), Qt::MiddleButton);
    w.release(QPointF(210, 110), Qt::MiddleButton);
    QTest::keyClick(w.canvas, Qt::Key_Delete);
    QTest::keyClick(w.canvas, Qt::Key_Insert, Qt::ShiftModifier);

    QVERIFY(!w.drag().Dragging);
    QVERIFY(w.scheme() == before);
    QVERIFY(w.edit() == EditState{});
    QCOMPARE(w.window.redrawCount(), 0);
}

QTEST_MAIN(CanvasEditingTest)
#include "test_canvas_editing.moc"
