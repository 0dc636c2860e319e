// Every table of a scheme ends at its limit: a creation past it is refused
// with the one "table full" wording and changes nothing, not even what the
// next new segment gets; one below the limit still takes one more.

#include "editing/CanvasEditing.h"
#include "editing/RoutesPanel.h"
#include "editing/SegmentCommands.h"
#include "editing/StationsPanel.h"
#include "editing/TramsPanel.h"

#include <QTest>
#include <functional>

using namespace tram;

namespace {

// A table as the commands see it: how many it holds, and the creation that
// adds to it.
struct Table {
    std::function<void(EditorModel&, int)> setCount;
    std::function<int(const EditorModel&)> count;
    std::function<std::optional<Refusal>(EditorModel&, SegmentCoordinateGenerator&)> create;
};

constexpr int PointsSegment = 3;

} // namespace

Q_DECLARE_METATYPE(Table)

class FullTablesTest : public QObject {
    Q_OBJECT
private slots:
    void creationPastTheLimitIsRefused_data();
    void creationPastTheLimitIsRefused();
};

void FullTablesTest::creationPastTheLimitIsRefused_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("message");

    QTest::newRow("segments") << Table{[](EditorModel& m, int n) { m.scheme.SegmentCount = int16_t(n); },
                                       [](const EditorModel& m) { return int(m.scheme.SegmentCount); },
                                       [](EditorModel& m, SegmentCoordinateGenerator& g) {
                                           return NewSegment(m.scheme, m.edit, g);
                                       }}
                              << MaxSegments << "Novi segment nije dodan: vec postoji najvise 40 segmenata.";
    QTest::newRow("points of a segment") << Table{[](EditorModel& m, int n) {
                                                      m.scheme.SegmentCount = PointsSegment;
                                                      m.scheme.PointCount[PointsSegment] = int16_t(n);
                                                  },
                                                  [](const EditorModel& m) {
                                                      return int(m.scheme.PointCount[PointsSegment]);
                                                  },
                                                  [](EditorModel& m, SegmentCoordinateGenerator&) {
                                                      return InsertPoint(m.scheme, PointsSegment, 1, MapPoint{5, 5});
                                                  }}
                                         << MaxPoints
                                         << "Nova tacka nije dodana: vec postoji najvise 50 tacaka u segmentu 3.";
    QTest::newRow("stations") << Table{[](EditorModel& m, int n) { m.scheme.StationCount = uint8_t(n); },
                                       [](const EditorModel& m) { return int(m.scheme.StationCount); },
                                       [](EditorModel& m, SegmentCoordinateGenerator&) { return NewStation(m); }}
                              << MaxStations << "Nova stanica nije dodana: vec postoji najvise 100 stanica.";
    QTest::newRow("lights") << Table{[](EditorModel& m, int n) { m.scheme.LightCount = uint8_t(n); },
                                     [](const EditorModel& m) { return int(m.scheme.LightCount); },
                                     [](EditorModel& m, SegmentCoordinateGenerator&) { return NewLight(m); }}
                            << MaxLights << "Novi semafor nije dodan: vec postoji najvise 100 semafora.";
    QTest::newRow("routes") << Table{[](EditorModel& m, int n) { m.scheme.RouteCount = uint8_t(n); },
                                     [](const EditorModel& m) { return int(m.scheme.RouteCount); },
                                     [](EditorModel& m, SegmentCoordinateGenerator&) {
                                         return RunRouteCommand(RouteCommand::New,
                                                                RoutePanelOf(m.scheme, m.edit.CurrentRoute), m.scheme,
                                                                m.edit);
                                     }}
                            << MaxRoutes << "Nova ruta nije dodana: vec postoji najvise 20 ruta.";
    QTest::newRow("trams") << Table{[](EditorModel& m, int n) { m.scheme.TramCount = uint8_t(n); },
                                    [](const EditorModel& m) { return int(m.scheme.TramCount); },
                                    [](EditorModel& m, SegmentCoordinateGenerator&) {
                                        return RunTramCommand(TramCommand::New,
                                                              TramPanelOf(m.scheme, m.edit.CurrentTram), m.scheme,
                                                              m.edit);
                                    }}
                           << MaxTrams << "Novi vlakon nije dodan: vec postoji najvise 100 vlakona.";
}

void FullTablesTest::creationPastTheLimitIsRefused()
{
    QFETCH(Table, table);
    QFETCH(int, limit);
    QFETCH(QString, message);

    EditorModel model;
    table.setCount(model, limit);
    model.edit = EditState{2, 1, 1, 1, 1, ObjectKind::Light};
    model.scheme.RouteLength[1] = 1; // route 1 on display, to be stored by its panel
    const Scheme scheme = model.scheme;
    const EditState edit = model.edit;
    SegmentCoordinateGenerator generator;

    const std::optional<Refusal> refusal = table.create(model, generator);
    QVERIFY(refusal);
    QCOMPARE(*refusal, message);
    QVERIFY(model.scheme == scheme);
    QVERIFY(model.edit == edit);
    SegmentCoordinateGenerator untouched;
    QCOMPARE(generator.nextUniform(), untouched.nextUniform());

    table.setCount(model, limit - 1);
    const std::optional<Refusal> taken = table.create(model, generator);
    QVERIFY2(!taken, qPrintable(taken.value_or(QString())));
    QCOMPARE(table.count(model), limit);
}

QTEST_GUILESS_MAIN(FullTablesTest)
#include "test_full_tables.moc"
