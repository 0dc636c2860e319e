// tram-map-tool as a user runs it: the built executable through QProcess,
// with no display in its environment.

#include "files/CodePage.h"
#include "files/SchemeFile.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/Schemes.h"
#include "support/ToolRun.h"
#include "ui/MainWindow.h"
#include "view/Renderer.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <bit>
#include <limits>
#include <pwd.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace tram;
using namespace testfiles;
using namespace testschemes;
using namespace testtool;

namespace {

double fromBits(uint64_t bits)
{
    return std::bit_cast<double>(bits);
}

// Every table at its limit, fields over their whole ranges, names of any
// code-page character (blanks and NULs included), and the positions JSON has
// no number for.
Scheme fullScheme()
{
    std::mt19937 random(7);
    auto any = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const double positions[] = {-0.0,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                fromBits(0x7FF8000000000000),
                                fromBits(0x7FF4000000000001),
                                fromBits(0xFFF8000000000000),
                                5e-324,
                                1.7976931348623157e308,
                                0.1,
                                1.0 / 3,
                                -123.456,
                                1e21};
    auto position = [&](int i) {
        if (i <= int(std::size(positions)))
            return positions[i - 1];
        return std::uniform_real_distribution<double>(-1e6, 1e6)(random);
    };
    auto name = [&](int i) {
        StationName result{}; // NULs, as a never applied name
        if (i == 1)
            return PaddedName(QStringLiteral("  Sibenik  Šibenik Čačak Đ ž "));
        if (i == 2)
            return result;
        QByteArray bytes;
        while (bytes.size() < NameLength)
            bytes.append(char(any(0, 255)));
        const QString text = FromCodePage(bytes);
        std::copy_n(text.utf16(), NameLength, result.begin());
        return result;
    };

    Scheme s;
    s.SegmentCount = MaxSegments;
    for (int i = 1; i <= MaxSegments; ++i) {
        s.PointCount[i] = int16_t(i == 1 ? 0 : i == 2 ? 1 : MaxPoints);
        for (int j = 1; j <= s.PointCount[i]; ++j)
            s.Points[i][j] = {int16_t(any(-32768, 32767)), int16_t(any(-32768, 32767))};
    }
    s.LightCount = MaxLights;
    for (int i = 1; i <= MaxLights; ++i)
        s.Lights[i] = {uint8_t(any(0, 255)),        position(i),
                       uint8_t(any(0, 255)),        int16_t(any(-32768, 32767)),
                       int16_t(any(-32768, 32767)), int16_t(any(-32768, 32767))};
    s.StationCount = MaxStations;
    for (int i = 1; i <= MaxStations; ++i)
        s.Stations[i] = {uint8_t(any(0, 255)), position(i), int16_t(any(-32768, 32767)), name(i)};
    s.TramCount = MaxTrams;
    for (int t = 1; t <= MaxTrams; ++t) {
        s.TramSerial[t] = uint8_t(any(0, 255));
        s.TramRoute[t] = uint8_t(any(0, 255));
    }
    s.RouteCount = MaxRoutes;
    for (int r = 1; r <= MaxRoutes; ++r) {
        s.RouteLength[r] = uint8_t(r == 1 ? 0 : MaxRouteSlots);
        for (int k = 1; k <= s.RouteLength[r]; ++k)
            s.RouteSegments[r][k] = uint8_t(any(0, 255));
    }
    return s;
}

// A reference or a shape of every doubtful kind.
Scheme doubtfulScheme()
{
    Scheme s;
    AddSegment(s, {{10, 20}, {1300, 40}, {30, -5}});
    AddSegment(s, {{5, 5}});
    s.LightCount = 2;
    s.Lights[1] = {41, 10.0, 0, 10, 10, 0};
    s.Lights[2] = {1, -0.5, 0, 10, 10, 0};
    s.StationCount = 4;
    s.Stations[1] = {1, 2600.0, 10, PaddedName(QStringLiteral("Centar"))};
    s.Stations[2] = {0, 0.0, 10, PaddedName(QStringLiteral("Nula"))};
    s.Stations[3] = {1, 100.0, 10, PaddedName(QStringLiteral("Dobra"))};
    s.Stations[4] = {1, 50.0, 10, PaddedName(QStringLiteral("Bajt \u0090"))};
    s.TramCount = 2;
    s.TramSerial[1] = 101;
    s.TramRoute[1] = 3;
    s.TramSerial[2] = 102;
    s.TramRoute[2] = 2;
    s.RouteCount = 2;
    s.RouteLength[1] = 2;
    s.RouteSegments[1][1] = 1;
    s.RouteSegments[1][2] = 9;
    s.RouteLength[2] = 0;
    return s;
}

// The worked example as hand-written JSON, with the short name the editor
// would pad.
QJsonObject workedExampleJson()
{
    return QJsonObject{
        {"segments",
         QJsonArray{QJsonObject{
             {"points", QJsonArray{QJsonObject{{"x", 10}, {"y", 20}}, QJsonObject{{"x", 300}, {"y", 40}}}}}}},
        {"lights",
         QJsonArray{QJsonObject{
             {"segment", 1}, {"position", 100}, {"initialState", 0}, {"time2", 10}, {"time1", 10}, {"counter", 0}}}},
        {"stations", QJsonArray{QJsonObject{{"segment", 1}, {"position", 25}, {"time1", 10}, {"name", "Centar"}}}},
        {"trams", QJsonArray{QJsonObject{{"serial", 101}, {"route", 1}}}},
        {"routes", QJsonArray{QJsonObject{{"segments", QJsonArray{1}}}}}};
}

// Replaces (or, with an undefined value, removes) the value at a path such
// as "stations/0/name" in a copy of the document.
QJsonValue replaced(const QJsonValue& document, QStringList path, const QJsonValue& value)
{
    if (path.isEmpty())
        return value;
    const QString step = path.takeFirst();
    if (document.isArray()) {
        QJsonArray array = document.toArray();
        const int index = step.toInt();
        array[index] = replaced(array[index], path, value);
        return array;
    }
    QJsonObject object = document.toObject();
    if (path.isEmpty() && value.isUndefined())
        object.remove(step);
    else
        object[step] = replaced(object[step], path, value);
    return object;
}

QJsonArray repeated(const QJsonValue& value, int count)
{
    QJsonArray array;
    for (int i = 0; i < count; ++i)
        array.append(value);
    return array;
}

} // namespace

class ToolTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    QString schemeFile(const QString& name, const Scheme& scheme)
    {
        const QString file = path(name);
        if (const auto refusal = SaveSchemeFile(file, scheme))
            qWarning("%s", qPrintable(*refusal));
        return file;
    }

private slots:
    void initTestCase();

    void helpTexts_data();
    void helpTexts();
    void usageErrors_data();
    void usageErrors();

    void checkGoodFile();
    void checkListsEveryFinding();
    void checkSeveralFiles();
    void checkExtraBytes();
    void checkUnreadableFile_data();
    void checkUnreadableFile();

    void infoGoodFile();
    void infoBrokenFile_data();
    void infoBrokenFile();
    void infoMissingFile();

    void renderMatchesCanvas_data();
    void renderMatchesCanvas();
    void renderMatchesEditorWindow();
    void renderRefusalWritesNothing_data();
    void renderRefusalWritesNothing();

    void schematise_data();
    void schematise();

    void jsonRoundTrip_data();
    void jsonRoundTrip();
    void toJsonIsReadable();
    void toJsonWarnsAboutExtraBytes();
    void fromJsonPadsNames();
    void fromJsonRefuses_data();
    void fromJsonRefuses();
    void fromJsonMissingFile();

    void writesInPlaceInLockedFolder_data();
    void writesInPlaceInLockedFolder();
};

void ToolTest::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath()));
    schemeFile(QStringLiteral("worked.sch"), WorkedExample());
    schemeFile(QStringLiteral("network.sch"), Network());
    QCOMPARE(FileBytes(path(QStringLiteral("worked.sch"))), WorkedExampleBytes());
}

void ToolTest::helpTexts_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("usage");
    QTest::newRow("tool") << QStringList{"--help"} << "tram-map-tool NAREDBA";
    QTest::newRow("tool -h") << QStringList{"-h"} << "tram-map-tool NAREDBA";
    QTest::newRow("check") << QStringList{"check", "--help"} << "tram-map-tool check DATOTEKA...";
    QTest::newRow("render") << QStringList{"render", "--help"} << "tram-map-tool render DATOTEKA SLIKA";
    QTest::newRow("render -h after files")
        << QStringList{"render", "a.sch", "a.png", "-h"} << "tram-map-tool render DATOTEKA SLIKA";
    QTest::newRow("to-json") << QStringList{"to-json", "--help"} << "tram-map-tool to-json DATOTEKA [IZLAZ]";
    QTest::newRow("from-json") << QStringList{"from-json", "--help"} << "tram-map-tool from-json JSON IZLAZ";
    QTest::newRow("info") << QStringList{"info", "--help"} << "tram-map-tool info DATOTEKA";
    QTest::newRow("schematise") << QStringList{"schematise", "--help"} << "tram-map-tool schematise ULAZ.sch IZLAZ.sch";
}

void ToolTest::helpTexts()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, usage);
    const ToolRun run = runTool(arguments);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith(("Upotreba: " + usage).toUtf8()), run.out.constData());
    QVERIFY(run.err.isEmpty());
}

void ToolTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString good = path(QStringLiteral("worked.sch"));
    QTest::newRow("no command") << QStringList{} << "nedostaje naredba";
    QTest::newRow("unknown command") << QStringList{"draw", good} << "nepoznata naredba \"draw\"";
    QTest::newRow("check without file") << QStringList{"check"} << "nedostaje datoteka";
    QTest::newRow("check unknown option") << QStringList{"check", "--all", good} << "Unknown option 'all'";
    QTest::newRow("render one file") << QStringList{"render", good} << "nedostaje datoteka";
    QTest::newRow("render three files") << QStringList{"render", good, "a.png", "b.png"} << "previse argumenata: b.png";
    QTest::newRow("render width without value") << QStringList{"render", good, "a.png", "--width"} << "--width";
    QTest::newRow("info two files") << QStringList{"info", good, good} << "previse argumenata";
    QTest::newRow("to-json three files") << QStringList{"to-json", good, "a.json", "b.json"} << "previse argumenata";
    QTest::newRow("from-json one file") << QStringList{"from-json", "a.json"} << "nedostaje datoteka";
    QTest::newRow("schematise one file") << QStringList{"schematise", good} << "nedostaje datoteka";
    QTest::newRow("schematise grid 5") << QStringList{"schematise", good, "a.sch", "--grid", "5"}
                                       << "--grid 5: mora biti izmedju 10 i 100";
    QTest::newRow("schematise snap 30") << QStringList{"schematise", good, "a.sch", "--snap", "30"}
                                        << "--snap 30: mora biti izmedju 0 i 20";
    QTest::newRow("grid without --schematic")
        << QStringList{"import-gtfs", "feed.zip", "a.sch", "--grid", "20"} << "vrijede samo uz --schematic";
}

void ToolTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const ToolRun run = runTool(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    QVERIFY(run.err.contains("--help"));
}

void ToolTest::checkGoodFile()
{
    const ToolRun run = runTool({"check", path(QStringLiteral("worked.sch"))});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.isEmpty());
}

void ToolTest::checkListsEveryFinding()
{
    const QString file = schemeFile(QStringLiteral("doubtful.sch"), doubtfulScheme());
    const ToolRun run = runTool({"check", file});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.isEmpty());
    // Segment 1 runs 1290.16 pixels to (1300, 40), then 1270.80 back to (30, -5).
    const QStringList expected = {
        "segment 1, tacka 2: (1300, 40) je izvan platna 1000 x 392",
        "segment 1, tacka 3: (30, -5) je izvan platna 1000 x 392",
        "segment 2: ima manje od dvije tacke (1)",
        "semafor 1: segment 41 ne postoji",
        "semafor 2: polozaj -0.5 je izvan 0..2560.9520234601 segmenta 1",
        "stanica 1: polozaj 2600 je izvan 0..2560.9520234601 segmenta 1",
        "stanica 2: segment 0 ne postoji",
        "stanica 4: naziv ima bajt koji kodna stranica ne poznaje",
        "vlakon 1: ruta 3 ne postoji",
        "ruta 1, mjesto 2: segment 9 ne postoji",
        "ruta 2: nema nijedan segment",
    };
    QStringList lines;
    for (const QString& finding : expected)
        lines << file + ": " + finding;
    QVERIFY(run.out.endsWith('\n'));
    QCOMPARE(QString::fromUtf8(run.out.chopped(1)).split(u'\n'), lines);
}

void ToolTest::checkSeveralFiles()
{
    const QString good = path(QStringLiteral("worked.sch"));
    const QString doubtful = schemeFile(QStringLiteral("doubtful2.sch"), doubtfulScheme());
    const QString missing = path(QStringLiteral("missing.sch"));

    const ToolRun findings = runTool({"check", good, doubtful, good});
    QCOMPARE(findings.exitCode, 1);
    QCOMPARE(findings.out.count('\n'), 11);
    QVERIFY(!findings.out.contains(good.toUtf8()));

    // A file that cannot be read wins, and the others are still checked.
    const ToolRun failed = runTool({"check", missing, doubtful});
    QCOMPARE(failed.exitCode, 2);
    QCOMPARE(failed.out, findings.out);
    QVERIFY2(failed.err.contains(("\"" + missing + "\"").toUtf8()), failed.err.constData());
    QVERIFY(failed.err.contains("ne postoji"));
}

void ToolTest::checkExtraBytes()
{
    const QString file = path(QStringLiteral("extra.sch"));
    QVERIFY(WriteFile(file, WorkedExampleBytes() + "xyz"));
    const ToolRun run = runTool({"check", file});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(QString::fromUtf8(run.out), file + ": visak bajtova iza posljednjeg unosa rute: 3\n");
}

void ToolTest::checkUnreadableFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "prekratka";
    QTest::newRow("cut in a station") << WorkedExampleBytes().left(50) << "prekratka";
    QTest::newRow("41 segments") << QByteArray::fromHex("2900") << "broj segmenata je 41";
    QTest::newRow("negative count") << QByteArray::fromHex("ffff") << "negativan";
}

void ToolTest::checkUnreadableFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString file = path(QStringLiteral("unreadable.sch"));
    QVERIFY(WriteFile(file, bytes));
    const ToolRun run = runTool({"check", file});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(file.toUtf8()) && run.err.contains(reason.toUtf8()), run.err.constData());
}

void ToolTest::infoGoodFile()
{
    const QString file = path(QStringLiteral("network.sch"));
    const ToolRun run = runTool({"info", file});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    const qint64 size = WriteSchemeBytes(Network()).size();
    QCOMPARE(size, 2 + 2 * 4 + 4 * 12 + 1 + 16 * 3 + 1 + 41 * 3 + 1 + 2 * 2 + 1 + 2 + 3);
    QCOMPARE(QString::fromUtf8(run.out),
             QStringLiteral("datoteka: %1\nvelicina: %2\nispravna: da\n"
                            "segmenti: 4\ntacke: 12\nsemafori: 3\nstanice: 3\n"
                            "vlakoni: 2\nrute: 2\nmjesta u rutama: 3\n")
                 .arg(file)
                 .arg(size));
}

