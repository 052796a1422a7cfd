#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/command_set.h"
#include "editor/file_viewer_model.h"

namespace zantor::cli {

namespace {

struct ViewOptions {
    bool hex = false;
    std::string file;
};

int runView(CliContext& context, const ViewOptions& options) {
    editor::FileViewerModel viewer;
    viewer.open(options.file);
    if (options.hex) {
        for (long long line = 0; line < viewer.hexLineCount(); ++line)
            context.out << viewer.hexLine(line) << '\n';
    } else {
        for (long long offset = 0; offset < viewer.size();) {
            const auto line = viewer.textLine(offset);
            context.out << line.text << '\n';
            offset = line.next;
        }
    }
    context.out.flush();
    return context.out ? 0 : 1;
}

}  // namespace

void addViewCommand(CLI::App& app, CommandSet& commands) {
    auto options = std::make_shared<ViewOptions>();
    CLI::App* view = commands.add(
        app, "view",
        "Print a file as the file viewer shows it: text lines, or with --hex offset, hex bytes "
        "and characters.",
        [options](CliContext& context) { return runView(context, *options); });
    view->add_flag("--hex", options->hex, "Offset, hex bytes and characters");
    view->add_option("FILE", options->file, "The file to show")->required();
}

}  // namespace zantor::cli
