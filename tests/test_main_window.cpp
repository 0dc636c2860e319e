#include "support/FakePrompts.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace tram;

namespace {

// Designed positions are in twips, 15 to a pixel.
QRect twips(int l, int t, int w, int h)
{
    return QRect(l / 15, t / 15, w / 15, h / 15);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void caption();
    void controls_data();
    void controls();
    void routeBoxes();
    void textBoxesStartEmptyExceptSizes();
    void accessibleNames_data();
    void accessibleNames();
    void canvasInsideFrame();
    void scrollBarAndRuler();
    void windowShowsEveryControl();
    void focusOrder();
    void menus();
    void modelStartsEmptyWithDisplayDefaults();
    void canvasStartsBlank();
    void aboutShowsThreeLines();
    void exitEndsTheProgram();
    void closingEndsTheProgram();
    void canvasOutlivesItsWidget();

private:
    FakePrompts* prompts = nullptr;
    MainWindow* window = nullptr;
};

void MainWindowTest::init()
{
    prompts = new FakePrompts;
    window = new MainWindow(prompts);
}

void MainWindowTest::cleanup()
{
    delete window;
    window = nullptr;
    delete prompts;
    prompts = nullptr;
}

void MainWindowTest::caption()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Editor mapa vlakonskog saobracaja"));
}

void MainWindowTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");

    auto row = [](const char* name, const char* kind, const char* text, QRect g, bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << QString::fromLatin1(text) << g
                            << enabled;
    };
    row("fraOkvir", "QFrame", "", twips(120, 120, 15000, 6000));
    row("hscScroll", "QScrollBar", "", twips(120, 6120, 15015, 255));
    row("lblLeft", "QLabel", "0", twips(120, 6360, 615, 255));
    row("lblMiddle", "QLabel", "500", twips(7440, 6360, 615, 255));
    row("lblRight", "QLabel", "1000", twips(14520, 6360, 615, 255));

    row("cmdNoviSemafor", "QPushButton", "Novi semafor", twips(360, 6720, 1335, 375));
    row("cmdNovaStanica", "QPushButton", "Nova stanica", twips(1800, 6720, 1335, 375));
    row("Label3", "QLabel", "Redni broj:", twips(360, 7200, 1335, 255));
    row("txtRedniBroj", "QLineEdit", "", twips(360, 7440, 1335, 285), false);
    row("Label4", "QLabel", "Na segmentu:", twips(1800, 7200, 1335, 255));
    row("txtNaSegmentu", "QLineEdit", "", twips(1800, 7440, 1335, 285));
    row("Label5", "QLabel", "Pozicija:", twips(360, 7800, 1335, 255));
    row("txtPozicija", "QLineEdit", "", twips(360, 8040, 1335, 285));
    row("Label9", "QLabel", "Vrijeme1:", twips(1800, 7800, 1335, 255));
    row("txtVrijeme1", "QLineEdit", "", twips(1800, 8040, 1335, 285));
    row("lblPocetnoStanje", "QLabel", "Pocetno stanje:", twips(360, 8400, 1335, 255));
    row("txtPocetnoStanje", "QLineEdit", "", twips(360, 8640, 1335, 285));
    row("Label10", "QLabel", "Vrijeme2:", twips(1800, 8400, 1335, 255));
    row("txtVrijeme2", "QLineEdit", "", twips(1800, 8640, 1335, 285));
    row("Label6", "QLabel", "Naziv stanice:", twips(360, 9000, 1335, 255));
    row("txtNazivStanice", "QLineEdit", "", twips(360, 9240, 2775, 285));
    row("cmdSacuvaj", "QPushButton", "Sacuvaj", twips(360, 9720, 1335, 375));
    row("cmdCrtaj", "QPushButton", "Crtaj", twips(1800, 9720, 1335, 375));

    row("cmdNoviSegment", "QPushButton", "Novi segment", twips(3600, 6720, 1335, 375));
    row("cmdObrisiSegment", "QPushButton", "Obrisi segment", twips(5040, 6720, 1335, 375), false);
    row("Label1", "QLabel", "Debljina linije:", twips(3600, 7200, 1335, 255));
    row("txtDrawWidth", "QLineEdit", "20", twips(3600, 7440, 1335, 285));
    row("Label2", "QLabel", "Velicina kruga:", twips(5040, 7200, 1335, 255));
    row("txtCircleSize", "QLineEdit", "10", twips(5040, 7440, 1335, 285));
    row("Label11", "QLabel", "Broj segmenta:", twips(4320, 7800, 1335, 255));
    row("txtBrojSegmenta", "QLineEdit", "", twips(4320, 8040, 1335, 285), false);
    row("cmdProsliSegment", "QPushButton", "<", twips(3600, 8520, 1335, 375));
    row("cmdSlijedeciSegment", "QPushButton", ">", twips(5040, 8520, 1335, 375));

    row("cmdNovaRuta", "QPushButton", "Nova ruta", twips(6840, 6720, 1335, 375));
    row("cmdObrisiRutu", "QPushButton", "Obrisi rutu", twips(8280, 6720, 1335, 375), false);
    row("Label12", "QLabel", "Broj rute:", twips(6840, 7200, 1335, 255));
    row("txtBrojRute", "QLineEdit", "", twips(6840, 7440, 1335, 285));
    row("Label13", "QLabel", "Broj segmenata:", twips(8280, 7200, 1335, 255));
    row("txtBrojSegmenataURuti", "QLineEdit", "", twips(8280, 7440, 1335, 285));
    row("cmdProslaRuta", "QPushButton", "<", twips(6840, 9120, 1335, 375));
    row("cmdSlijedecaRuta", "QPushButton", ">", twips(8280, 9120, 1335, 375));

    row("cmdNoviVlakon", "QPushButton", "Novi vlakon", twips(10080, 6720, 1335, 375));
    row("cmdObrisiVlakon", "QPushButton", "Obrisi vlakon", twips(11520, 6720, 1335, 375), false);
    row("Label8", "QLabel", "Serijski broj:", twips(10080, 7200, 1335, 255));
    row("txtSerijskiBroj", "QLineEdit", "", twips(10080, 7440, 1335, 285));
    row("Label7", "QLabel", "Ruta:", twips(11520, 7200, 1335, 255));
    row("txtRuta", "QLineEdit", "", twips(11520, 7440, 1335, 285));
    row("cmdProsli", "QPushButton", "<", twips(10080, 7920, 1335, 375));
    row("cmdSlijedeci", "QPushButton", ">", twips(11520, 7920, 1335, 375));

    row("chkShowCircles", "QCheckBox", "Prikazi krugove", twips(13320, 6720, 1695, 255));
    row("chkShowSpec1", "QCheckBox", "Prikazi stanice", twips(13320, 7080, 1695, 255));
    row("chkShowSpec2", "QCheckBox", "Prikazi semafore", twips(13320, 7440, 1695, 255));
    row("chkPrikaziRutu", "QCheckBox", "Prikazi rutu", twips(13320, 7800, 1695, 255));
    row("chkOznaciTrenutniSegment", "QCheckBox", "Oznaci segment", twips(13320, 8160, 1695, 255));
    row("Label14", "QLabel", "Koeficijent:", twips(13320, 8880, 1335, 255));
    row("txtResize", "QLineEdit", "", twips(13320, 9120, 1335, 285));
    row("cmdResize", "QPushButton", "Promijeni velicinu", twips(13320, 9600, 1335, 375));
}

void MainWindowTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);

    auto* w = window->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
    QCOMPARE(w->parentWidget(), window->centralWidget());
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->isEnabled(), enabled);
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        QCOMPARE(b->text(), text);
    else if (auto* l = qobject_cast<QLabel*>(w))
        QCOMPARE(l->text(), text);
    else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        QCOMPARE(e->text(), text);
        QVERIFY(!e->validator());
        QVERIFY(e->inputMask().isEmpty());
    }
    if (auto* c = qobject_cast<QCheckBox*>(w))
        QCOMPARE(c->isChecked(), name != QLatin1String("chkPrikaziRutu"));
}

