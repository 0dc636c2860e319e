// The editing controls in the window: each button, box and mouse event reaches
// its command, the window shows what the command left, redraws when it should,
// and puts a refusal in a message box with everything else as it was. What the
// commands do to the model is tested without a window in test_stations,
// test_routes_trams, test_segments, test_canvas_editing and test_full_tables.

#include "files/SchemeFile.h"
#include "support/Schemes.h"
#include "support/Window.h"
#include "view/Renderer.h"

#include <QMap>
#include <QTemporaryDir>
#include <functional>

using namespace tram;
using testschemes::AddSegment;
using testwindow::Window;

namespace {

QStringList texts(Window& w, std::initializer_list<const char*> boxes)
{
    QStringList result;
    for (const char* box : boxes)
        result << w.text(box);
    return result;
}

QStringList propertyPanel(Window& w)
{
    return texts(w,
                 {"txtRedniBroj", "txtNaSegmentu", "txtPozicija", "txtVrijeme1", "txtVrijeme2", "txtPocetnoStanje",
                  "txtNazivStanice"});
}

QStringList routePanel(Window& w)
{
    QStringList result = texts(w, {"txtBrojRute", "txtBrojSegmenataURuti"});
    for (int k = 1; k <= MaxRouteSlots; ++k)
        result << w.text(QByteArray("txtRutaSegment_" + QByteArray::number(k)).constData());
    return result;
}

// The route panel expected: the given texts, the other boxes empty.
QStringList filled(QStringList texts)
{
    while (texts.size() < 2 + MaxRouteSlots)
        texts << QString();
    return texts;
}

QMap<QString, QString> everyBox(Window& w)
{
    QMap<QString, QString> result;
    for (const QLineEdit* box : w.window.findChildren<QLineEdit*>())
        result.insert(box->objectName(), box->text());
    return result;
}

// Shift+left on the canvas. Objects on a segment without vertices lie at the
// origin; (1, 1) is within reach of it (QTest would take (0, 0) as "the
// widget's centre").
void pickAtOrigin(Window& w)
{
    QTest::mouseClick(w.canvas, Qt::LeftButton, Qt::ShiftModifier, QPoint(1, 1));
}

QRgb pixelBetween(Window& w, MapPoint a, MapPoint b)
{
    return w.pixel({(a.X + b.X) / 2, (a.Y + b.Y) / 2});
}

using SetUp = std::function<void(Window&)>;

} // namespace

Q_DECLARE_METATYPE(SetUp)

class WindowEditingTest : public QObject {
    Q_OBJECT
private slots:
    void propertyPanelShowsAndStores();
    void routePanelStoresWhatIsTyped();
    void routeCommandsRedrawOnlyWhileShowRouteIsOn_data();
    void routeCommandsRedrawOnlyWhileShowRouteIsOn();
    void tramPanelStoresAndNeverRedraws();
    void segmentButtonsShowAndRedraw();
    void nothingElseDrawsFromTheGenerator();
    void leftButtonGrabsAndPicks();
    void rightButtonShowsTheSegment();
    void refusalEndsDrag();
    void keysAndMiddleButtonDoNothing();
    void refusalsShowAndChangeNothing_data();
    void refusalsShowAndChangeNothing();
};

