#include "CommandLine.h"
#include "Commands.h"
#include "LoadedScheme.h"
#include "ToolOutput.h"

#include "files/SchemeFile.h"
#include "files/SchemeJson.h"

#include <QFile>

namespace tram {

namespace {

const char ToJsonHelp[] = R"(Upotreba: tram-map-tool to-json DATOTEKA [IZLAZ]

Pise semu kao citljiv, stabilan JSON u IZLAZ, ili na standardni izlaz kad
IZLAZ nije dat. Svaka tabela je niz do svog broja elemenata, sa svim
poljima; nazivi stanica imaju svih 30 znakova, s razmacima; polozaji su
brojevi ("-0", "Infinity", "-Infinity", "NaN" ili "0x" i 16 heksadecimalnih
cifara za vrijednosti koje JSON nema). from-json od toga pravi istu
datoteku bajt za bajt.

Izlazni status: 0 kad je JSON napisan, 2 kad se datoteka ne moze procitati
ili sacuvati ili su argumenti pogresni.
)";

const char FromJsonHelp[] = R"(Upotreba: tram-map-tool from-json JSON IZLAZ

Pravi datoteku seme IZLAZ od JSON oblika koji pise to-json. Provjerava sve
prije pisanja: kljuceve, granice tabela (40 segmenata, 50 tacaka po
segmentu, 100 semafora, stanica i vlakona, 20 ruta, 18 segmenata po ruti)
i raspon svakog polja; naziv stanice ima najvise 30 znakova iz kodne
stranice datoteke seme i dopunjava se razmacima do 30. Pogresan ulaz se
odbija porukom koja imenuje mjesto, elementi se broje od 1 kao u editoru:

  Datoteka "mreza.json" nije procitana: stations[3].segment: 300 je izvan 0..255.

Tada se nista ne pise.

Izlazni status: 0 kad je datoteka sacuvana, 2 kad je ulaz odbijen, kad se
datoteka ne moze procitati ili sacuvati ili su argumenti pogresni.
)";

// Far above the JSON of a full scheme; a bigger file is not one.
constexpr qint64 MaxJsonFileSize = 16 * 1024 * 1024;

std::optional<Refusal> readJsonFile(const QString& path, QByteArray& json)
{
    const auto refuse = [&](const QString& reason) { return FileProblem(path, QStringLiteral("procitana"), reason); };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.exists() ? QStringLiteral("ne moze se otvoriti za citanje") : QStringLiteral("ne postoji"));
    const QByteArray bytes = file.read(MaxJsonFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return refuse(QStringLiteral("greska pri citanju"));
    if (bytes.size() > MaxJsonFileSize)
        return refuse(QStringLiteral("veca je od %1 bajtova").arg(MaxJsonFileSize));
    json = bytes;
    return std::nullopt;
}

} // namespace

int RunToJson(const QStringList& arguments)
{
    QCommandLineParser parser;
    if (const auto exit = ParseCommand(parser, {QStringLiteral("to-json"), ToJsonHelp, 1, 2}, arguments))
        return *exit;
    const QString input = parser.positionalArguments().at(0);
    LoadedScheme loaded;
    if (const auto refusal = LoadSchemeForTool(input, loaded))
        return Finish(refusal);
    // The reader ignores them, so the JSON cannot keep them: say so.
    if (const auto extra = ExtraBytesProblem(loaded))
        PrintError(QStringLiteral("%1: %2 (nisu u JSON-u)").arg(ShownFileName(input), *extra));

    const QByteArray json = SchemeToJson(loaded.scheme);
    if (parser.positionalArguments().size() < 2) {
        PrintText(json);
        return ExitSuccess;
    }
    return Finish(WriteOutputFile(parser.positionalArguments().at(1), json));
}

int RunFromJson(const QStringList& arguments)
{
    QCommandLineParser parser;
    if (const auto exit = ParseCommand(parser, {QStringLiteral("from-json"), FromJsonHelp, 2, 2}, arguments))
        return *exit;
    const QString input = parser.positionalArguments().at(0);
    QByteArray json;
    if (const auto refusal = readJsonFile(input, json))
        return Finish(refusal);
    Scheme scheme;
    if (const auto refusal = SchemeFromJson(json, scheme))
        return Finish(FileProblem(input, QStringLiteral("procitana"), *refusal));
    return Finish(SaveSchemeFile(parser.positionalArguments().at(1), scheme));
}

} // namespace tram
