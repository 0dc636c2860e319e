// A vertex drag as the user feels it: from a mouse move delivered to the
// editor's canvas to the canvas widget having painted the new picture, in the
// real window on the offscreen platform. Each iteration moves the vertex to
// the other of two points, so every move redraws a changed map. Run with
// --benchmark_repetitions=9 --benchmark_report_aggregates_only=true for medians.

#include "support/BenchMaps.h"
#include "support/FakePrompts.h"
#include "ui/CanvasWidget.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace {

using namespace tram;

void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void Drag(benchmark::State& state, const benchmaps::Map& map)
{
    FakePrompts prompts;
    MainWindow window(&prompts);
    window.model().scheme = map.scheme;
    window.model().edit = map.edit;
    window.model().display = map.display;
    window.show();
    QApplication::processEvents();
    auto* canvas = window.findChild<CanvasWidget*>(QStringLiteral("picCanvas"));

    // Grab the first vertex of the first segment and move it between two points.
    const MapPoint vertex = map.scheme.Points[1][1];
    const QPoint grab(vertex.X, vertex.Y);
    const QPoint points[] = {QPoint(300, 200), QPoint(700, 150)};
    Send(canvas, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    const int before = window.redrawCount();
    int next = 0;
    for (auto _ : state) {
        Send(canvas, QEvent::MouseMove, points[next], Qt::NoButton, Qt::LeftButton);
        canvas->repaint();
        next = 1 - next;
    }
    Send(canvas, QEvent::MouseButtonRelease, points[next], Qt::LeftButton, Qt::NoButton);
    if (window.redrawCount() - before != int(state.iterations()))
        state.SkipWithError("a move did not redraw the map");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::pair<const char*, benchmaps::Map> maps[] = {
        {"Typical", benchmaps::typicalMap()},
        {"WorstShort", benchmaps::worstShortMap()},
        {"WorstLong", benchmaps::worstLongMap()},
        {"WorstShortW1000", benchmaps::withDrawWidth(benchmaps::worstShortMap(), 1000)},
    };
    for (const auto& [name, map] : maps)
        benchmark::RegisterBenchmark((std::string("Drag/") + name).c_str(), Drag, map)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
