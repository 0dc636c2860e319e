// The editor's command line: a scheme file named there is opened as "Otvori"
// opens it and drawn at once; --help and --version answer, and wrong
// arguments are refused, before any display is opened.

#include "files/SchemeFile.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/Schemes.h"
#include "support/ToolRun.h"
#include "ui/MainWindow.h"
#include "view/Renderer.h"

#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace tram;
using namespace testfiles;
using namespace testschemes;

namespace {

// A built program run with no display in its environment.
testtool::ToolRun runWithoutDisplay(const QString& program, const QStringList& arguments)
{
    return testtool::runProgram(testtool::builtProgram(program == u"tram-map-editor" ? "TRAM_MAP_EDITOR"
                                                                                     : "TRAM_MAP_TOOL"),
                                arguments);
}

// What the editor shows after opening the scheme at start: its start-up
// pen width and display settings, nothing current.
QImage startUpPicture(const Scheme& scheme)
{
    Canvas canvas;
    DisplaySettings display;
    ApplyStartDisplay(display);
    DrawScheme(canvas, scheme, EditState{}, display);
    return canvas.image();
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void goodFileIsOpenedAndDrawn();
    void refusedFileWarnsAsOpenDoes_data();
    void refusedFileWarnsAsOpenDoes();
    void answersWithoutDisplay_data();
    void answersWithoutDisplay();
    void wrongArgumentsAreRefused_data();
    void wrongArgumentsAreRefused();

private:
    std::unique_ptr<QTemporaryDir> dir;
    FakePrompts* prompts = nullptr;
    MainWindow* window = nullptr;
};

void StartupTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    prompts = new FakePrompts;
    window = new MainWindow(prompts);
}

void StartupTest::cleanup()
{
    delete window;
    window = nullptr;
    delete prompts;
    prompts = nullptr;
    dir.reset();
}

void StartupTest::goodFileIsOpenedAndDrawn()
{
    const QString path = dir->filePath(QStringLiteral("mreza.sch"));
    QVERIFY(WriteFile(path, WorkedExampleBytes()));
    const QImage blank = window->canvas().image();

    window->openAtStart(path);
    QVERIFY(prompts->warnings.isEmpty());
    QVERIFY(window->model().scheme == WorkedExample());
    QCOMPARE(window->redrawCount(), 1);
    QVERIFY(window->canvas().image() != blank);
    QCOMPARE(window->canvas().image(), startUpPicture(WorkedExample()));
    // The rest of the start-up is untouched.
    QVERIFY(window->model().edit == EditState{});
    DisplaySettings display;
    ApplyStartDisplay(display);
    QVERIFY(window->model().display == display);
    QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("txtDrawWidth"))->text(), QStringLiteral("20"));
    QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("txtBrojSegmenta"))->text(), QString());
}

void StartupTest::refusedFileWarnsAsOpenDoes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // null: nothing is written there
    QByteArray tooManyLights = WorkedExampleBytes();
    tooManyLights[12] = char(101);
    QTest::newRow("missing") << QStringLiteral("nepostojeca.sch") << QByteArray();
    QTest::newRow("folder") << QString() << QByteArray();
    QTest::newRow("too short") << QStringLiteral("kratka.sch") << WorkedExampleBytes().left(20);
    QTest::newRow("over the limits") << QStringLiteral("pokvarena.sch") << tooManyLights;
}

void StartupTest::refusedFileWarnsAsOpenDoes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = name.isEmpty() ? dir->path() : dir->filePath(name);
    if (!bytes.isNull())
        QVERIFY(WriteFile(path, bytes));
    const QImage blank = window->canvas().image();

    window->openAtStart(path);
    QCOMPARE(prompts->warnings.size(), 1);
    QVERIFY(window->model().scheme == Scheme{});
    QCOMPARE(window->redrawCount(), 0);
    QCOMPARE(window->canvas().image(), blank);

    // "Otvori" refuses the same file with the same words.
    FakePrompts menuPrompts;
    MainWindow menuWindow(&menuPrompts);
    menuPrompts.fileAnswers << path;
    menuWindow.findChild<QAction*>(QStringLiteral("mnuOpen"))->trigger();
    QCOMPARE(menuPrompts.warnings, prompts->warnings);
}

void StartupTest::answersWithoutDisplay_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("output"); // the whole output, or its first line

    const QByteArray editorHelp = "Upotreba: tram-map-editor [DATOTEKA]";
    QTest::newRow("editor --help") << QStringLiteral("tram-map-editor") << QStringList{"--help"} << editorHelp;
    QTest::newRow("editor -h beside a file")
        << QStringLiteral("tram-map-editor") << QStringList{"mreza.sch", "-h"} << editorHelp;
    QTest::newRow("editor --version") << QStringLiteral("tram-map-editor") << QStringList{"--version"}
                                      << QByteArray("tram-map-editor " TRAM_VERSION "\n");
    QTest::newRow("tool --version") << QStringLiteral("tram-map-tool") << QStringList{"--version"}
                                    << QByteArray("tram-map-tool " TRAM_VERSION "\n");
}

void StartupTest::answersWithoutDisplay()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, output);
    const testtool::ToolRun run = runWithoutDisplay(program, arguments);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    if (output.endsWith('\n'))
        QCOMPARE(run.out, output);
    else
        QCOMPARE(run.out.left(run.out.indexOf('\n')), output);
}

void StartupTest::wrongArgumentsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown option") << QStringList{"--crtaj"}
                                    << QStringLiteral("tram-map-editor: nepoznata opcija \"--crtaj\"");
    QTest::newRow("Qt's own option") << QStringList{"-platform", "offscreen"}
                                     << QStringLiteral("tram-map-editor: nepoznata opcija \"-platform\"");
    QTest::newRow("two files") << QStringList{"a.sch", "--", "-b.sch"}
                               << QStringLiteral(
                                      "tram-map-editor: previse datoteka: editor otvara jednu, a navedeno ih je 2");
}

void StartupTest::wrongArgumentsAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const testtool::ToolRun run = runWithoutDisplay(QStringLiteral("tram-map-editor"), arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    const QStringList lines = QString::fromUtf8(run.err).split(u'\n');
    QCOMPARE(lines.value(0), message);
    QCOMPARE(lines.value(1), QStringLiteral("Pomoc: tram-map-editor --help"));
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