// A new object overwrites every box; "Sacuvaj" stores what is typed and keeps
// it in the boxes; a pick shows the object again. None of it redraws.
void WindowEditingTest::propertyPanelShowsAndStores()
{
    Window w;
    for (QLineEdit* box : w.window.findChildren<QLineEdit*>())
        box->setText(QStringLiteral("typed"));
    w.click("cmdNovaStanica");
    QCOMPARE(propertyPanel(w), (QStringList{"1", "0", "0", "10", "", "", ""}));
    QVERIFY(w.type("txtNaSegmentu", "3"));
    QVERIFY(w.type("txtPozicija", "12.25"));
    QVERIFY(w.type("txtVrijeme1", "-7"));
    QVERIFY(w.type("txtNazivStanice", "Ilidza"));
    w.click("cmdSacuvaj");
    QCOMPARE(w.scheme().Stations[1], (Station{3, 12.25, -7, testschemes::PaddedName(QStringLiteral("Ilidza"))}));
    QCOMPARE(propertyPanel(w), (QStringList{"1", "3", "12.25", "-7", "", "", "Ilidza"}));

    w.click("cmdNoviSemafor");
    QCOMPARE(propertyPanel(w), (QStringList{"1", "0", "0", "10", "10", "0", ""}));
    QVERIFY(w.type("txtNaSegmentu", "4"));
    QVERIFY(w.type("txtVrijeme2", "45.5"));
    QVERIFY(w.type("txtPocetnoStanje", "2"));
    w.click("cmdSacuvaj");
    QCOMPARE(w.scheme().Lights[1], (TrafficLight{4, 0, 2, 46, 10, 0}));
    QCOMPARE(w.text("txtVrijeme2"), QStringLiteral("45.5"));

    // Both lie at the origin: the light wins, and the panel shows it as stored.
    QVERIFY(w.type("txtNaSegmentu", "9"));
    w.scheme().Lights[1].Segment = 0;
    w.scheme().Stations[1].Segment = 0;
    pickAtOrigin(w);
    QCOMPARE(propertyPanel(w), (QStringList{"1", "0", "0", "10", "46", "2", ""}));
    QVERIFY(w.prompts.warnings.isEmpty());
    QCOMPARE(w.window.redrawCount(), 0);
}

// The boxes go into the route on display, which the panel then shows; opening
// a file changes no panel, and the next press stores what it shows.
void WindowEditingTest::routePanelStoresWhatIsTyped()
{
    Window w;
    w.click("cmdNovaRuta");
    QCOMPARE(routePanel(w), filled({"1", "0"}));
    QVERIFY(w.type("txtBrojSegmenataURuti", "3"));
    QVERIFY(w.type("txtRutaSegment_1", "5"));
    QVERIFY(w.type("txtRutaSegment_3", "9"));
    QVERIFY(w.type("txtRutaSegment_4", "11"));
    QVERIFY(w.type("txtBrojRute", "7")); // only shows
    w.click("cmdSlijedecaRuta");
    QCOMPARE(w.scheme().RouteSegments[1][3], 9);
    QCOMPARE(routePanel(w), filled({"1", "3", "5", "0", "9"}));

    w.click("cmdNovaRuta");
    w.click("cmdNovaRuta");
    QVERIFY(w.type("txtBrojSegmenataURuti", "1"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("jedna.sch"));
    const auto refusal = SaveSchemeFile(path, Scheme{});
    QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    w.prompts.fileAnswers << path;
    w.trigger("mnuOpen");
    QCOMPARE(w.scheme().RouteCount, 0);
    QCOMPARE(routePanel(w), filled({"3", "1"}));
    w.click("cmdProslaRuta");
    QCOMPARE(w.scheme().RouteLength[3], 1);
    QCOMPARE(w.edit().CurrentRoute, 2);
}

void WindowEditingTest::routeCommandsRedrawOnlyWhileShowRouteIsOn_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QByteArray>("button");
    for (const bool on : {false, true}) {
        for (const char* button : {"cmdNovaRuta", "cmdProslaRuta", "cmdSlijedecaRuta"})
            QTest::addRow("%s %s", button, on ? "on" : "off") << on << QByteArray(button);
    }
}

void WindowEditingTest::routeCommandsRedrawOnlyWhileShowRouteIsOn()
{
    QFETCH(bool, on);
    QFETCH(QByteArray, button);
    Window w;
    if (on)
        w.clickCheckBox("chkPrikaziRutu");
    QCOMPARE(w.display().ShowRoute, on);
    const int before = w.window.redrawCount();
    w.click(button.constData()); // in a fresh scheme the steps are at both ends at once
    QCOMPARE(w.window.redrawCount(), before + (on ? 1 : 0));
    w.click("cmdNovaRuta");
    w.click(button.constData());
    QCOMPARE(w.window.redrawCount(), before + (on ? 3 : 0));
}

void WindowEditingTest::tramPanelStoresAndNeverRedraws()
{
    Window w;
    w.clickCheckBox("chkPrikaziRutu");
    const int before = w.window.redrawCount();
    w.click("cmdNoviVlakon");
    QCOMPARE(texts(w, {"txtSerijskiBroj", "txtRuta"}), QStringList({"101", "3"}));
    w.click("cmdNoviVlakon");
    QVERIFY(w.type("txtRuta", " 9 "));
    QVERIFY(w.type("txtSerijskiBroj", "150")); // only shows
    w.click("cmdSlijedeci");
    QCOMPARE(w.scheme().TramRoute[2], 9);
    QCOMPARE(texts(w, {"txtSerijskiBroj", "txtRuta"}), QStringList({"102", "9"}));
    w.click("cmdProsli");
    QCOMPARE(texts(w, {"txtSerijskiBroj", "txtRuta"}), QStringList({"101", "3"}));
    QCOMPARE(w.window.redrawCount(), before);
}

