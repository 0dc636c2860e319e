#include "files/CodePage.h"
#include "files/SchemeFile.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/Schemes.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace tram;
using namespace testfiles;
using namespace testschemes;

namespace {

QString textOf(const StationName& name)
{
    return QString(reinterpret_cast<const QChar*>(name.data()), NameLength);
}

// Every field set to a distinct value, in every table, at the limits.
Scheme richScheme()
{
    Scheme s;
    s.SegmentCount = 3;
    s.PointCount = {};
    s.PointCount[1] = 2;
    s.PointCount[2] = 0;
    s.PointCount[3] = MaxPoints;
    s.Points[1][1] = {-32768, 32767};
    s.Points[1][2] = {-1, 256};
    for (int j = 1; j <= MaxPoints; ++j)
        s.Points[3][j] = {int16_t(j * 7), int16_t(-j * 3)};
    s.LightCount = 2;
    s.Lights[1] = {255, 0.25, 1, -5, 32767, -32768};
    s.Lights[2] = {3, -1e300, 2, 300, 400, 1234};
    s.StationCount = 3;
    s.Stations[1] = {1, 12.5, -7, PaddedName(QStringLiteral("  razmak sprijeda i iza  "))};
    s.Stations[2] = {2, 1e-300, 600, PaddedName(QString::fromUtf8("čćđšž ČĆĐŠŽ Zeljeznicka"))};
    s.Stations[3] = {0, 0, 0, PaddedName(QStringLiteral("123456789012345678901234567890"))};
    s.TramCount = 2;
    s.TramSerial[1] = 101;
    s.TramRoute[1] = 255;
    s.TramSerial[2] = 0;
    s.TramRoute[2] = 7;
    s.RouteCount = 3;
    s.RouteLength[1] = MaxRouteSlots;
    for (int k = 1; k <= MaxRouteSlots; ++k)
        s.RouteSegments[1][k] = uint8_t(k * 13);
    s.RouteLength[2] = 0;
    s.RouteLength[3] = 2;
    s.RouteSegments[3][1] = 3;
    s.RouteSegments[3][2] = 3;
    return s;
}

} // namespace

class SchemeFileTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // The bytes
    void workedExampleWrites77Bytes();
    void workedExampleReadsBack();
    void emptySchemeIsSixZeroBytes();
    void zeroCountsWriteNoElements();
    void elementZeroIsNeverWritten();
    void roundTripKeepsEveryField();
    void fileSizeFollowsTheCounts();
    void trailingBytesAreIgnored();
    void readKeepsElementsBeyondCounts();
    void refusals_data();
    void refusals();
    void refusalLeavesSchemeUntouched();

    // Names
    void diacriticsAreWindows1250();
    void characterWithoutByteBecomesQuestionMark();
    void undefinedBytesSurviveOpenAndSave();

    // Through the window
    void dialogTitlesAndFilters();
    void cancelDoesNothing();
    void saveWritesTheModel();
    void saveOverLongerFileTruncates();
    void saveRefusedKeepsOldFile();
    void saveIntoMissingFolderWarns();
    void saveIntoReadOnlyFolderKeepsOldFile();
    void openReadsWithoutRedrawOrReset();
    void openAfterLargerSchemeKeepsOldElements();
    void openAfterLargerSchemeNewRouteReusesSlot();
    void openRefusedFileWarnsAndKeepsModel();
    void openMissingFileWarns();

private:
    QAction* action(const char* name) { return window->findChild<QAction*>(name); }
    void setBox(const char* name, const QString& text) { window->findChild<QLineEdit*>(name)->setText(text); }

    QTemporaryDir* dir = nullptr;
    FakePrompts* prompts = nullptr;
    MainWindow* window = nullptr;
};

void SchemeFileTest::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
    prompts = new FakePrompts;
    window = new MainWindow(prompts);
}

void SchemeFileTest::cleanup()
{
    delete window;
    delete prompts;
    delete dir;
}

void SchemeFileTest::workedExampleWrites77Bytes()
{
    const QByteArray bytes = WriteSchemeBytes(WorkedExample());
    QCOMPARE(bytes.size(), 77);
    QCOMPARE(bytes.toHex(' '), WorkedExampleBytes().toHex(' '));
}

void SchemeFileTest::workedExampleReadsBack()
{
    Scheme scheme;
    const auto refusal = ReadSchemeBytes(WorkedExampleBytes(), scheme);
    QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    QVERIFY(scheme == WorkedExample());
}

