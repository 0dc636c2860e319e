#include "ui/StartArguments.h"

#include <cstdio>

namespace tram {

namespace {

const char EditorHelp[] = R"(Upotreba: tram-map-editor [DATOTEKA]

Editor mapa vlakonskog saobracaja: segmenti pruge, stanice, semafori,
rute i vlakoni na semi od 1000 x 392 piksela.

DATOTEKA je sema (.sch) koju editor otvara pri pokretanju, kao naredba
"Datoteka" > "Otvori", i odmah je crta. Datoteku koja se ne moze procitati
editor odbija porukom i pocinje s praznom semom.

Opcije:
  -h, --help   ispisuje ovu pomoc
  --version    ispisuje verziju

Izlazni status: 0 kad se prozor zatvori, 2 za pogresne argumente.
)";

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

StartRequest usageError(const QString& text)
{
    print(stderr, QStringLiteral("tram-map-editor: %1\nPomoc: tram-map-editor --help\n").arg(text));
    return {2, {}};
}

} // namespace

StartRequest ReadStartArguments(const QStringList& arguments)
{
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    QStringList files;
    for (const QString& argument : arguments) {
        // A lone "-" is a file name; after "--" everything is.
        if (optionsEnded || argument == u"-" || !argument.startsWith(u'-')) {
            files << argument;
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == u"--help" || argument == u"-h") {
            help = true;
        } else if (argument == u"--version") {
            version = true;
        } else {
            return usageError(QStringLiteral("nepoznata opcija \"%1\"").arg(argument));
        }
    }
    if (help) {
        print(stdout, QString::fromUtf8(EditorHelp));
        return {0, {}};
    }
    if (version) {
        print(stdout, QStringLiteral("tram-map-editor %1\n").arg(QLatin1String(TRAM_VERSION)));
        return {0, {}};
    }
    if (files.size() > 1)
        return usageError(
            QStringLiteral("previse datoteka: editor otvara jednu, a navedeno ih je %1").arg(files.size()));
    return {std::nullopt, files.value(0)};
}

} // namespace tram
