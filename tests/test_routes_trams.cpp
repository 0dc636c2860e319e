#include "files/SchemeFile.h"
#include "support/Window.h"

#include <QTemporaryDir>
#include <optional>

using namespace tram;

class RoutesTramsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // Routes
    void newRouteInFreshScheme();
    void nextOnLastRouteStoresAndShowsIt();
    void lengthDecidesWhichBoxesAreRead();
    void emptyBoxWithinLengthStoresZero();
    void slotsBeyondNewLengthKeepTheirValues();
    void newRouteKeepsEditsOfShownRoute();
    void previousOnFirstRouteStoresAndShowsIt();
    void elementZeroBeforeFirstRoute();
    void typedRouteNumberChangesNothing();
    void redrawOnlyWhileShowRouteIsOn_data();
    void redrawOnlyWhileShowRouteIsOn();
    void routeCommandsAfterOpen();
    void refusedRouteValues_data();
    void refusedRouteValues();
    void acceptedRoundedValues();
    void twentyFirstRouteIsRefused();

    // Trams
    void newTramsGetSerialAndRoute3();
    void typedSerialChangesNothing();
    void endsStoreAndShowTheSameTram();
    void elementZeroBeforeFirstTram();
    void tramRouteReadsNumbers_data();
    void tramRouteReadsNumbers();
    void tramCommandsNeverRedraw();
    void refusedTramRoute_data();
    void refusedTramRoute();
    void hundredAndFirstTramIsRefused();

private:
    static QByteArray routeBox(int k) { return QByteArray("txtRutaSegment_") + QByteArray::number(k); }
    void typeRoute(const QString& length, const QStringList& boxes)
    {
        w->type("txtBrojSegmenataURuti", length);
        for (int k = 1; k <= MaxRouteSlots; ++k)
            w->type(routeBox(k).constData(), k <= boxes.size() ? boxes[k - 1] : QString());
    }
    QStringList routeBoxes()
    {
        QStringList texts;
        for (int k = 1; k <= MaxRouteSlots; ++k)
            texts << w->text(routeBox(k).constData());
        return texts;
    }
    QStringList routePanel() { return QStringList{w->text("txtBrojRute"), w->text("txtBrojSegmenataURuti")} + routeBoxes(); }
    QStringList tramPanel() { return {w->text("txtSerijskiBroj"), w->text("txtRuta")}; }
    static QStringList emptyBoxes(int from = 1)
    {
        QStringList texts;
        for (int k = from; k <= MaxRouteSlots; ++k)
            texts << QString();
        return texts;
    }
    void showRoute(bool on)
    {
        if (w->find<QCheckBox>("chkPrikaziRutu")->isChecked() != on)
            w->clickCheckBox("chkPrikaziRutu");
        QCOMPARE(w->display().ShowRoute, on);
    }
    const Scheme& scheme() { return w->scheme(); }
    const EditState& edit() { return w->edit(); }

    std::optional<testwindow::Window> w;
};

void RoutesTramsTest::init()
{
    w.emplace();
}

void RoutesTramsTest::cleanup()
{
    w.reset();
}

void RoutesTramsTest::newRouteInFreshScheme()
{
    w->click("cmdNovaRuta");
    QCOMPARE(w->text("txtBrojRute"), QStringLiteral("1"));
    QCOMPARE(w->text("txtBrojSegmenataURuti"), QStringLiteral("0"));
    QCOMPARE(routeBoxes(), emptyBoxes());
    QCOMPARE(scheme().RouteCount, 1);
    QCOMPARE(edit().CurrentRoute, 1);
}

void RoutesTramsTest::nextOnLastRouteStoresAndShowsIt()
{
    w->click("cmdNovaRuta");
    typeRoute("3", {"5", "7", "9"});
    w->click("cmdSlijedecaRuta");
    QCOMPARE(edit().CurrentRoute, 1);
    QCOMPARE(scheme().RouteLength[1], 3);
    QCOMPARE(scheme().RouteSegments[1][1], 5);
    QCOMPARE(scheme().RouteSegments[1][2], 7);
    QCOMPARE(scheme().RouteSegments[1][3], 9);
    QCOMPARE(routePanel(), QStringList({"1", "3", "5", "7", "9"}) + emptyBoxes(4));
}

