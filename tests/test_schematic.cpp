// The schematic layout: whatever network it is given, the drawing it makes
// keeps every rule of a schematic map, the same every time; what cannot be
// drawn is refused with the rule and the segment or station, and nothing is
// written.

#include "files/SchemeFile.h"
#include "files/SchemeJson.h"
#include "gtfs/GtfsImport.h"
#include "schematic/LayoutRules.h"
#include "schematic/Schematise.h"
#include "support/SchematicMaps.h"
#include "view/StationLabels.h"

#include <QFile>
#include <QTest>
#include <functional>

using namespace tram;
using namespace tram::schematic;

Q_DECLARE_METATYPE(tram::Scheme)

namespace {

Scheme exampleFeed()
{
    gtfs::ImportResult imported;
    if (gtfs::ImportGtfs(QStringLiteral(TRAM_DOCS "/gtfs-primjer.zip"), {}, imported))
        return {};
    return imported.scheme;
}

Scheme fromFile(const QString& name)
{
    Scheme scheme;
    if (LoadSchemeFile(QStringLiteral(TRAM_TEST_DATA "/schematic/") + name, scheme))
        return {};
    return scheme;
}

Scheme handDrawnMap()
{
    QFile file(QStringLiteral(TRAM_DOCS "/karta.json"));
    Scheme scheme;
    if (!file.open(QIODevice::ReadOnly) || SchemeFromJson(file.readAll(), scheme))
        return {};
    return scheme;
}

// A scheme with one thing a layout cannot keep.
Scheme with(Scheme scheme, const std::function<void(Scheme&)>& change)
{
    change(scheme);
    return scheme;
}

} // namespace

class SchematicTest : public QObject {
    Q_OBJECT

private slots:
    void drawsEveryKindOfNetwork_data();
    void drawsEveryKindOfNetwork();
    void rulesCatchWhatBreaksThem();
    void refusesWhatCannotBeDrawn_data();
    void refusesWhatCannotBeDrawn();
};

void SchematicTest::drawsEveryKindOfNetwork_data()
{
    using namespace schematicmaps;
    QTest::addColumn<Scheme>("input");
    QTest::addColumn<bool>("fitsNorthUp");
    QTest::newRow("cross") << cross() << true;
    QTest::newRow("Y") << wye() << true;
    QTest::newRow("loop") << loop() << true;
    QTest::newRow("T on an inner vertex") << teeOnVertex() << true;
    QTest::newRow("two tracks side by side") << parallel() << true;
    QTest::newRow("chain of 30 stations") << chain(30) << true;
    QTest::newRow("crossing without a junction") << levelCrossing() << true;
    QTest::newRow("every table at its limit") << atLimits() << true;
    QTest::newRow("example feed") << exampleFeed() << true;
    QTest::newRow("hand-drawn map") << handDrawnMap() << true;
    // Imported from feeds of two cities; the long one running north to south
    // has more stations along it than the canvas's height holds.
    QTest::newRow("river city") << fromFile(QStringLiteral("river-city.sch")) << false;
    QTest::newRow("radial city") << fromFile(QStringLiteral("radial-city.sch")) << true;
}

void SchematicTest::drawsEveryKindOfNetwork()
{
    QFETCH(Scheme, input);
    QFETCH(bool, fitsNorthUp);
    QVERIFY(input.SegmentCount > 0);
    QFont font;
    QCOMPARE(LoadLabelFont(font), std::nullopt);
    for (const bool northUp : {false, fitsNorthUp}) {
        SchematicOptions options;
        options.northUp = northUp;
        // The names weighed too, as the tool weighs them, on both cores.
        if (!northUp)
            options.labelFont = font;
        Scheme drawn;
        SchematicSummary summary;
        QCOMPARE(Schematise(input, options, drawn, summary), std::nullopt);
        // Octilinear, the same network in the same order, stations spaced,
        // lights in place, the canvas filled, nothing else changed.
        QCOMPARE(CheckSchematic(input, drawn, {options.snap, options.margin}), std::nullopt);
        // At most one bend between neighbouring stations, on average.
        QVERIFY2(summary.bends <= summary.stationStretches,
                 qPrintable(QStringLiteral("%1 bends, %2 stretches").arg(summary.bends).arg(summary.stationStretches)));
        if (northUp)
            QCOMPARE(summary.turn, 0);
        Scheme again;
        QCOMPARE(Schematise(input, options, again, summary), std::nullopt);
        QVERIFY(again == drawn);
    }
}

