// Opening a 1,000,000-line program (about 40 MB) in an editor window, until
// the window is idle and its text is shown, must take under 1.5 s and add
// less than four times the file's size in memory. Scrolling to the end,
// typing there and colouring what is shown must stay immediate, because only
// the shown lines are coloured. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/interaction.h"
#include "editor/ui/editor_host.h"
#include "editor/ui/editor_view.h"
#include "editor/ui/tmdi_child.h"

namespace {

using zantor::editor::TMDIChild;

constexpr int kLines = 1000000;

class SilentInteraction : public zantor::Interaction {
public:
    zantor::Answer message(zantor::MessageKind, const std::string& text, zantor::Buttons) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return zantor::Answer::Cancel;
    }
    std::optional<std::string> inputText(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
    std::vector<std::string> openFiles(const zantor::FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(const zantor::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> browseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void setBusy(bool) override {}
    void beep() override {}
};

class BenchHost : public zantor::editor::EditorHost {
public:
    explicit BenchHost(bool wordWrap = false, int wrapColumn = 30)
        : wordWrap_(wordWrap), wrapColumn_(wrapColumn) {}
    zantor::editor::EditorViewSettings viewSettings() const override {
        zantor::editor::EditorViewSettings settings;
        settings.font = QFont("DejaVu Sans Mono", 10);
        settings.wordWrap = wordWrap_;
        settings.wrapColumn = wrapColumn_;
        return settings;
    }
    zantor::editor::CommentStrings commentStrings() const override { return {}; }
    QMenu* editorContextMenu() override { return nullptr; }
    zantor::Interaction& interaction() override { return interaction_; }
    void editorStateChanged(TMDIChild&) override {}
    bool mayCloseEditor(TMDIChild&) override { return true; }
    void editorClosed(TMDIChild&) override {}

private:
    bool wordWrap_;
    int wrapColumn_;
    SilentInteraction interaction_;
};

// A generated program with comments, written once for all benchmarks.
class BigProgram {
public:
    BigProgram() {
        path_ = (std::filesystem::temp_directory_path() /
                 ("zantor-window-bench-" + std::to_string(::getpid()) + ".TAP"))
                    .string();
        std::ofstream out(path_, std::ios::binary);
        char line[128];
        for (int n = 1; n <= kLines; ++n) {
            const int length =
                std::snprintf(line, sizeof line, "N%07d G01 X%.3f Y%.3f F250. (PASS %d)\r\n", n,
                              (n % 4999) * 0.031, (n % 3001) * -0.047, n % 97);
            out.write(line, length);
        }
    }
    ~BigProgram() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }
    double megabytes() const { return double(std::filesystem::file_size(path_)) / 1e6; }

private:
    std::string path_;
};

const BigProgram& program() {
    static const BigProgram big;
    return big;
}

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// Shows the window and lets it paint until no work is left.
void showAndSettle(TMDIChild& window) {
    window.show();
    QCoreApplication::processEvents();
    window.Editor1()->viewport()->repaint();
    QCoreApplication::processEvents();
}

void BM_OpenInEditorWindow(benchmark::State& state) {
    const BigProgram& big = program();
    // With word wrap at column 30 every line breaks into two or three.
    BenchHost host(state.range(0) != 0);
    double addedMegabytes = 0;
    for (auto _ : state) {
        const long before = residentBytes();
        auto window = std::make_unique<TMDIChild>(host, big.path());
        window->resize(900, 700);
        window->LoadDocument(big.path());
        showAndSettle(*window);
        if (window->ParagraphCount() != kLines) state.SkipWithError("not every line arrived");
        addedMegabytes = std::max(addedMegabytes, double(residentBytes() - before) / 1e6);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["word_wrap"] = double(state.range(0));
    state.counters["file_MB"] = big.megabytes();
    state.counters["added_MB"] = addedMegabytes;
    state.counters["added_x_file"] = addedMegabytes / big.megabytes();
}
BENCHMARK(BM_OpenInEditorWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// One open window for the editing benchmarks, closed before the application.
std::unique_ptr<TMDIChild> sharedWindow;

TMDIChild& openWindow() {
    static BenchHost host;
    if (!sharedWindow) {
        sharedWindow = std::make_unique<TMDIChild>(host, program().path());
        sharedWindow->resize(900, 700);
        sharedWindow->LoadDocument(program().path());
        showAndSettle(*sharedWindow);
    }
    return *sharedWindow;
}

void BM_ScrollToTheEnd(benchmark::State& state) {
    TMDIChild& window = openWindow();
    zantor::editor::EditorView* view = window.Editor1();
    bool atEnd = false;
    for (auto _ : state) {
        view->SendScintilla(atEnd ? QsciScintillaBase::SCI_DOCUMENTSTART
                                  : QsciScintillaBase::SCI_DOCUMENTEND);
        atEnd = !atEnd;
        view->viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollToTheEnd)->Unit(benchmark::kMicrosecond);

void BM_TypeAtTheEnd(benchmark::State& state) {
    TMDIChild& window = openWindow();
    zantor::editor::EditorView* view = window.Editor1();
    view->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "X");
        QApplication::sendEvent(view, &press);
        view->viewport()->repaint();
        QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(view, &back);
        view->viewport()->repaint();
    }
    state.counters["status_lines"] = window.LineCount();
}
BENCHMARK(BM_TypeAtTheEnd)->Unit(benchmark::kMicrosecond);

// With word wrap on and lines longer than the wrap column (argument), Scintilla
// has to wrap every line above the end before it can show the end: the first
// jump there, before idle time has wrapped the text in the background,
// measures that. At column 80 no line of the program is long enough to wrap.
void BM_FirstJumpToTheEndWrapped(benchmark::State& state) {
    BenchHost host(true, int(state.range(0)));
    state.SetLabel("wrap column " + std::to_string(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<TMDIChild>(host, program().path());
        window->resize(900, 700);
        window->LoadDocument(program().path());
        showAndSettle(*window);
        state.ResumeTiming();
        window->Editor1()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        window->Editor1()->viewport()->repaint();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstJumpToTheEndWrapped)
    ->Arg(30)
    ->Arg(80)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_ColourTheShownLines(benchmark::State& state) {
    TMDIChild& window = openWindow();
    zantor::editor::EditorView* view = window.Editor1();
    view->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    for (auto _ : state) {
        // Each round colours anew: the selection toggles the shown lines.
        view->SendScintilla(QsciScintillaBase::SCI_SETSEL, view->textLength() - 5,
                            view->textLength());
        view->colourVisibleLines();
        view->SendScintilla(QsciScintillaBase::SCI_GOTOPOS,
                            static_cast<unsigned long>(view->textLength()));
        view->colourVisibleLines();
    }
}
BENCHMARK(BM_ColourTheShownLines)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedWindow.reset();
    return 0;
}