void MainWindowTest::routeBoxes()
{
    const int lefts[] = {6840, 7320, 7800, 8280, 8760, 9240};
    const int tops[] = {7920, 8280, 8640};
    for (int i = 1; i <= 18; ++i) {
        auto* box = window->findChild<QLineEdit*>(QStringLiteral("txtRutaSegment_%1").arg(i));
        QVERIFY(box);
        QCOMPARE(box->geometry(), twips(lefts[(i - 1) % 6], tops[(i - 1) / 6], 375, 285));
        QVERIFY(box->text().isEmpty());
        QVERIFY(box->isEnabled());
    }
    QVERIFY(!window->findChild<QLineEdit*>(QStringLiteral("txtRutaSegment_0")));
    QVERIFY(!window->findChild<QLineEdit*>(QStringLiteral("txtRutaSegment_19")));
}

void MainWindowTest::textBoxesStartEmptyExceptSizes()
{
    for (auto* box : window->findChildren<QLineEdit*>()) {
        if (box->objectName() == QLatin1String("txtDrawWidth"))
            QCOMPARE(box->text(), QStringLiteral("20"));
        else if (box->objectName() == QLatin1String("txtCircleSize"))
            QCOMPARE(box->text(), QStringLiteral("10"));
        else
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    }
}

void MainWindowTest::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessible");
    QTest::newRow("txtRedniBroj") << "txtRedniBroj"
                                  << "Redni broj:";
    QTest::newRow("txtNaSegmentu") << "txtNaSegmentu"
                                   << "Na segmentu:";
    QTest::newRow("txtPozicija") << "txtPozicija"
                                 << "Pozicija:";
    QTest::newRow("txtVrijeme1") << "txtVrijeme1"
                                 << "Vrijeme1:";
    QTest::newRow("txtPocetnoStanje") << "txtPocetnoStanje"
                                      << "Pocetno stanje:";
    QTest::newRow("txtVrijeme2") << "txtVrijeme2"
                                 << "Vrijeme2:";
    QTest::newRow("txtNazivStanice") << "txtNazivStanice"
                                     << "Naziv stanice:";
    QTest::newRow("txtDrawWidth") << "txtDrawWidth"
                                  << "Debljina linije:";
    QTest::newRow("txtCircleSize") << "txtCircleSize"
                                   << "Velicina kruga:";
    QTest::newRow("txtBrojSegmenta") << "txtBrojSegmenta"
                                     << "Broj segmenta:";
    QTest::newRow("txtBrojRute") << "txtBrojRute"
                                 << "Broj rute:";
    QTest::newRow("txtBrojSegmenataURuti") << "txtBrojSegmenataURuti"
                                           << "Broj segmenata:";
    QTest::newRow("txtSerijskiBroj") << "txtSerijskiBroj"
                                     << "Serijski broj:";
    QTest::newRow("txtRuta") << "txtRuta"
                             << "Ruta:";
    QTest::newRow("txtResize") << "txtResize"
                               << "Koeficijent:";
    QTest::newRow("txtRutaSegment_1") << "txtRutaSegment_1"
                                      << "Segment 1";
    QTest::newRow("txtRutaSegment_18") << "txtRutaSegment_18"
                                       << "Segment 18";
}

void MainWindowTest::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessible);
    auto* box = window->findChild<QLineEdit*>(name);
    QVERIFY(box);
    QCOMPARE(box->accessibleName(), accessible);
}

void MainWindowTest::canvasInsideFrame()
{
    auto* frame = window->findChild<QWidget*>(QStringLiteral("fraOkvir"));
    auto* canvas = window->findChild<QWidget*>(QStringLiteral("picCanvas"));
    QVERIFY(frame && canvas);
    QCOMPARE(canvas->parentWidget(), frame);
    QCOMPARE(canvas->geometry(), QRect(0, 8, 1000, 392));
    QCOMPARE(window->canvas().image().size(), QSize(1000, 392));
}

