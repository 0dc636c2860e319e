// A system without the Windows-1250 converter. This program's own iconv_open,
// which the statically linked library calls, refuses that code page and hands
// every other one to the C library. Station names must then never turn into
// '?' on a save nor into replacement characters on an open: both refuse with
// a message and change nothing.

#include "files/SchemeFile.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/Schemes.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <iconv.h>

extern "C" iconv_t iconv_open(const char* to, const char* from)
{
    if (std::strstr(to, "1250") || std::strstr(from, "1250")) {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);
    }
    using Open = iconv_t (*)(const char*, const char*);
    static const auto systemOpen = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "iconv_open"));
    return systemOpen(to, from);
}

using namespace tram;
using namespace testfiles;
using namespace testschemes;

namespace {

// The worked example without its station: no name to convert.
Scheme withoutStations()
{
    Scheme s = WorkedExample();
    s.StationCount = 0;
    s.Stations[1] = Station{};
    return s;
}

} // namespace

class MissingCodePageTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    FakePrompts prompts;
    MainWindow window{&prompts};

    void trigger(const char* action, const QString& path)
    {
        prompts.warnings.clear();
        prompts.fileAnswers = QStringList{path};
        window.findChild<QAction*>(QLatin1String(action))->trigger();
    }

private slots:
    void saveRefusesNames_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new file") << false;
        QTest::newRow("over a file") << true;
    }

    void saveRefusesNames()
    {
        QFETCH(bool, existing);
        const QString path = dir.filePath(QStringLiteral("names.sch"));
        QFile::remove(path);
        if (existing)
            QVERIFY(WriteFile(path, "old scheme"));
        window.model().scheme = WorkedExample();
        trigger("mnuSave", path);
        QCOMPARE(prompts.warnings.size(), 1);
        QVERIFY2(prompts.warnings.first().contains(
                     QStringLiteral("nije sacuvana: ovaj sistem nema kodnu stranicu Windows-1250")),
                 qPrintable(prompts.warnings.first()));
        QCOMPARE(QFile::exists(path), existing);
        if (existing)
            QCOMPARE(FileBytes(path), QByteArray("old scheme"));
    }

    void openRefusesNames()
    {
        const QString path = dir.filePath(QStringLiteral("centar.sch"));
        QVERIFY(WriteFile(path, WorkedExampleBytes()));
        window.model().scheme = withoutStations();
        window.model().scheme.Stations[1].Name = PaddedName(QStringLiteral("Staro"));
        const Scheme before = window.model().scheme;

        trigger("mnuOpen", path);
        QCOMPARE(prompts.warnings.size(), 1);
        QVERIFY2(prompts.warnings.first().contains(
                     QStringLiteral("nije otvorena: ovaj sistem nema kodnu stranicu Windows-1250")),
                 qPrintable(prompts.warnings.first()));
        QVERIFY(window.model().scheme == before);
    }

    // Without a name at stake the code page is not needed.
    void schemesWithoutStationsStillPass()
    {
        const QString path = dir.filePath(QStringLiteral("plain.sch"));
        window.model().scheme = withoutStations();
        trigger("mnuSave", path);
        QCOMPARE(prompts.warnings, QStringList{});
        window.model().scheme = Scheme{};
        trigger("mnuOpen", path);
        QCOMPARE(prompts.warnings, QStringList{});
        QVERIFY(window.model().scheme == withoutStations());
    }
};

QTEST_MAIN(MissingCodePageTest)
#include "test_missing_code_page.moc"
