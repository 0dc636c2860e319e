#include "CommandLine.h"
#include "Commands.h"
#include "ToolOutput.h"

#include "editing/ViewCommands.h"
#include "files/PictureExport.h"
#include "files/SchemeFile.h"
#include "model/NumberText.h"
#include "view/Canvas.h"
#include "view/MapOutput.h"
#include "view/Renderer.h"

#include <QFileInfo>
#include <limits>

namespace tram {

namespace {

// The canvas's size and the fields' limits as the editor has them.
QString renderHelp()
{
    using Width = decltype(DisplaySettings::DrawWidth);
    using CircleSize = decltype(DisplaySettings::CircleSize);
    return QStringLiteral(R"(Upotreba: tram-map-tool render DATOTEKA SLIKA [opcije]

Crta semu rendererom editora i sprema sliku. Format slijedi nastavak imena
SLIKA: .png ili .bmp daju platno od %1 x %2 piksela (s --scale vece),
.svg ili .pdf vektorsku sliku istih poteza, boja i redoslijeda crtanja.
Bez opcija --scale i --labels .png i .bmp su piksel za piksel ono sto
editor pokaze s istim postavkama; bez opcija to su postavke pri pokretanju
editora (debljina linije 20, krug 10, krugovi, stanice i semafori
prikazani, ruta nije prikazana, nijedan segment nije oznacen). Slika se pise
preko privremene datoteke, pa pri gresci ne ostaje djelimicna.

Opcije (brojevi se citaju kao u poljima editora: 3.5 daje 4):
  --width N      debljina linije, 1..%3 ("Debljina linije:")
  --circle N     poluprecnik krugova tacaka, %4..%5 ("Velicina kruga:")
  --no-circles   bez krugova tacaka ("Prikazi krugove")
  --no-stations  bez stanica ("Prikazi stanice")
  --no-lights    bez semafora ("Prikazi semafore")
  --route R      prikazi rutu R, 1..broj ruta ("Prikazi rutu")
  --mark S       oznaci segment S, 1..broj segmenata ("Oznaci segment")
  --clean        bez onoga sto sluzi samo uredjivanju: bez krugova tacaka
                 i bez oznacenog segmenta (--mark tada nema ucinka)
  --labels       naziv svake stanice pored njenog simbola
  --scale N      .png ili .bmp N puta veca, 1..%6, crtana u toj velicini
  --page P       .pdf na papiru A4 ili A3 polozeno, karta uklopljena u
                 stranicu; bez nje je stranica velicine karte

Izlazni status: 0 kad je slika sacuvana, 2 kad argumenti nisu ispravni ili
se datoteka ne moze procitati ili sacuvati.
)")
        .arg(Canvas::Width)
        .arg(Canvas::Height)
        .arg(std::numeric_limits<Width>::max())
        .arg(std::numeric_limits<CircleSize>::min())
        .arg(std::numeric_limits<CircleSize>::max())
        .arg(MaxMapScale);
}

const QCommandLineOption WidthOption(QStringLiteral("width"), QString(), QStringLiteral("N"));
const QCommandLineOption CircleOption(QStringLiteral("circle"), QString(), QStringLiteral("N"));
const QCommandLineOption NoCirclesOption(QStringLiteral("no-circles"));
const QCommandLineOption NoStationsOption(QStringLiteral("no-stations"));
const QCommandLineOption NoLightsOption(QStringLiteral("no-lights"));
const QCommandLineOption RouteOption(QStringLiteral("route"), QString(), QStringLiteral("R"));
const QCommandLineOption MarkOption(QStringLiteral("mark"), QString(), QStringLiteral("S"));
const QCommandLineOption CleanOption(QStringLiteral("clean"));
const QCommandLineOption LabelsOption(QStringLiteral("labels"));
const QCommandLineOption ScaleOption(QStringLiteral("scale"), QString(), QStringLiteral("N"));
const QCommandLineOption PageOption(QStringLiteral("page"), QString(), QStringLiteral("P"));

enum class OutputKind { None, Png, Bmp, Svg, Pdf };

// The output format for the output's name.
OutputKind kindFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"png")
        return OutputKind::Png;
    if (suffix == u"bmp")
        return OutputKind::Bmp;
    if (suffix == u"svg")
        return OutputKind::Svg;
    if (suffix == u"pdf")
        return OutputKind::Pdf;
    return OutputKind::None;
}

