// GTFS import: feeds written here (tests/data/gtfs, and small ones built in
// the test) turned into schemes, checked segment by segment; broken feeds
// and feeds over the scheme's limits refused with the place or the limit.

#include "editing/StationsPanel.h"
#include "files/SchemeCheck.h"
#include "files/SchemeFile.h"
#include "gtfs/GtfsImport.h"
#include "gtfs/StationNames.h"
#include "schematic/LayoutRules.h"
#include "support/ToolRun.h"
#include "view/Geometry.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <zip.h>

#include <cmath>

using namespace tram;
using namespace tram::gtfs;

namespace {

const QString NetworkFeed = QStringLiteral(TRAM_TEST_DATA "/gtfs/network");
using FeedFileTexts = QHash<QString, QByteArray>;

QHash<QString, QByteArray> filesOf(const QString& folder)
{
    QHash<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, file.readAll());
    }
    return files;
}

// A zip of the files, each under `folder` inside the archive.
QByteArray zipped(const QHash<QString, QByteArray>& files, const QString& folder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("feed.zip"));
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    for (auto it = files.begin(); it != files.end(); ++it) {
        zip_source_t* source = zip_source_buffer(archive, it->constData(), zip_uint64_t(it->size()), 0);
        zip_file_add(archive, (folder + it.key()).toUtf8().constData(), source, 0);
    }
    zip_close(archive);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<QString> import(const QHash<QString, QByteArray>& files, ImportResult& result,
                              const ImportOptions& options = {})
{
    MemoryFeed feed(files);
    return ImportGtfs(feed, options, result);
}

QList<int> routeList(const Scheme& s, int route)
{
    QList<int> list;
    for (int k = 1; k <= s.RouteLength[route]; ++k)
        list << s.RouteSegments[route][k];
    return list;
}

QList<int> tramsPerRoute(const Scheme& s)
{
    QList<int> trams(s.RouteCount, 0);
    for (int t = 1; t <= s.TramCount; ++t)
        ++trams[s.TramRoute[t] - 1];
    return trams;
}

MapPoint first(const Scheme& s, int segment)
{
    return s.Points[segment][1];
}
MapPoint last(const Scheme& s, int segment)
{
    return s.Points[segment][s.PointCount[segment]];
}

// Each route goes on from the end of a segment where the next one starts or ends.
bool routesAreChains(const Scheme& s)
{
    for (int r = 1; r <= s.RouteCount; ++r) {
        for (int k = 1; k < s.RouteLength[r]; ++k) {
            const int a = s.RouteSegments[r][k], b = s.RouteSegments[r][k + 1];
            const QList<MapPoint> ends = {first(s, b), last(s, b)};
            if (!ends.contains(first(s, a)) && !ends.contains(last(s, a)))
                return false;
        }
    }
    return true;
}

// Metres east and north of a point, as "lat,lon".
QByteArray metresAt(double x, double y)
{
    return QByteArray::number(45 + y / 111195.0, 'f', 7) + ","
        + QByteArray::number(15 + x / (111195.0 * std::cos(45 * M_PI / 180)), 'f', 7);
}

// Feeds of a given shape, stops 100 m apart on a grid, every trip at 07:00
// on a service that runs every day of 2024.
struct FeedBuilder {
    QByteArray stops = "stop_id,stop_name,stop_lat,stop_lon\n";
    QByteArray routes = "route_id,route_short_name,route_type\n";
    QByteArray trips = "route_id,service_id,trip_id\n";
    QByteArray times = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n";
    int tripCount = 0;

    void stopAt(const QByteArray& id, const QByteArray& name, double x, double y)
    {
        stops += id + "," + name + "," + metresAt(x, y) + "\n";
    }
    QByteArray stop(int x, int y)
    {
        const QByteArray id = "S" + QByteArray::number(x) + "_" + QByteArray::number(y);
        if (!stops.contains("\n" + id + ","))
            stops += id + "," + id + "," + QByteArray::number(45 + y * 0.0009, 'f', 6) + ","
                + QByteArray::number(15 + x * 0.0013, 'f', 6) + "\n";
        return id;
    }
    void route(const QByteArray& name) { routes += name + "," + name + ",0\n"; }
    void trip(const QByteArray& route, const QList<QByteArray>& stopIds)
    {
        const QByteArray id = "t" + QByteArray::number(++tripCount);
        trips += route + ",all," + id + "\n";
        for (int i = 0; i < stopIds.size(); ++i) {
            const QByteArray time = QTime(7, 0).addSecs(60 * i).toString(u"hh:mm:ss").toLatin1();
            times += id + "," + time + "," + time + "," + stopIds[i] + "," + QByteArray::number(i + 1) + "\n";
        }
    }
    // A straight line of stops from (x, y), `count` of them to the east.
    QList<QByteArray> line(int x, int y, int count)
    {
        QList<QByteArray> ids;
        for (int i = 0; i < count; ++i)
            ids << stop(x + i, y);
        return ids;
    }
    QHash<QString, QByteArray> files() const
    {
        return {{"stops.txt", stops},
                {"routes.txt", routes},
                {"trips.txt", trips},
                {"stop_times.txt", times},
                {"calendar.txt",
                 "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n"
                 "all,1,1,1,1,1,1,1,20240101,20241231\n"}};
    }
};

} // namespace

