#include "CommandLine.h"
#include "Commands.h"
#include "ToolOutput.h"

#include "files/SchemeFile.h"
#include "model/NumberText.h"
#include "view/Canvas.h"
#include "view/Renderer.h"

#include <QBuffer>
#include <QFileInfo>

namespace tram {

namespace {

const char RenderHelp[] = R"(Upotreba: tram-map-tool render DATOTEKA SLIKA [opcije]

Crta semu rendererom editora na platno od 1000 x 392 piksela i sprema sliku.
Format slijedi nastavak imena SLIKA: .png ili .bmp. Slika je piksel za
piksel ono sto editor pokaze s istim postavkama; bez opcija to su postavke
pri pokretanju editora (debljina linije 20, krug 10, krugovi, stanice i
semafori prikazani, ruta nije prikazana, nijedan segment nije oznacen).
Slika se pise preko privremene datoteke, pa pri gresci ne ostaje djelimicna.

Opcije (brojevi se citaju kao u poljima editora: 3.5 daje 4):
  --width N      debljina linije, 1..32767 ("Debljina linije:")
  --circle N     poluprecnik krugova tacaka, -32768..32767 ("Velicina kruga:")
  --no-circles   bez krugova tacaka ("Prikazi krugove")
  --no-stations  bez stanica ("Prikazi stanice")
  --no-lights    bez semafora ("Prikazi semafore")
  --route R      prikazi rutu R, 1..broj ruta ("Prikazi rutu")
  --mark S       oznaci segment S, 1..broj segmenata ("Oznaci segment")

Izlazni status: 0 kad je slika sacuvana, 2 kad argumenti nisu ispravni ili
se datoteka ne moze procitati ili sacuvati.
)";

const QCommandLineOption WidthOption(QStringLiteral("width"), QString(), QStringLiteral("N"));
const QCommandLineOption CircleOption(QStringLiteral("circle"), QString(), QStringLiteral("N"));
const QCommandLineOption NoCirclesOption(QStringLiteral("no-circles"));
const QCommandLineOption NoStationsOption(QStringLiteral("no-stations"));
const QCommandLineOption NoLightsOption(QStringLiteral("no-lights"));
const QCommandLineOption RouteOption(QStringLiteral("route"), QString(), QStringLiteral("R"));
const QCommandLineOption MarkOption(QStringLiteral("mark"), QString(), QStringLiteral("S"));

// What the editor would hold after its start-up and the user's choices.
struct RenderSettings {
    int drawWidth = StartDrawWidth;
    EditState edit;
    DisplaySettings display;
};

// The picture format for the output's name, or an empty text.
QByteArray formatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"png" || suffix == u"bmp")
        return suffix.toUpper().toLatin1();
    return {};
}

// Reads the options that need no scheme; the error text names the option.
bool readDisplayOptions(const QCommandLineParser& parser, RenderSettings& settings, QString& error)
{
    ApplyStartDisplay(settings.display);
    if (parser.isSet(WidthOption)) {
        const auto width = ToInt16(ReadNumber(parser.value(WidthOption)));
        if (!width || *width < 1) {
            error = QStringLiteral("--width %1: debljina linije mora biti izmedju 1 i 32767").arg(parser.value(WidthOption));
            return false;
        }
        settings.drawWidth = *width;
    }
    if (parser.isSet(CircleOption)) {
        const auto circle = ToInt16(ReadNumber(parser.value(CircleOption)));
        if (!circle) {
            error = QStringLiteral("--circle %1: velicina kruga mora biti izmedju -32768 i 32767").arg(parser.value(CircleOption));
            return false;
        }
        settings.display.CircleSize = *circle;
    }
    settings.display.ShowCircles = !parser.isSet(NoCirclesOption);
    settings.display.ShowStations = !parser.isSet(NoStationsOption);
    settings.display.ShowLights = !parser.isSet(NoLightsOption);
    return true;
}

// A route or segment number from an option: it must name one of the scheme's.
bool readNumberOption(const QCommandLineParser& parser, const QCommandLineOption& option, int count,
                      const QString& what, uint8_t& out, QString& error)
{
    const QString text = parser.value(option);
    const auto number = ToByte(ReadNumber(text));
    if (!number || *number < 1 || *number > count) {
        error = QStringLiteral("--%1 %2: %3 mora biti izmedju 1 i %4 (broj u semi)")
                    .arg(option.names().constFirst(), text, what)
                    .arg(count);
        return false;
    }
    out = *number;
    return true;
}

bool readSchemeOptions(const QCommandLineParser& parser, const Scheme& scheme, RenderSettings& settings,
                       QString& error)
{
    if (parser.isSet(RouteOption)) {
        if (!readNumberOption(parser, RouteOption, scheme.RouteCount, QStringLiteral("ruta"),
                              settings.edit.CurrentRoute, error))
            return false;
        settings.display.ShowRoute = true;
    }
    if (parser.isSet(MarkOption)
        && !readNumberOption(parser, MarkOption, scheme.SegmentCount, QStringLiteral("segment"),
                             settings.edit.CurrentSegment, error))
        return false;
    return true;
}

QImage drawPicture(const Scheme& scheme, const RenderSettings& settings)
{
    Canvas canvas;
    canvas.SetDrawWidth(settings.drawWidth);
    DrawScheme(canvas, scheme, settings.edit, settings.display);
    return canvas.image();
}

} // namespace

int RunRender(const QStringList& arguments)
{
    const QString command = QStringLiteral("render");
    QCommandLineParser parser;
    parser.addOptions({WidthOption, CircleOption, NoCirclesOption, NoStationsOption, NoLightsOption,
                       RouteOption, MarkOption});
    if (const auto exit = ParseCommand(parser, {command, RenderHelp, 2, 2}, arguments))
        return *exit;
    const QString input = parser.positionalArguments().at(0);
    const QString output = parser.positionalArguments().at(1);

    const QByteArray format = formatFor(output);
    if (format.isEmpty())
        return UsageError(command, QStringLiteral("\"%1\": slika mora imati nastavak .png ili .bmp").arg(ShownFileName(output)));
    RenderSettings settings;
    QString error;
    if (!readDisplayOptions(parser, settings, error))
        return UsageError(command, error);

    Scheme scheme;
    if (!LoadSchemeFile(input, scheme, &error)) {
        PrintError(error);
        return ExitUsageOrFileError;
    }
    if (!readSchemeOptions(parser, scheme, settings, error))
        return UsageError(command, error);

    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    if (!drawPicture(scheme, settings).save(&encoded, format.constData())) {
        PrintError(FileProblem(output, QStringLiteral("sacuvana"), QStringLiteral("slika se ne moze kodirati")));
        return ExitUsageOrFileError;
    }
    if (!WriteOutputFile(output, encoded.data(), &error)) {
        PrintError(error);
        return ExitUsageOrFileError;
    }
    return ExitSuccess;
}

} // namespace tram