// A new segment is shown and drawn marked. A step shows the new number and
// redraws only while the segment is marked; at either end nothing happens,
// not even a refresh of the box.
void WindowEditingTest::segmentButtonsShowAndRedraw()
{
    Window w;
    w.click("cmdProsliSegment");
    w.click("cmdSlijedeciSegment");
    QCOMPARE(w.text("txtBrojSegmenta"), QString());
    QCOMPARE(w.window.redrawCount(), 0);
    w.click("cmdNoviSegment");
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("1"));
    QCOMPARE(w.window.redrawCount(), 1);
    QCOMPARE(pixelBetween(w, w.scheme().Points[1][1], w.scheme().Points[1][2]), BandColour(BandKind::Marked, 1));

    w.click("cmdNoviSegment");
    w.click("cmdNoviSegment");
    w.box("txtBrojSegmenta")->setText(QStringLiteral("untouched"));
    w.click("cmdSlijedeciSegment");
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("untouched"));
    QCOMPARE(w.window.redrawCount(), 3);

    w.click("cmdProsliSegment");
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("2"));
    QCOMPARE(w.window.redrawCount(), 4);
    QCOMPARE(pixelBetween(w, w.scheme().Points[2][1], w.scheme().Points[2][2]), BandColour(BandKind::Marked, 1));

    w.clickCheckBox("chkOznaciTrenutniSegment");
    const int redraws = w.window.redrawCount();
    w.click("cmdProsliSegment");
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("1"));
    w.box("txtBrojSegmenta")->setText(QStringLiteral("untouched"));
    w.click("cmdProsliSegment");
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("untouched"));
    w.click("cmdSlijedeciSegment");
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("2"));
    QCOMPARE(w.window.redrawCount(), redraws);
}

// The window's generator serves "Novi segment" alone: whatever else runs
// first, the first new segment lands where a fresh generator puts it.
void WindowEditingTest::nothingElseDrawsFromTheGenerator()
{
    Window w;
    w.click("cmdProsliSegment");
    w.click("cmdSlijedeciSegment");
    w.click("cmdNovaStanica");
    w.click("cmdNoviSemafor");
    w.click("cmdSacuvaj");
    w.click("cmdCrtaj");
    QTest::mouseClick(w.canvas, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
    QTest::mouseClick(w.canvas, Qt::RightButton, Qt::ShiftModifier, QPoint(200, 200));
    w.click("cmdNoviSegment");

    Scheme fresh;
    EditState edit;
    SegmentCoordinateGenerator generator;
    QVERIFY(!NewSegment(fresh, edit, generator));
    QCOMPARE(w.scheme().Points[1][1], fresh.Points[1][1]);
    QCOMPARE(w.scheme().Points[1][2], fresh.Points[1][2]);
}

// Fractional positions, the buttons and the modifiers reach the commands as
// they came: Ctrl and Alt alone do not pick, Shift does and the panel shows
// the object. Every move of a drag redraws, and the picture follows.
void WindowEditingTest::leftButtonGrabsAndPicks()
{
    Window w;
    AddSegment(w.scheme(), {{10, 20}, {300, 100}});
    w.scheme().Stations[++w.scheme().StationCount] = Station{1, 7, 10, {}};
    w.display().CircleSize = 0;
    w.move({150, 150}, Qt::NoButton);
    w.press({10.5, 20.5}, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier);
    QVERIFY(w.drag().Dragging);
    QCOMPARE(w.window.redrawCount(), 0);
    w.move({110.4, 70.6});
    w.move({100.5, 300.5});
    QCOMPARE(w.window.redrawCount(), 2);
    QVERIFY(w.pixel({200, 200}) != Canvas::Background);
    QCOMPARE(w.pixel({150, 50}), Canvas::Background);
    w.release({100.5, 300.5});
    w.move({110.4, 70.6}, Qt::NoButton);
    QCOMPARE(w.scheme().Points[1][1], (MapPoint{100, 300}));
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Nothing);

    w.display().CircleSize = 10;
    w.press({103, 296}, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!w.drag().Dragging);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Station);
    QCOMPARE(propertyPanel(w), (QStringList{"1", "1", "7", "10", "", "", ""}));
    QCOMPARE(w.window.redrawCount(), 2);
}

