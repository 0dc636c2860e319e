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
    for (int s = 1; s <= SegmentsInUse(scheme); ++s)
        points += PointsInUse(scheme, s);
    int entries = 0;
    for (int r = 1; r <= RoutesInUse(scheme); ++r)
        entries += RouteSlotsInUse(scheme, r);
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
    const auto refusal = LoadSchemeForTool(path, loaded);
    const QFileInfo file(path);
    // A file that is there and readable but refused is what info reports on;
    // one that cannot be read at all is a file error.
    if (refusal && !(file.isFile() && file.isReadable()))
        return Finish(refusal);
    PrintLine(QStringLiteral("datoteka: %1").arg(ShownFileName(path)));
    PrintLine(QStringLiteral("velicina: %1").arg(file.size()));
    if (refusal) {
        PrintLine(QStringLiteral("ispravna: ne: %1").arg(*refusal));
        return ExitProblemsFound;
    }
    const auto extra = ExtraBytesProblem(loaded);
    PrintLine(extra ? QStringLiteral("ispravna: ne: %1").arg(*extra) : QStringLiteral("ispravna: da"));
    printCounts(loaded.scheme);
    return extra ? ExitProblemsFound : ExitSuccess;
}

} // namespace tram