void ToolTest::infoBrokenFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<bool>("countsShown");
    QTest::newRow("cut") << WorkedExampleBytes().left(76) << "ispravna: ne: Datoteka" << false;
    QTest::newRow("too many routes") << WorkedExampleBytes().left(74) + QByteArray::fromHex("15") << "broj ruta je 21"
                                     << false;
    QTest::newRow("extra bytes") << WorkedExampleBytes() + QByteArray(5, '\0')
                                 << "ispravna: ne: visak bajtova iza posljednjeg unosa rute: 5" << true;
}

void ToolTest::infoBrokenFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, verdict);
    QFETCH(bool, countsShown);
    const QString file = path(QStringLiteral("broken.sch"));
    QVERIFY(WriteFile(file, bytes));
    const ToolRun run = runTool({"info", file});
    QCOMPARE(run.exitCode, 1);
    const QString out = QString::fromUtf8(run.out);
    QVERIFY2(out.startsWith(QStringLiteral("datoteka: %1\nvelicina: %2\n").arg(file).arg(bytes.size())),
             qPrintable(out));
    QVERIFY2(out.contains(verdict), qPrintable(out));
    QCOMPARE(out.contains(QStringLiteral("segmenti: 1\n")), countsShown);
}

void ToolTest::infoMissingFile()
{
    const ToolRun run = runTool({"info", path(QStringLiteral("nowhere.sch"))});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.contains("nowhere.sch\" nije otvorena: ne postoji"));
}

void ToolTest::renderMatchesCanvas_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("width");
    QTest::addColumn<EditState>("edit");
    QTest::addColumn<DisplaySettings>("display");

    DisplaySettings start;
    ApplyStartDisplay(start);
    const EditState none;
    const QString png = QStringLiteral(".png");

    QTest::newRow("start-up") << QStringList{} << StartDrawWidth << none << start;
    DisplaySettings circle3 = start;
    circle3.CircleSize = 3;
    QTest::newRow("width and circle") << QStringList{"--width", "5", "--circle", "3"} << 5 << none << circle3;
    QTest::newRow("width read as the editor reads it") << QStringList{"--width=3.5"} << 4 << none << start;
    DisplaySettings bare = start;
    bare.ShowCircles = bare.ShowStations = bare.ShowLights = false;
    QTest::newRow("nothing but tracks") << QStringList{"--no-circles", "--no-stations", "--no-lights"} << StartDrawWidth
                                        << none << bare;
    DisplaySettings noStations = start;
    noStations.ShowStations = false;
    QTest::newRow("no stations") << QStringList{"--no-stations"} << StartDrawWidth << none << noStations;
    EditState route1;
    route1.CurrentRoute = 1;
    DisplaySettings routeShown = start;
    routeShown.ShowRoute = true;
    QTest::newRow("route 1") << QStringList{"--route", "1"} << StartDrawWidth << route1 << routeShown;
    EditState mark3 = route1;
    mark3.CurrentSegment = 3;
    QTest::newRow("route 1, segment 3 marked on it")
        << QStringList{"--route", "1", "--mark", "3", "--width", "9"} << 9 << mark3 << routeShown;
    EditState mark2;
    mark2.CurrentSegment = 2;
    QTest::newRow("segment 2 marked, wide pen") << QStringList{"--mark", "2", "--width", "30"} << 30 << mark2 << start;
    DisplaySettings clean = start;
    clean.ShowCircles = clean.MarkSegment = false;
    QTest::newRow("clean") << QStringList{"--clean"} << StartDrawWidth << none << clean;
    DisplaySettings cleanRoute = routeShown;
    cleanRoute.ShowCircles = cleanRoute.MarkSegment = cleanRoute.ShowLights = false;
    QTest::newRow("clean: the route stays, the mark goes")
        << QStringList{"--clean", "--route", "1", "--mark", "3", "--no-lights"} << StartDrawWidth << mark3
        << cleanRoute;
    QTest::newRow("scale 1 is the canvas") << QStringList{"--scale", "1.4", "--width", "6"} << 6 << none << start;
}

void ToolTest::renderMatchesCanvas()
{
    QFETCH(QStringList, options);
    QFETCH(int, width);
    QFETCH(EditState, edit);
    QFETCH(DisplaySettings, display);

    Canvas canvas;
    display.DrawWidth = int16_t(width);
    DrawScheme(canvas, Network(), edit, display);
    const QImage expected = canvas.image();

    for (const QString& picture : {QStringLiteral("picture.png"), QStringLiteral("picture.BMP")}) {
        const QString out = path(picture);
        QFile::remove(out);
        const ToolRun run = runTool(QStringList{"render", path(QStringLiteral("network.sch")), out} + options);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QImage written(out, picture.endsWith(QStringLiteral("png")) ? "PNG" : "BMP");
        QVERIFY(!written.isNull());
        QCOMPARE(written.size(), QSize(Canvas::Width, Canvas::Height));
        QCOMPARE(written.convertToFormat(expected.format()), expected);
        // 100 dpi, as the tool's pictures have always said.
        QCOMPARE(written.dotsPerMeterX(), 3937);
        QCOMPARE(written.dotsPerMeterY(), 3937);
    }
}

