// The fast redraw against the plain one: same picture up to single pass shades
// on band edges, exact wherever a colour is exact, and nothing kept between
// calls; on the fixed maps and on random maps of every family
// (TRAM_RANDOM_MAPS sets how many of each; for a thousand, raise the test
// function's time limit too, QTEST_FUNCTION_TIMEOUT in milliseconds).

#include "support/BenchMaps.h"
#include "support/RandomMaps.h"
#include "support/RendererComparison.h"
#include "support/Schemes.h"
#include "view/Renderer.h"
#include "view/TwoThreads.h"

#include <QTest>
#include <atomic>
#include <functional>
#include <stdexcept>
#include <vector>

using namespace tram;
using benchmaps::Map;
using namespace renderercomparison;
using testschemes::AddSegment;

Q_DECLARE_METATYPE(Map)
Q_DECLARE_METATYPE(std::function<void(Map&)>)
Q_DECLARE_METATYPE(randommaps::Family)

namespace {

QImage Draw(const Map& m, bool fast)
{
    Canvas canvas;
    (fast ? DrawScheme : DrawSchemePlain)(canvas, m.scheme, m.edit, m.display);
    return canvas.image().copy();
}

int RandomMapsPerFamily()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("TRAM_RANDOM_MAPS", &ok);
    return ok ? n : 20;
}

// Crossings, shared end points, a one-vertex segment, zero-length pieces (dots),
// pieces reaching far off the canvas, a marked segment and a shown route.
Map Junctions()
{
    Map m = benchmaps::emptyMap();
    Scheme& s = m.scheme;
    AddSegment(s, {{100, 100}, {400, 100}, {400, 100}, {600, 300}});
    AddSegment(s, {{250, 20}, {250, 300}});
    AddSegment(s, {{400, 100}, {700, 50}, {900, 380}});
    AddSegment(s, {{500, 200}});
    AddSegment(s, {{-30000, 200}, {32767, 250}});
    AddSegment(s, {{520, -32768}, {560, 32767}, {-32768, -32768}});
    AddSegment(s, {{120, 350}, {121, 351}, {123, 349}, {980, 391}, {999, 0}});
    AddSegment(s, {{0, 0}, {999, 391}});
    AddSegment(s, {{700, 300}, {700, 300}});
    AddSegment(s, {{990, 5}, {995, 2}, {995, 2}});
    s.RouteCount = 1;
    s.RouteLength[1] = 2;
    s.RouteSegments[1][1] = 2;
    s.RouteSegments[1][2] = 3;
    m.edit.CurrentRoute = 1;
    m.display.ShowRoute = true;
    m.edit.CurrentSegment = 3;
    // The last station and light fall back to the origin, half off the canvas.
    s.StationCount = 3;
    s.Stations[1] = Station{1, 150, 10, {}};
    s.Stations[2] = Station{2, 0, 10, {}};
    s.Stations[3] = Station{45, 10, 10, {}};
    s.LightCount = 3;
    s.Lights[1] = TrafficLight{3, 40, 0, 0, 0, 0};
    s.Lights[2] = TrafficLight{2, 3, 1, 0, 0, 0};
    s.Lights[3] = TrafficLight{8, 1e9, 1, 0, 0, 0};
    return m;
}

// Vertices anywhere in the 16-bit range, most of them far off the canvas,
// some near its edges.
Map Scattered()
{
    Map m = benchmaps::emptyMap();
    std::mt19937 rng(20264);
    for (int i = 1; i <= MaxSegments; ++i)
        randommaps::AddScattered(m.scheme, rng, int(1 + rng() % MaxPoints));
    m.edit.CurrentSegment = 5;
    return m;
}

Map WithCircleSize(Map m, int size)
{
    m.display.CircleSize = int16_t(size);
    return m;
}

} // namespace