void SchemeFileTest::emptySchemeIsSixZeroBytes()
{
    QCOMPARE(WriteSchemeBytes(Scheme{}), QByteArray(6, '\0'));
    Scheme scheme = WorkedExample();
    QVERIFY(!ReadSchemeBytes(QByteArray(6, '\0'), scheme));
    QCOMPARE(scheme.SegmentCount, 0);
    QCOMPARE(scheme.LightCount, 0);
    QCOMPARE(scheme.StationCount, 0);
    QCOMPARE(scheme.TramCount, 0);
    QCOMPARE(scheme.RouteCount, 0);
}

void SchemeFileTest::zeroCountsWriteNoElements()
{
    Scheme s;
    s.SegmentCount = 2;
    s.PointCount[1] = 0;
    s.PointCount[2] = 1;
    s.Points[1][1] = {99, 99}; // beyond the count of segment 1: not written
    s.Points[2][1] = {5, 6};
    s.RouteCount = 2;
    s.RouteLength[1] = 0;
    s.RouteSegments[1][1] = 42;
    s.RouteLength[2] = 1;
    s.RouteSegments[2][1] = 9;
    const QByteArray expected = QByteArray::fromHex("0200"
                                                    "0000"
                                                    "0100"
                                                    "05000600"
                                                    "00"
                                                    "00"
                                                    "00"
                                                    "02"
                                                    "00"
                                                    "01"
                                                    "09");
    QCOMPARE(WriteSchemeBytes(s).toHex(' '), expected.toHex(' '));

    Scheme read;
    QVERIFY(!ReadSchemeBytes(expected, read));
    QCOMPARE(read.PointCount[1], 0);
    QCOMPARE(read.Points[2][1], (MapPoint{5, 6}));
    QCOMPARE(read.Points[1][1], (MapPoint{0, 0}));
    QCOMPARE(read.RouteLength[1], 0);
    QCOMPARE(read.RouteSegments[1][1], 0);
    QCOMPARE(read.RouteSegments[2][1], 9);
}

void SchemeFileTest::elementZeroIsNeverWritten()
{
    Scheme s = WorkedExample();
    s.PointCount[0] = 5;
    s.Points[1][0] = {7, 7};
    s.Lights[0].Segment = 9;
    s.Stations[0].Time1 = 9;
    s.TramSerial[0] = 9;
    s.TramRoute[0] = 9;
    s.RouteLength[0] = 9;
    s.RouteSegments[1][0] = 9;
    QCOMPARE(WriteSchemeBytes(s), WorkedExampleBytes());

    Scheme read = s;
    QVERIFY(!ReadSchemeBytes(WorkedExampleBytes(), read));
    QVERIFY(read == s);
}

void SchemeFileTest::roundTripKeepsEveryField()
{
    const Scheme original = richScheme();
    Scheme read;
    const auto refusal = ReadSchemeBytes(WriteSchemeBytes(original), read);
    QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    QVERIFY(read == original);
    QCOMPARE(textOf(read.Stations[1].Name), textOf(original.Stations[1].Name));
    QCOMPARE(textOf(read.Stations[2].Name), textOf(original.Stations[2].Name));
    QCOMPARE(read.Lights[1].Counter, -32768);
    QCOMPARE(read.Lights[2].Counter, 1234);
}

void SchemeFileTest::fileSizeFollowsTheCounts()
{
    // 2 + 2S + 4P + 1 + 16L + 1 + 41N + 1 + 2T + 1 + R + K
    const Scheme s = richScheme();
    const int expected = 2 + 2 * 3 + 4 * (2 + 0 + MaxPoints) + 1 + 16 * 2 + 1 + 41 * 3 + 1 + 2 * 2 + 1 + 3
        + (MaxRouteSlots + 0 + 2);
    QCOMPARE(WriteSchemeBytes(s).size(), expected);
}

void SchemeFileTest::trailingBytesAreIgnored()
{
    Scheme scheme;
    QVERIFY(!ReadSchemeBytes(WorkedExampleBytes() + QByteArray("garbage after the routes"), scheme));
    QVERIFY(scheme == WorkedExample());
}