void ToolTest::renderMatchesEditorWindow()
{
    const QString file = path(QStringLiteral("network.sch"));
    FakePrompts prompts;
    MainWindow window(&prompts);
    auto button = [&](const char* name) { return window.findChild<QPushButton*>(QLatin1String(name)); };

    // A fresh editor opens the file and draws it with its start-up settings.
    prompts.fileAnswers << file;
    window.findChild<QAction*>(QStringLiteral("mnuOpen"))->trigger();
    QTest::mouseClick(button("cmdCrtaj"), Qt::LeftButton);
    QVERIFY(prompts.warnings.isEmpty());
    const QString startPicture = path(QStringLiteral("start.png"));
    QCOMPARE(runTool({"render", file, startPicture}).exitCode, 0);
    QCOMPARE(QImage(startPicture).convertToFormat(QImage::Format_RGB32), window.canvas().image());

    // Route 2 (segment 2) shown, segment 1 marked, other sizes, no circles.
    QTest::mouseClick(button("cmdSlijedecaRuta"), Qt::LeftButton);
    QTest::mouseClick(button("cmdSlijedecaRuta"), Qt::LeftButton);
    QTest::mouseClick(button("cmdSlijedeciSegment"), Qt::LeftButton);
    QCOMPARE(int(window.model().edit.CurrentRoute), 2);
    QCOMPARE(int(window.model().edit.CurrentSegment), 1);
    QTest::mouseClick(window.findChild<QCheckBox*>(QStringLiteral("chkPrikaziRutu")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QCheckBox*>(QStringLiteral("chkShowCircles")), Qt::LeftButton);
    auto* widthBox = window.findChild<QLineEdit*>(QStringLiteral("txtDrawWidth"));
    auto* circleBox = window.findChild<QLineEdit*>(QStringLiteral("txtCircleSize"));
    widthBox->setText(QStringLiteral("7"));
    circleBox->setText(QStringLiteral("4"));
    QTest::mouseClick(button("cmdCrtaj"), Qt::LeftButton);
    QVERIFY(window.model().display.ShowRoute);
    QVERIFY(!window.model().display.ShowCircles);

    const QString chosenPicture = path(QStringLiteral("chosen.bmp"));
    const ToolRun run = runTool({"render", file, chosenPicture, "--route", "2", "--mark", "1", "--width", "7",
                                 "--circle", "4", "--no-circles"});
    QCOMPARE(run.exitCode, 0);
    const QImage tool = QImage(chosenPicture).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(tool, window.canvas().image());
    QVERIFY(tool != QImage(startPicture).convertToFormat(QImage::Format_RGB32));
}

void ToolTest::renderRefusalWritesNothing_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    const QString good = QStringLiteral("network.sch");
    QTest::newRow("jpg") << good << "out.jpg" << QStringList{} << "nastavak .png, .bmp, .svg ili .pdf";
    QTest::newRow("no extension") << good << "out" << QStringList{} << "nastavak .png, .bmp, .svg ili .pdf";
    QTest::newRow("svgz") << good << "out.svgz" << QStringList{} << "nastavak .png, .bmp, .svg ili .pdf";
    QTest::newRow("missing scheme") << "missing.sch"
                                    << "out.png" << QStringList{} << "ne postoji";
    QTest::newRow("broken scheme") << "cut.sch"
                                   << "out.png" << QStringList{} << "prekratka";
    QTest::newRow("route 3 of 2") << good << "out.png" << QStringList{"--route", "3"}
                                  << "--route 3: ruta mora biti izmedju 1 i 2";
    QTest::newRow("route 0") << good << "out.png" << QStringList{"--route", "0"} << "--route 0";
    QTest::newRow("mark 5 of 4") << good << "out.png" << QStringList{"--mark", "5"}
                                 << "--mark 5: segment mora biti izmedju 1 i 4";
    QTest::newRow("mark 300") << good << "out.png" << QStringList{"--mark", "300"} << "--mark 300";
    QTest::newRow("width 0") << good << "out.png" << QStringList{"--width", "0"} << "najmanje 1";
    QTest::newRow("width text") << good << "out.png" << QStringList{"--width", "abc"} << "--width abc";
    QTest::newRow("width beyond 16 bits") << good << "out.png" << QStringList{"--width", "40000"}
                                          << "\"Debljina linije:\" mora biti izmedju -32768 i 32767";
    QTest::newRow("circle beyond 16 bits") << good << "out.png" << QStringList{"--circle", "-40000"}
                                           << "\"Velicina kruga:\" mora biti izmedju -32768 i 32767";
    QTest::newRow("folder missing") << good << "no/such/folder/out.png" << QStringList{} << "folder ne postoji";
    QTest::newRow("scale 0") << good << "out.png" << QStringList{"--scale", "0"}
                             << "--scale 0: uvecanje mora biti izmedju 1 i 16";
    QTest::newRow("scale 17") << good << "out.bmp" << QStringList{"--scale", "17"}
                              << "--scale 17: uvecanje mora biti izmedju 1 i 16";
    QTest::newRow("scale 16.6 rounds to 17")
        << good << "out.png" << QStringList{"--scale", "16.6"} << "--scale 16.6: uvecanje";
    QTest::newRow("scale text") << good << "out.png" << QStringList{"--scale", "dva"} << "--scale dva";
    QTest::newRow("scale of a vector") << good << "out.svg" << QStringList{"--scale", "2"}
                                       << "--scale vrijedi samo za .png i .bmp";
    QTest::newRow("page A5") << good << "out.pdf" << QStringList{"--page", "A5"}
                             << "--page A5: papir mora biti A4 ili A3";
    QTest::newRow("page of a picture") << good << "out.png" << QStringList{"--page", "A4"}
                                       << "--page vrijedi samo za .pdf";
    QTest::newRow("svg, folder missing") << good << "no/such/folder/out.svg" << QStringList{"--labels"}
                                         << "folder ne postoji";
    QTest::newRow("pdf, folder missing") << good << "no/such/folder/out.PDF" << QStringList{"--page", "a3"}
                                         << "folder ne postoji";
    QTest::newRow("large picture, folder missing")
        << good << "no/such/folder/out.png" << QStringList{"--scale", "2"} << "folder ne postoji";
    QTest::newRow("svg, missing scheme") << "missing.sch"
                                         << "out.svg" << QStringList{} << "ne postoji";
    QTest::newRow("pdf, route 3 of 2") << good << "out.pdf" << QStringList{"--route", "3", "--clean"} << "--route 3";
}