void MainWindowTest::scrollBarAndRuler()
{
    auto* scroll = window->findChild<QScrollBar*>(QStringLiteral("hscScroll"));
    QCOMPARE(scroll->orientation(), Qt::Horizontal);
    QCOMPARE(scroll->minimum(), 0);
    QCOMPARE(scroll->maximum(), 1000);
    QCOMPARE(scroll->value(), 0);
    QVERIFY(!scroll->hasTracking());
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblLeft"))->alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignLeft);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblMiddle"))->alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblRight"))->alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
}

void MainWindowTest::windowShowsEveryControl()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect client = window->centralWidget()->rect();
    for (auto* w : window->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(client.contains(w->geometry()), qPrintable(w->objectName()));
    // The lowest control ends 10095 twips down, the rightmost 15135 twips across.
    QVERIFY(client.height() >= 673);
    QVERIFY(client.width() >= 1009);
    QVERIFY(window->centralWidget()->height() <= window->height());
}

void MainWindowTest::focusOrder()
{
    const QStringList expected = {"cmdNoviSegment",
                                  "cmdObrisiSegment",
                                  "txtDrawWidth",
                                  "chkShowCircles",
                                  "cmdCrtaj",
                                  "txtCircleSize",
                                  "txtRedniBroj",
                                  "txtNaSegmentu",
                                  "txtPozicija",
                                  "cmdNoviSemafor",
                                  "cmdSacuvaj",
                                  "chkShowSpec1",
                                  "chkShowSpec2",
                                  "txtPocetnoStanje",
                                  "txtVrijeme1",
                                  "txtVrijeme2",
                                  "cmdNovaStanica",
                                  "txtNazivStanice",
                                  "cmdObrisiVlakon",
                                  "cmdNoviVlakon",
                                  "txtRuta",
                                  "txtSerijskiBroj",
                                  "cmdProsli",
                                  "cmdSlijedeci",
                                  "txtBrojSegmenta",
                                  "cmdSlijedecaRuta",
                                  "cmdProslaRuta",
                                  "txtBrojRute",
                                  "txtBrojSegmenataURuti",
                                  "cmdNovaRuta",
                                  "cmdObrisiRutu",
                                  "txtRutaSegment_1",
                                  "txtRutaSegment_2",
                                  "txtRutaSegment_3",
                                  "txtRutaSegment_4",
                                  "txtRutaSegment_5",
                                  "txtRutaSegment_6",
                                  "txtRutaSegment_7",
                                  "txtRutaSegment_8",
                                  "txtRutaSegment_9",
                                  "txtRutaSegment_10",
                                  "txtRutaSegment_11",
                                  "txtRutaSegment_12",
                                  "txtRutaSegment_13",
                                  "txtRutaSegment_14",
                                  "txtRutaSegment_15",
                                  "txtRutaSegment_16",
                                  "txtRutaSegment_17",
                                  "txtRutaSegment_18",
                                  "chkPrikaziRutu",
                                  "chkOznaciTrenutniSegment",
                                  "cmdProsliSegment",
                                  "cmdSlijedeciSegment",
                                  "picCanvas",
                                  "hscScroll",
                                  "cmdResize",
                                  "txtResize"};
    // The chain also holds widgets that never take focus, such as labels.
    QWidget* w = window->findChild<QWidget*>(expected.first());
    for (int i = 1; i < expected.size(); ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        QCOMPARE(w->objectName(), expected[i]);
    }
}

