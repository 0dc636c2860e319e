// "Novi segment" and the segment steps: where new segments land, run after
// run, and which segment is current.

#include "editing/SegmentCommands.h"

#include <QTest>

using namespace tram;

namespace {

// The first vertices every run produces. Pinned so that a change of generator,
// seed or rounding shows up here: saved schemes of different runs must agree.
const MapPoint FirstRunVertices[3][2] = {
    {{263, 127}, {281, 267}},
    {{125, 294}, {283, 144}},
    {{226, 162}, {120, 209}},
};

// Adds `count` segments; false when one was refused.
[[nodiscard]] bool addSegments(Scheme& scheme, EditState& edit, SegmentCoordinateGenerator& generator, int count)
{
    for (int i = 0; i < count; ++i) {
        if (NewSegment(scheme, edit, generator))
            return false;
    }
    return true;
}

} // namespace

class SegmentsTest : public QObject {
    Q_OBJECT
private slots:
    void firstSegmentsOfEveryRunArePinned();
    void newSegmentWritesOnlyTwoVertices();
    void newSegmentAndStepsSetTheCurrentSegment();
};

void SegmentsTest::firstSegmentsOfEveryRunArePinned()
{
    for (int run = 0; run < 2; ++run) {
        Scheme scheme;
        EditState edit;
        SegmentCoordinateGenerator generator;
        QVERIFY(addSegments(scheme, edit, generator, 3));
        QCOMPARE(scheme.SegmentCount, 3);
        for (int s = 1; s <= 3; ++s) {
            QCOMPARE(scheme.PointCount[s], 2);
            QCOMPARE(scheme.Points[s][1], FirstRunVertices[s - 1][0]);
            QCOMPARE(scheme.Points[s][2], FirstRunVertices[s - 1][1]);
            for (const MapPoint p : {scheme.Points[s][1], scheme.Points[s][2]}) {
                QVERIFY(p.X >= NewVertexLowest && p.X <= NewVertexHighest);
                QVERIFY(p.Y >= NewVertexLowest && p.Y <= NewVertexHighest);
            }
        }
    }
}

void SegmentsTest::newSegmentWritesOnlyTwoVertices()
{
    // Left over from a larger scheme that was open before.
    Scheme scheme;
    scheme.Points[1][3] = MapPoint{7, 8};
    scheme.PointCount[1] = 4;
    EditState edit;
    SegmentCoordinateGenerator generator;
    QVERIFY(addSegments(scheme, edit, generator, 1));
    QCOMPARE(scheme.PointCount[1], 2);
    QCOMPARE(scheme.Points[1][3], (MapPoint{7, 8}));
    QCOMPARE(scheme.Points[1][0], (MapPoint{0, 0}));
}

// A new segment becomes current wherever the steps were. At either end a
// step changes nothing and says so, so the window neither refreshes the box
// nor redraws; after a smaller scheme was opened, ">" stays above its count.
void SegmentsTest::newSegmentAndStepsSetTheCurrentSegment()
{
    Scheme scheme;
    EditState edit;
    QVERIFY(!PreviousSegment(edit));
    QVERIFY(!NextSegment(scheme, edit));
    QCOMPARE(edit.CurrentSegment, 0);

    SegmentCoordinateGenerator generator;
    QVERIFY(addSegments(scheme, edit, generator, 5));
    QCOMPARE(edit.CurrentSegment, 5);
    QVERIFY(!NextSegment(scheme, edit));
    for (int s = 4; s >= 1; --s) {
        QVERIFY(PreviousSegment(edit));
        QCOMPARE(edit.CurrentSegment, s);
    }
    QVERIFY(!PreviousSegment(edit));
    QCOMPARE(edit.CurrentSegment, 1);
    QVERIFY(NextSegment(scheme, edit));
    QVERIFY(addSegments(scheme, edit, generator, 1));
    QCOMPARE(edit.CurrentSegment, 6);

    scheme.SegmentCount = 2; // as after opening a smaller scheme
    QVERIFY(!NextSegment(scheme, edit));
    QCOMPARE(edit.CurrentSegment, 6);
    QVERIFY(PreviousSegment(edit));
    QCOMPARE(edit.CurrentSegment, 5);
}

QTEST_GUILESS_MAIN(SegmentsTest)
#include "test_segments.moc"
