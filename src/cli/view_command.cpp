#include "cli/view_command.h"

#include <ostream>

#include "editor/file_viewer_model.h"

namespace zantor::cli {

int runView(CliContext& context) {
    bool hex = false;
    std::string file;
    for (const std::string& arg : context.args) {
        if (arg == "--hex")
            hex = true;
        else if (!arg.empty() && arg[0] == '-')
            throw CliError{"unknown option '" + arg + "'"};
        else if (file.empty())
            file = arg;
        else
            throw CliError{"takes one file"};
    }
    if (file.empty()) throw CliError{"needs a file"};

    editor::FileViewerModel viewer;
    viewer.open(file);
    if (hex) {
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

}  // namespace zantor::cli
