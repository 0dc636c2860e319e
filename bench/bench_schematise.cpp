// Schematising whole networks, as tram-map-tool schematise does (with the
// station names' font, so the names' room is weighed too): the example feed,
// two city networks imported from feeds of 140 and 200 stops, and a scheme
// with every table at its limit. Run with --benchmark_repetitions=9
// --benchmark_report_aggregates_only=true for medians.

#include "files/SchemeFile.h"
#include "gtfs/GtfsImport.h"
#include "schematic/Schematise.h"
#include "support/SchematicMaps.h"
#include "view/StationLabels.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

using namespace tram;

void Schematise(benchmark::State& state, const Scheme& input, const schematic::SchematicOptions& options)
{
    for (auto _ : state) {
        Scheme drawn;
        schematic::SchematicSummary summary;
        if (schematic::Schematise(input, options, drawn, summary)) {
            state.SkipWithError("refused");
            return;
        }
        benchmark::DoNotOptimize(drawn);
    }
}

Scheme fromFile(const char* path)
{
    Scheme scheme;
    if (LoadSchemeFile(QString::fromUtf8(path), scheme))
        qFatal("%s cannot be read", path);
    return scheme;
}

Scheme exampleFeed()
{
    gtfs::ImportResult imported;
    if (gtfs::ImportGtfs(QStringLiteral(TRAM_SOURCE "/docs/gtfs-primjer.zip"), {}, imported))
        qFatal("the example feed cannot be imported");
    return imported.scheme;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    schematic::SchematicOptions options;
    QFont font;
    if (LoadLabelFont(font))
        qFatal("no label font");
    options.labelFont = font;
    const std::pair<const char*, Scheme> networks[] = {
        {"ExampleFeed", exampleFeed()},
        {"RiverCity", fromFile(TRAM_SOURCE "/tests/data/schematic/river-city.sch")},
        {"RadialCity", fromFile(TRAM_SOURCE "/tests/data/schematic/radial-city.sch")},
        {"AtLimits", schematicmaps::atLimits()},
    };
    for (const auto& [name, scheme] : networks)
        benchmark::RegisterBenchmark(name, Schematise, scheme, options)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
