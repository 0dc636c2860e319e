// The route and tram panels' commands: each stores the typed panel into the
// route or tram on display, then adds or steps; the panel then shows the
// current one. Each case is a run of button presses, as a user makes them.

#include "editing/RoutesPanel.h"
#include "editing/TramsPanel.h"
#include "files/SchemeFile.h"

#include <QTest>

using namespace tram;

namespace {

// One press of a route panel button: the panel as typed, or as shown when
// nothing is typed.
struct RouteStep {
    RouteCommand command;
    std::optional<QStringList> typed = {}; // "Broj segmenata:" and the boxes from 1
    QString number = {};                   // "Broj rute:", typed over what it shows
};

struct TramStep {
    TramCommand command;
    std::optional<QString> route = {}; // "Ruta:"
    QString serial = {};               // "Serijski broj:", typed over what it shows
};

constexpr RouteCommand NewRoute = RouteCommand::New;
constexpr RouteCommand PreviousRoute = RouteCommand::Previous;
constexpr RouteCommand NextRoute = RouteCommand::Next;

QStringList routePanel(const Scheme& scheme, const EditState& edit)
{
    const RoutePanelTexts t = RoutePanelOf(scheme, edit.CurrentRoute);
    QStringList texts{t.number, t.length};
    for (int k = 1; k <= MaxRouteSlots; ++k)
        texts << t.segments[k];
    return texts;
}

// Runs the presses; the first refusal, if any.
std::optional<Refusal> press(const QList<RouteStep>& steps, Scheme& scheme, EditState& edit)
{
    for (const RouteStep& step : steps) {
        RoutePanelTexts typed = RoutePanelOf(scheme, edit.CurrentRoute);
        if (step.typed) {
            typed.length = step.typed->value(0);
            for (int k = 1; k <= MaxRouteSlots; ++k)
                typed.segments[k] = step.typed->value(k);
        }
        if (!step.number.isNull())
            typed.number = step.number;
        if (auto refusal = RunRouteCommand(step.command, typed, scheme, edit))
            return refusal;
    }
    return std::nullopt;
}

std::optional<Refusal> press(const QList<TramStep>& steps, Scheme& scheme, EditState& edit)
{
    for (const TramStep& step : steps) {
        TramPanelTexts typed = TramPanelOf(scheme, edit.CurrentTram);
        typed.route = step.route.value_or(typed.route);
        if (!step.serial.isNull())
            typed.serial = step.serial;
        if (auto refusal = RunTramCommand(step.command, typed, scheme, edit))
            return refusal;
    }
    return std::nullopt;
}

// The expected panel: the given texts, the other boxes empty.
QStringList filled(QStringList texts)
{
    while (texts.size() < 2 + MaxRouteSlots)
        texts << QString();
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(RouteStep)
Q_DECLARE_METATYPE(TramStep)

class RoutesTramsTest : public QObject {
    Q_OBJECT
private slots:
    void routePresses_data();
    void routePresses();
    void firstRouteCreationStoresIntoElementZero();
    void routeCommandsAfterOpen();
    void refusedRouteValues_data();
    void refusedRouteValues();
    void tramPresses_data();
    void tramPresses();
    void tramRouteReadsNumbers_data();
    void tramRouteReadsNumbers();
    void refusedTramRoute_data();
    void refusedTramRoute();
};

void RoutesTramsTest::routePresses_data()
{
    QTest::addColumn<QList<RouteStep>>("steps");
    QTest::addColumn<QStringList>("panel");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("stored"); // the first slots of the route on display

    QTest::newRow("new in a fresh scheme") << QList<RouteStep>{{NewRoute}} << filled({"1", "0"}) << 1 << QList<int>{0};
    QTest::newRow("next on the last route stores and shows it")
        << QList<RouteStep>{{NewRoute}, {NextRoute, QStringList{"3", "5", "7", "9"}}}
        << filled({"1", "3", "5", "7", "9"}) << 1 << QList<int>{5, 7, 9};
    QTest::newRow("the length decides which boxes are read")
        << QList<RouteStep>{{NewRoute}, {PreviousRoute, QStringList{"2", "4", "6", "8", "10"}}}
        << filled({"1", "2", "4", "6"}) << 1 << QList<int>{4, 6, 0, 0};
    QTest::newRow("an empty box within the length stores 0")
        << QList<RouteStep>{{NewRoute}, {NextRoute, QStringList{"3", "5", "", "9"}}}
        << filled({"1", "3", "5", "0", "9"}) << 1 << QList<int>{5, 0, 9};
    QTest::newRow("slots beyond a shorter length keep their values")
        << QList<RouteStep>{{NewRoute},
                            {NextRoute, QStringList{"3", "5", "7", "9"}},
                            {NextRoute, QStringList{"1", "5", "7", "9"}}}
        << filled({"1", "1", "5"}) << 1 << QList<int>{5, 7, 9};
    QTest::newRow("lengthened again, the boxes not typed store 0")
        << QList<RouteStep>{{NewRoute},
                            {NextRoute, QStringList{"3", "5", "7", "9"}},
                            {NextRoute, QStringList{"1", "5", "7", "9"}},
                            {NextRoute, QStringList{"2", "5"}}}
        << filled({"1", "2", "5", "0"}) << 1 << QList<int>{5, 0, 9};
    QTest::newRow("new stores the route on display, then shows the new one")
        << QList<RouteStep>{{NewRoute}, {NewRoute, QStringList{"2", "3", "1"}}} << filled({"2", "0"}) << 2
        << QList<int>{0};
    QTest::newRow("and it is there when stepped back to")
        << QList<RouteStep>{{NewRoute}, {NewRoute, QStringList{"2", "3", "1"}}, {PreviousRoute}}
        << filled({"1", "2", "3", "1"}) << 2 << QList<int>{3, 1};
    QTest::newRow("previous on the first route stores and shows it")
        << QList<RouteStep>{{NewRoute}, {NewRoute}, {PreviousRoute}, {PreviousRoute, QStringList{"1", " 0012 ", "99"}}}
        << filled({"1", "1", "12"}) << 2 << QList<int>{12, 0};
    QTest::newRow("before the first route, element 0") << QList<RouteStep>{{NextRoute, QStringList{"2", "4", "5"}}}
                                                       << filled({"0", "2", "4", "5"}) << 0 << QList<int>{4, 5};
    QTest::newRow("the typed route number is never read")
        << QList<RouteStep>{{NewRoute}, {NewRoute}, {NextRoute, std::nullopt, "1"}} << filled({"2", "0"}) << 2
        << QList<int>{0};
    QTest::newRow("values rounded into their fields")
        << QList<RouteStep>{{NewRoute},
                            {NextRoute, QStringList{"18.5", "255.4", "-0.4", "2.5", "&H10", "12abc", "1,5"}}}
        << filled({"1", "18", "255", "0", "2", "16", "12", "1", "0", "0",
                   "0", "0",  "0",   "0", "0", "0",  "0",  "0", "0", "0"})
        << 1 << QList<int>{255, 0, 2, 16, 12, 1, 0};
}

void RoutesTramsTest::routePresses()
{
    QFETCH(QList<RouteStep>, steps);
    QFETCH(QStringList, panel);
    QFETCH(int, count);
    QFETCH(QList<int>, stored);
    Scheme scheme;
    EditState edit;
    const std::optional<Refusal> refusal = press(steps, scheme, edit);
    QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    QCOMPARE(routePanel(scheme, edit), panel);
    QCOMPARE(scheme.RouteCount, count);
    for (int k = 1; k <= stored.size(); ++k)
        QCOMPARE(scheme.RouteSegments[edit.CurrentRoute][k], stored[k - 1]);
}

// What is typed before the first route goes into element 0, which no file
// keeps: the scheme writes as having one empty route.
void RoutesTramsTest::firstRouteCreationStoresIntoElementZero()
{
    Scheme scheme;
    EditState edit;
    QVERIFY(!press({{NextRoute, QStringList{"2", "4", "5"}}, {NewRoute, QStringList{"1", "8"}}}, scheme, edit));
    QCOMPARE(scheme.RouteLength[0], 1);
    QCOMPARE(scheme.RouteSegments[0][1], 8);
    QCOMPARE(scheme.RouteSegments[0][2], 5);
    QCOMPARE(scheme.RouteCount, 1);
    QCOMPARE(WriteSchemeBytes(scheme),
             QByteArray::fromHex("0000000000"
                                 "01"
                                 "00"));
}

// Route 3 of a three-route scheme is on display when a one-route file opens:
// the texts on display go into element 3, above the count, which stays current.
void RoutesTramsTest::routeCommandsAfterOpen()
{
    Scheme scheme;
    EditState edit;
    QVERIFY(!press({{NewRoute}, {NewRoute}, {NewRoute}}, scheme, edit));
    scheme = Scheme{};
    scheme.RouteCount = 1;
    scheme.RouteLength[1] = 1;
    scheme.RouteSegments[1][1] = 4;

    QVERIFY(!press({{NextRoute, QStringList{"2", "6", "6"}}}, scheme, edit));
    QCOMPARE(edit.CurrentRoute, 3);
    QCOMPARE(scheme.RouteLength[3], 2);
    QCOMPARE(scheme.RouteCount, 1);
    QVERIFY(!press({{PreviousRoute}}, scheme, edit));
    QCOMPARE(edit.CurrentRoute, 2);
    QVERIFY(!press({{PreviousRoute}}, scheme, edit));
    QCOMPARE(routePanel(scheme, edit), filled({"1", "1", "4"}));
}

void RoutesTramsTest::refusedRouteValues_data()
{
    QTest::addColumn<RouteCommand>("command");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("message");

    const QString lengthMessage = QStringLiteral("Vrijednost u polju \"Broj segmenata:\" mora biti izmedju 0 i 18.");
    const QString slotMessage = QStringLiteral("Vrijednost u %1. polju segmenata rute mora biti izmedju 0 i 255.");
    const std::pair<const char*, RouteCommand> commands[] = {{"new", NewRoute},
                                                             {"previous", PreviousRoute},
                                                             {"next", NextRoute}};
    for (const auto& [name, command] : commands) {
        QTest::addRow("%s length 19", name) << command << QStringList{"19", "1"} << lengthMessage;
        QTest::addRow("%s length 18.6", name) << command << QStringList{"18.6"} << lengthMessage;
        QTest::addRow("%s length -1", name) << command << QStringList{"-1"} << lengthMessage;
        QTest::addRow("%s length 1e999", name) << command << QStringList{"1e999"} << lengthMessage;
        QTest::addRow("%s slot 256", name) << command << QStringList{"3", "1", "256", "2"} << slotMessage.arg(2);
        QTest::addRow("%s slot 255.5", name) << command << QStringList{"3", "1", "2", "255.5"} << slotMessage.arg(3);
        QTest::addRow("%s slot -1", name) << command << QStringList{"1", "-1"} << slotMessage.arg(1);
    }
}

// Nothing at all changes, and the same press goes through once mended.
void RoutesTramsTest::refusedRouteValues()
{
    QFETCH(RouteCommand, command);
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    Scheme scheme;
    EditState edit;
    // Route 1 of 2 on display, in the middle of nothing.
    QVERIFY(!press({{NewRoute}, {NewRoute}, {PreviousRoute, QStringList{"2", "7", "8"}}}, scheme, edit));
    const Scheme schemeBefore = scheme;
    const EditState editBefore = edit;

    const std::optional<Refusal> refusal = press({{command, typed}}, scheme, edit);
    QVERIFY(refusal);
    QCOMPARE(*refusal, message);
    QVERIFY(scheme == schemeBefore);
    QVERIFY(edit == editBefore);

    QVERIFY(!press({{command, QStringList{"1", "5"}}}, scheme, edit));
    QCOMPARE(scheme.RouteSegments[1][1], 5);
}

void RoutesTramsTest::tramPresses_data()
{
    QTest::addColumn<QList<TramStep>>("steps");
    QTest::addColumn<QStringList>("panel");
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("routes"); // of trams 0, 1, 2

    constexpr TramCommand New = TramCommand::New;
    constexpr TramCommand Previous = TramCommand::Previous;
    constexpr TramCommand Next = TramCommand::Next;
    QTest::newRow("new trams get their serial and route 3")
        << QList<TramStep>{{New}, {New, "7"}} << QStringList{"102", "3"} << 2 << QList<int>{0, 7, 3};
    QTest::newRow("and the first keeps its route")
        << QList<TramStep>{{New}, {New, "7"}, {Previous}} << QStringList{"101", "7"} << 1 << QList<int>{0, 7, 3};
    QTest::newRow("the typed serial is never read")
        << QList<TramStep>{{New}, {Next, "3", "150"}} << QStringList{"101", "3"} << 1 << QList<int>{0, 3};
    QTest::newRow("next on the last stores and shows it")
        << QList<TramStep>{{New}, {New}, {Next, " 9 "}} << QStringList{"102", "9"} << 2 << QList<int>{0, 3, 9};
    QTest::newRow("previous on the first stores and shows it")
        << QList<TramStep>{{New}, {New}, {Previous}, {Previous, "4"}} << QStringList{"101", "4"} << 1
        << QList<int>{0, 4, 3};
    QTest::newRow("before the first tram, element 0")
        << QList<TramStep>{{Previous, "4"}} << QStringList{"0", "4"} << 0 << QList<int>{4};
    QTest::newRow("the first creation stores into element 0")
        << QList<TramStep>{{Previous, "4"}, {New, "6"}} << QStringList{"101", "3"} << 1 << QList<int>{6, 3};
}

void RoutesTramsTest::tramPresses()
{
    QFETCH(QList<TramStep>, steps);
    QFETCH(QStringList, panel);
    QFETCH(int, current);
    QFETCH(QList<int>, routes);
    Scheme scheme;
    EditState edit;
    QVERIFY(!press(steps, scheme, edit));
    const TramPanelTexts shown = TramPanelOf(scheme, edit.CurrentTram);
    QCOMPARE((QStringList{shown.serial, shown.route}), panel);
    QCOMPARE(edit.CurrentTram, current);
    for (int t = 0; t < routes.size(); ++t)
        QCOMPARE(scheme.TramRoute[t], routes[t]);
    for (int t = 1; t <= scheme.TramCount; ++t)
        QCOMPARE(scheme.TramSerial[t], t + TramSerialOffset);
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
    Scheme scheme;
    EditState edit;
    QVERIFY(!press({{TramCommand::New}, {TramCommand::Next, typed}}, scheme, edit));
    QCOMPARE(int(scheme.TramRoute[1]), stored);
    QCOMPARE(TramPanelOf(scheme, 1).route, QString::number(stored));
}

void RoutesTramsTest::refusedTramRoute_data()
{
    QTest::addColumn<TramCommand>("command");
    QTest::addColumn<QString>("typed");
    const std::pair<const char*, TramCommand> commands[] = {{"new", TramCommand::New},
                                                            {"previous", TramCommand::Previous},
                                                            {"next", TramCommand::Next}};
    for (const auto& [name, command] : commands) {
        for (const char* typed : {"256", "255.5", "-1", "1e999"})
            QTest::addRow("%s %s", name, typed) << command << typed;
    }
}

void RoutesTramsTest::refusedTramRoute()
{
    QFETCH(TramCommand, command);
    QFETCH(QString, typed);
    Scheme scheme;
    EditState edit;
    // Tram 2 of 3 on display.
    QVERIFY(
        !press({{TramCommand::New}, {TramCommand::New}, {TramCommand::New}, {TramCommand::Previous}}, scheme, edit));
    const Scheme schemeBefore = scheme;
    const EditState editBefore = edit;

    const std::optional<Refusal> refusal = press({{command, typed, "x"}}, scheme, edit);
    QVERIFY(refusal);
    QCOMPARE(*refusal, QStringLiteral("Vrijednost u polju \"Ruta:\" mora biti izmedju 0 i 255."));
    QVERIFY(scheme == schemeBefore);
    QVERIFY(edit == editBefore);
}

QTEST_GUILESS_MAIN(RoutesTramsTest)
#include "test_routes_trams.moc"