bool isRaster(OutputKind kind)
{
    return kind == OutputKind::Png || kind == OutputKind::Bmp;
}

const char* rasterFormat(OutputKind kind)
{
    return kind == OutputKind::Png ? "PNG" : "BMP";
}

// The resolution the pictures give: 100 dpi, which the tool's pictures have
// always said (Qt's resolution where there is no screen; its offscreen screen
// would say 96), so a PNG or BMP without the print options stays byte for
// byte what it was. A larger picture has that many more dots per inch: it
// prints at the same size, only finer.
QImage withToolResolution(QImage picture, int scale)
{
    const int dotsPerMeter = 3937 * scale;
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    return picture;
}

// What the output options ask for beyond the editor's settings.
struct OutputOptions {
    OutputKind kind = OutputKind::None;
    int scale = 1;
    Paper paper = Paper::FitMap;
    bool labels = false;
};

std::optional<Refusal> readOutputOptions(const QCommandLineParser& parser, const QString& output,
                                         OutputOptions& options)
{
    options.kind = kindFor(output);
    if (options.kind == OutputKind::None)
        return QStringLiteral("\"%1\": slika mora imati nastavak .png, .bmp, .svg ili .pdf").arg(ShownFileName(output));
    if (parser.isSet(ScaleOption)) {
        const QString text = parser.value(ScaleOption);
        const double scale = RoundHalfEven(ReadNumber(text));
        if (!(scale >= 1 && scale <= MaxMapScale))
            return QStringLiteral("--scale %1: uvecanje mora biti izmedju 1 i %2").arg(text).arg(MaxMapScale);
        if (!isRaster(options.kind))
            return QStringLiteral("--scale vrijedi samo za .png i .bmp; .svg i .pdf se uvecavaju bez gubitka");
        options.scale = int(scale);
    }
    if (parser.isSet(PageOption)) {
        const QString text = parser.value(PageOption);
        if (text.compare(u"A4", Qt::CaseInsensitive) == 0)
            options.paper = Paper::A4;
        else if (text.compare(u"A3", Qt::CaseInsensitive) == 0)
            options.paper = Paper::A3;
        else
            return QStringLiteral("--page %1: papir mora biti A4 ili A3").arg(text);
        if (options.kind != OutputKind::Pdf)
            return QStringLiteral("--page vrijedi samo za .pdf");
    }
    options.labels = parser.isSet(LabelsOption);
    return std::nullopt;
}

// What "Crtaj" does with the two option texts in its boxes, after the start-up
// defaults; the refusal names the option or the box.
std::optional<Refusal> applySizeOptions(const QCommandLineParser& parser, DisplaySettings& display)
{
    const QString width = parser.isSet(WidthOption) ? parser.value(WidthOption) : QString::number(display.DrawWidth);
    const QString circle = parser.isSet(CircleOption) ? parser.value(CircleOption)
                                                      : QString::number(display.CircleSize);
    // The editor keeps its previous width for one below 1; asked for on a
    // command line it can only be a mistake.
    if (RoundHalfEven(ReadNumber(width)) < 1)
        return QStringLiteral("--width %1: debljina linije mora biti najmanje 1").arg(width);
    return ApplySizes({width, circle}, display);
}

void applySwitchOptions(const QCommandLineParser& parser, DisplaySettings& display)
{
    display.ShowCircles = !parser.isSet(NoCirclesOption);
    display.ShowStations = !parser.isSet(NoStationsOption);
    display.ShowLights = !parser.isSet(NoLightsOption);
    // A map to print shows nothing that only helps editing it.
    if (parser.isSet(CleanOption)) {
        display.ShowCircles = false;
        display.MarkSegment = false;
    }
}

// A route or segment number from an option: it must name one of the scheme's.
std::optional<Refusal> readNumberOption(const QCommandLineParser& parser, const QCommandLineOption& option, int count,
                                        const QString& what, uint8_t& out)
{
    const QString text = parser.value(option);
    const auto number = ToByte(ReadNumber(text));
    if (!number || *number < 1 || *number > count)
        return QStringLiteral("--%1 %2: %3 mora biti izmedju 1 i %4 (broj u semi)")
            .arg(option.names().constFirst(), text, what)
            .arg(count);
    out = *number;
    return std::nullopt;
}

