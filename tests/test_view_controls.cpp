// The view controls in the window: what "Crtaj", the check boxes and
// "Promijeni velicinu" show, and how the scroll bar pans the canvas, each on
// a window on the screen, where the user sees them. What the commands do to
// the model is tested in test_view_commands.

#include "support/Schemes.h"
#include "support/Window.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <initializer_list>

using namespace tram;
using testschemes::AddSegment;
using testwindow::Window;

namespace {

QByteArray text(QRgb c)
{
    return QByteArray::number(qRed(c)) + ", " + QByteArray::number(qGreen(c)) + ", " + QByteArray::number(qBlue(c));
}

bool* switchOf(DisplaySettings& d, const QString& box)
{
    if (box == u"chkShowCircles")
        return &d.ShowCircles;
    if (box == u"chkShowSpec1")
        return &d.ShowStations;
    if (box == u"chkShowSpec2")
        return &d.ShowLights;
    if (box == u"chkPrikaziRutu")
        return &d.ShowRoute;
    return &d.MarkSegment;
}

} // namespace

class ViewControlsTest : public QObject {
    Q_OBJECT
private slots:
    void crtajDrawsWithTheNewWidth();
    void checkBoxRedrawsAtOnce_data();
    void checkBoxRedrawsAtOnce();
    void rescaleReadsTheBoxAtEveryPress();
    void pan_data();
    void pan();
    void panByClickingTheTrack();
    void panWaitsForTheThumbToBeReleased();
    void mouseCoordinatesIgnoreThePan();
};

void ViewControlsTest::crtajDrawsWithTheNewWidth()
{
    Window w;
    QVERIFY(w.show());
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    w.display().ShowCircles = false;
    auto paintedRows = [&] {
        int n = 0;
        for (int y = 0; y < 392; ++y)
            n += w.pixel({200, y}) != qRgb(255, 255, 255);
        return n;
    };
    QCOMPARE(paintedRows(), 0); // nothing is drawn before a command asks for it
    w.click("cmdCrtaj");
    QCOMPARE(paintedRows(), 20);
    QVERIFY(w.type("txtDrawWidth", "6"));
    w.click("cmdCrtaj");
    QCOMPARE(paintedRows(), 6);
    QVERIFY(w.type("txtDrawWidth", "0"));
    QVERIFY(w.type("txtCircleSize", "7"));
    w.click("cmdCrtaj");
    QCOMPARE(paintedRows(), 6);
    QCOMPARE(int(w.display().CircleSize), 7);
    QCOMPARE(w.window.redrawCount(), 3);
    // The boxes keep what was typed.
    QCOMPARE(w.text("txtDrawWidth"), QStringLiteral("0"));
    QCOMPARE(w.text("txtCircleSize"), QStringLiteral("7"));
}

void ViewControlsTest::checkBoxRedrawsAtOnce_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("startsOn");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QRgb>("before");
    QTest::addColumn<QRgb>("after");

    // Segment 1 is current with a station on it; segment 2 is the route's,
    // with a red light on it. The circles are wider than the bands.
    QTest::newRow("circles") << "chkShowCircles" << true << QPoint(85, 100) << qRgb(0, 255, 0) << qRgb(255, 255, 255);
    QTest::newRow("stations") << "chkShowSpec1" << true << QPoint(150, 100) << qRgb(0, 0, 242) << qRgb(0, 190, 240);
    QTest::newRow("lights") << "chkShowSpec2" << true << QPoint(150, 200) << qRgb(242, 0, 0) << qRgb(190, 190, 190);
    QTest::newRow("route") << "chkPrikaziRutu" << false << QPoint(250, 200) << qRgb(190, 190, 190) << qRgb(190, 0, 190);
    QTest::newRow("marked segment") << "chkOznaciTrenutniSegment" << true << QPoint(250, 100) << qRgb(0, 190, 240)
                                    << qRgb(190, 190, 190);
}

void ViewControlsTest::checkBoxRedrawsAtOnce()
{
    QFETCH(QString, box);
    QFETCH(bool, startsOn);
    QFETCH(QPoint, probe);
    QFETCH(QRgb, before);
    QFETCH(QRgb, after);

    Window w;
    QVERIFY(w.show());
    Scheme& s = w.scheme();
    w.window.model().edit.CurrentSegment = uint8_t(AddSegment(w.scheme(), {{100, 100}, {300, 100}}));
    const int routeSegment = AddSegment(w.scheme(), {{100, 200}, {300, 200}});
    s.RouteCount = 1;
    s.RouteLength[1] = 1;
    s.RouteSegments[1][1] = uint8_t(routeSegment);
    w.window.model().edit.CurrentRoute = 1;
    s.StationCount = 1;
    s.Stations[1].Segment = 1;
    s.Stations[1].Position = 50;
    s.LightCount = 1;
    s.Lights[1].Segment = uint8_t(routeSegment);
    s.Lights[1].Position = 50;
    QVERIFY(w.type("txtCircleSize", "15"));
    w.click("cmdCrtaj");
    QCOMPARE(text(w.pixel(probe)), text(before));

    const QByteArray name = box.toLatin1();
    bool* flag = switchOf(w.display(), box);
    QCOMPARE(*flag, startsOn);
    const DisplaySettings others = w.display();
    const int redraws = w.window.redrawCount();

    w.clickCheckBox(name.constData());
    QCOMPARE(*flag, !startsOn);
    QCOMPARE(w.window.redrawCount(), redraws + 1);
    QCOMPARE(text(w.pixel(probe)), text(after));
    DisplaySettings expected = others;
    *switchOf(expected, box) = !startsOn;
    QVERIFY(w.display() == expected); // only its own flag

    w.clickCheckBox(name.constData());
    QCOMPARE(*flag, startsOn);
    QCOMPARE(w.window.redrawCount(), redraws + 2);
    QCOMPARE(text(w.pixel(probe)), text(before));
}

