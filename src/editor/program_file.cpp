#include "editor/program_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "core/file_io.h"
#include "editor/paragraph_text.h"
#include "editor/text_document.h"

namespace zantor::editor {

namespace {

constexpr size_t kReadBufferSize = 32 * 1024;
constexpr size_t kWriteBufferSize = 256 * 1024;

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

ProgramLineSplitter::ProgramLineSplitter(Sink sink) : sink_(std::move(sink)) {
    line_.reserve(256);
}

void ProgramLineSplitter::feed(std::string_view bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (afterCr_) {
            afterCr_ = false;
            if (bytes[pos] == '\n') {
                ++pos;
                continue;
            }
        }
        const auto end = std::find_if(bytes.begin() + long(pos), bytes.end(), isLineEnd);
        const size_t stop = size_t(end - bytes.begin());
        if (stop > pos) takeCharacters(bytes.substr(pos, stop - pos));
        if (stop == bytes.size()) break;
        afterCr_ = bytes[stop] == '\r';
        endLine();
        pos = stop + 1;
    }
}

void ProgramLineSplitter::takeCharacters(std::string_view bytes) {
    lineStarted_ = true;
    const size_t room =
        size_t(kMaxParagraphLength) - std::min(line_.size(), size_t(kMaxParagraphLength));
    line_.append(bytes.substr(0, room));
    // Only a cut that loses more than blanks changes what a save writes.
    if (bytes.size() > room &&
        bytes.substr(room).find_first_not_of(" \t") != std::string_view::npos)
        lineCut_ = true;
}

void ProgramLineSplitter::endLine() {
    sink_(withoutTrailingBlanks(line_));
    if (lineCut_) {
        if (report_.linesCut++ == 0) report_.firstCutLine = lineNumber_;
        lineCut_ = false;
    }
    ++lineNumber_;
    line_.clear();
    lineStarted_ = false;
}

void ProgramLineSplitter::finish() {
    if (lineStarted_) endLine();
    afterCr_ = false;
}

ProgramFileReport readProgramFile(
    const std::string& path, const std::function<void(std::string_view paragraph)>& addParagraph) {
    ReadableFile file(path);
    ProgramLineSplitter splitter(addParagraph);
    std::string buffer(kReadBufferSize, '\0');
    while (const size_t n = file.read(buffer.data(), buffer.size()))
        splitter.feed(std::string_view(buffer.data(), n));
    splitter.finish();
    return splitter.report();
}

std::string linesCutWarning(const ProgramFileReport& report) {
    if (report.linesCut == 0) return {};
    const std::string limit = std::to_string(kMaxParagraphLength);
    const std::string first = std::to_string(report.firstCutLine);
    if (report.linesCut == 1)
        return "Line " + first + " is longer than " + limit +
               " characters and was cut to that length.\r\nSaving this file will shorten it.";
    return std::to_string(report.linesCut) + " lines, the first of them line " + first +
           ", are longer than " + limit +
           " characters and were cut to that length.\r\nSaving this file will shorten them.";
}

std::string backupFileName(const std::string& path) {
    const size_t nameStart = path.find_last_of('/') + 1;  // npos + 1 == 0
    const size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot > nameStart;
    const std::string stem = hasExtension ? path.substr(0, dot) : path;
    if (hasExtension) {
        const std::string extension = path.substr(dot + 1);
        // Any spelling of BAK: the file is a backup itself, and copying it to
        // another spelling would only confuse.
        if (extension.size() == 3 && (extension[0] | 0x20) == 'b' && (extension[1] | 0x20) == 'a' &&
            (extension[2] | 0x20) == 'k')
            return {};
    }
    return stem + ".BAK";
}

namespace {

// Keeps the old file under the backup name. A hard link leaves the file
// itself in place until the new one is renamed over it; where the file system
// has no links, a copy does the same.
void keepBackup(const std::string& path, const std::string& backup) {
    if (::unlink(backup.c_str()) != 0 && errno != ENOENT) throw FileError(backup, errno);
    if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, backup.c_str(), AT_SYMLINK_FOLLOW) == 0) return;
    writeFileAtomically(backup, readFileBytes(path));
}

}  // namespace

void writeProgramLines(int paragraphCount, const ParagraphSource& getParagraph,
                       const std::function<void(std::string_view bytes)>& write) {
    std::string converted;
    for (int n = 1; n <= paragraphCount; ++n) {
        std::string_view paragraph = getParagraph(n);
        if (n == paragraphCount && paragraph.empty()) break;
        if (paragraph.find('\0') != std::string_view::npos) {
            converted.assign(paragraph);
            std::replace(converted.begin(), converted.end(), '\0', ' ');
            paragraph = converted;
        }
        write(paragraph);
        write("\r\n");
    }
}

void writeProgramFile(const std::string& path, int paragraphCount,
                      const ParagraphSource& getParagraph, bool backup) {
    // The file is replaced by renaming, which a write-protected file would
    // not stop: a protected program must stay as it is.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0)
        throw FileError(path, errno);
    AtomicFileWriter writer(path, kWriteBufferSize);
    writeProgramLines(paragraphCount, getParagraph,
                      [&](std::string_view bytes) { writer.write(bytes); });
    const std::string backupName = backup ? backupFileName(path) : std::string();
    writer.commit([&] {
        if (!backupName.empty() && fileExists(path)) keepBackup(path, backupName);
    });
}

}  // namespace zantor::editor
