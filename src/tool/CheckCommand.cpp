#include "CommandLine.h"
#include "Commands.h"
#include "LoadedScheme.h"
#include "ToolOutput.h"

#include "files/SchemeCheck.h"
#include "view/Canvas.h"

#include <algorithm>

namespace tram {

namespace {

// The canvas's size as the finding states it.
QString checkHelp()
{
    return QStringLiteral(R"(Upotreba: tram-map-tool check DATOTEKA...

Cita svaku datoteku seme citacem editora i ispisuje na standardni izlaz
svaku referencu koja ne imenuje nista ili izgleda pogresno, jedan red po
nalazu, redom kao u datoteci:

  DATOTEKA: segment N: ima manje od dvije tacke (K)
  DATOTEKA: segment N, tacka J: (X, Y) je izvan platna %1 x %2
  DATOTEKA: semafor N: segment S ne postoji
  DATOTEKA: stanica N: polozaj P je izvan 0..D segmenta S
  DATOTEKA: stanica N: naziv ima bajt koji kodna stranica ne poznaje
  DATOTEKA: vlakon N: ruta R ne postoji
  DATOTEKA: ruta N: nema nijedan segment
  DATOTEKA: ruta N, mjesto K: segment S ne postoji
  DATOTEKA: visak bajtova iza posljednjeg unosa rute: B

Izlazni status: 0 bez nalaza, 1 kad ima nalaza, 2 kad se neka datoteka ne
moze procitati (poruka ide na standardnu gresku, ostale se ipak provjere).
)")
        .arg(Canvas::Width)
        .arg(Canvas::Height);
}

// Prints the findings of one file; returns its exit status.
int checkFile(const QString& path)
{
    LoadedScheme loaded;
    if (const auto refusal = LoadSchemeForTool(path, loaded))
        return Finish(refusal);
    QStringList findings = CheckScheme(loaded.scheme);
    if (const auto extra = ExtraBytesProblem(loaded))
        findings << *extra;
    for (const QString& finding : findings)
        PrintLine(QStringLiteral("%1: %2").arg(ShownFileName(path), finding));
    return findings.isEmpty() ? ExitSuccess : ExitProblemsFound;
}

} // namespace

int RunCheck(const QStringList& arguments)
{
    QCommandLineParser parser;
    if (const auto exit = ParseCommand(parser, {QStringLiteral("check"), checkHelp(), 1, -1}, arguments))
        return *exit;
    int status = ExitSuccess;
    for (const QString& path : parser.positionalArguments())
        status = std::max(status, checkFile(path));
    return status;
}

} // namespace tram