// A picked segment is shown and drawn; a click on nothing does neither.
void WindowEditingTest::rightButtonShowsTheSegment()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    AddSegment(w.scheme(), {{100, 150}, {200, 150}, {300, 250}});
    w.press({200, 180}, Qt::RightButton);
    QCOMPARE(w.text("txtBrojSegmenta"), QString());
    QCOMPARE(w.window.redrawCount(), 0);

    QTest::mouseClick(w.canvas, Qt::RightButton, Qt::NoModifier, QPoint(250, 200));
    QCOMPARE(w.edit().CurrentSegment, 2);
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("2"));
    QCOMPARE(w.window.redrawCount(), 1);
    QTest::mouseClick(w.canvas, Qt::RightButton, Qt::ShiftModifier, QPoint(150, 100));
    QCOMPARE(w.scheme().PointCount[1], 3);
    QCOMPARE(w.text("txtBrojSegmenta"), QStringLiteral("1"));
    QCOMPARE(w.window.redrawCount(), 2);
}

// The refusal box opens while the left button still holds a drag; the box,
// not the canvas, gets that button's release.
void WindowEditingTest::refusalEndsDrag()
{
    Window w;
    const int full = AddSegment(w.scheme(), {});
    for (int k = 1; k <= MaxPoints; ++k)
        w.scheme().Points[full][k] = MapPoint{int16_t(10 * k), 100};
    w.scheme().PointCount[full] = MaxPoints;
    const int dragged = AddSegment(w.scheme(), {{100, 300}, {300, 300}});
    w.press({100, 300});
    w.move({120, 310});

    w.send(QEvent::MouseButtonPress, QPointF(15, 100), Qt::RightButton, Qt::LeftButton | Qt::RightButton,
           Qt::ShiftModifier);
    QCOMPARE(w.prompts.warnings.size(), 1);
    QVERIFY(!w.drag().Dragging);

    w.move({200, 250}, Qt::NoButton);
    QCOMPARE(w.scheme().Points[dragged][1], (MapPoint{120, 310}));
    QCOMPARE(w.scheme().PointCount[full], MaxPoints);
}

void WindowEditingTest::keysAndMiddleButtonDoNothing()
{
    Window w;
    AddSegment(w.scheme(), {{100, 100}, {300, 100}});
    w.scheme().Stations[++w.scheme().StationCount].Segment = 1;
    const Scheme before = w.scheme();
    QTest::mouseClick(w.canvas, Qt::MiddleButton, Qt::ShiftModifier, QPoint(100, 100));
    w.press({100, 100}, Qt::MiddleButton);
    w.move({110, 110}, Qt::MiddleButton);
    w.release({110, 110}, Qt::MiddleButton);
    QTest::keyClick(w.canvas, Qt::Key_Delete);
    QTest::keyClick(w.canvas, Qt::Key_Insert, Qt::ShiftModifier);
    QVERIFY(!w.drag().Dragging);
    QVERIFY(w.scheme() == before);
    QVERIFY(w.edit() == EditState{});
    QCOMPARE(w.window.redrawCount(), 0);
}