class GtfsImportTest : public QObject {
    Q_OBJECT

private slots:
    void schematicImportRedrawsOnlyTheGeometry();
    void importsTheNetwork();
    void stationsSitOnTheirVertices();
    void stationNamesInTheCodePage();
    void coursesRunFromStationToStation();
    void stopsOfOneNameAreOneStation_data();
    void stopsOfOneNameAreOneStation();
    void streetsOfOneWayAreOneTrack_data();
    void streetsOfOneWayAreOneTrack();
    void longNamesFit_data();
    void longNamesFit();
    void tripsPassingStopsMakeNoTrack_data();
    void tripsPassingStopsMakeNoTrack();
    void tramsOnTheDay_data();
    void tramsOnTheDay();
    void narrowedToRoutes_data();
    void narrowedToRoutes();
    void zipGivesWhatTheFolderGives_data();
    void zipGivesWhatTheFolderGives();
    void brokenFeedsNameThePlace_data();
    void brokenFeedsNameThePlace();
    void feedsOverALimitAreRefused_data();
    void feedsOverALimitAreRefused();
    void toolWritesACleanSchemeOrNothing();
};

// Line 1 (A..G) and line 2 (A..I) share A..D in both directions and part at
// D; line 3 rounds a loop from E without shapes.
void GtfsImportTest::importsTheNetwork()
{
    ImportResult result;
    QCOMPARE(ImportGtfs(NetworkFeed, {}, result), std::nullopt);
    const Scheme& s = result.scheme;

    // A-D, D-E, E-G, D-I and the loop E-E, numbered as route 1, then 2, then 3 pass them.
    QCOMPARE(s.SegmentCount, 5);
    QCOMPARE(last(s, 1), first(s, 2));
    QCOMPARE(last(s, 1), first(s, 4));
    QCOMPARE(last(s, 2), first(s, 3));
    QCOMPARE(first(s, 5), last(s, 2));
    QCOMPARE(last(s, 5), first(s, 5));
    QCOMPARE(s.RouteCount, 3);
    QCOMPARE(routeList(s, 1), (QList<int>{1, 2, 3}));
    QCOMPARE(routeList(s, 2), (QList<int>{1, 4}));
    QCOMPARE(routeList(s, 3), (QList<int>{5}));

    // The shapes bend the segments of lines 1 and 2; the loop has none and
    // stays straight from stop to stop.
    QVERIFY(s.PointCount[1] > 4);
    QVERIFY(s.PointCount[4] > 3);
    QCOMPARE(s.PointCount[5], 5);
    QVERIFY(result.summary.largestError <= 2.5);

    // North up: line 1 runs from the south-west to the north-east.
    QVERIFY(first(s, 1).X < last(s, 3).X);
    QVERIFY(first(s, 1).Y > last(s, 3).Y);
    for (int seg = 1; seg <= s.SegmentCount; ++seg) {
        for (int j = 1; j <= s.PointCount[seg]; ++j) {
            const MapPoint p = s.Points[seg][j];
            QVERIFY(p.X >= 0 && p.X < 1000 && p.Y >= 0 && p.Y < 392);
        }
    }
    QCOMPARE(result.summary.stopsUsed, 21);
    QCOMPARE(result.summary.stations, 12);
}

// --schematic: the same scheme as the geographic import, drawn by the rules
// of a schematic map; a layout that cannot be made refuses the import.
void GtfsImportTest::schematicImportRedrawsOnlyTheGeometry()
{
    ImportResult geographic, schematic;
    QCOMPARE(ImportGtfs(NetworkFeed, {}, geographic), std::nullopt);
    ImportOptions options;
    options.schematic = schematic::SchematicOptions{};
    QCOMPARE(ImportGtfs(NetworkFeed, options, schematic), std::nullopt);
    QCOMPARE(schematic::CheckSchematic(geographic.scheme, schematic.scheme, {}), std::nullopt);
    QVERIFY(schematic.summary.schematic.has_value());

    options.schematic->grid = schematic::MostGrid; // cells too coarse for the stations
    const ImportResult untouched = schematic;
    const auto refusal = ImportGtfs(NetworkFeed, options, schematic);
    QVERIFY2(refusal && refusal->contains(QLatin1String("shematska karta")), qPrintable(refusal.value_or(QString())));
    QVERIFY(schematic.scheme == untouched.scheme);
}

