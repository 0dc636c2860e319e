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

namespace {

QByteArray text(QRgb c)
{
    return QByteArray::number(qRed(c)) + ", " + QByteArray::number(qGreen(c)) + ", "
        + QByteArray::number(qBlue(c));
}

// Shown: the switches and the ruler are checked where the user sees them.
struct Window : testwindow::Window {
    Window() { show(); }
};

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
    void crtaj_data();
    void crtaj();
    void crtajDrawsWithTheNewWidth();
    void checkBoxRedrawsAtOnce_data();
    void checkBoxRedrawsAtOnce();
    void rescale_data();
    void rescale();
    void rescaleTwiceMultipliesAgain();
    void rescaleTouchesOnlyVertexX();
    void pan_data();
    void pan();
    void panByClickingTheTrack();
    void panWaitsForTheThumbToBeReleased();
    void mouseCoordinatesIgnoreThePan();
};

void ViewControlsTest::crtaj_data()
{
    QTest::addColumn<QString>("widthText");
    QTest::addColumn<QString>("circleText");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("circleSize");
    QTest::addColumn<bool>("refused");

    QTest::newRow("start values") << "20" << "10" << 20 << 10 << false;
    QTest::newRow("3.5 rounds to 4") << "3.5" << "10" << 4 << 10 << false;
    QTest::newRow("2.5 rounds to 2") << "2.5" << "10" << 2 << 10 << false;
    QTest::newRow("12abc reads 12") << "12abc" << "10" << 12 << 10 << false;
    QTest::newRow("exponent") << "1E3" << "10" << 1000 << 10 << false;
    QTest::newRow("hexadecimal") << "&H10" << "&O17" << 16 << 15 << false;
    QTest::newRow("0.6 rounds to 1") << "0.6" << "10" << 1 << 10 << false;
    QTest::newRow("widest") << "32767" << "32767" << 32767 << 32767 << false;
    QTest::newRow("circle abc is 0") << "20" << "abc" << 20 << 0 << false;
    QTest::newRow("circle empty is 0") << "20" << "" << 20 << 0 << false;
    QTest::newRow("circle -5") << "20" << "-5" << 20 << -5 << false;
    QTest::newRow("circle -32768") << "20" << "-32768" << 20 << -32768 << false;
    // No pen is narrower than a pixel: the width stays, the circle size is taken.
    QTest::newRow("width 0 keeps the width") << "0" << "7" << 20 << 7 << false;
    QTest::newRow("width 0.4 keeps the width") << "0.4" << "7" << 20 << 7 << false;
    QTest::newRow("negative width keeps the width") << "-3" << "7" << 20 << 7 << false;
    QTest::newRow("empty width keeps the width") << "" << "7" << 20 << 7 << false;
    QTest::newRow("abc width keeps the width") << "abc" << "7" << 20 << 7 << false;
    // Beyond 16 bits: refused, nothing changes.
    QTest::newRow("width 32768") << "32768" << "7" << 20 << 10 << true;
    QTest::newRow("width -32769") << "-32769" << "7" << 20 << 10 << true;
    QTest::newRow("width 1e10") << "1e10" << "7" << 20 << 10 << true;
    QTest::newRow("width overflowing") << "1e999" << "7" << 20 << 10 << true;
    QTest::newRow("circle 40000") << "5" << "40000" << 20 << 10 << true;
    QTest::newRow("circle -32769") << "5" << "-32769" << 20 << 10 << true;
    QTest::newRow("both too big") << "99999" << "99999" << 20 << 10 << true;
}