void RoutesTramsTest::lengthDecidesWhichBoxesAreRead()
{
    w->click("cmdNovaRuta");
    typeRoute("2", {"4", "6", "8", "10"});
    w->click("cmdProslaRuta");
    QCOMPARE(scheme().RouteLength[1], 2);
    QCOMPARE(scheme().RouteSegments[1][1], 4);
    QCOMPARE(scheme().RouteSegments[1][2], 6);
    QCOMPARE(scheme().RouteSegments[1][3], 0);
    QCOMPARE(scheme().RouteSegments[1][4], 0);
    QCOMPARE(routeBoxes(), QStringList({"4", "6"}) + emptyBoxes(3));
}

void RoutesTramsTest::emptyBoxWithinLengthStoresZero()
{
    w->click("cmdNovaRuta");
    typeRoute("3", {"5", "", "9"});
    w->click("cmdSlijedecaRuta");
    QCOMPARE(scheme().RouteSegments[1][2], 0);
    QCOMPARE(routeBoxes(), QStringList({"5", "0", "9"}) + emptyBoxes(4));
}

void RoutesTramsTest::slotsBeyondNewLengthKeepTheirValues()
{
    w->click("cmdNovaRuta");
    typeRoute("3", {"5", "7", "9"});
    w->click("cmdSlijedecaRuta");
    w->type("txtBrojSegmenataURuti", QStringLiteral("1"));
    w->click("cmdSlijedecaRuta");
    QCOMPARE(scheme().RouteLength[1], 1);
    QCOMPARE(scheme().RouteSegments[1][2], 7);
    QCOMPARE(scheme().RouteSegments[1][3], 9);
    QCOMPARE(routeBoxes(), QStringList({"5"}) + emptyBoxes(2));
    // Lengthening again without typing the boxes stores 0, not the old values.
    w->type("txtBrojSegmenataURuti", QStringLiteral("2"));
    w->click("cmdSlijedecaRuta");
    QCOMPARE(routeBoxes(), QStringList({"5", "0"}) + emptyBoxes(3));
    QCOMPARE(scheme().RouteSegments[1][3], 9);
}

void RoutesTramsTest::newRouteKeepsEditsOfShownRoute()
{
    w->click("cmdNovaRuta");
    typeRoute("2", {"3", "1"});
    w->click("cmdNovaRuta");
    QCOMPARE(routePanel(), QStringList({"2", "0"}) + emptyBoxes());
    w->click("cmdProslaRuta");
    QCOMPARE(edit().CurrentRoute, 1);
    QCOMPARE(routePanel(), QStringList({"1", "2", "3", "1"}) + emptyBoxes(3));
}

void RoutesTramsTest::previousOnFirstRouteStoresAndShowsIt()
{
    w->click("cmdNovaRuta");
    w->click("cmdNovaRuta");
    w->click("cmdProslaRuta");
    typeRoute("1", {" 0012 ", "99"});
    w->click("cmdProslaRuta");
    QCOMPARE(edit().CurrentRoute, 1);
    QCOMPARE(scheme().RouteSegments[1][1], 12);
    QCOMPARE(routePanel(), QStringList({"1", "1", "12"}) + emptyBoxes(2));
}

void RoutesTramsTest::elementZeroBeforeFirstRoute()
{
    typeRoute("2", {"4", "5"});
    w->click("cmdSlijedecaRuta");
    QCOMPARE(scheme().RouteCount, 0);
    QCOMPARE(edit().CurrentRoute, 0);
    QCOMPARE(scheme().RouteLength[0], 2);
    QCOMPARE(scheme().RouteSegments[0][2], 5);
    QCOMPARE(routePanel(), QStringList({"0", "2", "4", "5"}) + emptyBoxes(3));

    // The first creation stores into element 0 too, then appends route 1.
    typeRoute("1", {"8"});
    w->click("cmdNovaRuta");
    QCOMPARE(scheme().RouteLength[0], 1);
    QCOMPARE(scheme().RouteSegments[0][1], 8);
    QCOMPARE(scheme().RouteCount, 1);
    QCOMPARE(WriteSchemeBytes(scheme()), QByteArray::fromHex("0000000000" "01" "00"));
}

