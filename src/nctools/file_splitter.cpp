#include "nctools/file_splitter.h"

#include <memory>

#include "core/file_io.h"

namespace zantor {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One output file, written whole before it replaces what stood there.
class ProgramFile {
public:
    ProgramFile(const std::string& path, const SplitSettings& settings)
        : writer_(path), suffix_(settings.suffix) {
        if (!settings.prefix.empty()) writeLine(settings.prefix);
    }
    void writeLine(std::string_view line) {
        writer_.write(line);
        writer_.write("\r\n");
    }
    void finish() {
        if (!suffix_.empty()) writeLine(suffix_);
        writer_.commit();
    }

private:
    AtomicFileWriter writer_;
    std::string suffix_;
};

// A line starts with a one-character marker; a longer marker never matches.
bool startsWithMarker(std::string_view line, const std::string& marker) {
    return marker.size() == 1 && !line.empty() && line[0] == marker[0];
}

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace

std::string splitCaption() { return "Splitting File ..."; }

std::string splitFileName(std::string_view programLine) {
    if (programLine.empty()) return {};
    std::string name(1, programLine[0] == ':' ? 'O' : programLine[0]);
    for (size_t i = 1; i < programLine.size() && isDigit(programLine[i]); ++i)
        name += programLine[i];
    return name;
}

SplitResult SplitPrograms(editor::TextDocument& document, LineWalkProgress& progress,
                          const SplitSettings& settings, const OverwriteQuestion& askOverwrite) {
    SplitResult result;
    LineWalk walk(document, progress, splitCaption());
    std::unique_ptr<ProgramFile> file;
    for (int number = 1; number <= document.ParagraphCount(); ++number) {
        std::string line = document.GetParagraph(number);
        if (line.empty() || startsWithMarker(line, settings.prefix)) continue;
        if (startsWithMarker(line, settings.programId)) {
            if (file) file->finish();
            file.reset();
            if (line[0] == ':') line[0] = 'O';
            std::string path = inFolder(settings.folder, splitFileName(line) + "." +
                                                             settings.extension);
            if (!settings.alwaysOverwrite && fileExists(path)) {
                const std::optional<std::string> chosen = askOverwrite(path);
                if (!chosen) {
                    result.complete = false;
                    return result;
                }
                path = *chosen;
            }
            file = std::make_unique<ProgramFile>(path, settings);
            result.files.push_back(path);
        }
        if (file) file->writeLine(line);
        if (walk.step(number, document.ParagraphCount())) {
            result.complete = false;
            break;
        }
    }
    if (file) file->finish();
    return result;
}

}  // namespace zantor