void ViewControlsTest::crtaj()
{
    QFETCH(QString, widthText);
    QFETCH(QString, circleText);
    QFETCH(int, width);
    QFETCH(int, circleSize);
    QFETCH(bool, refused);

    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    w.type("txtDrawWidth", widthText);
    w.type("txtCircleSize", circleText);
    const int redraws = w.window.redrawCount();
    w.click("cmdCrtaj");

    QCOMPARE(int(w.display().DrawWidth), width);
    QCOMPARE(int(w.display().CircleSize), circleSize);
    QCOMPARE(w.window.redrawCount(), redraws + (refused ? 0 : 1));
    QCOMPARE(w.prompts.warnings.size(), refused ? 1 : 0);
    if (refused) {
        const QString box = widthText.startsWith(u'5') ? QStringLiteral("\"Velicina kruga:\"")
                                                       : QStringLiteral("\"Debljina linije:\"");
        QVERIFY2(w.prompts.warnings.first().contains(box), qPrintable(w.prompts.warnings.first()));
    }
    // The boxes keep what was typed.
    QCOMPARE(w.find<QLineEdit>("txtDrawWidth")->text(), widthText);
    QCOMPARE(w.find<QLineEdit>("txtCircleSize")->text(), circleText);
}

void ViewControlsTest::crtajDrawsWithTheNewWidth()
{
    Window w;
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
    w.type("txtDrawWidth", "6");
    w.click("cmdCrtaj");
    QCOMPARE(paintedRows(), 6);
    w.type("txtDrawWidth", "0");
    w.click("cmdCrtaj");
    QCOMPARE(paintedRows(), 6);
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
    QTest::newRow("circles") << "chkShowCircles" << true << QPoint(85, 100) << qRgb(0, 255, 0)
                             << qRgb(255, 255, 255);
    QTest::newRow("stations") << "chkShowSpec1" << true << QPoint(150, 100) << qRgb(0, 0, 242)
                              << qRgb(0, 190, 240);
    QTest::newRow("lights") << "chkShowSpec2" << true << QPoint(150, 200) << qRgb(242, 0, 0)
                            << qRgb(190, 190, 190);
    QTest::newRow("route") << "chkPrikaziRutu" << false << QPoint(250, 200)
                           << qRgb(190, 190, 190) << qRgb(190, 0, 190);
    QTest::newRow("marked segment") << "chkOznaciTrenutniSegment" << true << QPoint(250, 100)
                                    << qRgb(0, 190, 240) << qRgb(190, 190, 190);
}

