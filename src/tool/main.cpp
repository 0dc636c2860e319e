// tram-map-tool: checks, draws and converts scheme files without a window.

#include "Commands.h"
#include "HeadlessApplication.h"
#include "ToolOutput.h"

#include <functional>
#include <utility>

namespace {

const char ToolHelp[] = R"(Upotreba: tram-map-tool NAREDBA [argumenti]

Provjerava, crta i pretvara datoteke seme (.sch) bez prozora i bez ekrana,
istim citacem, pisacem i rendererom kao editor.

Naredbe:
  check DATOTEKA...         ispisuje reference koje ne imenuju nista
  render DATOTEKA SLIKA     crta semu u .png, .bmp, .svg ili .pdf
  to-json DATOTEKA [IZLAZ]  pise semu kao JSON
  from-json JSON IZLAZ      pravi datoteku seme od JSON-a
  info DATOTEKA             velicina, ispravnost i brojevi
  import-gtfs FEED IZLAZ    pravi semu od tramvajskih linija GTFS feeda
  schematise ULAZ IZLAZ     crta semu kao shematsku kartu po mrezi

Pomoc za naredbu: tram-map-tool NAREDBA --help
Verzija: tram-map-tool --version
Izlazni status: 0 uspjeh, 1 naredba je nasla probleme, 2 pogresni
argumenti ili greska datoteke. Poruke idu na standardnu gresku.
)";

const std::pair<const char*, std::function<int(const QStringList&)>> Commands[] = {
    {"check", tram::RunCheck},           {"render", tram::RunRender}, {"to-json", tram::RunToJson},
    {"from-json", tram::RunFromJson},    {"info", tram::RunInfo},     {"import-gtfs", tram::RunImportGtfs},
    {"schematise", tram::RunSchematise},
};

int run(const QStringList& arguments)
{
    if (arguments.isEmpty()) {
        tram::PrintError(QStringLiteral("tram-map-tool: nedostaje naredba"));
        tram::PrintError(QStringLiteral("Pomoc: tram-map-tool --help"));
        return tram::ExitUsageOrFileError;
    }
    const QString& name = arguments.constFirst();
    if (name == u"--help" || name == u"-h") {
        tram::PrintText(ToolHelp);
        return tram::ExitSuccess;
    }
    if (name == u"--version") {
        tram::PrintText("tram-map-tool " TRAM_VERSION "\n");
        return tram::ExitSuccess;
    }
    for (const auto& [command, handler] : Commands) {
        if (name == QLatin1String(command))
            return handler(arguments.mid(1));
    }
    tram::PrintError(QStringLiteral("tram-map-tool: nepoznata naredba \"%1\"").arg(name));
    tram::PrintError(QStringLiteral("Pomoc: tram-map-tool --help"));
    return tram::ExitUsageOrFileError;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto app = tram::StartHeadlessApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tram-map-tool"));
    return run(QCoreApplication::arguments().mid(1));
}