void GtfsImportTest::stationsSitOnTheirVertices()
{
    ImportResult result;
    QCOMPARE(ImportGtfs(NetworkFeed, {}, result), std::nullopt);
    const Scheme& s = result.scheme;
    QCOMPARE(s.StationCount, 12);
    // In travel order along segment 1, then the places the later segments add.
    const QStringList names = {"Ilidža",
                               "Čengić Vila",
                               "Đorđa Ćosića",
                               "Šip Žica",
                               "Trg ?",
                               "Most",
                               "Univerzitetski klinički.",
                               "Grbavica",
                               "Otoka, \"Nova\" strana",
                               "Skenderija (Dom mladih)",
                               "Marijin Dvor",
                               "Drvenija"};
    const int segments[] = {1, 1, 1, 1, 2, 3, 3, 4, 4, 5, 5, 5};
    QSet<QPair<int, int>> vertices;
    for (int i = 1; i <= s.StationCount; ++i) {
        const Station& station = s.Stations[i];
        QCOMPARE(ShownName(station.Name), names[i - 1]);
        QCOMPARE(int(station.Segment), segments[i - 1]);
        QCOMPARE(station.Time1, int16_t(10));
        // The editor finds the station exactly on a vertex of its segment,
        // at the distance its position gives.
        const MapPoint located = LocateOnSegment(s, station.Segment, station.Position);
        int vertex = 0;
        for (int j = 1; j <= s.PointCount[station.Segment] && !vertex; ++j) {
            if (s.Points[station.Segment][j] == located && PolylineLength(s, station.Segment, 1, j) == station.Position)
                vertex = j;
        }
        QVERIFY2(vertex > 0, qPrintable(names[i - 1]));
        vertices.insert({station.Segment, vertex});
    }
    QCOMPARE(vertices.size(), 12);
    QCOMPARE(s.Stations[1].Position, 0.0);
    QCOMPARE(s.Stations[4].Position, PolylineLength(s, 1, 1, s.PointCount[1]));
}

void GtfsImportTest::stationNamesInTheCodePage()
{
    ImportResult result;
    QCOMPARE(ImportGtfs(NetworkFeed, {}, result), std::nullopt);
    const QStringList& notes = result.summary.notes;
    QCOMPARE(notes.size(), 2);
    QVERIFY(notes[0].contains(QStringLiteral("stanica 5 \"Trg Ω\"")) && notes[0].contains(QStringLiteral("Ω")));
    QCOMPARE(notes[1],
             QStringLiteral("stanica 7 \"Univerzitetski klinički centar Koševo\": naziv duzi od 30 znakova "
                            "skracen u \"Univerzitetski klinički.\""));
    // What the file holds reads back as the scheme has it.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mreza.sch"));
    QVERIFY(!SaveSchemeFile(path, result.scheme));
    Scheme read;
    QVERIFY(!LoadSchemeFile(path, read));
    QCOMPARE(read.Stations[2].Name, result.scheme.Stations[2].Name);
    QCOMPARE(ShownName(read.Stations[5].Name), QStringLiteral("Trg ?"));
}

// A line east along a street to a terminal loop, as operators publish it:
// each platform some way past its station, a shape without distances that
// comes by the loop's station twice. The street's segment runs from station
// to station, not on to each platform and back, and ends where the shape
// first reaches the loop, not after going round it.
void GtfsImportTest::coursesRunFromStationToStation()
{
    QByteArray stops = "stop_id,stop_name,stop_lat,stop_lon,location_type,parent_station\n";
    const struct {
        const char* id;
        double x, y;
        const char* parent;
    } stopList[] = {{"A", 0, 0, ""},       {"A0", 30, -4, "A"}, {"A1", -30, 4, "A"},   {"B", 300, 0, ""},
                    {"B0", 330, -4, "B"},  {"B1", 270, 4, "B"}, {"C", 600, 0, ""},     {"C0", 625, -10, "C"},
                    {"C1", 570, 4, "C"},   {"D", 800, 150, ""}, {"D0", 800, 130, "D"}, {"E", 800, -150, ""},
                    {"E0", 784, -138, "E"}};
    for (const auto& stop : stopList)
        stops += QByteArray(stop.id) + "," + QByteArray(stop.id).left(1) + "," + metresAt(stop.x, stop.y) + ","
            + (*stop.parent ? "0," : "1,") + stop.parent + "\n";
    QByteArray shape = "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n";
    const double corners[][2] = {{0, 0}, {600, 0}, {800, 150}, {800, -150}, {600, 0}, {570, 0}};
    int sequence = 0;
    for (size_t c = 0; c + 1 < std::size(corners); ++c) {
        const double length = std::hypot(corners[c + 1][0] - corners[c][0], corners[c + 1][1] - corners[c][1]);
        for (double d = 0; d < length; d += 10) {
            const double f = d / length;
            shape += "s,"
                + metresAt(corners[c][0] + f * (corners[c + 1][0] - corners[c][0]),
                           corners[c][1] + f * (corners[c + 1][1] - corners[c][1]))
                + "," + QByteArray::number(++sequence) + "\n";
        }
    }
    shape += "s," + metresAt(570, 0) + "," + QByteArray::number(++sequence) + "\n";
    QByteArray times = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n";
    const QList<QByteArray> out = {"A0", "B0", "C0", "D0", "E0", "C1"}, back = {"C1", "B1", "A1"};
    for (int i = 0; i < out.size(); ++i)
        times += "out,07:0" + QByteArray::number(i) + ":00,07:0" + QByteArray::number(i) + ":00," + out[i] + ","
            + QByteArray::number(i + 1) + "\n";
    for (int i = 0; i < back.size(); ++i)
        times += "back,08:0" + QByteArray::number(i) + ":00,08:0" + QByteArray::number(i) + ":00," + back[i] + ","
            + QByteArray::number(i + 1) + "\n";
    const FeedFileTexts files = {
        {"stops.txt", stops},
        {"routes.txt", "route_id,route_short_name,route_type\nL,L,0\n"},
        {"trips.txt", "route_id,service_id,trip_id,shape_id\nL,all,out,s\nL,all,back,\n"},
        {"stop_times.txt", times},
        {"shapes.txt", shape},
        {"calendar.txt",
         "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n"
         "all,1,1,1,1,1,1,1,20240101,20241231\n"}};
    ImportResult result;
    QCOMPARE(import(files, result), std::nullopt);
    const Scheme& s = result.scheme;
    QCOMPARE(s.SegmentCount, 2);
    QCOMPARE(routeList(s, 1), (QList<int>{1, 2}));
    QCOMPARE(last(s, 1), first(s, 2));
    QCOMPARE(last(s, 2), first(s, 2));
    // Along the street, due east.
    for (int j = 2; j <= s.PointCount[1]; ++j) {
        QVERIFY2(s.Points[1][j].X > s.Points[1][j - 1].X, qPrintable(QString::number(j)));
        QVERIFY(std::abs(s.Points[1][j].Y - s.Points[1][1].Y) <= 1);
    }
}

