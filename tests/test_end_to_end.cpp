#include "support/FakePrompts.h"
#include "support/Schemes.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

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
    void click(const char* name)
    {
        auto* button = window->findChild<QPushButton*>(name);
        QVERIFY2(button, name);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void type(const char* name, const QString& text)
    {
        auto* box = window->findChild<QLineEdit*>(name);
        QVERIFY2(box && box->isEnabled(), name);
        box->clear();
        QTest::keyClicks(box, text);
    }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(canvas, (from + to) / 2);
        QTest::mouseMove(canvas, to);
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, to);
    }
    QPoint vertex(int segment, int point)
    {
        const MapPoint p = window->model().scheme.Points[segment][point];
        return QPoint(p.X, p.Y);
    }

    FakePrompts* prompts = nullptr;
    MainWindow* window = nullptr;
    QWidget* canvas = nullptr;
};

void EndToEndTest::init()
{
    prompts = new FakePrompts;
    window = new MainWindow(prompts);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    canvas = window->findChild<QWidget*>("picCanvas");
    QVERIFY(canvas);
}

void EndToEndTest::cleanup()
{
    delete window;
    delete prompts;
}

void EndToEndTest::buildAndSaveSmallScheme()
{
    // One segment, its two vertices dragged to (10, 20) and (300, 40).
    click("cmdNoviSegment");
    QCOMPARE(window->model().scheme.PointCount[1], 2);
    drag(vertex(1, 1), QPoint(10, 20));
    drag(vertex(1, 2), QPoint(300, 40));
    QCOMPARE(vertex(1, 1), QPoint(10, 20));
    QCOMPARE(vertex(1, 2), QPoint(300, 40));

    click("cmdNoviSemafor");
    type("txtNaSegmentu", "1");
    type("txtPozicija", "100");
    type("txtPocetnoStanje", "0");
    type("txtVrijeme2", "10");
    type("txtVrijeme1", "10");
    click("cmdSacuvaj");

    click("cmdNovaStanica");
    type("txtNaSegmentu", "1");
    type("txtPozicija", "25");
    type("txtVrijeme1", "10");
    type("txtNazivStanice", "Centar");
    click("cmdSacuvaj");

    click("cmdNoviVlakon");
    type("txtRuta", "1");
    click("cmdSlijedeci"); // stores the route of tram 1

    click("cmdNovaRuta");
    type("txtBrojSegmenataURuti", "1");
    type("txtRutaSegment_1", "1");
    click("cmdSlijedecaRuta"); // stores route 1
    QVERIFY2(prompts->warnings.isEmpty(), qPrintable(prompts->warnings.join('\n')));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("primjer.sch"));
    prompts->fileAnswers << path;
    window->findChild<QAction*>("mnuSave")->trigger();
    QVERIFY2(prompts->warnings.isEmpty(), qPrintable(prompts->warnings.join('\n')));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray expected = testschemes::WorkedExampleBytes();
    QCOMPARE(expected.size(), 77);
    QCOMPARE(file.readAll().toHex(' '), expected.toHex(' '));
}

QTEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
