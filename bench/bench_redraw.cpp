// One full redraw of each map: the fast way and the plain way, in one run.
// Run with --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
// for medians.

#include "support/BenchMaps.h"
#include "view/Renderer.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tram;

using DrawFunction = void (*)(Canvas&, const Scheme&, const EditState&, const DisplaySettings&);

void Redraw(benchmark::State& state, const benchmaps::Map& map, DrawFunction draw)
{
    Canvas canvas;
    for (auto _ : state) {
        draw(canvas, map.scheme, map.edit, map.display);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}

void RegisterMap(const char* name, const benchmaps::Map& map)
{
    const std::pair<const char*, DrawFunction> drawings[] = {{"Fast/", DrawScheme}, {"Plain/", DrawSchemePlain}};
    for (const auto& [kind, draw] : drawings) {
        const std::string title = std::string(kind) + name;
        benchmark::RegisterBenchmark(title.c_str(), Redraw, map, draw)->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    RegisterMap("Empty", benchmaps::emptyMap());
    RegisterMap("Typical", benchmaps::typicalMap());
    RegisterMap("WorstShort", benchmaps::worstShortMap());
    RegisterMap("WorstLong", benchmaps::worstLongMap());
    RegisterMap("WorstShortW1000", benchmaps::withDrawWidth(benchmaps::worstShortMap(), 1000));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