// Each press multiplies again by what the box holds then and redraws; a
// coefficient not above 0 is ignored without a redraw. Only the vertices
// change: the display settings and the pan stay.
void ViewControlsTest::rescaleReadsTheBoxAtEveryPress()
{
    Window w;
    QVERIFY(w.show());
    AddSegment(w.scheme(), {{150, 120}, {-7, 3}});
    w.find<QScrollBar>("hscScroll")->setValue(40);
    const EditorModel before = w.window.model();
    QVERIFY(w.type("txtResize", "2"));
    w.click("cmdResize");
    w.click("cmdResize");
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{600, 120}));
    QCOMPARE(w.scheme().Points[1][2], (MapPoint{-28, 3}));
    QCOMPARE(w.window.redrawCount(), 2);

    QVERIFY(w.type("txtResize", "0"));
    w.click("cmdResize");
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{600, 120}));
    QCOMPARE(w.window.redrawCount(), 2);
    QCOMPARE(w.text("txtResize"), QStringLiteral("0"));
    QVERIFY(w.display() == before.display);
    QCOMPARE(w.window.model().scroll.ScrollOffset, before.scroll.ScrollOffset);
}

void ViewControlsTest::pan_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("ruler");

    QTest::newRow("250") << 250 << QStringList{"250", "750", "1250"};
    QTest::newRow("1") << 1 << QStringList{"1", "501", "1001"};
    QTest::newRow("the far end") << 1000 << QStringList{"1000", "1500", "2000"};
}

void ViewControlsTest::pan()
{
    QFETCH(int, value);
    QFETCH(QStringList, ruler);

    Window w;
    QVERIFY(w.show());
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    w.click("cmdCrtaj");
    const QImage picture = w.window.canvas().image();
    const int redraws = w.window.redrawCount();
    auto* canvas = w.find<QWidget>("picCanvas");
    auto* frame = w.find<QFrame>("fraOkvir");
    const int top = canvas->y();
    QScrollBar* scroll = w.find<QScrollBar>("hscScroll");

    scroll->setValue(value);
    QCOMPARE(int(w.window.model().scroll.ScrollOffset), value);
    QCOMPARE(canvas->x(), -value);
    QCOMPARE(canvas->y(), top);
    QCOMPARE(canvas->mapTo(frame, QPoint(value, 0)).x(), 0); // canvas x `value` at the frame's edge
    QCOMPARE(canvas->size(), QSize(1000, 392));
    QCOMPARE((QStringList{w.caption("lblLeft"), w.caption("lblMiddle"), w.caption("lblRight")}), ruler);
    QCOMPARE(w.window.redrawCount(), redraws);
    QVERIFY(w.window.canvas().image() == picture);

    scroll->setValue(0);
    QCOMPARE(canvas->x(), 0);
    QCOMPARE((QStringList{w.caption("lblLeft"), w.caption("lblMiddle"), w.caption("lblRight")}),
             (QStringList{"0", "500", "1000"}));
    QCOMPARE(w.window.redrawCount(), redraws);
}

void ViewControlsTest::panByClickingTheTrack()
{
    Window w;
    QVERIFY(w.show());
    QScrollBar* scroll = w.find<QScrollBar>("hscScroll");
    // Right of the thumb, left of the arrow button.
    QTest::mouseClick(scroll, Qt::LeftButton, Qt::NoModifier, QPoint(scroll->width() - 40, scroll->height() / 2));
    const int value = scroll->value();
    QVERIFY(value > 0);
    QCOMPARE(int(w.window.model().scroll.ScrollOffset), value);
    QCOMPARE(w.find<QWidget>("picCanvas")->x(), -value);
    QCOMPARE(w.caption("lblLeft"), QString::number(value));
    QCOMPARE(w.caption("lblMiddle"), QString::number(value + 500));
    QCOMPARE(w.caption("lblRight"), QString::number(value + 1000));
}

void ViewControlsTest::panWaitsForTheThumbToBeReleased()
{
    Window w;
    QVERIFY(w.show());
    QScrollBar* scroll = w.find<QScrollBar>("hscScroll");
    scroll->setSliderDown(true);
    scroll->setSliderPosition(300);
    QCOMPARE(w.caption("lblLeft"), QStringLiteral("0"));
    QCOMPARE(w.find<QWidget>("picCanvas")->x(), 0);
    scroll->setSliderDown(false);
    QCOMPARE(w.caption("lblLeft"), QStringLiteral("300"));
    QCOMPARE(w.find<QWidget>("picCanvas")->x(), -300);
}

void ViewControlsTest::mouseCoordinatesIgnoreThePan()
{
    Window w;
    QVERIFY(w.show());
    AddSegment(w.scheme(), {{150, 120}, {600, 300}});
    w.find<QScrollBar>("hscScroll")->setValue(100);
    QWidget* canvas = w.find<QWidget>("picCanvas");
    QSignalSpy downs(canvas, SIGNAL(mouseDown(int, int, float, float)));

    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    };
    // Where the vertex is seen: 100 pixels further left in the frame than before.
    QCOMPARE(canvas->mapTo(w.find<QFrame>("fraOkvir"), QPoint(150, 120)).x(), 50);
    send(QEvent::MouseButtonPress, {150, 120}, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(downs.size(), 1);
    QCOMPARE(downs.first().at(2).toFloat(), 150.0f);
    QCOMPARE(downs.first().at(3).toFloat(), 120.0f);
    send(QEvent::MouseMove, {170, 140}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {170, 140}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{170, 140}));
}

QTEST_MAIN(ViewControlsTest)
#include "test_view_controls.moc"