void SchematicTest::rulesCatchWhatBreaksThem()
{
    const Scheme input = schematicmaps::cross();
    Scheme drawn;
    SchematicSummary summary;
    QCOMPARE(Schematise(input, {}, drawn, summary), std::nullopt);
    const auto vertex = [](Scheme& s, int segment, int j) -> MapPoint& { return s.Points[segment][j]; };
    const auto last = [](const Scheme& s, int segment) { return int(s.PointCount[segment]); };
    const struct {
        const char* rule;
        std::function<void(Scheme&)> breakIt;
        const char* said;
    } cases[] = {
        {"a piece off the eight directions",
         [&](Scheme& s) {
             MapPoint& end = vertex(s, 1, last(s, 1));
             end = MapPoint{int16_t(end.X + 1), int16_t(end.Y + 2)};
         },
         "nije vodoravan"},
        {"a name changed", [](Scheme& s) { s.Stations[1].Time1 += 1; }, "osim geometrije"},
        {"a route changed", [](Scheme& s) { s.RouteSegments[1][1] = 3; }, "osim geometrije"},
        {"an end off its junction",
         [&](Scheme& s) {
             MapPoint& end = vertex(s, 2, 1);
             end = MapPoint{int16_t(end.X + 20), int16_t(end.Y + 20)};
         },
         "segment"},
        {"a station off its vertex", [](Scheme& s) { s.Stations[2].Position += 0.5; }, "stanica 2: nije na tacki"},
        {"two stations swapped", [](Scheme& s) { std::swap(s.Stations[1].Position, s.Stations[2].Position); },
         "istim redom"},
        {"a light moved along", [](Scheme& s) { s.Lights[1].Position += 1; }, "semafor 1"},
        {"off the canvas", [&](Scheme& s) { vertex(s, 3, last(s, 3)).Y = -5; }, "izvan platna"},
    };
    for (const auto& c : cases) {
        const auto broken = CheckSchematic(input, with(drawn, c.breakIt), {});
        QVERIFY2(broken && broken->contains(QLatin1String(c.said)),
                 qPrintable(
                     QStringLiteral("%1: %2").arg(QLatin1String(c.rule), broken.value_or(QStringLiteral("kept")))));
    }
    // Octilinear already, but in a corner of the canvas; its two segments
    // meet end to end in one line, which is no running side by side.
    Scheme small;
    schematicmaps::addSegment(small, {{249, 345}, {229, 325}});
    schematicmaps::addSegment(small, {{189, 285}, {229, 325}});
    const auto corner = CheckSchematic(small, small, {});
    QVERIFY2(corner && corner->contains(QLatin1String("sirine")), qPrintable(corner.value_or(QStringLiteral("kept"))));
}

void SchematicTest::refusesWhatCannotBeDrawn_data()
{
    using namespace schematicmaps;
    QTest::addColumn<Scheme>("input");
    QTest::addColumn<QString>("said");
    QTest::newRow("nothing to draw") << Scheme{} << "nema nijedan segment";
    QTest::newRow("a segment of one vertex")
        << with(cross(), [](Scheme& s) { s.PointCount[2] = 1; }) << "segment 2: ima manje od dvije";
    QTest::newRow("a station on no segment")
        << with(cross(), [](Scheme& s) { s.Stations[1].Segment = 9; }) << "stanica 1: segment 9 ne postoji";
    QTest::newRow("a route over no segment")
        << with(cross(), [](Scheme& s) { s.RouteSegments[2][1] = 7; }) << "ruta 2, mjesto 1: segment 7 ne postoji";
    QTest::newRow("a station off its segment") << with(cross(), [](Scheme& s) { s.Stations[3].Position = 5000; })
                                               << "stanica 3: polozaj 5000 je izvan segmenta 1";
    QTest::newRow("two stations on one junction")
        << with(cross(), [](Scheme& s) { s.Stations[1].Position = s.Stations[4].Position = 0; }) << "stanice 1 i 4";
    QTest::newRow("nine arms at one place") << [] {
        Scheme s;
        for (int k = 0; k < 9; ++k)
            addSegment(s, {{500, 200}, {500 + int(150 * std::cos(k * 0.698)), 200 + int(150 * std::sin(k * 0.698))}});
        return s;
    }() << "krakova";
    QTest::newRow("tracks along each other") << with(wye(), [](Scheme& s) {
        addSegment(s, {{100, 300}, {300, 300}});
        addSegment(s, {{200, 300}, {400, 300}});
    }) << "segmenti 4 i 5: idu jedan preko drugog";
    QTest::newRow("stations with no room") << with(Scheme{}, [](Scheme& s) {
        addStations(s, addSegment(s, {{400, 200}, {600, 200}}), MaxStations);
    }) << "segment 1: za 100 stanica";
}

void SchematicTest::refusesWhatCannotBeDrawn()
{
    QFETCH(Scheme, input);
    QFETCH(QString, said);
    const Scheme untouched = schematicmaps::wye();
    Scheme drawn = untouched;
    SchematicSummary summary;
    const auto refusal = Schematise(input, {}, drawn, summary);
    QVERIFY2(refusal && refusal->contains(said), qPrintable(refusal.value_or(QStringLiteral("drawn"))));
    QVERIFY(drawn == untouched);
}

QTEST_MAIN(SchematicTest)
#include "test_schematic.moc"
