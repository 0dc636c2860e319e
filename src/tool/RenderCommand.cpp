#include "CommandLine.h"
#include "Commands.h"
#include "ToolOutput.h"

#include "editing/ViewCommands.h"
#include "files/PictureExport.h"
#include "files/SchemeFile.h"
#include "model/NumberText.h"
#include "view/Canvas.h"
#include "view/Renderer.h"

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

// The picture format for the output's name, or an empty text.
QByteArray formatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"png" || suffix == u"bmp")
        return suffix.toUpper().toLatin1();
    return {};
}

// What "Crtaj" does with the two option texts in its boxes, after the start-up
// defaults; the error text names the option or the box.
bool applySizeOptions(const QCommandLineParser& parser, Canvas& canvas, DisplaySettings& display,
                      QString& error)
{
    const QString width = parser.isSet(WidthOption) ? parser.value(WidthOption) : QString::number(StartDrawWidth);
    const QString circle = parser.isSet(CircleOption) ? parser.value(CircleOption) : QString::number(display.CircleSize);
    // The editor keeps its previous width for one below 1; asked for on a
    // command line it can only be a mistake.
    if (RoundHalfEven(ReadNumber(width)) < 1) {
        error = QStringLiteral("--width %1: debljina linije mora biti najmanje 1").arg(width);
        return false;
    }
    if (const auto refusal = ApplySizes({width, circle}, canvas, display)) {
        error = *refusal;
        return false;
    }
    return true;
}

void applySwitchOptions(const QCommandLineParser& parser, DisplaySettings& display)
{
    display.ShowCircles = !parser.isSet(NoCirclesOption);
    display.ShowStations = !parser.isSet(NoStationsOption);
    display.ShowLights = !parser.isSet(NoLightsOption);
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

bool applySchemeOptions(const QCommandLineParser& parser, const Scheme& scheme, EditState& edit,
                        DisplaySettings& display, QString& error)
{
    if (parser.isSet(RouteOption)) {
        if (!readNumberOption(parser, RouteOption, scheme.RouteCount, QStringLiteral("ruta"),
                              edit.CurrentRoute, error))
            return false;
        display.ShowRoute = true;
    }
    if (parser.isSet(MarkOption)
        && !readNumberOption(parser, MarkOption, scheme.SegmentCount, QStringLiteral("segment"),
                             edit.CurrentSegment, error))
        return false;
    return true;
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
    // The editor at start-up: its pen width and display defaults, nothing
    // current, so nothing marked and no route shown.
    Canvas canvas;
    canvas.SetDrawWidth(StartDrawWidth);
    EditState edit;
    DisplaySettings display;
    ApplyStartDisplay(display);
    QString error;
    if (!applySizeOptions(parser, canvas, display, error))
        return UsageError(command, error);
    applySwitchOptions(parser, display);

    Scheme scheme;
    if (!LoadSchemeFile(input, scheme, &error)) {
        PrintError(error);
        return ExitUsageOrFileError;
    }
    if (!applySchemeOptions(parser, scheme, edit, display, error))
        return UsageError(command, error);
    DrawScheme(canvas, scheme, edit, display);

    // The editor's own picture export, in the format the name asks for.
    if (const auto failure = ExportPicture(canvas.image(), output, format.constData())) {
        PrintError(*failure);
        return ExitUsageOrFileError;
    }
    return ExitSuccess;
}

} // namespace tram