std::optional<Refusal> applySchemeOptions(const QCommandLineParser& parser, const Scheme& scheme, EditState& edit,
                                          DisplaySettings& display)
{
    if (parser.isSet(RouteOption)) {
        if (auto refusal = readNumberOption(parser, RouteOption, RoutesInUse(scheme), QStringLiteral("ruta"),
                                            edit.CurrentRoute))
            return refusal;
        display.ShowRoute = true;
    }
    if (parser.isSet(MarkOption))
        return readNumberOption(parser, MarkOption, SegmentsInUse(scheme), QStringLiteral("segment"),
                                edit.CurrentSegment);
    return std::nullopt;
}

// The names placed around the stations; a name that found no free place is
// still written, and said on standard error.
std::optional<Refusal> placeLabels(MapScene& scene)
{
    QFont font;
    if (auto refusal = LoadLabelFont(font))
        return refusal;
    const MapLabels& labels = scene.labels.emplace(
        MapLabels{font, PlaceStationLabels(scene.scheme, scene.display, font)});
    for (const StationLabel& label : labels.placed) {
        if (!label.clear)
            PrintError(QStringLiteral("tram-map-tool render: stanica %1 \"%2\": za naziv nema slobodnog mjesta, "
                                      "prekriva drugi naziv, simbol ili ivicu slike")
                           .arg(label.station)
                           .arg(label.text));
    }
    return std::nullopt;
}

// The picture in memory, then written whole: a refusal leaves no file.
std::optional<Refusal> writeMap(const MapScene& scene, const OutputOptions& options, const QString& input,
                                const QString& output)
{
    const QString title = QFileInfo(input).completeBaseName();
    switch (options.kind) {
    case OutputKind::Png:
    case OutputKind::Bmp:
        return ExportPicture(withToolResolution(MapImage(scene, options.scale), options.scale), output,
                             rasterFormat(options.kind));
    case OutputKind::Svg:
        return WriteOutputFile(output, MapSvg(scene, title));
    case OutputKind::Pdf:
        return WriteOutputFile(output, MapPdf(scene, options.paper, title));
    case OutputKind::None:
        break;
    }
    return std::nullopt;
}

} // namespace

int RunRender(const QStringList& arguments)
{
    const QString command = QStringLiteral("render");
    QCommandLineParser parser;
    parser.addOptions({WidthOption, CircleOption, NoCirclesOption, NoStationsOption, NoLightsOption, RouteOption,
                       MarkOption, CleanOption, LabelsOption, ScaleOption, PageOption});
    if (const auto exit = ParseCommand(parser, {command, renderHelp(), 2, 2}, arguments))
        return *exit;
    const QString input = parser.positionalArguments().at(0);
    const QString output = parser.positionalArguments().at(1);

    OutputOptions options;
    if (const auto refusal = readOutputOptions(parser, output, options))
        return UsageError(command, *refusal);
    // The editor at start-up: its display defaults, nothing current, so
    // nothing marked and no route shown.
    EditState edit;
    DisplaySettings display;
    ApplyStartDisplay(display);
    if (const auto refusal = applySizeOptions(parser, display))
        return UsageError(command, *refusal);
    applySwitchOptions(parser, display);

    Scheme scheme;
    if (const auto refusal = LoadSchemeFile(input, scheme))
        return Finish(refusal);
    if (const auto refusal = applySchemeOptions(parser, scheme, edit, display))
        return UsageError(command, *refusal);

    if (isRaster(options.kind) && options.scale == 1 && !options.labels) {
        // The editor's own drawing and picture export, as before there was
        // anything to print.
        Canvas canvas;
        DrawScheme(canvas, scheme, edit, display);
        return Finish(ExportPicture(withToolResolution(canvas.image(), 1), output, rasterFormat(options.kind)));
    }
    MapScene scene{scheme, edit, display, std::nullopt};
    if (options.labels) {
        if (const auto refusal = placeLabels(scene))
            return Finish(refusal);
    }
    return Finish(writeMap(scene, options, input, output));
}

} // namespace tram