void SchemeFileTest::readKeepsElementsBeyondCounts()
{
    Scheme scheme = richScheme();
    const Scheme before = scheme;
    QVERIFY(!ReadSchemeBytes(WorkedExampleBytes(), scheme));
    QCOMPARE(scheme.SegmentCount, 1);
    QCOMPARE(scheme.Points[1][1], (MapPoint{10, 20}));
    QCOMPARE(scheme.Points[1][3], before.Points[1][3]);
    QCOMPARE(scheme.PointCount[3], before.PointCount[3]);
    QCOMPARE(scheme.Points[3][MaxPoints], before.Points[3][MaxPoints]);
    QVERIFY(scheme.Lights[2] == before.Lights[2]);
    QVERIFY(scheme.Stations[2] == before.Stations[2]);
    QVERIFY(scheme.Stations[3] == before.Stations[3]);
    QCOMPARE(scheme.TramRoute[2], before.TramRoute[2]);
    QCOMPARE(scheme.RouteLength[3], before.RouteLength[3]);
    QCOMPARE(scheme.RouteSegments[1][2], before.RouteSegments[1][2]);
}

void SchemeFileTest::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray good = WorkedExampleBytes();
    QTest::newRow("empty input") << QByteArray() << "nedostaje: broj segmenata";
    QTest::newRow("one byte") << QByteArray(1, '\0') << "nedostaje: broj segmenata";
    QTest::newRow("no light count") << good.left(12) << "nedostaje: broj semafora";
    QTest::newRow("light cut") << good.left(20) << "nedostaje: semafori";
    QTest::newRow("station cut") << good.left(60) << "nedostaje: stanice";
    QTest::newRow("no route count") << good.left(74) << "nedostaje: broj ruta";
    QTest::newRow("no route entry") << good.left(76) << "nedostaje: segmenti ruta";
    QTest::newRow("negative segments") << QByteArray::fromHex("ffff00000000") << "broj segmenata je negativan (-1)";
    QTest::newRow("41 segments") << QByteArray::fromHex("2900") + QByteArray(200, '\0')
                                 << "broj segmenata je 41, a najvise moze biti 40";
    QTest::newRow("negative points") << QByteArray::fromHex("0100"
                                                            "00ff")
            + QByteArray(10, '\0') << "broj tacaka segmenta 1 je negativan (-256)";
    QTest::newRow("51 points") << QByteArray::fromHex("0200"
                                                      "0000"
                                                      "3300")
            + QByteArray(400, '\0')
                               << "broj tacaka segmenta 2 je 51, a najvise moze biti 50";
    QTest::newRow("points cut") << QByteArray::fromHex("0100"
                                                       "3200")
            + QByteArray(199, '\0')
                                << "nedostaje: tacke segmenata";
    QTest::newRow("101 lights") << QByteArray::fromHex("0000"
                                                       "65")
            + QByteArray(2000, '\0')
                                << "broj semafora je 101, a najvise moze biti 100";
    QTest::newRow("101 stations") << QByteArray::fromHex("0000"
                                                         "00"
                                                         "65")
            + QByteArray(5000, '\0')
                                  << "broj stanica je 101, a najvise moze biti 100";
    QTest::newRow("101 trams") << QByteArray::fromHex("0000"
                                                      "00"
                                                      "00"
                                                      "65")
            + QByteArray(300, '\0')
                               << "broj vlakona je 101, a najvise moze biti 100";
    QTest::newRow("tram pair cut") << QByteArray::fromHex("0000"
                                                          "00"
                                                          "00"
                                                          "02"
                                                          "6501"
                                                          "66")
                                   << "nedostaje: vlakoni";
    QTest::newRow("21 routes") << QByteArray::fromHex("0000"
                                                      "00"
                                                      "00"
                                                      "00"
                                                      "15")
            + QByteArray(100, '\0')
                               << "broj ruta je 21, a najvise moze biti 20";
    QTest::newRow("route of 19") << QByteArray::fromHex("0000"
                                                        "00"
                                                        "00"
                                                        "00"
                                                        "02"
                                                        "01"
                                                        "13")
            + QByteArray(100, '\0')
                                 << "broj segmenata rute 2 je 19, a najvise moze biti 18";
    QTest::newRow("lengths cut") << QByteArray::fromHex("0000"
                                                        "00"
                                                        "00"
                                                        "00"
                                                        "03"
                                                        "01"
                                                        "01")
                                 << "nedostaje: broj segmenata ruta";
}