void RoutesTramsTest::typedRouteNumberChangesNothing()
{
    w->click("cmdNovaRuta");
    w->click("cmdNovaRuta");
    w->type("txtBrojRute", QStringLiteral("1"));
    w->click("cmdSlijedecaRuta");
    QCOMPARE(edit().CurrentRoute, 2);
    QCOMPARE(w->text("txtBrojRute"), QStringLiteral("2"));
}

void RoutesTramsTest::redrawOnlyWhileShowRouteIsOn_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QByteArray>("button");
    for (const bool on : {false, true}) {
        for (const char* button : {"cmdNovaRuta", "cmdProslaRuta", "cmdSlijedecaRuta"})
            QTest::addRow("%s %s", button, on ? "on" : "off") << on << QByteArray(button);
    }
}

void RoutesTramsTest::redrawOnlyWhileShowRouteIsOn()
{
    QFETCH(bool, on);
    QFETCH(QByteArray, button);
    showRoute(on);
    const int before = w->window.redrawCount();
    w->click(button.constData()); // in a fresh scheme the steps are at both ends at once
    QCOMPARE(w->window.redrawCount(), before + (on ? 1 : 0));
    w->click("cmdNovaRuta");
    w->click(button.constData());
    QCOMPARE(w->window.redrawCount(), before + (on ? 3 : 0));
}

void RoutesTramsTest::routeCommandsAfterOpen()
{
    // Route 3 of a three-route scheme is on display when a one-route file opens.
    for (int i = 0; i < 3; ++i)
        w->click("cmdNovaRuta");
    typeRoute("2", {"6", "6"});
    Scheme file;
    file.RouteCount = 1;
    file.RouteLength[1] = 1;
    file.RouteSegments[1][1] = 4;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("jedna.sch"));
    const auto refusal = SaveSchemeFile(path, file);
    QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    w->prompts.fileAnswers << path;
    w->trigger("mnuOpen");
    QCOMPARE(scheme().RouteCount, 1);
    QCOMPARE(routePanel(), QStringList({"3", "2", "6", "6"}) + emptyBoxes(3));

    // The texts on display go into element 3, above the count, which stays current.
    w->click("cmdSlijedecaRuta");
    QCOMPARE(edit().CurrentRoute, 3);
    QCOMPARE(scheme().RouteLength[3], 2);
    QCOMPARE(scheme().RouteCount, 1);
    w->click("cmdProslaRuta");
    QCOMPARE(edit().CurrentRoute, 2);
    w->click("cmdProslaRuta");
    QCOMPARE(routePanel(), QStringList({"1", "1", "4"}) + emptyBoxes(2));
}

void RoutesTramsTest::refusedRouteValues_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("message");

    const QString lengthMessage = QStringLiteral("Vrijednost u polju \"Broj segmenata:\" mora biti izmedju 0 i 18.");
    for (const char* button : {"cmdNovaRuta", "cmdProslaRuta", "cmdSlijedecaRuta"}) {
        QTest::addRow("%s length 19", button) << QByteArray(button) << "19" << QStringList{"1"} << lengthMessage;
        QTest::addRow("%s length 18.6", button) << QByteArray(button) << "18.6" << QStringList{} << lengthMessage;
        QTest::addRow("%s length -1", button) << QByteArray(button) << "-1" << QStringList{} << lengthMessage;
        QTest::addRow("%s length 1e999", button) << QByteArray(button) << "1e999" << QStringList{} << lengthMessage;
        QTest::addRow("%s slot 256", button) << QByteArray(button) << "3" << QStringList{"1", "256", "2"}
                                             << "Vrijednost u 2. polju segmenata rute mora biti izmedju 0 i 255.";
        QTest::addRow("%s slot 255.5", button) << QByteArray(button) << "3" << QStringList{"1", "2", "255.5"}
                                               << "Vrijednost u 3. polju segmenata rute mora biti izmedju 0 i 255.";
        QTest::addRow("%s slot -1", button) << QByteArray(button) << "1" << QStringList{"-1"}
                                            << "Vrijednost u 1. polju segmenata rute mora biti izmedju 0 i 255.";
    }
}

