#include "support/Schemes.h"
#include "support/Window.h"

#include <QFile>
#include <QTemporaryDir>
#include <optional>

using namespace tram;

// A user builds a small scheme with the window's own buttons, boxes and
// mouse, saves it, and gets the file byte for byte.
class EndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buildAndSaveSmallScheme();

private:
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(w->canvas, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(w->canvas, (from + to) / 2);
        QTest::mouseMove(w->canvas, to);
        QTest::mouseRelease(w->canvas, Qt::LeftButton, Qt::NoModifier, to);
    }
    QPoint vertex(int segment, int point)
    {
        const MapPoint p = w->scheme().Points[segment][point];
        return QPoint(p.X, p.Y);
    }

    std::optional<testwindow::Window> w;
};

void EndToEndTest::init()
{
    w.emplace();
    QVERIFY(w->show());
    QVERIFY(w->canvas);
}

void EndToEndTest::cleanup()
{
    w.reset();
}

void EndToEndTest::buildAndSaveSmallScheme()
{
    // One segment, its two vertices dragged to (10, 20) and (300, 40).
    w->click("cmdNoviSegment");
    QCOMPARE(w->scheme().PointCount[1], 2);
    drag(vertex(1, 1), QPoint(10, 20));
    drag(vertex(1, 2), QPoint(300, 40));
    QCOMPARE(vertex(1, 1), QPoint(10, 20));
    QCOMPARE(vertex(1, 2), QPoint(300, 40));

    w->click("cmdNoviSemafor");
    QVERIFY(w->type("txtNaSegmentu", "1"));
    QVERIFY(w->type("txtPozicija", "100"));
    QVERIFY(w->type("txtPocetnoStanje", "0"));
    QVERIFY(w->type("txtVrijeme2", "10"));
    QVERIFY(w->type("txtVrijeme1", "10"));
    w->click("cmdSacuvaj");

    w->click("cmdNovaStanica");
    QVERIFY(w->type("txtNaSegmentu", "1"));
    QVERIFY(w->type("txtPozicija", "25"));
    QVERIFY(w->type("txtVrijeme1", "10"));
    QVERIFY(w->type("txtNazivStanice", "Centar"));
    w->click("cmdSacuvaj");

    w->click("cmdNoviVlakon");
    QVERIFY(w->type("txtRuta", "1"));
    w->click("cmdSlijedeci"); // stores the route of tram 1

    w->click("cmdNovaRuta");
    QVERIFY(w->type("txtBrojSegmenataURuti", "1"));
    QVERIFY(w->type("txtRutaSegment_1", "1"));
    w->click("cmdSlijedecaRuta"); // stores route 1
    QVERIFY2(w->prompts.warnings.isEmpty(), qPrintable(w->prompts.warnings.join('\n')));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("primjer.sch"));
    w->prompts.fileAnswers << path;
    w->trigger("mnuSave");
    QVERIFY2(w->prompts.warnings.isEmpty(), qPrintable(w->prompts.warnings.join('\n')));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray expected = testschemes::WorkedExampleBytes();
    QCOMPARE(expected.size(), 77);
    QCOMPARE(file.readAll().toHex(' '), expected.toHex(' '));
}

QTEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
