#include "editing/SegmentCommands.h"
#include "model/NumberText.h"
#include "support/Window.h"
#include "view/Renderer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tram;
using testwindow::Window;

namespace {

// The first vertices every run produces. Pinned so that a change of generator,
// seed or rounding shows up here: saved schemes of different runs must agree.
const MapPoint FirstRunVertices[3][2] = {
    {{263, 127}, {281, 267}},
    {{125, 294}, {283, 144}},
    {{226, 162}, {120, 209}},
};


} // namespace

class SegmentsTest : public QObject {
    Q_OBJECT
private slots:
    void newSegmentInFreshScheme();
    void firstSegmentsOfEveryRunArePinned();
    void nothingElseDrawsFromTheGenerator();
    void newSegmentBecomesCurrent();
    void steppingDoesNothingAtTheEnds();
    void steppingRedrawsOnlyWhenMarked();
    void steppingAfterFewerSegmentsWereOpened();
    void newSegmentWritesOnlyTwoVertices();
    void fortyFirstSegmentIsRefused();
};

void SegmentsTest::newSegmentInFreshScheme()
{
    Window w;
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QString());
    w.click("cmdNoviSegment");

    QCOMPARE(w.scheme().SegmentCount, 1);
    QCOMPARE(w.scheme().PointCount[1], 2);
    QCOMPARE(w.scheme().Points[1][1], FirstRunVertices[0][0]);
    QCOMPARE(w.scheme().Points[1][2], FirstRunVertices[0][1]);
    QCOMPARE(w.edit().CurrentSegment, 1);
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QStringLiteral("1"));
    QCOMPARE(w.window.redrawCount(), 1);
    QVERIFY(w.prompts.warnings.isEmpty());

    // Drawn and marked: the middle of the new piece carries the marked band's centre.
    const MapPoint a = FirstRunVertices[0][0];
    const MapPoint b = FirstRunVertices[0][1];
    const QRgb middle = w.window.canvas().image().pixel((a.X + b.X) / 2, (a.Y + b.Y) / 2);
    QCOMPARE(middle, BandColour(BandKind::Marked, 1));
}

void SegmentsTest::firstSegmentsOfEveryRunArePinned()
{
    for (int run = 0; run < 2; ++run) {
        Window w;
        for (int s = 1; s <= 3; ++s)
            w.click("cmdNoviSegment");
        for (int s = 1; s <= 3; ++s) {
            QCOMPARE(w.scheme().Points[s][1], FirstRunVertices[s - 1][0]);
            QCOMPARE(w.scheme().Points[s][2], FirstRunVertices[s - 1][1]);
            for (const MapPoint p : {w.scheme().Points[s][1], w.scheme().Points[s][2]}) {
                QVERIFY(p.X >= 100 && p.X <= 300);
                QVERIFY(p.Y >= 100 && p.Y <= 300);
            }
        }
    }
}

void SegmentsTest::nothingElseDrawsFromTheGenerator()
{
    Window w;
    w.click("cmdProsliSegment");
    w.click("cmdSlijedeciSegment");
    w.click("cmdNovaStanica");
    w.click("cmdNoviSemafor");
    w.click("cmdSacuvaj");
    w.click("cmdCrtaj");
    QWidget* canvas = w.window.findChild<QWidget*>(QStringLiteral("picCanvas"));
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
    QTest::mouseClick(canvas, Qt::RightButton, Qt::ShiftModifier, QPoint(200, 200));
    w.click("cmdNoviSegment");

    QCOMPARE(w.scheme().Points[1][1], FirstRunVertices[0][0]);
    QCOMPARE(w.scheme().Points[1][2], FirstRunVertices[0][1]);
}

void SegmentsTest::newSegmentBecomesCurrent()
{
    Window w;
    for (int s = 1; s <= 5; ++s)
        w.click("cmdNoviSegment");
    for (int s = 5; s > 2; --s)
        w.click("cmdProsliSegment");
    QCOMPARE(w.edit().CurrentSegment, 2);
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QStringLiteral("2"));

    w.click("cmdNoviSegment");
    QCOMPARE(w.scheme().SegmentCount, 6);
    QCOMPARE(w.edit().CurrentSegment, 6);
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QStringLiteral("6"));
}