void SchemeFileTest::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    Scheme scheme;
    const auto refusal = ReadSchemeBytes(bytes, scheme);
    QVERIFY(refusal);
    QVERIFY2(refusal->contains(reason), qPrintable(*refusal));
}

void SchemeFileTest::refusalLeavesSchemeUntouched()
{
    Scheme scheme = richScheme();
    const Scheme before = scheme;
    // Valid up to the last route entry, which is missing: everything before it
    // would have fitted, yet nothing may change.
    QByteArray bytes = WriteSchemeBytes(WorkedExample());
    bytes.chop(1);
    QVERIFY(ReadSchemeBytes(bytes, scheme));
    QVERIFY(scheme == before);
}

void SchemeFileTest::diacriticsAreWindows1250()
{
    QCOMPARE(ToCodePage(QString::fromUtf8("čćđšžČĆĐŠŽ")).toHex(' '), QByteArray("e8 e6 f0 9a 9e c8 c6 d0 8a 8e"));
    QCOMPARE(FromCodePage(QByteArray::fromHex("e8e6f09a9ec8c6d08a8e")), QString::fromUtf8("čćđšžČĆĐŠŽ"));

    Scheme s;
    s.StationCount = 1;
    s.Stations[1].Name = PaddedName(QString::fromUtf8("Čaršija"));
    const QByteArray bytes = WriteSchemeBytes(s);
    QCOMPARE(bytes.mid(2 + 1 + 1 + 11, 30), QByteArray::fromHex("c861729a696a61") + QByteArray(23, ' '));
}

void SchemeFileTest::characterWithoutByteBecomesQuestionMark()
{
    // Cyrillic, a CJK character, a lone surrogate and a character outside the BMP.
    const QString text = QString::fromUtf8("AЖ中") + QChar(0xD800) + QString::fromUtf8("😀Z");
    QCOMPARE(ToCodePage(text),
             QByteArray("A????"
                        "?Z"));
    QCOMPARE(ToCodePage(text).size(), text.size());
}

void SchemeFileTest::undefinedBytesSurviveOpenAndSave()
{
    // The five bytes the code page leaves undefined read as the control
    // characters of the same number and are written back unchanged.
    const QString text = FromCodePage(QByteArray::fromHex("41818388909842"));
    QCOMPARE(text, QStringLiteral("A\u0081\u0083\u0088\u0090\u0098B"));
    QCOMPARE(ToCodePage(text), QByteArray::fromHex("41818388909842"));
    // Other control characters of that range have a byte of their own letter.
    QCOMPARE(ToCodePage(QStringLiteral("\u0082\u0080")), QByteArray("??"));

    // Every byte gives exactly one character, also NUL and the control range,
    // and every byte converts back to itself.
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString decoded = FromCodePage(all);
    QCOMPARE(decoded.size(), 256);
    QCOMPARE(decoded[0], QChar(0));
    QCOMPARE(decoded[0x80], QChar(0x20AC)); // euro sign
    QCOMPARE(ToCodePage(decoded).toHex(), all.toHex());
}

void SchemeFileTest::dialogTitlesAndFilters()
{
    action("mnuOpen")->trigger();
    action("mnuSave")->trigger();
    QCOMPARE(prompts->fileQuestions.size(), 2);
    QCOMPARE(prompts->fileQuestions[0].save, false);
    QCOMPARE(prompts->fileQuestions[0].title, QStringLiteral("Open"));
    QCOMPARE(prompts->fileQuestions[0].filter, QStringLiteral("Scheme files (*.sch)"));
    QCOMPARE(prompts->fileQuestions[1].save, true);
    QCOMPARE(prompts->fileQuestions[1].title, QStringLiteral("Save"));
    QCOMPARE(prompts->fileQuestions[1].filter, QStringLiteral("Scheme files (*.sch)"));
}

void SchemeFileTest::cancelDoesNothing()
{
    window->model().scheme = WorkedExample();
    const QStringList before = QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    action("mnuOpen")->trigger();
    action("mnuSave")->trigger();
    QVERIFY(window->model().scheme == WorkedExample());
    QVERIFY(prompts->warnings.isEmpty());
    QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
    QCOMPARE(window->redrawCount(), 0);
}