void GtfsImportTest::stopsOfOneNameAreOneStation_data()
{
    QTest::addColumn<FeedFileTexts>("files");
    QTest::addColumn<int>("stationsNamedP");
    QTest::addColumn<int>("stopsMerged");
    QTest::addColumn<double>("firstP"); // where the first station named P lies, from A (0) to B (1)

    // A street from A east to B, 1000 m, with platforms P1, P2, ... named P.
    auto street = [](const QList<QPointF>& platforms, const QList<QList<QByteArray>>& trips) {
        FeedBuilder feed;
        feed.route("L");
        feed.stopAt("A", "A", 0, 0);
        feed.stopAt("B", "B", 1000, 0);
        feed.stopAt("Q", "Q", 500, 75);
        for (int i = 0; i < platforms.size(); ++i)
            feed.stopAt("P" + QByteArray::number(i + 1), "P", platforms[i].x(), platforms[i].y());
        for (const auto& trip : trips)
            feed.trip("L", trip);
        return feed.files();
    };
    const QList<QList<QByteArray>> outAndBack = {{"A", "P1", "B"}, {"B", "P2", "A"}};
    QTest::newRow("250 m apart") << street({{400, 0}, {650, 0}}, outAndBack) << 1 << 2 << 0.525;
    QTest::newRow("350 m apart") << street({{400, 0}, {750, 0}}, outAndBack) << 2 << 0 << 0.4;
    // 250 m after each other: the first two are one, the third too far from the first.
    QTest::newRow("three over 500 m") << street({{250, 0}, {500, 0}, {750, 0}},
                                                {{"A", "P1", "B"}, {"B", "P2", "A"}, {"A", "P3", "B"}})
                                      << 2 << 2 << 0.375;
    // Round a square past P on both sides, 150 m apart.
    QTest::newRow("one trip at both") << street({{400, 0}, {400, 150}}, {{"A", "P1", "Q", "P2", "B"}}) << 2 << 0 << 0.4;
}

void GtfsImportTest::stopsOfOneNameAreOneStation()
{
    QFETCH(FeedFileTexts, files);
    QFETCH(int, stationsNamedP);
    QFETCH(int, stopsMerged);
    QFETCH(double, firstP);
    ImportResult result;
    QCOMPARE(import(files, result), std::nullopt);
    const Scheme& s = result.scheme;
    QHash<QString, QList<int>> across; // per name: where its stations lie from west to east
    for (int i = 1; i <= s.StationCount; ++i)
        across[ShownName(s.Stations[i].Name)] << LocateOnSegment(s, s.Stations[i].Segment, s.Stations[i].Position).X;
    QCOMPARE(across.value("P").size(), stationsNamedP);
    QCOMPARE(result.summary.stopsMerged, stopsMerged);
    QCOMPARE(across.value("A").size(), 1);
    const double along = double(across["P"][0] - across["A"][0]) / (across["B"][0] - across["A"][0]);
    QVERIFY2(std::abs(along - firstP) < 0.01, qPrintable(QString::number(along)));
    QCOMPARE(CheckScheme(s), QStringList());
    QVERIFY(routesAreChains(s));
}

