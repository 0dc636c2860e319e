#include "view/Renderer.h"

#include <QGuiApplication>
#include <QList>
#include <QPoint>
#include <QSet>
#include <QTest>
#include <algorithm>

using namespace tram;

namespace {

using DrawFunction = void (*)(Canvas&, const Scheme&, const EditState&, const DisplaySettings&);

const QRgb White = qRgb(255, 255, 255);

struct Scene {
    Scheme scheme;
    EditState edit;
    DisplaySettings display; // everything off, CircleSize 0
};

int addSegment(Scene& scene, const QList<QPoint>& points)
{
    const int s = ++scene.scheme.SegmentCount;
    scene.scheme.PointCount[s] = int16_t(points.size());
    for (int j = 1; j <= points.size(); ++j)
        scene.scheme.Points[s][j] = MapPoint{int16_t(points[j - 1].x()), int16_t(points[j - 1].y())};
    return s;
}

// Makes the scheme's only route list the segment and makes it current.
void putInRoute(Scene& scene, int segment)
{
    scene.scheme.RouteCount = 1;
    scene.scheme.RouteLength[1] = 1;
    scene.scheme.RouteSegments[1][1] = uint8_t(segment);
    scene.edit.CurrentRoute = 1;
}

QByteArray text(QRgb c)
{
    return QByteArray::number(qRed(c)) + ", " + QByteArray::number(qGreen(c)) + ", " + QByteArray::number(qBlue(c));
}

// The colour of a pass k band, written out here independently of the renderer.
QRgb trackColour(int k)
{
    const int v = std::max(0, 200 - 10 * k);
    return qRgb(v, v, v);
}

} // namespace

// Runs once for the drawing the window uses and once for the plain reference
// drawing: both must give the same pictures.
class RendererTest : public QObject {
    Q_OBJECT
public:
    // exact: the picture must equal one painted pass by pass to the last pixel.
    RendererTest(DrawFunction draw, bool exact)
        : draw_(draw)
        , exact_(exact)
    {
    }

private slots:
    void bandCrossSection_data();
    void bandCrossSection();
    void colourLandsExactly();
    void bendShowsNoNotch();
    void zeroLengthPieceIsADot();
    void crossingTracksShowNoDarkEdge();
    void vertexCircles_data();
    void vertexCircles();
    void stationsAndLights_data();
    void stationsAndLights();
    void emptySchemeClearsTheCanvas_data();
    void emptySchemeClearsTheCanvas();
    void widePenIsOneBlackPassThenTheShadedOnes_data();
    void widePenIsOneBlackPassThenTheShadedOnes();
    void penWidthRestored_data();
    void penWidthRestored();
    void countsBeyondTheTablesDrawTheTables_data();
    void countsBeyondTheTablesDrawTheTables();

private:
    // With the canvas's own pen at the same width, which the drawing must leave as it was.
    void draw(Canvas& canvas, const Scene& scene, int width)
    {
        canvas.SetDrawWidth(width);
        DisplaySettings display = scene.display;
        display.DrawWidth = int16_t(width);
        draw_(canvas, scene.scheme, scene.edit, display);
    }

    DrawFunction draw_;
    bool exact_;
};

void RendererTest::bandCrossSection_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("inRoute");
    QTest::addColumn<bool>("showRoute");
    QTest::addColumn<int>("currentSegment");
    QTest::addColumn<bool>("markSegment");
    QTest::addColumn<QRgb>("centre");
    // The band's top row: at even widths only the widest pass reaches it.
    QTest::addColumn<QRgb>("edge");

    const QRgb grey = qRgb(190, 190, 190);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb purple = qRgb(190, 0, 190);
    const QRgb cyan = qRgb(0, 190, 240);

    QTest::newRow("track W=20") << 20 << false << false << 0 << true << grey << black;
    QTest::newRow("route W=20") << 20 << true << true << 0 << true << purple << black;
    QTest::newRow("marked W=20") << 20 << false << false << 1 << true << cyan << qRgb(0, 0, 50);
    QTest::newRow("marked wins over route") << 20 << true << true << 1 << true << cyan << qRgb(0, 0, 50);
    QTest::newRow("route not shown") << 20 << true << false << 0 << true << grey << black;
    QTest::newRow("marking off") << 20 << false << false << 1 << false << grey << black;
    QTest::newRow("marking off, route shown") << 20 << true << true << 1 << false << purple << black;
    QTest::newRow("another segment current") << 20 << false << false << 2 << true << grey << black;
    QTest::newRow("track W=1") << 1 << false << false << 0 << true << grey << grey;
    QTest::newRow("route W=1") << 1 << true << true << 0 << true << purple << purple;
    QTest::newRow("marked W=1") << 1 << false << false << 1 << true << cyan << cyan;
    QTest::newRow("track W=2") << 2 << false << false << 0 << true << grey << qRgb(180, 180, 180);
    // Wider than 20: components are clamped at 0, never wrapped round.
    QTest::newRow("track W=22") << 22 << false << false << 0 << true << grey << black;
    QTest::newRow("route W=22") << 22 << true << true << 0 << true << purple << black;
    QTest::newRow("marked W=22") << 22 << false << false << 1 << true << cyan << qRgb(0, 0, 30);
    QTest::newRow("marked W=24") << 24 << false << false << 1 << true << cyan << qRgb(0, 0, 10);
    QTest::newRow("marked W=26") << 26 << false << false << 1 << true << cyan << black;
    QTest::newRow("marked W=40") << 40 << false << false << 1 << true << cyan << black;
}