void ToolTest::renderRefusalWritesNothing()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    QVERIFY(WriteFile(path(QStringLiteral("cut.sch")), WorkedExampleBytes().left(40)));
    const QString out = path(output);
    const QStringList arguments = QStringList{"render", path(input), out} + options;

    QFile::remove(out);
    const ToolRun fresh = runTool(arguments);
    QCOMPARE(fresh.exitCode, 2);
    QVERIFY2(fresh.err.contains(message.toUtf8()), fresh.err.constData());
    QVERIFY(!QFile::exists(out));
    QCOMPARE(QDir(dir.path()).entryList({"out*"}, QDir::Files), QStringList{});

    if (output.contains(u'/'))
        return;
    QVERIFY(WriteFile(out, "old picture"));
    QCOMPARE(runTool(arguments).exitCode, 2);
    QCOMPARE(FileBytes(out), QByteArray("old picture"));
    QFile::remove(out);
}

// A scheme drawn as a schematic map is saved and checks clean; one that
// cannot be read or drawn is refused and nothing is written over the output.
void ToolTest::schematise_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::newRow("drawn") << "worked.sch" << 0 << "mreza: ";
    QTest::newRow("missing scheme") << "missing.sch" << 2 << "ne postoji";
    QTest::newRow("broken scheme") << "cut.sch" << 2 << "prekratka";
    QTest::newRow("a segment of one vertex")
        << "network.sch" << 2 << "nije nacrtana: segment 4: ima manje od dvije razlicite tacke";
}

void ToolTest::schematise()
{
    QFETCH(QString, input);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QVERIFY(WriteFile(path(QStringLiteral("cut.sch")), WorkedExampleBytes().left(40)));
    const QString out = path(QStringLiteral("drawn.sch"));
    QVERIFY(WriteFile(out, "old scheme"));
    const ToolRun run = runTool({"schematise", path(input), out});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? run.out : run.err).contains(said.toUtf8()), (run.out + run.err).constData());
    if (exitCode != 0) {
        QCOMPARE(FileBytes(out), QByteArray("old scheme"));
        return;
    }
    QVERIFY(run.err.isEmpty());
    const ToolRun check = runTool({"check", out});
    QCOMPARE(check.exitCode, 0);
}

void ToolTest::jsonRoundTrip_data()
{
    QTest::addColumn<Scheme>("scheme");
    QTest::newRow("empty") << Scheme{};
    QTest::newRow("worked example") << WorkedExample();
    QTest::newRow("network") << Network();
    QTest::newRow("doubtful references") << doubtfulScheme();
    QTest::newRow("every table full, odd positions and names") << fullScheme();
}

void ToolTest::jsonRoundTrip()
{
    QFETCH(Scheme, scheme);
    const QString original = schemeFile(QStringLiteral("original.sch"), scheme);
    const QString json = path(QStringLiteral("scheme.json"));
    const QString back = path(QStringLiteral("back.sch"));
    QFile::remove(back);

    const ToolRun toJson = runTool({"to-json", original, json});
    QCOMPARE(toJson.exitCode, 0);
    QVERIFY2(toJson.err.isEmpty(), toJson.err.constData());
    const ToolRun fromJson = runTool({"from-json", json, back});
    QCOMPARE(fromJson.exitCode, 0);
    QVERIFY2(fromJson.err.isEmpty(), fromJson.err.constData());
    QCOMPARE(FileBytes(back), FileBytes(original));

    // Standard output carries the same text; it is stable from run to run.
    const ToolRun toStdout = runTool({"to-json", back});
    QCOMPARE(toStdout.exitCode, 0);
    QCOMPARE(toStdout.out, FileBytes(json));
}