class FastRendererTest : public QObject {
    Q_OBJECT

private slots:
    void matchesPlainRedraw_data()
    {
        QTest::addColumn<Map>("map");
        // How many of the drawn pixels may differ, in thousandths.
        QTest::addColumn<int>("allowedPerMille");
        using benchmaps::withDrawWidth;
        QTest::newRow("empty") << benchmaps::emptyMap() << 10;
        QTest::newRow("typical") << benchmaps::typicalMap() << 10;
        QTest::newRow("worst short pieces") << benchmaps::worstShortMap() << 10;
        QTest::newRow("worst long pieces") << benchmaps::worstLongMap() << 10;
        QTest::newRow("worst short pieces W=1000") << withDrawWidth(benchmaps::worstShortMap(), 1000) << 10;
        QTest::newRow("worst short pieces W=1") << withDrawWidth(benchmaps::worstShortMap(), 1) << 10;
        QTest::newRow("worst short pieces W=30") << withDrawWidth(benchmaps::worstShortMap(), 30) << 10;
        for (int width : {1, 2, 3, 20, 21, 24, 25, 30, 1000, 32767})
            QTest::addRow("junctions W=%d", width) << withDrawWidth(Junctions(), width) << 10;
        // The painter's own fixed-point steps drift by up to a pixel along
        // pieces tens of thousands of pixels long, where the bands here stay
        // true: more edge pixels differ, still only by one shade.
        for (int width : {1, 2, 20, 30, 1000})
            QTest::addRow("scattered W=%d", width) << withDrawWidth(Scattered(), width) << 40;
        for (int size : {-5, 0, 1, 60, 400})
            QTest::addRow("junctions circle %d", size) << WithCircleSize(Junctions(), size) << 10;
    }

    void matchesPlainRedraw()
    {
        QFETCH(Map, map);
        QFETCH(int, allowedPerMille);
        const Comparison c = Compare(Draw(map, true), Draw(map, false), map.display.DrawWidth);
        qInfo("%d drawn, %d differing", c.drawn, c.differing);
        QCOMPARE(c.exactBroken, 0);
        QCOMPARE(c.farOff, 0);
        QVERIFY2(c.differing * 1000 <= c.drawn * allowedPerMille,
                 qPrintable(QString("%1 of %2").arg(c.differing).arg(c.drawn)));
    }

    // The fixed maps' rule on random ones: every exact colour exact, every
    // other differing pixel a shade of the same or a neighbouring pass, and on
    // maps of pieces within the canvas's reach at most 10 in a thousand drawn
    // pixels differing. Scattered maps have no such share: a thin band that
    // crosses the canvas from far off can have one pixel in six a shade off.
    void randomMapsMatchPlainRedraw_data()
    {
        QTest::addColumn<randommaps::Family>("family");
        QTest::addColumn<int>("allowedPerMille");
        using randommaps::Family;
        QTest::newRow("short") << Family::Short << 10;
        QTest::newRow("long") << Family::Long << 10;
        QTest::newRow("blob") << Family::Blob << 10;
        QTest::newRow("scattered") << Family::Scattered << 1000;
    }

    void randomMapsMatchPlainRedraw()
    {
        QFETCH(randommaps::Family, family);
        QFETCH(int, allowedPerMille);
        const int count = RandomMapsPerFamily();
        qint64 drawn = 0;
        qint64 differing = 0;
        int worstPerMille = 0;
        for (int n = 0; n < count; ++n) {
            const uint32_t seed = uint32_t(1000003 * int(family) + n);
            const Map map = randommaps::RandomMap(family, seed);
            const Comparison c = Compare(Draw(map, true), Draw(map, false), map.display.DrawWidth);
            QVERIFY2(c.exactBroken == 0 && c.farOff == 0,
                     qPrintable(QString("seed %1 (W=%2): %3 exact pixels off, %4 more than a shade off")
                                    .arg(seed)
                                    .arg(map.display.DrawWidth)
                                    .arg(c.exactBroken)
                                    .arg(c.farOff)));
            QVERIFY2(c.differing * 1000 <= c.drawn * allowedPerMille,
                     qPrintable(QString("seed %1: %2 of %3").arg(seed).arg(c.differing).arg(c.drawn)));
            drawn += c.drawn;
            differing += c.differing;
            if (c.drawn > 0)
                worstPerMille = std::max(worstPerMille, int(1000 * qint64(c.differing) / c.drawn));
        }
        qInfo("%d maps: %lld of %lld drawn pixels a shade off the plain drawing, at most %d in a thousand on one map",
              count, differing, drawn, worstPerMille);
    }