void RendererTest::bandCrossSection()
{
    QFETCH(int, width);
    QFETCH(bool, inRoute);
    QFETCH(bool, showRoute);
    QFETCH(int, currentSegment);
    QFETCH(bool, markSegment);
    QFETCH(QRgb, centre);
    QFETCH(QRgb, edge);

    Scene scene;
    const int s = addSegment(scene, {{100, 200}, {400, 200}});
    if (inRoute)
        putInRoute(scene, s);
    scene.display.ShowRoute = showRoute;
    scene.edit.CurrentSegment = uint8_t(currentSegment);
    scene.display.MarkSegment = markSegment;

    Canvas canvas;
    draw(canvas, scene, width);
    const QImage& image = canvas.image();

    QCOMPARE(text(image.pixel(250, 200)), text(centre));
    int top = -1;
    int painted = 0;
    for (int y = 0; y < Canvas::Height; ++y) {
        if (image.pixel(250, y) == White)
            continue;
        ++painted;
        if (top < 0)
            top = y;
    }
    QCOMPARE(painted, width);
    QCOMPARE(text(image.pixel(250, top)), text(edge));
}

void RendererTest::colourLandsExactly()
{
    Scene scene;
    addSegment(scene, {{100, 100}, {300, 250}, {700, 130}});
    Canvas canvas;
    draw(canvas, scene, 20);

    QSet<QRgb> allowed{White};
    for (int k = 1; k <= 20; ++k)
        allowed.insert(trackColour(k));
    const QImage& image = canvas.image();
    for (int y = 0; y < Canvas::Height; ++y) {
        for (int x = 0; x < Canvas::Width; ++x) {
            if (!allowed.contains(image.pixel(x, y)))
                QFAIL(qPrintable(
                    QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(QString::fromLatin1(text(image.pixel(x, y))))));
        }
    }
}

void RendererTest::bendShowsNoNotch()
{
    Scene scene;
    addSegment(scene, {{100, 100}, {300, 100}, {300, 300}});
    Canvas canvas;
    draw(canvas, scene, 20);
    // Outside both straight pieces, inside the rounded corner.
    QVERIFY(canvas.image().pixel(306, 94) != White);
    QCOMPARE(text(canvas.image().pixel(300, 100)), text(qRgb(190, 190, 190)));
}

void RendererTest::zeroLengthPieceIsADot()
{
    Scene scene;
    addSegment(scene, {{200, 200}, {200, 200}});
    Canvas canvas;
    draw(canvas, scene, 20);
    const QImage& image = canvas.image();
    QCOMPARE(text(image.pixel(200, 200)), text(qRgb(190, 190, 190)));
    QVERIFY(image.pixel(193, 200) != White);
    QVERIFY(image.pixel(200, 207) != White);
    QCOMPARE(image.pixel(212, 200), White);
}

void RendererTest::crossingTracksShowNoDarkEdge()
{
    Scene scene;
    addSegment(scene, {{100, 200}, {300, 200}});
    addSegment(scene, {{200, 100}, {200, 300}});
    Canvas canvas;
    draw(canvas, scene, 20);
    const QImage& image = canvas.image();
    // Each centre line runs unbroken through the other band.
    QCOMPARE(text(image.pixel(195, 200)), text(qRgb(190, 190, 190)));
    QCOMPARE(text(image.pixel(200, 195)), text(qRgb(190, 190, 190)));
    QCOMPARE(text(image.pixel(205, 200)), text(qRgb(190, 190, 190)));
}