void ToolTest::toJsonIsReadable()
{
    const ToolRun run = runTool({"to-json", path(QStringLiteral("worked.sch"))});
    QCOMPARE(run.exitCode, 0);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(root.keys(), (QStringList{"lights", "routes", "segments", "stations", "trams"}));
    const QJsonObject station = root["stations"][0].toObject();
    QCOMPARE(station["name"].toString(), QStringLiteral("Centar") + QString(24, u' '));
    QVERIFY(station["position"].isDouble());
    QCOMPARE(station["position"].toDouble(), 25.0);
    QCOMPARE(root["segments"][0]["points"][1]["x"].toInt(), 300);
    QCOMPARE(root["lights"][0]["time2"].toInt(), 10);
    QCOMPARE(root["trams"][0]["serial"].toInt(), 101);
    QCOMPARE(root["routes"][0]["segments"].toArray(), QJsonArray{1});
    QVERIFY(run.out.contains("\n    \"lights\": ["));
}

void ToolTest::toJsonWarnsAboutExtraBytes()
{
    const QString file = path(QStringLiteral("extra.sch"));
    QVERIFY(WriteFile(file, WorkedExampleBytes() + "xyz"));
    const ToolRun run = runTool({"to-json", file});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains("visak bajtova iza posljednjeg unosa rute: 3"), run.err.constData());
    QCOMPARE(run.out, runTool({"to-json", path(QStringLiteral("worked.sch"))}).out);
}

void ToolTest::fromJsonPadsNames()
{
    const QString json = path(QStringLiteral("hand.json"));
    const QString out = path(QStringLiteral("hand.sch"));
    QVERIFY(WriteFile(json, QJsonDocument(workedExampleJson()).toJson(QJsonDocument::Compact)));
    const ToolRun run = runTool({"from-json", json, out});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(FileBytes(out), WorkedExampleBytes());
}

void ToolTest::fromJsonRefuses_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    const QJsonObject base = workedExampleJson();
    auto with = [&](const QString& place, const QJsonValue& value) {
        return QJsonDocument(replaced(base, place.split(u'/'), value).toObject()).toJson();
    };
    const QJsonObject emptySegment{{"points", QJsonArray{}}};
    const QJsonObject point{{"x", 1}, {"y", 1}};

    QTest::newRow("not JSON") << QByteArray("{\n  \"segments\": [,\n") << "red 2, kolona";
    QTest::newRow("array") << QByteArray("[]") << "ocekuje se objekt";
    QTest::newRow("missing table") << with("trams", QJsonValue::Undefined) << "nedostaje \"trams\"";
    QTest::newRow("unknown key") << with("lights/0/colour", 1) << "lights[1].colour: nepoznat kljuc";
    QTest::newRow("missing field") << with("stations/0/time1", QJsonValue::Undefined)
                                   << "stations[1]: nedostaje \"time1\"";
    QTest::newRow("segment beyond a byte")
        << with("stations/0/segment", 300) << "stations[1].segment: 300 je izvan 0..255";
    QTest::newRow("negative route") << with("trams/0/route", -1) << "trams[1].route: -1 je izvan 0..255";
    QTest::newRow("fraction") << with("segments/0/points/1/x", 1.5) << "segments[1].points[2].x: 1.5 nije cijeli broj";
    QTest::newRow("x beyond 16 bits") << with("segments/0/points/0/y", 40000)
                                      << "segments[1].points[1].y: 40000 je izvan -32768..32767";
    QTest::newRow("number as text") << with("lights/0/time1", "10") << "lights[1].time1: ocekuje se cijeli broj";
    QTest::newRow("route slot beyond a byte")
        << with("routes/0/segments/0", 256) << "routes[1].segments[1]: 256 je izvan 0..255";
    QTest::newRow("41 segments") << with("segments", repeated(emptySegment, 41))
                                 << "segments: ima 41 elemenata, a najvise moze imati 40";
    QTest::newRow("51 vertices") << with("segments/0/points", repeated(point, 51))
                                 << "segments[1].points: ima 51 elemenata, a najvise moze imati 50";
    QTest::newRow("19 route slots") << with("routes/0/segments", repeated(1, 19))
                                    << "routes[1].segments: ima 19 elemenata, a najvise moze imati 18";
    QTest::newRow("101 trams") << with("trams", repeated(QJsonObject{{"serial", 1}, {"route", 1}}, 101))
                               << "trams: ima 101 elemenata, a najvise moze imati 100";
    QTest::newRow("21 routes") << with("routes", repeated(QJsonObject{{"segments", QJsonArray{}}}, 21))
                               << "routes: ima 21 elemenata";
    QTest::newRow("name of 31") << with("stations/0/name", QString(31, u'a'))
                                << "stations[1].name: ima 31 znakova, a najvise moze imati 30";
    QTest::newRow("name outside the code page")
        << with("stations/0/name", QStringLiteral("Centar Ж")) << "stations[1].name: znak 8 (U+0416)";
    QTest::newRow("replacement character")
        << with("stations/0/name", QStringLiteral("\uFFFD")) << "stations[1].name: znak 1 (U+fffd)";
    QTest::newRow("position text") << with("lights/0/position", "abc") << "lights[1].position: ocekuje se broj";
    QTest::newRow("position bits too short") << with("lights/0/position", "0x7ff8") << "lights[1].position";
    QTest::newRow("segments not an array") << with("segments", 3) << "segments: ocekuje se niz";
    QTest::newRow("point not an object") << with("segments/0/points/0", QJsonArray{1, 2})
                                         << "segments[1].points[1]: ocekuje se objekt";
}