    // What either thread of a redraw throws reaches the caller, and only once
    // both threads have stopped: nothing is left running on the caller's data.
    void twoThreadsPassOnWhatEitherThrows_data()
    {
        QTest::addColumn<int>("throwingPart");
        QTest::newRow("this thread") << 0;
        QTest::newRow("helper") << 1;
    }

    void twoThreadsPassOnWhatEitherThrows()
    {
        QFETCH(int, throwingPart);
        std::atomic<int> finished = 0;
        bool thrown = false;
        try {
            PaintOnTwoThreads([&](const RowShare& rows) {
                if (rows.parts == 2 && rows.part == throwingPart)
                    throw std::runtime_error("no memory left");
                ++finished;
            });
        } catch (const std::runtime_error&) {
            thrown = true;
            QCOMPARE(finished.load(), 1);
        }
        QVERIFY(thrown);
    }

    void keepsThePenWidth_data()
    {
        QTest::addColumn<int>("width");
        for (int width : {1, 2, 20, 24, 25, 1000, 32767})
            QTest::addRow("%d", width) << width;
    }

    void keepsThePenWidth()
    {
        QFETCH(int, width);
        Map m = benchmaps::worstShortMap();
        Canvas canvas;
        canvas.SetDrawWidth(width);
        m.display.DrawWidth = int16_t(width);
        DrawScheme(canvas, m.scheme, m.edit, m.display);
        QCOMPARE(canvas.DrawWidth(), width);
    }

    void emptyMapIsBackground()
    {
        Canvas canvas;
        canvas.pixels().fill(qRgb(1, 2, 3));
        DrawScheme(canvas, Scheme{}, EditState{}, benchmaps::emptyMap().display);
        QImage blank(Canvas::Width, Canvas::Height, QImage::Format_RGB32);
        blank.fill(Canvas::Background);
        QCOMPARE(canvas.image(), blank);
    }

    void editShowsAtNextRedraw_data()
    {
        QTest::addColumn<std::function<void(Map&)>>("edit");
        using Edit = std::function<void(Map&)>;
        QTest::newRow("vertex") << Edit([](Map& m) { m.scheme.Points[3][7] = MapPoint{500, 200}; });
        QTest::newRow("station") << Edit([](Map& m) { m.scheme.Stations[5].Position += 60; });
        QTest::newRow("station segment") << Edit([](Map& m) { m.scheme.Stations[5].Segment = 9; });
        QTest::newRow("light state") << Edit(
            [](Map& m) { m.scheme.Lights[4].InitialState = m.scheme.Lights[4].InitialState ? 0 : 1; });
        QTest::newRow("light position") << Edit([](Map& m) { m.scheme.Lights[4].Position += 60; });
        QTest::newRow("route slot") << Edit([](Map& m) { m.scheme.RouteSegments[1][2] = 30; });
        QTest::newRow("current segment") << Edit([](Map& m) { m.edit.CurrentSegment = 2; });
        QTest::newRow("show route") << Edit([](Map& m) { m.display.ShowRoute = false; });
        QTest::newRow("mark segment") << Edit([](Map& m) { m.display.MarkSegment = false; });
        QTest::newRow("show circles") << Edit([](Map& m) { m.display.ShowCircles = false; });
        QTest::newRow("show stations") << Edit([](Map& m) { m.display.ShowStations = false; });
        QTest::newRow("show lights") << Edit([](Map& m) { m.display.ShowLights = false; });
        QTest::newRow("circle size") << Edit([](Map& m) { m.display.CircleSize = 4; });
        QTest::newRow("segment count") << Edit([](Map& m) { m.scheme.SegmentCount = 20; });
        QTest::newRow("width") << Edit([](Map& m) { m.display.DrawWidth = 7; });
    }

    void editShowsAtNextRedraw()
    {
        QFETCH(std::function<void(Map&)>, edit);
        Map m = benchmaps::worstShortMap();
        Canvas canvas;
        DrawScheme(canvas, m.scheme, m.edit, m.display);
        const QImage before = canvas.image().copy();

        edit(m);
        DrawScheme(canvas, m.scheme, m.edit, m.display);
        QVERIFY(canvas.image() != before);
        QCOMPARE(canvas.image(), Draw(m, true));
    }
};

QTEST_MAIN(FastRendererTest)
#include "test_fast_renderer.moc"