void RendererTest::vertexCircles_data()
{
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<bool>("showCircles");
    QTest::addColumn<int>("circleSize");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QRgb>("expected");

    const QList<QPoint> three{{100, 200}, {200, 200}, {300, 200}};
    const QRgb green = qRgb(0, 255, 0);
    const QRgb red = qRgb(255, 0, 0);
    QTest::newRow("first vertex green") << three << true << 10 << QPoint(90, 200) << green;
    QTest::newRow("middle vertex white over the band") << three << true << 10 << QPoint(190, 200) << White;
    QTest::newRow("middle vertex white, top") << three << true << 10 << QPoint(200, 190) << White;
    QTest::newRow("last vertex red") << three << true << 10 << QPoint(290, 200) << red;
    QTest::newRow("last vertex red, right") << three << true << 10 << QPoint(310, 200) << red;
    QTest::newRow("radius follows the size") << three << true << 25 << QPoint(75, 200) << green;
    QTest::newRow("inside the circle is the band") << three << true << 10 << QPoint(105, 200) << qRgb(190, 190, 190);
    QTest::newRow("circles off") << three << false << 10 << QPoint(90, 200) << White;
    QTest::newRow("circles off, over the band") << three << false << 10 << QPoint(190, 200) << qRgb(190, 190, 190);
    QTest::newRow("two vertices, first") << QList<QPoint>{{100, 200}, {300, 200}} << true << 10 << QPoint(90, 200)
                                         << green;
    QTest::newRow("two vertices, last") << QList<QPoint>{{100, 200}, {300, 200}} << true << 10 << QPoint(290, 200)
                                        << red;
    QTest::newRow("single vertex is red") << QList<QPoint>{{100, 200}} << true << 10 << QPoint(90, 200) << red;
    QTest::newRow("single vertex draws no line")
        << QList<QPoint>{{100, 200}} << true << 10 << QPoint(100, 200) << White;
}

void RendererTest::vertexCircles()
{
    QFETCH(QList<QPoint>, points);
    QFETCH(bool, showCircles);
    QFETCH(int, circleSize);
    QFETCH(QPoint, probe);
    QFETCH(QRgb, expected);

    Scene scene;
    addSegment(scene, points);
    scene.display.ShowCircles = showCircles;
    scene.display.CircleSize = int16_t(circleSize);
    Canvas canvas;
    draw(canvas, scene, 1);
    QCOMPARE(text(canvas.image().pixel(probe)), text(expected));
}

void RendererTest::stationsAndLights_data()
{
    QTest::addColumn<int>("stationSegment"); // 0: no station
    QTest::addColumn<int>("lightSegment");   // 0: no light
    QTest::addColumn<int>("lightState");
    QTest::addColumn<bool>("showStations");
    QTest::addColumn<bool>("showLights");
    QTest::addColumn<QPoint>("centre");
    QTest::addColumn<QRgb>("centreColour");
    QTest::addColumn<QRgb>("outerColour"); // the outermost symbol pixel left of the centre

    const QPoint at50(150, 200);
    const QRgb band = qRgb(190, 190, 190);
    const QRgb blueIn = qRgb(0, 0, 242);
    const QRgb blueOut = qRgb(0, 0, 202);
    const QRgb redIn = qRgb(242, 0, 0);
    const QRgb redOut = qRgb(218, 0, 0);
    const QRgb greenIn = qRgb(0, 242, 0);
    const QRgb greenOut = qRgb(0, 218, 0);

    QTest::newRow("station") << 1 << 0 << 0 << true << true << at50 << blueIn << blueOut;
    QTest::newRow("hidden station") << 1 << 0 << 0 << false << true << at50 << band << band;
    QTest::newRow("red light") << 0 << 1 << 0 << true << true << at50 << redIn << redOut;
    QTest::newRow("green light, state 1") << 0 << 1 << 1 << true << true << at50 << greenIn << greenOut;
    QTest::newRow("green light, state 2") << 0 << 1 << 2 << true << true << at50 << greenIn << greenOut;
    QTest::newRow("green light, state 255") << 0 << 1 << 255 << true << true << at50 << greenIn << greenOut;
    QTest::newRow("hidden light") << 0 << 1 << 0 << true << false << at50 << band << band;
    QTest::newRow("light over a station") << 1 << 1 << 0 << true << true << at50 << redIn << blueOut;
    QTest::newRow("light over a hidden station") << 1 << 1 << 0 << false << true << at50 << redIn << redOut;
    QTest::newRow("station under a hidden light") << 1 << 1 << 0 << true << false << at50 << blueIn << blueOut;
    // Objects on a segment that does not exist sit at the canvas origin.
    QTest::newRow("station on a missing segment") << 7 << 0 << 0 << true << true << QPoint(0, 0) << blueIn << blueIn;
    QTest::newRow("light on segment 255") << 0 << 255 << 1 << true << true << QPoint(0, 0) << greenIn << greenIn;
}