void RoutesTramsTest::refusedRouteValues()
{
    QFETCH(QByteArray, button);
    QFETCH(QString, length);
    QFETCH(QStringList, boxes);
    QFETCH(QString, message);

    showRoute(true);
    w->click("cmdNovaRuta");
    w->click("cmdNovaRuta");
    typeRoute("2", {"7", "8"});
    w->click("cmdProslaRuta"); // route 2 stored, route 1 on display, both in the middle of nothing
    typeRoute(length, boxes);
    const Scheme schemeBefore = scheme();
    const EditState editBefore = edit();
    const QStringList panelBefore = routePanel();
    const int redraws = w->window.redrawCount();

    w->click(button.constData());
    QCOMPARE(w->prompts.warnings, QStringList{message});
    QVERIFY(scheme() == schemeBefore);
    QVERIFY(edit() == editBefore);
    QCOMPARE(routePanel(), panelBefore);
    QCOMPARE(w->window.redrawCount(), redraws);
}

void RoutesTramsTest::acceptedRoundedValues()
{
    w->click("cmdNovaRuta");
    typeRoute("18.5", {"255.4", "-0.4", "2.5", "&H10", "12abc", "1,5"});
    w->click("cmdSlijedecaRuta");
    QVERIFY(w->prompts.warnings.isEmpty());
    QCOMPARE(scheme().RouteLength[1], 18);
    QCOMPARE(routeBoxes().mid(0, 7), QStringList({"255", "0", "2", "16", "12", "1", "0"}));
}

void RoutesTramsTest::twentyFirstRouteIsRefused()
{
    for (int i = 0; i < MaxRoutes; ++i)
        w->click("cmdNovaRuta");
    QCOMPARE(scheme().RouteCount, MaxRoutes);
    QVERIFY(w->prompts.warnings.isEmpty());
    typeRoute("1", {"5"});
    const Scheme schemeBefore = scheme();
    w->click("cmdNovaRuta");
    QCOMPARE(w->prompts.warnings, QStringList{"Nova ruta nije dodana: vec postoji najvise 20 ruta."});
    QVERIFY(scheme() == schemeBefore);
    QCOMPARE(edit().CurrentRoute, MaxRoutes);
    QCOMPARE(routePanel(), QStringList({"20", "1", "5"}) + emptyBoxes(2));
    // Stepping still works and stores.
    w->click("cmdSlijedecaRuta");
    QCOMPARE(scheme().RouteSegments[MaxRoutes][1], 5);
}

void RoutesTramsTest::newTramsGetSerialAndRoute3()
{
    w->click("cmdNoviVlakon");
    QCOMPARE(tramPanel(), QStringList({"101", "3"}));
    w->type("txtRuta", QStringLiteral("7"));
    w->click("cmdNoviVlakon");
    QCOMPARE(tramPanel(), QStringList({"102", "3"}));
    QCOMPARE(scheme().TramCount, 2);
    QCOMPARE(edit().CurrentTram, 2);
    w->click("cmdProsli");
    QCOMPARE(tramPanel(), QStringList({"101", "7"}));
    QCOMPARE(scheme().TramSerial[1], 101);
    QCOMPARE(scheme().TramRoute[1], 7);
    QCOMPARE(scheme().TramSerial[2], 102);
    QCOMPARE(scheme().TramRoute[2], 3);
}

void RoutesTramsTest::typedSerialChangesNothing()
{
    w->click("cmdNoviVlakon");
    w->type("txtSerijskiBroj", QStringLiteral("150"));
    w->click("cmdSlijedeci");
    QCOMPARE(tramPanel(), QStringList({"101", "3"}));
    QCOMPARE(scheme().TramSerial[1], 101);
}

void RoutesTramsTest::endsStoreAndShowTheSameTram()
{
    w->click("cmdNoviVlakon");
    w->click("cmdNoviVlakon");
    w->type("txtRuta", QStringLiteral(" 9 "));
    w->click("cmdSlijedeci");
    QCOMPARE(edit().CurrentTram, 2);
    QCOMPARE(scheme().TramRoute[2], 9);
    QCOMPARE(tramPanel(), QStringList({"102", "9"}));
    w->click("cmdProsli");
    w->type("txtRuta", QStringLiteral("4"));
    w->click("cmdProsli");
    QCOMPARE(edit().CurrentTram, 1);
    QCOMPARE(scheme().TramRoute[1], 4);
    QCOMPARE(tramPanel(), QStringList({"101", "4"}));
}