void GtfsImportTest::streetsOfOneWayAreOneTrack_data()
{
    QTest::addColumn<FeedFileTexts>("files");
    QTest::addColumn<int>("segments");
    QTest::addColumn<QList<int>>("secondRoute");
    QTest::addColumn<int>("side"); // of segment 1: -1 the northern street, 1 the southern

    // Line E from X east to Y, 800 m, along a northern street past N, line
    // W back along a southern one past S, `gap` metres apart.
    auto streets = [](double gap, int east, int west) {
        FeedBuilder feed;
        feed.route("E");
        feed.route("W");
        feed.stopAt("X", "X", 0, 0);
        feed.stopAt("Y", "Y", 800, 0);
        feed.stopAt("N", "N", 400, gap / 2);
        feed.stopAt("S", "S", 400, -gap / 2);
        for (int i = 0; i < east; ++i)
            feed.trip("E", {"X", "N", "Y"});
        for (int i = 0; i < west; ++i)
            feed.trip("W", {"Y", "S", "X"});
        return feed.files();
    };
    // The busier street's track stays, and both stops sit on it.
    QTest::newRow("northern busier") << streets(100, 2, 1) << 1 << QList<int>{1} << -1;
    QTest::newRow("southern busier") << streets(100, 1, 2) << 1 << QList<int>{1} << 1;
    // Too far apart for one street: a ring of two tracks.
    QTest::newRow("far apart") << streets(700, 1, 1) << 2 << QList<int>{2} << -1;
}

void GtfsImportTest::streetsOfOneWayAreOneTrack()
{
    QFETCH(FeedFileTexts, files);
    QFETCH(int, segments);
    QFETCH(QList<int>, secondRoute);
    QFETCH(int, side);
    ImportResult result;
    QCOMPARE(import(files, result), std::nullopt);
    const Scheme& s = result.scheme;
    QCOMPARE(int(s.SegmentCount), segments);
    QCOMPARE(result.summary.directionPairsJoined, 2 - segments);
    QCOMPARE(routeList(s, 1), QList<int>{1});
    QCOMPARE(routeList(s, 2), secondRoute);
    QCOMPARE(int(s.StationCount), 4);
    int away = 0;
    for (int j = 2; j < s.PointCount[1]; ++j)
        away += s.Points[1][j].Y - first(s, 1).Y;
    QCOMPARE((away > 0) - (away < 0), side);
    QCOMPARE(CheckScheme(s), QStringList());
    QVERIFY(routesAreChains(s));
}

void GtfsImportTest::longNamesFit_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("fitted");
    QTest::newRow("30 characters") << QStringList{"Univerzitetski klinički centar"}
                                   << QStringList{"Univerzitetski klinički centar"};
    QTest::newRow("parenthesis dropped") << QStringList{"Skenderija (Dom mladih, ulaz sa sjevera)", "Skenderija most"}
                                         << QStringList{"Skenderija", "Skenderija most"};
    QTest::newRow("comma and dash dropped")
        << QStringList{"Trg Ivana Krndelja, peron prema Ilidzi", "Autobuska stanica - Istocno Sarajevo"}
        << QStringList{"Trg Ivana Krndelja", "Autobuska stanica"};
    // The same name twice (far apart, or a trip calls at both) tells nothing apart.
    QTest::newRow("one name twice") << QStringList{"Depo (okretnica na kraju grada)", "Depo (okretnica na kraju grada)"}
                                    << QStringList{"Depo", "Depo"};
    QTest::newRow("parenthesis telling two apart")
        << QStringList{"Marijin Dvor (Zemaljski muzej BiH)", "Marijin Dvor (Vijecnica, Katedrala)"}
        << QStringList{"Marijin Dvor (Zemaljski muzej.", "Marijin Dvor (Vijecnica."};
    QTest::newRow("rest is another station") << QStringList{"Most (jako dugacak naziv jednog trga)", "Most"}
                                             << QStringList{"Most (jako dugacak naziv.", "Most"};
    QTest::newRow("cut after a word") << QStringList{"Univerzitetski klinički centar Koševo"}
                                      << QStringList{"Univerzitetski klinički."};
    QTest::newRow("all in parenthesis") << QStringList{"(Okretnica na kraju dugacke pruge)"}
                                        << QStringList{"(Okretnica na kraju dugacke."};
    QTest::newRow("one word of 40") << QStringList{QString(40, u'W')} << QStringList{QString(29, u'W') + "."};
}

// Names over 30 characters shortened as riders know them, never inside a word.
void GtfsImportTest::longNamesFit()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, fitted);
    const std::vector<SchemeName> stored = ToSchemeNames(names);
    QStringList shown;
    for (size_t i = 0; i < stored.size(); ++i) {
        shown << ShownName(stored[i].name);
        QCOMPARE(stored[i].shortened, names[qsizetype(i)].size() > NameLength);
    }
    QCOMPARE(shown, fitted);
}