void RendererTest::stationsAndLights()
{
    QFETCH(int, stationSegment);
    QFETCH(int, lightSegment);
    QFETCH(int, lightState);
    QFETCH(bool, showStations);
    QFETCH(bool, showLights);
    QFETCH(QPoint, centre);
    QFETCH(QRgb, centreColour);
    QFETCH(QRgb, outerColour);

    Scene scene;
    addSegment(scene, {{100, 200}, {400, 200}});
    scene.display.ShowStations = showStations;
    scene.display.ShowLights = showLights;
    if (stationSegment) {
        scene.scheme.StationCount = 1;
        scene.scheme.Stations[1].Segment = uint8_t(stationSegment);
        scene.scheme.Stations[1].Position = 50;
    }
    if (lightSegment) {
        scene.scheme.LightCount = 1;
        scene.scheme.Lights[1].Segment = uint8_t(lightSegment);
        scene.scheme.Lights[1].Position = 50;
        scene.scheme.Lights[1].InitialState = uint8_t(lightState);
    }
    Canvas canvas;
    draw(canvas, scene, 20);
    const QImage& image = canvas.image();

    QCOMPARE(text(image.pixel(centre)), text(centreColour));
    if (centre.x() == 0)
        return;
    // Walk left over the symbol to its outer ring.
    const QRgb band = image.pixel(centre.x() - 20, centre.y());
    int x = centre.x();
    while (image.pixel(x - 1, centre.y()) != band)
        --x;
    QCOMPARE(text(image.pixel(x, centre.y())), text(outerColour));
}

void RendererTest::emptySchemeClearsTheCanvas_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("W=1") << 1;
    QTest::newRow("W=20") << 20;
    QTest::newRow("W=1000") << 1000;
}

void RendererTest::emptySchemeClearsTheCanvas()
{
    QFETCH(int, width);
    Canvas canvas;
    Scene drawn;
    addSegment(drawn, {{100, 100}, {500, 300}});
    draw(canvas, drawn, width);

    Scene empty;
    empty.display.ShowCircles = empty.display.ShowStations = empty.display.ShowLights = true;
    empty.display.CircleSize = 10;
    draw(canvas, empty, width);

    QImage blank(Canvas::Width, Canvas::Height, canvas.image().format());
    blank.fill(White);
    QVERIFY(canvas.image() == blank);
    QCOMPARE(canvas.DrawWidth(), width);
}

void RendererTest::widePenIsOneBlackPassThenTheShadedOnes_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("W=25") << 25;
    QTest::newRow("W=26") << 26;
    QTest::newRow("W=60") << 60;
    QTest::newRow("W=1000") << 1000;
    QTest::newRow("W=32767") << 32767;
}

