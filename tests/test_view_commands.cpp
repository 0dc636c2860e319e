// The view commands without the window: the sizes "Crtaj" takes, the
// horizontal rescale, and the pan's ruler.

#include "editing/ViewCommands.h"
#include "support/Schemes.h"

#include <QTest>

using namespace tram;
using testschemes::AddSegment;

class ViewCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void sizes_data();
    void sizes();
    void rescale_data();
    void rescale();
    void rescaleTouchesOnlyVertexX();
    void pan_data();
    void pan();
};

void ViewCommandsTest::sizes_data()
{
    QTest::addColumn<QString>("widthText");
    QTest::addColumn<QString>("circleText");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("circleSize");
    QTest::addColumn<QString>("refusedBox"); // empty: taken

    QTest::newRow("start values") << "20"
                                  << "10" << 20 << 10 << "";
    QTest::newRow("3.5 rounds to 4") << "3.5"
                                     << "10" << 4 << 10 << "";
    QTest::newRow("2.5 rounds to 2") << "2.5"
                                     << "10" << 2 << 10 << "";
    QTest::newRow("12abc reads 12") << "12abc"
                                    << "10" << 12 << 10 << "";
    QTest::newRow("exponent") << "1E3"
                              << "10" << 1000 << 10 << "";
    QTest::newRow("hexadecimal") << "&H10"
                                 << "&O17" << 16 << 15 << "";
    QTest::newRow("0.6 rounds to 1") << "0.6"
                                     << "10" << 1 << 10 << "";
    QTest::newRow("widest") << "32767"
                            << "32767" << 32767 << 32767 << "";
    QTest::newRow("circle abc is 0") << "20"
                                     << "abc" << 20 << 0 << "";
    QTest::newRow("circle empty is 0") << "20"
                                       << "" << 20 << 0 << "";
    QTest::newRow("circle -5") << "20"
                               << "-5" << 20 << -5 << "";
    QTest::newRow("circle -32768") << "20"
                                   << "-32768" << 20 << -32768 << "";
    // No pen is narrower than a pixel: the width stays, the circle size is taken.
    QTest::newRow("width 0 keeps the width") << "0"
                                             << "7" << 20 << 7 << "";
    QTest::newRow("width 0.4 keeps the width") << "0.4"
                                               << "7" << 20 << 7 << "";
    QTest::newRow("negative width keeps the width") << "-3"
                                                    << "7" << 20 << 7 << "";
    QTest::newRow("empty width keeps the width") << ""
                                                 << "7" << 20 << 7 << "";
    QTest::newRow("abc width keeps the width") << "abc"
                                               << "7" << 20 << 7 << "";
    // Beyond 16 bits: refused, nothing changes.
    QTest::newRow("width 32768") << "32768"
                                 << "7" << 20 << 10 << "Debljina linije:";
    QTest::newRow("width -32769") << "-32769"
                                  << "7" << 20 << 10 << "Debljina linije:";
    QTest::newRow("width 1e10") << "1e10"
                                << "7" << 20 << 10 << "Debljina linije:";
    QTest::newRow("width overflowing") << "1e999"
                                       << "7" << 20 << 10 << "Debljina linije:";
    QTest::newRow("circle 40000") << "5"
                                  << "40000" << 20 << 10 << "Velicina kruga:";
    QTest::newRow("circle -32769") << "5"
                                   << "-32769" << 20 << 10 << "Velicina kruga:";
    QTest::newRow("both too big") << "99999"
                                  << "99999" << 20 << 10 << "Debljina linije:";
}

void ViewCommandsTest::sizes()
{
    QFETCH(QString, widthText);
    QFETCH(QString, circleText);
    QFETCH(int, width);
    QFETCH(int, circleSize);
    QFETCH(QString, refusedBox);
    DisplaySettings display;
    ApplyStartDisplay(display);
    DisplaySettings expected = display;
    expected.DrawWidth = int16_t(width);
    expected.CircleSize = int16_t(circleSize);

    const std::optional<Refusal> refusal = ApplySizes({widthText, circleText}, display);
    QCOMPARE(refusal.value_or(QString()),
             refusedBox.isEmpty()
                 ? QString()
                 : QStringLiteral("Vrijednost u polju \"%1\" mora biti izmedju -32768 i 32767.").arg(refusedBox));
    QVERIFY(display == expected);
}