void ViewControlsTest::checkBoxRedrawsAtOnce()
{
    QFETCH(QString, box);
    QFETCH(bool, startsOn);
    QFETCH(QPoint, probe);
    QFETCH(QRgb, before);
    QFETCH(QRgb, after);

    Window w;
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
    w.type("txtCircleSize", "15");
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

void ViewControlsTest::rescale_data()
{
    QTest::addColumn<QString>("coefficient");
    QTest::addColumn<QList<int>>("before"); // X of the four vertices
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<bool>("redrawn");
    QTest::addColumn<bool>("refused");

    const QList<int> xs{150, 153, 151, 100};
    QTest::newRow("2") << "2" << xs << QList<int>{300, 306, 302, 200} << true << false;
    QTest::newRow("0.5, halves to even") << "0.5" << xs << QList<int>{75, 76, 76, 50} << true
                                         << false;
    QTest::newRow("3, negative X") << "3" << QList<int>{-5, 0, 7, -100}
                                   << QList<int>{-15, 0, 21, -300} << true << false;
    QTest::newRow("1 redraws only") << "1" << xs << xs << true << false;
    QTest::newRow("comma ends the number") << "1,5" << xs << xs << true << false;
    QTest::newRow("0 is ignored") << "0" << xs << xs << false << false;
    QTest::newRow("-1 is ignored") << "-1" << xs << xs << false << false;
    QTest::newRow("abc is ignored") << "abc" << xs << xs << false << false;
    QTest::newRow("empty is ignored") << "" << xs << xs << false << false;
    QTest::newRow("fits the 16 bits exactly") << "2" << QList<int>{-16384, 16383, 0, 5}
                                              << QList<int>{-32768, 32766, 0, 10} << true << false;
    // Every vertex is checked before any changes.
    QTest::newRow("last vertex too far") << "2" << QList<int>{100, 100, 100, 20000}
                                         << QList<int>{100, 100, 100, 20000} << false << true;
    QTest::newRow("first vertex too far") << "2" << QList<int>{20000, 100, 100, 100}
                                          << QList<int>{20000, 100, 100, 100} << false << true;
    QTest::newRow("too far left") << "2" << QList<int>{100, -16385, 100, 100}
                                  << QList<int>{100, -16385, 100, 100} << false << true;
    QTest::newRow("overflowing coefficient") << "1e999" << xs << xs << false << true;
}

void ViewControlsTest::rescale()
{
    QFETCH(QString, coefficient);
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    QFETCH(bool, redrawn);
    QFETCH(bool, refused);

    Window w;
    const QList<int> ys{120, 7, 9, 300};
    AddSegment(w.scheme(), {{int16_t(before[0]), int16_t(ys[0])}, {int16_t(before[1]), int16_t(ys[1])}});
    AddSegment(w.scheme(), {{int16_t(before[2]), int16_t(ys[2])}, {int16_t(before[3]), int16_t(ys[3])}});
    w.type("txtResize", coefficient);
    const int redraws = w.window.redrawCount();
    w.click("cmdResize");

    const Scheme& s = w.scheme();
    const QList<MapPoint> vertices{s.Points[1][1], s.Points[1][2], s.Points[2][1], s.Points[2][2]};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(int(vertices[i].X), after[i]);
        QCOMPARE(int(vertices[i].Y), ys[i]);
    }
    QCOMPARE(w.window.redrawCount(), redraws + (redrawn ? 1 : 0));
    QCOMPARE(w.prompts.warnings.size(), refused ? 1 : 0);
    if (refused) {
        const QString warning = w.prompts.warnings.first();
        QVERIFY(warning.contains(QStringLiteral("\"Koeficijent:\"")));
        QVERIFY2(!warning.contains(QStringLiteral("inf")) && !warning.contains(QStringLiteral("nan")),
                 qPrintable(warning));
    }
    QCOMPARE(w.find<QLineEdit>("txtResize")->text(), coefficient);
}

void ViewControlsTest::rescaleTwiceMultipliesAgain()
{
    Window w;
    AddSegment(w.scheme(), {{150, 120}, {-7, 3}});
    w.type("txtResize", "2");
    w.click("cmdResize");
    w.click("cmdResize");
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{600, 120}));
    QCOMPARE(w.scheme().Points[1][2], (MapPoint{-28, 3}));
    QCOMPARE(w.window.redrawCount(), 2);
}

void ViewControlsTest::rescaleTouchesOnlyVertexX()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {200, 100}});
    w.scheme().Points[1][3] = {150, 50};  // beyond the segment's vertex count
    w.scheme().Points[2][1] = {160, 60};  // a segment not made
    w.scheme().Stations[1] = {1, 50.5, 10, {}};
    w.scheme().StationCount = 1;
    w.find<QScrollBar>("hscScroll")->setValue(40);
    const EditorModel before = w.window.model();
    w.type("txtResize", "2");
    w.click("cmdResize");

    Scheme expected = before.scheme;
    expected.Points[1][1].X = 200;
    expected.Points[1][2].X = 400;
    QVERIFY(w.scheme() == expected);
    QVERIFY(w.display() == before.display);
    QCOMPARE(w.window.model().scroll.ScrollOffset, before.scroll.ScrollOffset);
    QCOMPARE(int(w.display().DrawWidth), 20);
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
    QCOMPARE((QStringList{w.caption("lblLeft"), w.caption("lblMiddle"), w.caption("lblRight")}),
             ruler);
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
    QScrollBar* scroll = w.find<QScrollBar>("hscScroll");
    // Right of the thumb, left of the arrow button.
    QTest::mouseClick(scroll, Qt::LeftButton, Qt::NoModifier,
                      QPoint(scroll->width() - 40, scroll->height() / 2));
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