void SchemeFileTest::saveWritesTheModel()
{
    const QString path = dir->filePath(QStringLiteral("primjer")); // no extension is added
    window->model().scheme = WorkedExample();
    prompts->fileAnswers << path;
    action("mnuSave")->trigger();
    QVERIFY(prompts->warnings.isEmpty());
    QCOMPARE(FileBytes(path), WorkedExampleBytes());
    QVERIFY(!QFile::exists(path + ".sch"));
}

void SchemeFileTest::saveOverLongerFileTruncates()
{
    const QString path = dir->filePath(QStringLiteral("stara.sch"));
    QVERIFY(WriteFile(path, QByteArray(5000, 'x')));
    prompts->fileAnswers << path;
    action("mnuSave")->trigger();
    QVERIFY(prompts->warnings.isEmpty());
    QCOMPARE(FileBytes(path), QByteArray(6, '\0'));
}

void SchemeFileTest::saveRefusedKeepsOldFile()
{
    // A count beyond the tables can only come from a fault; no file could hold it.
    const QString path = dir->filePath(QStringLiteral("stara.sch"));
    QVERIFY(WriteFile(path, WorkedExampleBytes()));
    window->model().scheme.SegmentCount = MaxSegments + 1;
    prompts->fileAnswers << path;
    action("mnuSave")->trigger();
    QCOMPARE(prompts->warnings.size(), 1);
    QVERIFY2(prompts->warnings[0].contains(QStringLiteral("stara.sch")), qPrintable(prompts->warnings[0]));
    QVERIFY(prompts->warnings[0].contains(QStringLiteral("broj segmenata je 41")));
    QCOMPARE(FileBytes(path), WorkedExampleBytes());
}

void SchemeFileTest::saveIntoMissingFolderWarns()
{
    const QString path = dir->filePath(QStringLiteral("nema/ovdje.sch"));
    prompts->fileAnswers << path << dir->path();
    action("mnuSave")->trigger();
    QCOMPARE(prompts->warnings.size(), 1);
    QVERIFY2(prompts->warnings[0].contains(QStringLiteral("ovdje.sch")), qPrintable(prompts->warnings[0]));
    QVERIFY(prompts->warnings[0].contains(QStringLiteral("folder ne postoji")));
    QVERIFY(!QFile::exists(path));

    // A folder's own name is no file either.
    action("mnuSave")->trigger();
    QCOMPARE(prompts->warnings.size(), 2);
    QVERIFY(QFileInfo(dir->path()).isDir());
}

