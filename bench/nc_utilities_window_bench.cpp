// The NC utilities in an editor window holding a generated program of
// 1,000,000 lines: each run under 5 s, with the progress box letting events
// through (repaint, Cancel) at least every 100 ms (counter
// "max_event_gap_ms": the longest time between two ticks of a 5 ms timer
// during the run). Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "core/interaction.h"
#include "editor/ui/editor_host.h"
#include "editor/ui/tmdi_child.h"
#include "nctools/add_remove_spaces.h"
#include "nctools/file_cleanup.h"
#include "nctools/ui/process_dialog.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using editor::TMDIChild;

constexpr int kLines = 1000000;

class QuietInteraction : public Interaction {
public:
    Answer message(MessageKind, const std::string& text, Buttons) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return Answer::Cancel;
    }
    std::optional<std::string> inputText(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
    std::vector<std::string> openFiles(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> browseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void setBusy(bool) override {}
    void beep() override {}
};

class Host : public editor::EditorHost {
public:
    editor::EditorViewSettings viewSettings() const override {
        editor::EditorViewSettings settings;
        settings.font = QFont("DejaVu Sans Mono", 10);
        return settings;
    }
    editor::CommentStrings commentStrings() const override { return {}; }
    QMenu* editorContextMenu() override { return nullptr; }
    Interaction& interaction() override { return interaction_; }
    void editorStateChanged(TMDIChild&) override {}
    bool mayCloseEditor(TMDIChild&) override { return true; }
    void editorClosed(TMDIChild&) override {}

private:
    QuietInteraction interaction_;
};

const std::string& programFile() {
    static testing::TempFolder folder;
    static const std::string path = [] {
        std::string text = "%\r\n";
        char line[96];
        for (int n = 2; n <= kLines; ++n) {
            const int length =
                std::snprintf(line, sizeof line, "N%d G1X%.4fY%.4f%s\r\n", n, (n % 9973) * 0.0137,
                              (n % 7919) * -0.0211, n % 10 == 0 ? "(CUT)" : "Z-1.25");
            text.append(line, size_t(length));
        }
        return folder.write("BIG.TAP", text);
    }();
    return path;
}

void runInWindow(benchmark::State& state,
                 const std::function<void(TMDIChild&, LineWalkProgress&)>& operation) {
    Host host;
    TProcessDlg box;
    double longestGap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<TMDIChild>(host, programFile());
        window->resize(900, 700);
        window->LoadDocument(programFile());
        window->show();
        QCoreApplication::processEvents();
        QElapsedTimer sinceTick;
        QTimer ticks;
        ticks.setInterval(5);
        QObject::connect(&ticks, &QTimer::timeout,
                         [&] { longestGap = std::max(longestGap, double(sinceTick.restart())); });
        state.ResumeTiming();
        sinceTick.start();
        ticks.start();
        operation(*window, box);
        longestGap = std::max(longestGap, double(sinceTick.elapsed()));
        ticks.stop();
        state.PauseTiming();
        window->SetModified(false);
        window.reset();
        state.ResumeTiming();
    }
    state.counters["lines"] = kLines;
    state.counters["max_event_gap_ms"] = longestGap;
}

void BM_WindowRemoveComments(benchmark::State& state) {
    runInWindow(state, [](TMDIChild& w, LineWalkProgress& p) { RemoveComments(w, p, {}); });
}
void BM_WindowAddSpaces(benchmark::State& state) {
    runInWindow(state, [](TMDIChild& w, LineWalkProgress& p) {
        AddRemoveSpaces(w, p, SpacesChange::Add, {});
    });
}
void BM_WindowRemoveBlankLines(benchmark::State& state) {
    runInWindow(state, [](TMDIChild& w, LineWalkProgress& p) { RemoveBlankLines(w, p); });
}

BENCHMARK(BM_WindowRemoveComments)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_WindowAddSpaces)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_WindowRemoveBlankLines)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace zantor

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
