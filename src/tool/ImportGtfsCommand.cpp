#include "CommandLine.h"
#include "Commands.h"
#include "SchematicOptions.h"
#include "ToolOutput.h"

#include "files/SchemeFile.h"
#include "gtfs/GtfsImport.h"

#include <QDate>
#include <QTime>

namespace tram {

namespace {

const QString ImportHelp = QStringLiteral(R"(Upotreba: tram-map-tool import-gtfs FEED IZLAZ.sch [opcije]

Pravi semu od tramvajskih linija GTFS feeda (.zip arhiva ili folder):
linije s route_type 0 ili 900..906. Dvije stanice su spojene gdje neka
voznja ide od jedne pravo do druge. Stajalista iste stanice
(parent_station) postaju jedna stanica, kao i stajalista istog naziva do
300 m jedno od drugog, osim kad ista voznja staje na oba (petlja koja
dvaput prolazi pored istoimenog stajalista); niz takvih stajalista se
dijeli tako da nijedna dva u stanici nisu dalje od 300 m. Stanica stoji na
kolosijeku kod sredine svojih perona. Dva kolosijeka izmedju istih
stanica, svaki voznjen samo u jednom smjeru i blizu jedan drugom cijelim
putem (jednosmjerne ulice), postaju jedan: onaj kojim ide vise voznji.
Mreza se dijeli na segmente na mjestima gdje se linije sastaju, razilaze
ili zavrsavaju; segment prati shapes.txt gdje ga feed ima. Svaka linija
postaje ruta sa segmentima svog najcesceg niza stanica u jednom smjeru, i
dobija onoliko vlakona koliko ima voznji u toku u najprometnijem trenutku
dana.

Naziv duzi od 30 znakova gubi zavrsni dio u zagradama (ili iza zareza ili
" - ") dok je duzi, ako ostatak nije naziv druge stanice; inace se reze
iza posljednje cijele rijeci do 29 znakova i zavrsava tackom.

Opcije:
  --routes A,B,...   samo ove linije (route_short_name ili route_id)
  --date GGGG-MM-DD  dan za vlakone (bez nje: dan s najvise voznji)
  --schematic        mreza se crta kao shematska karta, kao sto je crta
                     naredba schematise, umjesto kao geografija grada; uz
                     nju vrijede i opcije te naredbe:
%1
Sazetak (s brojem spojenih stajalista i parova smjerova spojenih u jedan
kolosijek) ide na standardni izlaz; skraceni nazivi, stari i novi, i
znakovi koje kodna stranica nema na standardnu gresku. Feed koji ne
stane u granice seme (40 segmenata, 50 tacaka, 100 stanica, 20 ruta,
18 segmenata u ruti, 100 vlakona) se odbija s porukom koja kaze sta i
koje linije ne staju.

Izlazni status: 0 kad je sema sacuvana, 2 kad argumenti ili feed nisu
ispravni, feed ne stane u semu, mreza se ne moze nacrtati kao shematska
karta ili se sema ne moze sacuvati; tada se nista ne pise.
)")
                               .arg(QString::fromLatin1(SchematicOptionsHelp));

const QCommandLineOption RoutesOption(QStringLiteral("routes"), QString(), QStringLiteral("A,B"));
const QCommandLineOption DateOption(QStringLiteral("date"), QString(), QStringLiteral("GGGG-MM-DD"));
const QCommandLineOption SchematicOption(QStringLiteral("schematic"));

QString shownDay(qint64 day)
{
    return QDate::fromJulianDay(day).toString(Qt::ISODate);
}

// Seconds of the service day as H:MM:SS; past midnight the hours go on.
QString shownTime(int seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void printSummary(const gtfs::ImportSummary& summary, const QString& output)
{
    PrintLine(QStringLiteral("rute: %1").arg(summary.routes.size()));
    for (size_t r = 0; r < summary.routes.size(); ++r) {
        const gtfs::ImportedRoute& route = summary.routes[r];
        PrintLine(QStringLiteral("  ruta %1: linija %2, segmenata %3, vlakona %4")
                      .arg(r + 1)
                      .arg(route.name)
                      .arg(route.segments)
                      .arg(route.trams));
    }
    PrintLine(QStringLiteral("stanice: %1 (spojeno iz %2 stajalista; stajalista koja dijele stanicu: %3)")
                  .arg(summary.stations)
                  .arg(summary.stopsUsed)
                  .arg(summary.stopsMerged));
    PrintLine(QStringLiteral("segmenti: %1 (parova smjerova spojenih u jedan kolosijek: %2)")
                  .arg(summary.segments)
                  .arg(summary.directionPairsJoined));
    PrintLine(QStringLiteral("najveca greska pojednostavljenja: %1 piksela").arg(summary.largestError, 0, 'f', 1));
    if (summary.day && summary.moment >= 0)
        PrintLine(QStringLiteral("dan: %1, voznji %2, najvise u toku u %3")
                      .arg(shownDay(*summary.day))
                      .arg(summary.tripsOnDay)
                      .arg(shownTime(summary.moment)));
    else if (summary.day)
        PrintLine(QStringLiteral("dan: %1, nijedna voznja").arg(shownDay(*summary.day)));
    else
        PrintLine(QStringLiteral("dan: kalendari feeda nemaju nijedan dan s voznjama"));
    int trams = 0;
    for (const gtfs::ImportedRoute& route : summary.routes)
        trams += route.trams;
    PrintLine(QStringLiteral("vlakoni: %1").arg(trams));
    if (summary.schematic)
        PrintSchematicSummary(*summary.schematic);
    PrintLine(QStringLiteral("sacuvano: %1").arg(ShownFileName(output)));
}

} // namespace

int RunImportGtfs(const QStringList& arguments)
{
    const QString command = QStringLiteral("import-gtfs");
    QCommandLineParser parser;
    parser.addOptions({RoutesOption, DateOption, SchematicOption});
    AddSchematicOptions(parser);
    if (const auto exit = ParseCommand(parser, {command, ImportHelp, 2, 2}, arguments))
        return *exit;
    const QString feed = parser.positionalArguments().at(0);
    const QString output = parser.positionalArguments().at(1);

    gtfs::ImportOptions options;
    if (parser.isSet(RoutesOption)) {
        for (const QString& name : parser.value(RoutesOption).split(u',', Qt::SkipEmptyParts))
            options.routes << name.trimmed();
        if (options.routes.isEmpty())
            return UsageError(command, QStringLiteral("--routes: nijedna linija nije navedena"));
    }
    if (parser.isSet(DateOption)) {
        const QDate date = QDate::fromString(parser.value(DateOption), Qt::ISODate);
        if (!date.isValid())
            return UsageError(
                command, QStringLiteral("--date %1: datum mora biti oblika GGGG-MM-DD").arg(parser.value(DateOption)));
        options.day = date.toJulianDay();
    }
    if (parser.isSet(SchematicOption)) {
        schematic::SchematicOptions drawing;
        if (const auto refusal = ReadSchematicOptions(parser, drawing))
            return UsageError(command, *refusal);
        if (const auto refusal = UseLabelFont(drawing))
            return Finish(refusal);
        options.schematic = drawing;
    } else if (SchematicOptionSet(parser)) {
        return UsageError(command, QStringLiteral("--grid, --margin, --north-up i --snap vrijede samo uz --schematic"));
    }

    gtfs::ImportResult result;
    if (const auto refusal = gtfs::ImportGtfs(feed, options, result))
        return Finish(QStringLiteral("Feed \"%1\" nije uvezen: %2").arg(ShownFileName(feed), *refusal));
    for (const QString& note : result.summary.notes)
        PrintError(note);
    if (const auto refusal = SaveSchemeFile(output, result.scheme))
        return Finish(refusal);
    printSummary(result.summary, output);
    return ExitSuccess;
}

} // namespace tram
