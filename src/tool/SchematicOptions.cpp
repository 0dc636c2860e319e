#include "SchematicOptions.h"

#include "ToolOutput.h"

#include "model/NumberText.h"
#include "view/StationLabels.h"

namespace tram {

namespace {

const QCommandLineOption GridOption(QStringLiteral("grid"), QString(), QStringLiteral("PX"));
const QCommandLineOption MarginOption(QStringLiteral("margin"), QString(), QStringLiteral("PX"));
const QCommandLineOption NorthUpOption(QStringLiteral("north-up"));
const QCommandLineOption SnapOption(QStringLiteral("snap"), QString(), QStringLiteral("N"));

constexpr int MostMargin = 100;
constexpr int MostSnap = 20;

// A whole number option within its range, read as the editor reads a field.
std::optional<Refusal> readWhole(const QCommandLineParser& parser, const QCommandLineOption& option, int least,
                                 int most, int& out)
{
    if (!parser.isSet(option))
        return std::nullopt;
    const QString text = parser.value(option);
    const double value = RoundHalfEven(ReadNumber(text));
    if (!(value >= least && value <= most))
        return QStringLiteral("--%1 %2: mora biti izmedju %3 i %4")
            .arg(option.names().constFirst(), text)
            .arg(least)
            .arg(most);
    out = int(value);
    return std::nullopt;
}

} // namespace

const char SchematicOptionsHelp[] = R"(  --grid PX     razmak linija mreze u pikselima, 10..100 (bez nje se
                probaju 20, 22 i 24 i uzima crtez s najmanje preloma)
  --margin PX   prazan rub platna u pikselima, 0..100 (bez nje 20)
  --north-up    karta se ne okrece (bez nje se smije okrenuti za 45 ili
                90 stepeni kad tako bolje ispuni platno)
  --snap N      krajevi i komadi segmenata do N piksela jedni od drugih
                se sastaju, 0..20 (bez nje 3): spoj povucen rukom je spoj
)";

void AddSchematicOptions(QCommandLineParser& parser)
{
    parser.addOptions({GridOption, MarginOption, NorthUpOption, SnapOption});
}

bool SchematicOptionSet(const QCommandLineParser& parser)
{
    return parser.isSet(GridOption) || parser.isSet(MarginOption) || parser.isSet(NorthUpOption)
        || parser.isSet(SnapOption);
}

std::optional<Refusal> ReadSchematicOptions(const QCommandLineParser& parser, schematic::SchematicOptions& options)
{
    schematic::SchematicOptions read = options;
    if (auto refusal = readWhole(parser, GridOption, schematic::LeastGrid, schematic::MostGrid, read.grid))
        return refusal;
    if (auto refusal = readWhole(parser, MarginOption, 0, MostMargin, read.margin))
        return refusal;
    int snap = int(read.snap);
    if (auto refusal = readWhole(parser, SnapOption, 0, MostSnap, snap))
        return refusal;
    read.snap = snap;
    read.northUp = parser.isSet(NorthUpOption);
    options = read;
    return std::nullopt;
}

std::optional<Refusal> UseLabelFont(schematic::SchematicOptions& options)
{
    QFont font;
    if (auto refusal = LoadLabelFont(font))
        return refusal;
    options.labelFont = font;
    return std::nullopt;
}

void PrintSchematicSummary(const schematic::SchematicSummary& summary)
{
    PrintLine(QStringLiteral("mreza: %1 piksela").arg(summary.grid));
    PrintLine(QStringLiteral("prelomi: %1 (dionica izmedju susjednih stanica i krajeva: %2)")
                  .arg(summary.bends)
                  .arg(summary.stationStretches));
    PrintLine(QStringLiteral("najveci pomak cvora od njegovog mjesta: %1 piksela").arg(summary.largestMove, 0, 'f', 0));
    PrintLine(QStringLiteral("nazivi bez slobodnog mjesta: %1").arg(summary.namesWithoutRoom));
    if (summary.turn == 0)
        PrintLine(QStringLiteral("okret: nema"));
    else
        PrintLine(QStringLiteral("okret: %1 stepeni %2")
                      .arg(std::abs(summary.turn))
                      .arg(summary.turn > 0 ? QStringLiteral("suprotno od kazaljke na satu")
                                            : QStringLiteral("u smjeru kazaljke na satu")));
}

} // namespace tram
