// The File Compare window on the million-line pair of compare_pair.h: from
// pressing "&Compare" to the first difference selected in the grid must take
// under 2 s (counter "first_difference_s"), and paging through the grid must
// stay cheap (the grid is a view over the list, counter "page_ms").
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QScrollBar>
#include <QTableView>
#include <chrono>

#include "compare/ui/tgrid_form.h"
#include "compare_pair.h"
#include "scripted_interaction.h"

namespace zantor {
namespace {

void BM_WindowFirstDifference(benchmark::State& state) {
    const ProgramPair& pair = programPair();
    testing::ScriptedInteraction ui;
    testing::TempFolder settings;
    TGridForm form(ui, settings.file("zantor.INI"), [] { return QFont("Monospace", 10); });
    form.show();
    double first = 0, page = 0;
    for (auto _ : state) {
        form.dropFiles({QString::fromStdString(pair.previous), QString::fromStdString(pair.current)});
        const auto start = std::chrono::steady_clock::now();
        form.compare(true);
        QApplication::processEvents();
        first += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (form.state() != TGridForm::Done || !form.grid()->selectionModel()->hasSelection())
            state.SkipWithError("no difference selected");

        // Twenty pages down from the middle of the list, each painted.
        QScrollBar* bar = form.grid()->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        const auto paging = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i) {
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            form.grid()->viewport()->repaint();
        }
        page += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - paging).count() / 20;
    }
    state.counters["first_difference_s"] = first / double(state.iterations());
    state.counters["page_ms"] = page / double(state.iterations());
    state.counters["rows"] = double(form.differences().Rows().size());
}

BENCHMARK(BM_WindowFirstDifference)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace zantor

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