void GtfsImportTest::tripsPassingStopsMakeNoTrack_data()
{
    QTest::addColumn<FeedFileTexts>("files");
    QTest::addColumn<int>("segments");
    QTest::addColumn<QList<int>>("route");

    // Some runs leave out stops that the others call at, on a straight street.
    FeedBuilder leftOut;
    leftOut.route("E");
    const QList<QByteArray> street = leftOut.line(0, 0, 6);
    for (int i = 0; i < 3; ++i)
        leftOut.trip("E", street);
    leftOut.trip("E", {street[0], street[2], street[3], street[5]});
    QTest::newRow("stops left out") << leftOut.files() << 1 << QList<int>{1};

    // A street straight on beside a way round by another, 11 % longer: two tracks.
    FeedBuilder wayRound;
    wayRound.route("W");
    wayRound.trip("W", {wayRound.stop(0, 0), wayRound.stop(2, 1), wayRound.stop(4, 0), wayRound.stop(5, 0)});
    wayRound.trip("W", {wayRound.stop(0, 0), wayRound.stop(4, 0), wayRound.stop(5, 0)});
    QTest::newRow("a way round") << wayRound.files() << 3 << QList<int>{1, 2};
}

// The track joins the places next to each other on it, not those a run
// passes without calling.
void GtfsImportTest::tripsPassingStopsMakeNoTrack()
{
    QFETCH(FeedFileTexts, files);
    QFETCH(int, segments);
    QFETCH(QList<int>, route);
    ImportResult result;
    QCOMPARE(import(files, result), std::nullopt);
    QCOMPARE(int(result.scheme.SegmentCount), segments);
    QCOMPARE(routeList(result.scheme, 1), route);
}

void GtfsImportTest::tramsOnTheDay_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("day");
    QTest::addColumn<int>("moment");
    QTest::addColumn<QList<int>>("trams");
    // Weekdays run 11 trips, most of them underway at 07:20; 1 January is
    // taken out, so the busiest day is the 2nd.
    QTest::newRow("busiest day") << QString() << "2024-01-02" << 7 * 3600 + 20 * 60 << QList<int>{5, 3, 1};
    QTest::newRow("weekday") << "2024-03-06"
                             << "2024-03-06" << 7 * 3600 + 20 * 60 << QList<int>{5, 3, 1};
    QTest::newRow("saturday") << "2024-01-06"
                              << "2024-01-06" << 9 * 3600 << QList<int>{2, 1, 0};
    QTest::newRow("holiday") << "2024-01-01"
                             << "2024-01-01" << -1 << QList<int>{0, 0, 0};
    // Without calendar.txt the days are those calendar_dates.txt adds.
    QTest::newRow("dates only") << "only dates"
                                << "2024-01-08" << 7 * 3600 + 20 * 60 << QList<int>{5, 3, 1};
}

void GtfsImportTest::tramsOnTheDay()
{
    QFETCH(QString, date);
    QFETCH(QString, day);
    QFETCH(int, moment);
    QFETCH(QList<int>, trams);
    QHash<QString, QByteArray> files = filesOf(NetworkFeed);
    ImportOptions options;
    if (date == u"only dates") {
        files.remove(QStringLiteral("calendar.txt"));
        files[QStringLiteral("calendar_dates.txt")] = "service_id,date,exception_type\nWE,20240106,1\n"
                                                      "WD,20240108,1\nWD,20240109,1\n";
    } else if (!date.isEmpty()) {
        options.day = QDate::fromString(date, Qt::ISODate).toJulianDay();
    }
    ImportResult result;
    QCOMPARE(import(files, result, options), std::nullopt);
    QCOMPARE(QDate::fromJulianDay(*result.summary.day).toString(Qt::ISODate), day);
    QCOMPARE(result.summary.moment, moment);
    QCOMPARE(tramsPerRoute(result.scheme), trams);
    for (int t = 1; t <= result.scheme.TramCount; ++t)
        QCOMPARE(int(result.scheme.TramSerial[t]), t + 100);
}

void GtfsImportTest::narrowedToRoutes_data()
{
    QTest::addColumn<QStringList>("routes");
    QTest::addColumn<int>("segments");
    QTest::addColumn<QList<int>>("firstRoute");
    QTest::addColumn<int>("stations");
    // Alone, line 2 neither meets nor parts from anything: one segment.
    QTest::newRow("short name") << QStringList{"2"} << 1 << QList<int>{1} << 6;
    // By id and short name; without line 2, D is a plain stop and only E,
    // where line 3's loop leaves line 1, splits the track.
    QTest::newRow("id and short name") << QStringList{"r1", "3"} << 3 << QList<int>{1, 2} << 10;
}

void GtfsImportTest::narrowedToRoutes()
{
    QFETCH(QStringList, routes);
    QFETCH(int, segments);
    QFETCH(QList<int>, firstRoute);
    QFETCH(int, stations);
    ImportResult result;
    QCOMPARE(ImportGtfs(NetworkFeed, {routes, std::nullopt, std::nullopt}, result), std::nullopt);
    QCOMPARE(int(result.scheme.RouteCount), routes.size());
    QCOMPARE(int(result.scheme.SegmentCount), segments);
    QCOMPARE(routeList(result.scheme, 1), firstRoute);
    QCOMPARE(int(result.scheme.StationCount), stations);
}