void SegmentsTest::steppingDoesNothingAtTheEnds()
{
    Window w;
    // Fresh: both do nothing, not even fill the box.
    w.click("cmdProsliSegment");
    w.click("cmdSlijedeciSegment");
    QCOMPARE(w.edit().CurrentSegment, 0);
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QString());
    QCOMPARE(w.window.redrawCount(), 0);

    for (int s = 1; s <= 3; ++s)
        w.click("cmdNoviSegment");
    const int redraws = w.window.redrawCount();
    // A box that would be refreshed would lose this text.
    w.box("txtBrojSegmenta")->setText(QStringLiteral("untouched"));
    w.click("cmdSlijedeciSegment");
    QCOMPARE(w.edit().CurrentSegment, 3);
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QStringLiteral("untouched"));
    QCOMPARE(w.window.redrawCount(), redraws);

    w.click("cmdProsliSegment");
    w.click("cmdProsliSegment");
    QCOMPARE(w.edit().CurrentSegment, 1);
    QCOMPARE(w.window.redrawCount(), redraws + 2);
    w.box("txtBrojSegmenta")->setText(QStringLiteral("untouched"));
    w.click("cmdProsliSegment");
    QCOMPARE(w.edit().CurrentSegment, 1);
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QStringLiteral("untouched"));
    QCOMPARE(w.window.redrawCount(), redraws + 2);
}

void SegmentsTest::steppingRedrawsOnlyWhenMarked()
{
    Window w;
    w.click("cmdNoviSegment");
    w.click("cmdNoviSegment");
    w.window.model().display.MarkSegment = false;
    const int redraws = w.window.redrawCount();

    w.click("cmdProsliSegment");
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QStringLiteral("1"));
    QCOMPARE(w.window.redrawCount(), redraws);
    w.click("cmdSlijedeciSegment");
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QStringLiteral("2"));
    QCOMPARE(w.window.redrawCount(), redraws);

    w.click("cmdNoviSegment");
    QCOMPARE(w.window.redrawCount(), redraws + 1);

    w.window.model().display.MarkSegment = true;
    w.click("cmdProsliSegment");
    QCOMPARE(w.window.redrawCount(), redraws + 2);
    // The stepped-to segment is the marked one.
    const MapPoint a = w.scheme().Points[2][1];
    const MapPoint b = w.scheme().Points[2][2];
    QCOMPARE(w.window.canvas().image().pixel((a.X + b.X) / 2, (a.Y + b.Y) / 2),
             BandColour(BandKind::Marked, 1));
}

void SegmentsTest::steppingAfterFewerSegmentsWereOpened()
{
    Window w;
    for (int s = 1; s <= 5; ++s)
        w.click("cmdNoviSegment");
    w.scheme().SegmentCount = 2; // as after opening a smaller scheme

    w.click("cmdSlijedeciSegment");
    QCOMPARE(w.edit().CurrentSegment, 5);
    w.click("cmdProsliSegment");
    QCOMPARE(w.edit().CurrentSegment, 4);
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QStringLiteral("4"));
}

void SegmentsTest::newSegmentWritesOnlyTwoVertices()
{
    Window w;
    // Left over from a larger scheme that was open before.
    w.scheme().Points[1][3] = MapPoint{7, 8};
    w.scheme().Points[1][0] = MapPoint{0, 0};
    w.scheme().PointCount[1] = 4;

    w.click("cmdNoviSegment");
    QCOMPARE(w.scheme().PointCount[1], 2);
    QCOMPARE(w.scheme().Points[1][3], (MapPoint{7, 8}));
    QCOMPARE(w.scheme().Points[1][0], (MapPoint{0, 0}));
}

void SegmentsTest::fortyFirstSegmentIsRefused()
{
    Window w;
    for (int s = 1; s <= MaxSegments; ++s)
        w.click("cmdNoviSegment");
    QCOMPARE(w.scheme().SegmentCount, MaxSegments);
    QVERIFY(w.prompts.warnings.isEmpty());
    w.click("cmdProsliSegment");

    const Scheme before = w.scheme();
    const EditState editBefore = w.edit();
    const int redraws = w.window.redrawCount();
    w.click("cmdNoviSegment");

    QCOMPARE(w.prompts.warnings.size(), 1);
    QVERIFY(w.prompts.warnings.first().contains(QStringLiteral("40")));
    QVERIFY(w.scheme() == before);
    QVERIFY(w.edit() == editBefore);
    QCOMPARE(w.box("txtBrojSegmenta")->text(), QStringLiteral("39"));
    QCOMPARE(w.window.redrawCount(), redraws);

    // The refusal drew nothing from the generator: with room again, the next
    // segment gets the values that follow the fortieth segment's.
    SegmentCoordinateGenerator reference;
    for (int i = 0; i < 4 * MaxSegments; ++i)
        reference.nextUniform();
    std::array<int16_t, 4> expected{};
    for (int16_t& c : expected)
        c = static_cast<int16_t>(RoundHalfEven(reference.nextUniform() * 200 + 100));

    w.scheme().SegmentCount = MaxSegments - 1;
    w.click("cmdNoviSegment");
    const auto& p = w.scheme().Points[MaxSegments];
    QCOMPARE((std::array<int16_t, 4>{p[1].X, p[1].Y, p[2].X, p[2].Y}), expected);
}

QTEST_MAIN(SegmentsTest)
#include "test_segments.moc"