void SchemeFileTest::saveIntoReadOnlyFolderKeepsOldFile()
{
    if (geteuid() == 0)
        QSKIP("file permissions do not bind the superuser");
    const QString folder = dir->filePath(QStringLiteral("zakljucano"));
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/stara.sch");
    QVERIFY(WriteFile(path, WorkedExampleBytes()));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const auto unlock = qScopeGuard(
        [&] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
    window->model().scheme = richScheme();
    prompts->fileAnswers << path;
    action("mnuSave")->trigger();
    QCOMPARE(prompts->warnings.size(), 1);
    QVERIFY(prompts->warnings[0].contains(QStringLiteral("stara.sch")));
    QCOMPARE(FileBytes(path), WorkedExampleBytes());
}

void SchemeFileTest::openReadsWithoutRedrawOrReset()
{
    const QString path = dir->filePath(QStringLiteral("primjer.sch"));
    QVERIFY(WriteFile(path, WorkedExampleBytes()));
    EditorModel& m = window->model();
    m.edit.CurrentSegment = 4;
    m.edit.CurrentRoute = 3;
    m.edit.CurrentTram = 2;
    m.edit.CurrentStation = 5;
    m.edit.CurrentLight = 6;
    m.edit.SelectedKind = ObjectKind::Light;
    m.display.ShowRoute = true;
    const EditState edit = m.edit;
    const DisplaySettings display = m.display;
    setBox("txtBrojRute", QStringLiteral("3"));
    setBox("txtRutaSegment_1", QStringLiteral("abc"));
    setBox("txtRuta", QStringLiteral("77"));
    setBox("txtNazivStanice", QStringLiteral("Stara"));
    const QImage picture = window->canvas().image();

    prompts->fileAnswers << path;
    action("mnuOpen")->trigger();
    QVERIFY(prompts->warnings.isEmpty());
    QVERIFY(m.scheme == WorkedExample());
    QVERIFY(m.edit == edit);
    QVERIFY(m.display == display);
    QCOMPARE(window->redrawCount(), 0);
    QCOMPARE(window->canvas().image(), picture);
    QCOMPARE(window->findChild<QLineEdit*>("txtBrojRute")->text(), QStringLiteral("3"));
    QCOMPARE(window->findChild<QLineEdit*>("txtRutaSegment_1")->text(), QStringLiteral("abc"));
    QCOMPARE(window->findChild<QLineEdit*>("txtRuta")->text(), QStringLiteral("77"));
    QCOMPARE(window->findChild<QLineEdit*>("txtNazivStanice")->text(), QStringLiteral("Stara"));
}

void SchemeFileTest::openAfterLargerSchemeKeepsOldElements()
{
    const QString path = dir->filePath(QStringLiteral("primjer.sch"));
    QVERIFY(WriteFile(path, WorkedExampleBytes()));
    window->model().scheme = richScheme();
    prompts->fileAnswers << path;
    action("mnuOpen")->trigger();

    Scheme expected = richScheme();
    QVERIFY(!ReadSchemeBytes(WorkedExampleBytes(), expected));
    QVERIFY(window->model().scheme == expected);
    QVERIFY(window->model().scheme.Stations[3] == richScheme().Stations[3]);
    QCOMPARE(window->model().scheme.RouteLength[3], 2);
}

void SchemeFileTest::openAfterLargerSchemeNewRouteReusesSlot()
{
    const QString path = dir->filePath(QStringLiteral("primjer.sch"));
    QVERIFY(WriteFile(path, WorkedExampleBytes()));
    window->model().scheme = richScheme();
    prompts->fileAnswers << path;
    action("mnuOpen")->trigger();

    // Route 1 of the file is on display when "Nova ruta" appends route 2,
    // which still holds the old route 2 of the larger scheme: length 0.
    // Appending once more reuses old route 3: segments 3 and 3.
    window->findChild<QPushButton*>("cmdSlijedecaRuta")->click(); // brings route 1 on display
    window->findChild<QPushButton*>("cmdNovaRuta")->click();
    window->findChild<QPushButton*>("cmdNovaRuta")->click();
    const Scheme& s = window->model().scheme;
    QCOMPARE(s.RouteCount, 3);
    QCOMPARE(window->model().edit.CurrentRoute, 3);
    QCOMPARE(window->findChild<QLineEdit*>("txtBrojSegmenataURuti")->text(), QStringLiteral("2"));
    QCOMPARE(window->findChild<QLineEdit*>("txtRutaSegment_1")->text(), QStringLiteral("3"));
    QCOMPARE(window->findChild<QLineEdit*>("txtRutaSegment_2")->text(), QStringLiteral("3"));
    QCOMPARE(window->findChild<QLineEdit*>("txtRutaSegment_3")->text(), QString());
}

void SchemeFileTest::openRefusedFileWarnsAndKeepsModel()
{
    const QString path = dir->filePath(QStringLiteral("pokvarena.sch"));
    QByteArray bytes = WorkedExampleBytes();
    bytes[12] = char(101); // 101 lights
    QVERIFY(WriteFile(path, bytes));
    window->model().scheme = richScheme();
    prompts->fileAnswers << path;
    action("mnuOpen")->trigger();
    QVERIFY(window->model().scheme == richScheme());
    QCOMPARE(prompts->warnings.size(), 1);
    QVERIFY2(prompts->warnings[0].contains(QStringLiteral("pokvarena.sch")), qPrintable(prompts->warnings[0]));
    QVERIFY(prompts->warnings[0].contains(QStringLiteral("broj semafora je 101")));
    QCOMPARE(window->redrawCount(), 0);
}

void SchemeFileTest::openMissingFileWarns()
{
    window->model().scheme = WorkedExample();
    prompts->fileAnswers << dir->filePath(QStringLiteral("nepostojeca.sch")) << dir->path();
    action("mnuOpen")->trigger();
    QCOMPARE(prompts->warnings.size(), 1);
    QVERIFY(prompts->warnings[0].contains(QStringLiteral("nepostojeca.sch")));
    QVERIFY(prompts->warnings[0].contains(QStringLiteral("ne postoji")));

    action("mnuOpen")->trigger(); // a folder
    QCOMPARE(prompts->warnings.size(), 2);
    QVERIFY(window->model().scheme == WorkedExample());
}

QTEST_MAIN(SchemeFileTest)
#include "test_scheme_file.moc"