void GtfsImportTest::zipGivesWhatTheFolderGives_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("firstLocalHeader");
    QTest::newRow("files at the top") << QString() << QByteArray();
    QTest::newRow("files in a folder") << QStringLiteral("gtfs/") << QByteArray();
    // Some zip writers put another "version needed" in a local header than
    // in the central directory; unzip and the other readers take it.
    QTest::newRow("local header of another version") << QString() << QByteArray("PK\x03\x04\x2d\x00");
}

void GtfsImportTest::zipGivesWhatTheFolderGives()
{
    QFETCH(QString, folder);
    QFETCH(QByteArray, firstLocalHeader);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("feed.zip"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray bytes = zipped(filesOf(NetworkFeed), folder);
    QVERIFY(bytes.startsWith("PK\x03\x04"));
    bytes.replace(0, firstLocalHeader.size(), firstLocalHeader);
    file.write(bytes);
    file.close();
    ImportResult fromFolder, fromZip;
    QCOMPARE(ImportGtfs(NetworkFeed, {}, fromFolder), std::nullopt);
    QCOMPARE(ImportGtfs(path, {}, fromZip), std::nullopt);
    QVERIFY(fromZip.scheme == fromFolder.scheme);

    QVERIFY(file.open(QIODevice::ReadWrite));
    file.resize(file.size() / 2);
    file.close();
    const auto refusal = ImportGtfs(path, {}, fromZip);
    QVERIFY(refusal && refusal->contains(QStringLiteral("nije ispravna zip arhiva")));
}

void GtfsImportTest::brokenFeedsNameThePlace_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("message");
    const QByteArray firstTime = "1-0,07:00:00,07:00:00,A0,10,";
    QTest::newRow("time") << "stop_times.txt" << firstTime << QByteArray("1-0,07:6x:00,07:00:00,A0,10,")
                          << "stop_times.txt, red 2, stupac 2 (arrival_time): \"07:6x:00\" nije vrijeme";
    QTest::newRow("sequence") << "stop_times.txt" << firstTime << QByteArray("1-0,07:00:00,07:00:00,A0,1o,")
                              << "stop_times.txt, red 2, stupac 5 (stop_sequence): \"1o\" nije cijeli broj";
    QTest::newRow("unknown stop") << "stop_times.txt" << firstTime << QByteArray("1-0,07:00:00,07:00:00,Z9,10,")
                                  << "stop_times.txt, red 2, stupac 4 (stop_id): \"Z9\" ne imenuje nijedno stajaliste";
    QTest::newRow("same sequence twice")
        << "stop_times.txt" << QByteArray("1-0,07:05:00,07:05:00,B0,20,") << QByteArray("1-0,07:05:00,07:05:00,B0,10,")
        << "stop_times.txt, red 3 (stop_sequence): voznja \"1-0\" vec ima stop_sequence 10";
    QTest::newRow("missing column") << "stops.txt" << QByteArray("stop_lat,") << QByteArray("latitude,")
                                    << "stops.txt, red 1: zaglavlje nema obavezni stupac stop_lat";
    // The line break in a quoted name above does not put the count off.
    QTest::newRow("latitude after a quoted line break")
        << "stops.txt" << QByteArray("M0,Drvenija,43.858166") << QByteArray("M0,Drvenija,43.85816S")
        << "stops.txt, red 30, stupac 3 (stop_lat): \"43.85816S\" nije broj";
    QTest::newRow("stray quote") << "stops.txt" << QByteArray("M0,Drvenija") << QByteArray("M0,Drve\"nija")
                                 << "stops.txt, red 30, stupac 8: navodnik nije na svom mjestu";
    QTest::newRow("quote never closed")
        << "stops.txt" << QByteArray("M0,Drvenija") << QByteArray("M0,\"Drvenija")
        << "stops.txt, red 30, stupac 2: navodnici otvoreni u ovom polju nisu zatvoreni";
    QTest::newRow("route of no route") << "trips.txt" << QByteArray("r1,WD,1-0,") << QByteArray("r7,WD,1-0,")
                                       << "trips.txt, red 2, stupac 1 (route_id): \"r7\" ne imenuje nijednu liniju";
    QTest::newRow("date") << "calendar.txt" << QByteArray("20241231") << QByteArray("20241331")
                          << "calendar.txt, red 2, stupac 10 (end_date): \"20241331\" nije datum";
    QTest::newRow("missing file") << "trips.txt" << QByteArray() << QByteArray() << "trips.txt: datoteka nedostaje";
    QTest::newRow("no calendars") << "calendar.txt" << QByteArray() << QByteArray() << "calendar.txt: feed nema ni";
}

void GtfsImportTest::brokenFeedsNameThePlace()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, message);
    QHash<QString, QByteArray> files = filesOf(NetworkFeed);
    if (before.isEmpty()) {
        files.remove(file);
        if (file == u"calendar.txt")
            files.remove(QStringLiteral("calendar_dates.txt"));
    } else {
        QVERIFY(files[file].contains(before));
        files[file].replace(before, after);
    }
    ImportResult result;
    result.scheme.SegmentCount = 7; // untouched on refusal
    const auto refusal = import(files, result);
    QVERIFY(refusal);
    QVERIFY2(refusal->startsWith(message), qPrintable(*refusal));
    QCOMPARE(result.scheme.SegmentCount, 7);
}