void ViewCommandsTest::rescale_data()
{
    QTest::addColumn<QString>("coefficient");
    QTest::addColumn<QList<int>>("before"); // X of the four vertices
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<bool>("ignored");
    QTest::addColumn<QString>("refusal");

    const QList<int> xs{150, 153, 151, 100};
    QTest::newRow("2") << "2" << xs << QList<int>{300, 306, 302, 200} << false << "";
    QTest::newRow("0.5, halves to even") << "0.5" << xs << QList<int>{75, 76, 76, 50} << false << "";
    QTest::newRow("3, negative X") << "3" << QList<int>{-5, 0, 7, -100} << QList<int>{-15, 0, 21, -300} << false << "";
    QTest::newRow("1 changes nothing") << "1" << xs << xs << false << "";
    QTest::newRow("comma ends the number") << "1,5" << xs << xs << false << "";
    QTest::newRow("0 is ignored") << "0" << xs << xs << true << "";
    QTest::newRow("-1 is ignored") << "-1" << xs << xs << true << "";
    QTest::newRow("abc is ignored") << "abc" << xs << xs << true << "";
    QTest::newRow("empty is ignored") << "" << xs << xs << true << "";
    QTest::newRow("fits the 16 bits exactly")
        << "2" << QList<int>{-16384, 16383, 0, 5} << QList<int>{-32768, 32766, 0, 10} << false << "";
    // Every vertex is checked before any changes.
    const QString tooFar = QStringLiteral(
        "Koeficijent u polju \"Koeficijent:\" je prevelik: tacka %1 segmenta %2 "
        "dobila bi X %3, a X mora biti izmedju -32768 i 32767. Nista nije promijenjeno.");
    QTest::newRow("last vertex too far") << "2" << QList<int>{100, 100, 100, 20000} << QList<int>{100, 100, 100, 20000}
                                         << false << tooFar.arg(2).arg(2).arg(40000);
    QTest::newRow("first vertex too far") << "2" << QList<int>{20000, 100, 100, 100} << QList<int>{20000, 100, 100, 100}
                                          << false << tooFar.arg(1).arg(1).arg(40000);
    QTest::newRow("too far left") << "2" << QList<int>{100, -16385, 100, 100} << QList<int>{100, -16385, 100, 100}
                                  << false << tooFar.arg(2).arg(1).arg(-32770);
    QTest::newRow("overflowing coefficient")
        << "1e999" << xs << xs << false << "Vrijednost u polju \"Koeficijent:\" je prevelika. Nista nije promijenjeno.";
}

void ViewCommandsTest::rescale()
{
    QFETCH(QString, coefficient);
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    QFETCH(bool, ignored);
    QFETCH(QString, refusal);
    Scheme scheme;
    const QList<int> ys{120, 7, 9, 300};
    AddSegment(scheme, {{int16_t(before[0]), int16_t(ys[0])}, {int16_t(before[1]), int16_t(ys[1])}});
    AddSegment(scheme, {{int16_t(before[2]), int16_t(ys[2])}, {int16_t(before[3]), int16_t(ys[3])}});

    const std::optional<double> k = RescaleCoefficient(coefficient);
    QCOMPARE(!k, ignored);
    if (k)
        QCOMPARE(RescaleHorizontally(*k, scheme).value_or(QString()), refusal);
    const QList<MapPoint> vertices{scheme.Points[1][1], scheme.Points[1][2], scheme.Points[2][1], scheme.Points[2][2]};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(int(vertices[i].X), after[i]);
        QCOMPARE(int(vertices[i].Y), ys[i]);
    }
}

void ViewCommandsTest::rescaleTouchesOnlyVertexX()
{
    Scheme scheme;
    AddSegment(scheme, {{100, 100}, {200, 100}});
    scheme.Points[1][3] = {150, 50}; // beyond the segment's vertex count
    scheme.Points[2][1] = {160, 60}; // a segment not made
    scheme.Stations[1] = {1, 50.5, 10, {}};
    scheme.StationCount = 1;
    Scheme expected = scheme;
    expected.Points[1][1].X = 200;
    expected.Points[1][2].X = 400;

    QVERIFY(!RescaleHorizontally(2, scheme));
    QVERIFY(scheme == expected);
}

void ViewCommandsTest::pan_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QStringList>("ruler");
    QTest::newRow("start") << 0 << 0 << QStringList{"0", "500", "1000"};
    QTest::newRow("250") << 250 << 250 << QStringList{"250", "750", "1250"};
    QTest::newRow("1") << 1 << 1 << QStringList{"1", "501", "1001"};
    QTest::newRow("the far end") << 1000 << 1000 << QStringList{"1000", "1500", "2000"};
    QTest::newRow("beyond 16 bits") << 40000 << 32767 << QStringList{"32767", "33267", "33767"};
    QTest::newRow("below 16 bits") << -40000 << -32768 << QStringList{"-32768", "-32268", "-31768"};
}

void ViewCommandsTest::pan()
{
    QFETCH(int, value);
    QFETCH(int, offset);
    QFETCH(QStringList, ruler);
    ScrollState scroll;
    const RulerTexts texts = PanTo(value, scroll);
    QCOMPARE(int(scroll.ScrollOffset), offset);
    QCOMPARE((QStringList{texts.left, texts.middle, texts.right}), ruler);
}

QTEST_GUILESS_MAIN(ViewCommandsTest)
#include "test_view_commands.moc"