void ToolTest::fromJsonRefuses()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    const QString input = path(QStringLiteral("bad.json"));
    const QString out = path(QStringLiteral("refused.sch"));
    QVERIFY(WriteFile(input, json));

    QFile::remove(out);
    const ToolRun fresh = runTool({"from-json", input, out});
    QCOMPARE(fresh.exitCode, 2);
    QVERIFY(fresh.out.isEmpty());
    const QByteArray expected = ("Datoteka \"" + input + "\" nije procitana: ").toUtf8();
    QVERIFY2(fresh.err.startsWith(expected) && fresh.err.contains(message.toUtf8()), fresh.err.constData());
    QVERIFY(!QFile::exists(out));

    QVERIFY(WriteFile(out, WorkedExampleBytes()));
    QCOMPARE(runTool({"from-json", input, out}).exitCode, 2);
    QCOMPARE(FileBytes(out), WorkedExampleBytes());
}

void ToolTest::fromJsonMissingFile()
{
    const ToolRun run = runTool({"from-json", path(QStringLiteral("none.json")), path(QStringLiteral("x.sch"))});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains("none.json\" nije procitana: ne postoji"));
    QVERIFY(!QFile::exists(path(QStringLiteral("x.sch"))));
}

void ToolTest::writesInPlaceInLockedFolder_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::newRow("scheme") << "from-json"
                            << "in.json"
                            << "out.sch";
    QTest::newRow("picture") << "render"
                             << "in.sch"
                             << "out.png";
}

// A writable file in a folder that takes no new file has no room for a
// temporary file beside it: it is written in place, while a new file there is
// still refused.
void ToolTest::writesInPlaceInLockedFolder()
{
    QFETCH(QString, command);
    QFETCH(QString, input);
    QFETCH(QString, output);
    // Root may create files in any folder: as root (so in CI) the tool runs as
    // nobody, from a copy in a folder that user can reach.
    const bool root = geteuid() == 0;
    const passwd* nobody = root ? getpwnam("nobody") : nullptr;
    QVERIFY2(!root || nobody, "no user \"nobody\" to run the tool as");
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    QTemporaryDir base;
    QVERIFY(base.isValid());
    QVERIFY(QFile::setPermissions(base.path(), open));
    const QString tool = base.filePath(QStringLiteral("tram-map-tool"));
    QVERIFY(QFile::copy(toolPath(), tool));
    QVERIFY(QFile::setPermissions(tool, open));
    QCOMPARE(
        runTool({"to-json", path(QStringLiteral("network.sch")), base.filePath(QStringLiteral("in.json"))}).exitCode,
        0);
    QVERIFY(QFile::copy(path(QStringLiteral("network.sch")), base.filePath(QStringLiteral("in.sch"))));
    const QString expected = base.filePath(QStringLiteral("expected-") + output);
    QCOMPARE(runTool({command, base.filePath(input), expected}).exitCode, 0);

    const QString locked = base.filePath(QStringLiteral("locked"));
    const QString target = locked + u'/' + output;
    QVERIFY(QDir().mkdir(locked));
    QVERIFY(WriteFile(target, "old contents"));
    if (root)
        QCOMPARE(chown(QFile::encodeName(target).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    QVERIFY(QFile::setPermissions(locked, open & ~QFile::WriteOwner));
    const auto unlock = qScopeGuard([&] { QFile::setPermissions(locked, open); });
    const auto runUnprivileged = [&](const QString& out) {
        const QStringList arguments{command, base.filePath(input), out};
        if (!root)
            return runProgram(tool, arguments);
        return runProgram(QStringLiteral("setpriv"),
                          QStringList{QStringLiteral("--reuid=%1").arg(nobody->pw_uid),
                                      QStringLiteral("--regid=%1").arg(nobody->pw_gid), "--clear-groups", tool}
                              + arguments);
    };
    const auto inode = [](const QString& file) {
        struct stat status { };
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_ino : ino_t(0);
    };

    const ino_t before = inode(target);
    const ToolRun replaced = runUnprivileged(target);
    QCOMPARE(replaced.exitCode, 0);
    QVERIFY2(replaced.err.isEmpty(), replaced.err.constData());
    QCOMPARE(FileBytes(target), FileBytes(expected));
    QCOMPARE(inode(target), before);

    const QString fresh = locked + QStringLiteral("/new-") + output;
    const ToolRun refused = runUnprivileged(fresh);
    QCOMPARE(refused.exitCode, 2);
    QVERIFY2(refused.err.contains("ne moze se otvoriti za pisanje"), refused.err.constData());
    QCOMPARE(QDir(locked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{output});
}

QTEST_MAIN(ToolTest)
#include "test_tool.moc"
