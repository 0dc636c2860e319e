#include "CommandLine.h"
#include "Commands.h"
#include "LoadedScheme.h"
#include "SchematicOptions.h"
#include "ToolOutput.h"

#include "files/SchemeFile.h"

namespace tram {

namespace {

const QString SchematiseHelp = QStringLiteral(R"(Upotreba: tram-map-tool schematise ULAZ.sch IZLAZ.sch [opcije]

Crta semu kao shematsku kartu: svaki komad svakog segmenta je vodoravan,
uspravan ili pod 45 stepeni, po kvadratnoj mrezi, bez skretanja ostrijeg
od pravog ugla. Mreza ostaje ista: krajevi koji se sastaju i dalje se
sastaju, kraj na tudjem segmentu ostaje na njemu, segmenti se oko svakog
spoja redaju kao prije, ukrstanja ostaju, a nova se ne prave; segmenti
jedan uz drugi su bar 20 piksela razmaknuti. Stanice su na tackama svojih
segmenata, istim redom, ravnomjerno razmaknute i bar 16 piksela jedna od
druge; semafori ostaju na istom dijelu duzine segmenta. Crtez ispunjava
platno unutar margine. Mijenjaju se samo tacke segmenata i polozaji
stanica i semafora; segmenti, rute, vlakoni, nazivi i vremena ostaju.

Opcije:
%1
Sazetak ide na standardni izlaz: mreza, prelomi, najveci pomak cvora od
njegovog mjesta i okret karte.

Izlazni status: 0 kad je sema sacuvana, 2 kad argumenti nisu ispravni,
ulaz se ne moze procitati, izlaz sacuvati, ili se sema ne moze nacrtati
po pravilima (poruka kaze koje pravilo i koji segment ili stanica); tada
se nista ne pise.
)")
                                   .arg(QString::fromLatin1(SchematicOptionsHelp));

} // namespace

int RunSchematise(const QStringList& arguments)
{
    const QString command = QStringLiteral("schematise");
    QCommandLineParser parser;
    AddSchematicOptions(parser);
    if (const auto exit = ParseCommand(parser, {command, SchematiseHelp, 2, 2}, arguments))
        return *exit;
    schematic::SchematicOptions options;
    if (const auto refusal = ReadSchematicOptions(parser, options))
        return UsageError(command, *refusal);
    const QString input = parser.positionalArguments().at(0);
    const QString output = parser.positionalArguments().at(1);

    LoadedScheme loaded;
    if (const auto refusal = LoadSchemeForTool(input, loaded))
        return Finish(refusal);
    if (const auto refusal = UseLabelFont(options))
        return Finish(refusal);
    Scheme drawn;
    schematic::SchematicSummary summary;
    if (const auto refusal = schematic::Schematise(loaded.scheme, options, drawn, summary))
        return Finish(QStringLiteral("Sema \"%1\" nije nacrtana: %2").arg(ShownFileName(input), *refusal));
    if (const auto refusal = SaveSchemeFile(output, drawn))
        return Finish(refusal);
    PrintSchematicSummary(summary);
    PrintLine(QStringLiteral("sacuvano: %1").arg(ShownFileName(output)));
    return ExitSuccess;
}

} // namespace tram