void WindowEditingTest::refusalsShowAndChangeNothing_data()
{
    QTest::addColumn<SetUp>("setUp");
    QTest::addColumn<QByteArray>("box"); // typed into before the press
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("button"); // empty: Shift + right click on (15, 100)
    QTest::addColumn<int>("redraws");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, SetUp setUp, const char* box, const char* typed, const char* button,
                        const char* message) {
        QTest::newRow(name) << setUp << QByteArray(box) << QString::fromLatin1(typed) << QByteArray(button)
                            << (*button ? 0 : 1) << QString::fromLatin1(message);
    };
    const SetUp nothing = [](Window&) {};

    row(
        "Novi segment, table full", [](Window& w) { w.scheme().SegmentCount = MaxSegments; }, "", "", "cmdNoviSegment",
        "Novi segment nije dodan: vec postoji najvise 40 segmenata.");
    row(
        "Nova stanica, table full", [](Window& w) { w.scheme().StationCount = MaxStations; }, "", "", "cmdNovaStanica",
        "Nova stanica nije dodana: vec postoji najvise 100 stanica.");
    row(
        "Novi semafor, table full", [](Window& w) { w.scheme().LightCount = MaxLights; }, "", "", "cmdNoviSemafor",
        "Novi semafor nije dodan: vec postoji najvise 100 semafora.");
    row(
        "Nova ruta, table full",
        [](Window& w) {
            w.scheme().RouteCount = MaxRoutes;
            w.clickCheckBox("chkPrikaziRutu");
        },
        "txtBrojSegmenataURuti", "1", "cmdNovaRuta", "Nova ruta nije dodana: vec postoji najvise 20 ruta.");
    row(
        "Novi vlakon, table full", [](Window& w) { w.scheme().TramCount = MaxTrams; }, "txtRuta", "8", "cmdNoviVlakon",
        "Novi vlakon nije dodan: vec postoji najvise 100 vlakona.");
    // The segment is picked and drawn all the same; here it is the current one already.
    row(
        "Shift + right click, segment full",
        [](Window& w) {
            const int full = AddSegment(w.scheme(), {});
            for (int k = 1; k <= MaxPoints; ++k)
                w.scheme().Points[full][k] = MapPoint{int16_t(10 * k), 100};
            w.scheme().PointCount[full] = MaxPoints;
            w.edit().CurrentSegment = uint8_t(full);
            w.box("txtBrojSegmenta")->setText(QStringLiteral("1"));
        },
        "", "", "", "Nova tacka nije dodana: vec postoji najvise 50 tacaka u segmentu 1.");
    row(
        "Sacuvaj, time beyond 16 bits", [](Window& w) { w.click("cmdNovaStanica"); }, "txtVrijeme1", "32768",
        "cmdSacuvaj", "Vrijednost u polju \"Vrijeme1:\" mora biti izmedju -32768 i 32767.");
    row("Crtaj, width beyond 16 bits", nothing, "txtDrawWidth", "32768", "cmdCrtaj",
        "Vrijednost u polju \"Debljina linije:\" mora biti izmedju -32768 i 32767.");
    row(
        "Promijeni velicinu, X beyond 16 bits",
        [](Window& w) {
            AddSegment(w.scheme(), {{100, 100}, {20000, 100}});
        },
        "txtResize", "2", "cmdResize",
        "Koeficijent u polju \"Koeficijent:\" je prevelik: tacka 2 segmenta 1 dobila bi X 40000, "
        "a X mora biti izmedju -32768 i 32767. Nista nije promijenjeno.");
    row("Nova ruta, length 19", nothing, "txtBrojSegmenataURuti", "19", "cmdNovaRuta",
        "Vrijednost u polju \"Broj segmenata:\" mora biti izmedju 0 i 18.");
    row("Novi vlakon, route 256", nothing, "txtRuta", "256", "cmdNoviVlakon",
        "Vrijednost u polju \"Ruta:\" mora biti izmedju 0 i 255.");
}

// One message box with the command's text; the model, the display and every
// box as they were, the typed texts there to be corrected.
void WindowEditingTest::refusalsShowAndChangeNothing()
{
    QFETCH(SetUp, setUp);
    QFETCH(QByteArray, box);
    QFETCH(QString, typed);
    QFETCH(QByteArray, button);
    QFETCH(int, redraws);
    QFETCH(QString, message);
    Window w;
    setUp(w);
    QVERIFY(box.isEmpty() || w.type(box.constData(), typed));
    const Scheme scheme = w.scheme();
    const EditState edit = w.edit();
    const DisplaySettings display = w.display();
    const QMap<QString, QString> boxes = everyBox(w);
    const int redrawsBefore = w.window.redrawCount();

    if (button.isEmpty())
        w.press({15, 100}, Qt::RightButton, Qt::ShiftModifier);
    else
        w.click(button.constData());
    QCOMPARE(w.prompts.warnings, QStringList{message});
    QVERIFY(w.scheme() == scheme);
    QVERIFY(w.edit() == edit);
    QVERIFY(w.display() == display);
    QCOMPARE(everyBox(w), boxes);
    QCOMPARE(w.window.redrawCount(), redrawsBefore + redraws);
}

QTEST_MAIN(WindowEditingTest)
#include "test_window_editing.moc"