void RoutesTramsTest::elementZeroBeforeFirstTram()
{
    w->type("txtRuta", QStringLiteral("4"));
    w->click("cmdProsli");
    QCOMPARE(scheme().TramCount, 0);
    QCOMPARE(scheme().TramRoute[0], 4);
    QCOMPARE(tramPanel(), QStringList({"0", "4"}));
    w->type("txtRuta", QStringLiteral("6"));
    w->click("cmdNoviVlakon");
    QCOMPARE(scheme().TramRoute[0], 6);
    QCOMPARE(tramPanel(), QStringList({"101", "3"}));
}

void RoutesTramsTest::tramRouteReadsNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("text") << "abc" << 0;
    QTest::newRow("half to even down") << "2.5" << 2;
    QTest::newRow("half to even up") << "3.5" << 4;
    QTest::newRow("hex") << "&HFF" << 255;
    QTest::newRow("octal") << "&O17" << 15;
    QTest::newRow("leading number") << "12abc" << 12;
    QTest::newRow("comma ends") << "1,5" << 1;
    QTest::newRow("exponent") << "2E1" << 20;
    QTest::newRow("blanks inside") << "1 2" << 12;
}

void RoutesTramsTest::tramRouteReadsNumbers()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    w->click("cmdNoviVlakon");
    w->type("txtRuta", typed);
    w->click("cmdSlijedeci");
    QCOMPARE(int(scheme().TramRoute[1]), stored);
    QCOMPARE(w->text("txtRuta"), QString::number(stored));
}

void RoutesTramsTest::tramCommandsNeverRedraw()
{
    showRoute(true);
    const int before = w->window.redrawCount();
    w->click("cmdNoviVlakon");
    w->click("cmdProsli");
    w->click("cmdSlijedeci");
    QCOMPARE(w->window.redrawCount(), before);
}

void RoutesTramsTest::refusedTramRoute_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("typed");
    for (const char* button : {"cmdNoviVlakon", "cmdProsli", "cmdSlijedeci"}) {
        QTest::addRow("%s 256", button) << QByteArray(button) << "256";
        QTest::addRow("%s 255.5", button) << QByteArray(button) << "255.5";
        QTest::addRow("%s -1", button) << QByteArray(button) << "-1";
        QTest::addRow("%s 1e999", button) << QByteArray(button) << "1e999";
    }
}

void RoutesTramsTest::refusedTramRoute()
{
    QFETCH(QByteArray, button);
    QFETCH(QString, typed);
    w->click("cmdNoviVlakon");
    w->click("cmdNoviVlakon");
    w->click("cmdNoviVlakon");
    w->click("cmdProsli"); // tram 2 of 3 on display
    w->type("txtRuta", typed);
    w->type("txtSerijskiBroj", QStringLiteral("x"));
    const Scheme schemeBefore = scheme();
    const EditState editBefore = edit();

    w->click(button.constData());
    QCOMPARE(w->prompts.warnings, QStringList{"Vrijednost u polju \"Ruta:\" mora biti izmedju 0 i 255."});
    QVERIFY(scheme() == schemeBefore);
    QVERIFY(edit() == editBefore);
    QCOMPARE(tramPanel(), QStringList({"x", typed}));
}

void RoutesTramsTest::hundredAndFirstTramIsRefused()
{
    for (int i = 0; i < MaxTrams; ++i)
        w->click("cmdNoviVlakon");
    QCOMPARE(tramPanel(), QStringList({"200", "3"}));
    QVERIFY(w->prompts.warnings.isEmpty());
    w->type("txtRuta", QStringLiteral("8"));
    const Scheme schemeBefore = scheme();
    w->click("cmdNoviVlakon");
    QCOMPARE(w->prompts.warnings, QStringList{"Novi vlakon nije dodan: vec postoji najvise 100 vlakona."});
    QVERIFY(scheme() == schemeBefore);
    QCOMPARE(edit().CurrentTram, MaxTrams);
    QCOMPARE(tramPanel(), QStringList({"200", "8"}));
}

QTEST_MAIN(RoutesTramsTest)
#include "test_routes_trams.moc"
