#include "CommandLine.h"
#include "Commands.h"
#include "LoadedScheme.h"
#include "ToolOutput.h"

#include <QFileInfo>

namespace tram {

namespace {

const char InfoHelp[] = R"(Upotreba: tram-map-tool info DATOTEKA

Ispisuje velicinu datoteke seme, da li je ispravna i koliko cega ima u njoj:

  datoteka: mreza.sch
  velicina: 77
  ispravna: da
  segmenti: 1
  tacke: 2
  semafori: 1
  stanice: 1
  vlakoni: 1
  rute: 1
  mjesta u rutama: 1

Neispravna datoteka daje "ispravna: ne: RAZLOG". Datoteka koju citac
prima, ali iza posljednjeg unosa rute ima jos bajtova, nije ispravna, a
brojevi se ipak ispisuju.

Izlazni status: 0 za ispravnu datoteku, 1 za neispravnu, 2 kad se datoteka
ne moze procitati ili su argumenti pogresni.
)";

void printCounts(const Scheme& scheme)
{
    int points = 0;
    for (int s = 1; s <= scheme.SegmentCount; ++s)
        points += scheme.PointCount[s];
    int entries = 0;
    for (int r = 1; r <= scheme.RouteCount; ++r)
        entries += scheme.RouteLength[r];
    PrintLine(QStringLiteral("segmenti: %1").arg(scheme.SegmentCount));
    PrintLine(QStringLiteral("tacke: %1").arg(points));
    PrintLine(QStringLiteral("semafori: %1").arg(scheme.LightCount));
    PrintLine(QStringLiteral("stanice: %1").arg(scheme.StationCount));
    PrintLine(QStringLiteral("vlakoni: %1").arg(scheme.TramCount));
    PrintLine(QStringLiteral("rute: %1").arg(scheme.RouteCount));
    PrintLine(QStringLiteral("mjesta u rutama: %1").arg(entries));
}

} // namespace

int RunInfo(const QStringList& arguments)
{
    QCommandLineParser parser;
    if (const auto exit = ParseCommand(parser, {QStringLiteral("info"), InfoHelp, 1, 1}, arguments))
        return *exit;
    const QString path = parser.positionalArguments().constFirst();
    LoadedScheme loaded;
    QString error;
    const bool read = LoadSchemeForTool(path, loaded, &error);
    const QFileInfo file(path);
    // A file that is there and readable but refused is what info reports on;
    // one that cannot be read at all is a file error.
    if (!read && !(file.isFile() && file.isReadable())) {
        PrintError(error);
        return ExitUsageOrFileError;
    }
    PrintLine(QStringLiteral("datoteka: %1").arg(ShownFileName(path)));
    PrintLine(QStringLiteral("velicina: %1").arg(file.size()));
    if (!read) {
        PrintLine(QStringLiteral("ispravna: ne: %1").arg(error));
        return ExitProblemsFound;
    }
    const QString extra = ExtraBytesProblem(loaded);
    PrintLine(extra.isEmpty() ? QStringLiteral("ispravna: da") : QStringLiteral("ispravna: ne: %1").arg(extra));
    printCounts(loaded.scheme);
    return extra.isEmpty() ? ExitSuccess : ExitProblemsFound;
}

} // namespace tram