void RendererTest::widePenIsOneBlackPassThenTheShadedOnes()
{
    QFETCH(int, width);
    Scene scene;
    const QList<QPoint> track{{100, 100}, {300, 150}, {500, 100}};
    const QList<QPoint> marked{{100, 300}, {900, 250}};
    const QList<QPoint> route{{600, 50}, {700, 350}};
    addSegment(scene, track);
    scene.edit.CurrentSegment = uint8_t(addSegment(scene, marked));
    putInRoute(scene, addSegment(scene, route));
    scene.display.MarkSegment = true;
    scene.display.ShowRoute = true;

    Canvas canvas;
    draw(canvas, scene, width);

    auto lines = [](Canvas& c, const QList<QPoint>& points) {
        for (int j = 1; j < points.size(); ++j)
            c.Line(points[j].x(), points[j].y(), points[j - 1].x(), points[j - 1].y());
    };
    Canvas expected;
    expected.SetDrawWidth(width);
    expected.ForeColor(qRgb(0, 0, 0));
    lines(expected, track);
    lines(expected, marked);
    lines(expected, route);
    for (int k = 24; k >= 1; --k) {
        const int v = std::max(0, 200 - 10 * k);
        expected.SetDrawWidth(k);
        expected.ForeColor(trackColour(k));
        lines(expected, track);
        expected.ForeColor(qRgb(0, v, 250 - 10 * k));
        lines(expected, marked);
        expected.ForeColor(qRgb(v, 0, v));
        lines(expected, route);
    }
    if (exact_) {
        QVERIFY(canvas.image() == expected.image());
    } else {
        // The window's drawing computes the bands instead of painting them:
        // a few edge pixels may land one pass shade (10 per component) apart.
        const QRgb Black = qRgb(0, 0, 0);
        int drawn = 0;
        int differing = 0;
        for (int y = 0; y < Canvas::Height; ++y) {
            for (int x = 0; x < Canvas::Width; ++x) {
                const QRgb want = expected.image().pixel(x, y);
                const QRgb got = canvas.image().pixel(x, y);
                drawn += want != White;
                if (got == want)
                    continue;
                ++differing;
                // On the outer edge the widest (black) pass and the background meet.
                if ((got == White && want == Black) || (got == Black && want == White))
                    continue;
                QVERIFY2(std::abs(qRed(got) - qRed(want)) <= 10 && std::abs(qGreen(got) - qGreen(want)) <= 10
                             && std::abs(qBlue(got) - qBlue(want)) <= 10,
                         qPrintable(QStringLiteral("(%1, %2): %3 for %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(QString::fromLatin1(text(got)), QString::fromLatin1(text(want)))));
            }
        }
        QVERIFY2(differing * 100 <= drawn, qPrintable(QStringLiteral("%1 of %2").arg(differing).arg(drawn)));
    }
    QCOMPARE(canvas.DrawWidth(), width);
}

void RendererTest::penWidthRestored_data()
{
    QTest::addColumn<int>("width");
    for (int w : {1, 2, 20, 21, 1000, 32767})
        QTest::addRow("W=%d", w) << w;
}

void RendererTest::penWidthRestored()
{
    QFETCH(int, width);
    Scene scene;
    addSegment(scene, {{100, 100}, {200, 150}, {300, 100}});
    scene.display.ShowCircles = scene.display.ShowStations = scene.display.ShowLights = true;
    scene.display.CircleSize = 10;
    scene.scheme.StationCount = 1;
    scene.scheme.Stations[1] = {1, 30, 10, {}};
    scene.scheme.LightCount = 1;
    scene.scheme.Lights[1].Segment = 1;
    Canvas canvas;
    draw(canvas, scene, width);
    QCOMPARE(canvas.DrawWidth(), width);
    draw(canvas, scene, canvas.DrawWidth());
    QCOMPARE(canvas.DrawWidth(), width);
}

void RendererTest::countsBeyondTheTablesDrawTheTables_data()
{
    QTest::addColumn<QString>("table");
    for (const char* table : {"points", "stations", "lights"})
        QTest::newRow(table) << QString::fromLatin1(table);
}

// A count above its table's limit, in a scheme built by hand and never saved,
// draws the table's elements and nothing beyond them.
void RendererTest::countsBeyondTheTablesDrawTheTables()
{
    QFETCH(QString, table);
    Scene scene;
    QList<QPoint> zigzag;
    for (int j = 0; j < MaxPoints; ++j)
        zigzag << QPoint(100 + 15 * j, j % 2 ? 150 : 250);
    addSegment(scene, zigzag);
    scene.scheme.StationCount = MaxStations;
    for (int i = 1; i <= MaxStations; ++i)
        scene.scheme.Stations[i] = {1, 7.5 * i, 10, {}};
    scene.scheme.LightCount = MaxLights;
    for (int i = 1; i <= MaxLights; ++i)
        scene.scheme.Lights[i] = {1, 7.5 * i + 3, uint8_t(i % 2), 10, 10, 0};
    scene.display.ShowCircles = scene.display.ShowStations = scene.display.ShowLights = true;
    scene.display.CircleSize = 3;
    Canvas expected;
    draw(expected, scene, 3);

    if (table == u"points")
        scene.scheme.PointCount[1] = MaxPoints + 10;
    else if (table == u"stations")
        scene.scheme.StationCount = 255;
    else
        scene.scheme.LightCount = 255;
    Canvas canvas;
    draw(canvas, scene, 3);
    QVERIFY(canvas.image() == expected.image());
}

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    RendererTest redraw(DrawScheme, false);
    RendererTest plain(DrawSchemePlain, true);
    const int failedRedraw = QTest::qExec(&redraw, argc, argv);
    const int failedPlain = QTest::qExec(&plain, argc, argv);
    return failedRedraw + failedPlain;
}

#include "test_renderer.moc"