void GtfsImportTest::feedsOverALimitAreRefused_data()
{
    QTest::addColumn<FeedFileTexts>("files");
    QTest::addColumn<QString>("problem");

    FeedBuilder routes; // 21 lines on one stretch
    for (int r = 1; r <= 21; ++r) {
        routes.route("L" + QByteArray::number(r));
        routes.trip("L" + QByteArray::number(r), routes.line(0, 0, 2));
    }
    QTest::newRow("routes") << routes.files()
                            << "rute: potrebno 21, a najvise moze biti 20; trebaju ih linije: L1 (1), L10 (1)";

    FeedBuilder star; // one line whose trips fan out to 41 ends
    star.route("S");
    for (int i = 0; i < 41; ++i)
        star.trip("S", {star.stop(0, 0), star.stop(1 + i % 7, i / 7)});
    QTest::newRow("segments") << star.files()
                              << "segmenti: potrebno 41, a najvise moze biti 40; trebaju ih linije: S (41)";

    FeedBuilder longLine;
    longLine.route("D");
    longLine.trip("D", longLine.line(0, 0, 51));
    QTest::newRow("points")
        << longLine.files()
        << "tacke segmenta 1 (jedna po stanici): potrebno 51, a najvise moze biti 50; trebaju ih linije: D (51)";

    FeedBuilder stations; // three lines of 35 stops
    for (int r = 0; r < 3; ++r) {
        stations.route("P" + QByteArray::number(r));
        stations.trip("P" + QByteArray::number(r), stations.line(0, 2 * r, 35));
    }
    QTest::newRow("stations")
        << stations.files()
        << "stanice: potrebno 105, a najvise moze biti 100; trebaju ih linije: P0 (35), P1 (35), P2 (35)";

    FeedBuilder junctions; // line M passes 19 junctions of line N's stubs
    junctions.route("M");
    junctions.route("N");
    junctions.trip("M", junctions.line(0, 0, 20));
    for (int i = 1; i <= 18; ++i)
        junctions.trip("N", {junctions.stop(i, 0), junctions.stop(i, 1)});
    QTest::newRow("route slots")
        << junctions.files()
        << "segmenti rute linije M: potrebno 19, a najvise moze biti 18; trebaju ih linije: M (19)";

    FeedBuilder trams; // 101 trips underway at once
    trams.route("T");
    for (int i = 0; i < 101; ++i)
        trams.trip("T", trams.line(0, 0, 2));
    QTest::newRow("trams") << trams.files()
                           << "vlakoni: potrebno 101, a najvise moze biti 100; trebaju ih linije: T (101)";
}

void GtfsImportTest::feedsOverALimitAreRefused()
{
    QFETCH(FeedFileTexts, files);
    QFETCH(QString, problem);
    ImportResult result;
    const auto refusal = import(files, result);
    QVERIFY(refusal);
    QVERIFY2(refusal->startsWith(QStringLiteral("mreza ne stane u semu")), qPrintable(*refusal));
    QVERIFY2(refusal->split(u'\n').at(1).startsWith(problem), qPrintable(*refusal));
    QCOMPARE(result.scheme.SegmentCount, 0);
}

// As a user runs it: a refused feed leaves the old file; an imported one
// passes the checker without a finding.
void GtfsImportTest::toolWritesACleanSchemeOrNothing()
{
    const QString tool = testtool::toolPath();
    auto run = [&](const QStringList& arguments, QByteArray* out = nullptr) {
        QProcess process;
        process.start(tool, arguments);
        if (!process.waitForFinished(120000))
            return -1;
        if (out)
            *out = process.readAllStandardOutput() + process.readAllStandardError();
        return process.exitCode();
    };
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("mreza.sch"));
    QFile old(output);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    QByteArray text;
    // 31 is a bus.
    QCOMPARE(run({"import-gtfs", NetworkFeed, output, "--routes", "31"}, &text), 2);
    QVERIFY2(text.contains("nema tramvajske linije s route_short_name ili route_id: 31"), text.constData());
    QCOMPARE(run({"import-gtfs", NetworkFeed, output, "--date", "2024-02-30"}), 2);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
    old.close();

    QCOMPARE(run({"import-gtfs", NetworkFeed, output}, &text), 0);
    QVERIFY2(text.contains("rute: 3\n  ruta 1: linija 1, segmenata 3, vlakona 5\n"), text.constData());
    QVERIFY2(text.contains("stanice: 12 (spojeno iz 21 stajalista; stajalista koja dijele stanicu: 18)\n"
                           "segmenti: 5 (parova smjerova spojenih u jedan kolosijek: 0)\n"),
             text.constData());
    QCOMPARE(run({"check", output}, &text), 0);
    QCOMPARE(text, QByteArray());
}

QTEST_GUILESS_MAIN(GtfsImportTest)
#include "test_gtfs_import.moc"