void MainWindowTest::menus()
{
    const QList<QAction*> top = window->menuBar()->actions();
    QCOMPARE(top.size(), 2);
    QCOMPARE(top[0]->text(), QStringLiteral("Datoteka"));
    QCOMPARE(top[1]->text(), QStringLiteral("Pomoc"));
    QCOMPARE(top[0]->menu()->objectName(), QStringLiteral("mnuFile"));
    QCOMPARE(top[1]->menu()->objectName(), QStringLiteral("mnuHelp"));

    const QList<QAction*> file = top[0]->menu()->actions();
    const QStringList names = {"mnuOpen", "mnuSave", "mnuExportPicture", "mnuBreak", "mnuExit"};
    const QStringList captions = {"Otvori", "Sacuvaj", "Sacuvaj sliku", "", "Izlaz"};
    QCOMPARE(file.size(), names.size());
    for (int i = 0; i < file.size(); ++i) {
        QCOMPARE(file[i]->objectName(), names[i]);
        QCOMPARE(file[i]->text(), captions[i]);
        QCOMPARE(file[i]->isSeparator(), names[i] == QLatin1String("mnuBreak"));
        QVERIFY(file[i]->shortcut().isEmpty());
    }
    const QList<QAction*> help = top[1]->menu()->actions();
    QCOMPARE(help.size(), 1);
    QCOMPARE(help[0]->objectName(), QStringLiteral("mnuAbout"));
    QCOMPARE(help[0]->text(), QStringLiteral("O programu"));
    for (QAction* a : top + file + help)
        QVERIFY2(!a->text().contains(QLatin1Char('&')), qPrintable(a->text()));
}

void MainWindowTest::modelStartsEmptyWithDisplayDefaults()
{
    const EditorModel& m = window->model();
    QVERIFY(m.scheme == Scheme{});
    QVERIFY(m.edit == EditState{});
    QVERIFY(!m.drag.Dragging);
    QCOMPARE(m.scroll.ScrollOffset, int16_t(0));
    QVERIFY(m.display.ShowCircles);
    QVERIFY(m.display.ShowStations);
    QVERIFY(m.display.ShowLights);
    QVERIFY(m.display.MarkSegment);
    QVERIFY(!m.display.ShowRoute);
    QCOMPARE(m.display.CircleSize, int16_t(10));
    QCOMPARE(m.display.DrawWidth, int16_t(20));
}

void MainWindowTest::canvasStartsBlank()
{
    const QImage& image = window->canvas().image();
    const QRgb background = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(image.pixel(x, y), background);
    QCOMPARE(window->redrawCount(), 0);
}

void MainWindowTest::aboutShowsThreeLines()
{
    window->findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
    QCOMPARE(prompts->informations.size(), 1);
    const QStringList lines = prompts->informations.first().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("Editor mapa vlakonskog saobracaja"));
    QCOMPARE(lines[1], QStringLiteral("beta verzija"));
    QVERIFY(!lines[2].trimmed().isEmpty());
}

void MainWindowTest::exitEndsTheProgram()
{
    window->show();
    QTimer::singleShot(0, window, [this] { window->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger(); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(prompts->informations.isEmpty());
    QVERIFY(prompts->warnings.isEmpty());
}

void MainWindowTest::closingEndsTheProgram()
{
    window->show();
    QTimer::singleShot(0, window, [this] { window->close(); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
}

namespace {

// Paints the canvas widget as a late update would, when its window hides it
// on the way out. A picture of the same size made just before takes the
// memory a destroyed canvas would have left behind, so a paint of a
// destroyed canvas shows that picture's red.
class PaintOnHide : public QObject {
public:
    QList<QImage> paints;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) {
            auto* widget = static_cast<QWidget*>(watched);
            QImage other(widget->size(), QImage::Format_RGB32);
            other.fill(Qt::red);
            QImage picture(widget->size(), QImage::Format_RGB32);
            widget->render(&picture);
            paints.append(picture);
        }
        return false;
    }
};

} // namespace

// The window's members go before QWidget deletes its children: the canvas
// the canvas widget shows must not go with them.
void MainWindowTest::canvasOutlivesItsWidget()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QImage blank = window->canvas().image().copy();
    PaintOnHide painter;
    window->findChild<QWidget*>(QStringLiteral("picCanvas"))->installEventFilter(&painter);
    delete window;
    window = nullptr;
    QCOMPARE(painter.paints.size(), 1);
    QCOMPARE(painter.paints.first(), blank);
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
