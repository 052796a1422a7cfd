#include "editor/program_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/file_io.h"
#include "editor/paragraph_text.h"
#include "editor/text_document.h"

namespace zantor::editor {

namespace {

constexpr size_t kReadBufferSize = 32 * 1024;
constexpr size_t kWriteBufferSize = 256 * 1024;

// Files up to this size are read whole into one block that the paragraphs
// can stay in; bigger ones (more than a document holds) go through a buffer.
constexpr long long kWholeFileLimit = 1LL << 31;

// Finds where the lines of one chunk end (CR or LF). The next LF is looked
// for once and remembered: a file of lone CRs is not searched to its end
// again for every line.
class LineEndFinder {
public:
    explicit LineEndFinder(std::string_view bytes) : bytes_(bytes) {}

    // The CR or LF that ends the line starting at `pos`; the chunk's size
    // when the line goes on past it.
    size_t endOfLineAt(size_t pos) {
        if (!lfKnown_ || nextLf_ < pos) {
            nextLf_ = find('\n', pos, bytes_.size());
            lfKnown_ = true;
        }
        return find('\r', pos, nextLf_);
    }

private:
    // The first `c` in [from, to), or `to`.
    size_t find(char c, size_t from, size_t to) const {
        if (from >= to) return to;
        const void* at = std::memchr(bytes_.data() + from, c, to - from);
        return at ? size_t(static_cast<const char*>(at) - bytes_.data()) : to;
    }

    std::string_view bytes_;
    size_t nextLf_ = 0;
    bool lfKnown_ = false;
};

}  // namespace

ProgramLineSplitter::ProgramLineSplitter(Sink sink) : sink_(std::move(sink)) {
    line_.reserve(256);
}

void ProgramLineSplitter::feed(std::string_view bytes) {
    LineEndFinder lineEnds(bytes);
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (afterCr_) {
            afterCr_ = false;
            if (bytes[pos] == '\n') {
                ++pos;
                continue;
            }
        }
        const size_t stop = lineEnds.endOfLineAt(pos);
        if (stop == bytes.size()) {
            takeCharacters(bytes.substr(pos));
            break;
        }
        afterCr_ = bytes[stop] == '\r';
        if (lineStarted_) {
            takeCharacters(bytes.substr(pos, stop - pos));
            endLine();
        } else {
            // The whole line is here: handed over as it lies, without a copy.
            const std::string_view line = bytes.substr(pos, stop - pos);
            const std::string_view kept = line.substr(0, size_t(kMaxParagraphLength));
            handOver(kept, line.size() > kept.size() &&
                           line.substr(kept.size()).find_first_not_of(" \t") !=
                               std::string_view::npos);
        }
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
    handOver(line_, lineCut_);
    lineCut_ = false;
    line_.clear();
    lineStarted_ = false;
}

void ProgramLineSplitter::handOver(std::string_view line, bool cut) {
    sink_(withoutTrailingBlanks(line));
    if (cut && report_.linesCut++ == 0) report_.firstCutLine = lineNumber_;
    ++lineNumber_;
}

void ProgramLineSplitter::finish() {
    if (lineStarted_) endLine();
    afterCr_ = false;
}

ProgramFileReport readProgramFile(
    const std::string& path, const std::function<void(std::string_view paragraph)>& addParagraph) {
    return readProgramFile(path, nullptr, addParagraph);
}

ProgramFileReport readProgramFile(
    const std::string& path, const BlockKeeper& keepBlock,
    const std::function<void(std::string_view paragraph)>& addParagraph) {
    ReadableFile file(path);
    ProgramLineSplitter splitter(addParagraph);
    if (keepBlock && file.size() <= kWholeFileLimit) {
        const size_t size = size_t(file.size());
        ByteBlock block(size);
        char* const bytes = block.data();
        size_t filled = 0;
        while (filled < size) {
            const size_t n = file.read(bytes + filled, size - filled);
            if (n == 0) break;  // shorter than it was a moment ago
            filled += n;
        }
        keepBlock(std::move(block), filled);
        splitter.feed(std::string_view(bytes, filled));
    } else if (keepBlock) {
        keepBlock(ByteBlock(), 0);
    }
    // What is left (all of it without a block; more when the file grew).
    std::string buffer(kReadBufferSize, '\0');
    while (const size_t n = file.read(buffer.data(), buffer.size()))
        splitter.feed(std::string_view(buffer.data(), n));
    splitter.finish();
    return splitter.report();
}

namespace {

// Line ends counted in bulk, a block at a time. A line can be cut only where
// some block holds no line end at all: with one in every block, no two lie
// further apart than two blocks, which is less than a paragraph may hold.
constexpr size_t kCountBlock = 16 * 1024;
constexpr size_t kCountBufferSize = 16 * kCountBlock;
static_assert(2 * kCountBlock - 1 <= size_t(kMaxParagraphLength));

class LineEndCounter {
public:
    // False when the bytes hold a block without a line end.
    bool add(const char* bytes, size_t size) {
        for (size_t at = 0; at < size; at += kCountBlock) {
            const size_t length = std::min(kCountBlock, size - at);
            if (!addBlock(reinterpret_cast<const unsigned char*>(bytes + at), length)) return false;
        }
        return true;
    }
    // The lines, the last one also without a line end.
    long long lines() const { return ends_ + (last_ != '\n' && last_ != '\r' && any_); }

private:
    bool addBlock(const unsigned char* bytes, size_t length) {
        // A CR ends a line, and so does an LF unless a CR came just before it.
        // Narrow lanes for the sum: a block's count fits, and it runs wide.
        std::uint16_t ends = (bytes[0] == '\r') | ((bytes[0] == '\n') & (last_ != '\r'));
        for (size_t i = 1; i < length; ++i)
            ends += (bytes[i] == '\r') | ((bytes[i] == '\n') & (bytes[i - 1] != '\r'));
        ends_ += ends;
        last_ = bytes[length - 1];
        any_ = true;
        // A block whose only line end is the LF of a CR LF split across its
        // start counts none: it goes the careful way, which is only slower.
        return ends > 0;
    }

    long long ends_ = 0;
    unsigned char last_ = 0;
    bool any_ = false;
};

}  // namespace

ProgramFileCount countProgramFile(const std::string& path) {
    {
        ReadableFile file(path);
        std::string buffer(kCountBufferSize, '\0');
        LineEndCounter counter;
        bool quick = true;
        while (const size_t n = file.read(buffer.data(), buffer.size())) {
            if (!(quick = counter.add(buffer.data(), n))) break;
        }
        if (quick) return {counter.lines(), {}};
    }
    // Lines that may be too long: counted as a read takes them.
    ProgramFileCount count;
    count.report = readProgramFile(path, [&count](std::string_view) { ++count.paragraphs; });
    return count;
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

void writeProgramLine(std::string_view paragraph, bool last, std::string& scratch,
                      const ProgramBytesSink& write) {
    if (last && paragraph.empty()) return;
    if (paragraph.find('\0') != std::string_view::npos) {
        scratch.assign(paragraph);
        std::replace(scratch.begin(), scratch.end(), '\0', ' ');
        paragraph = scratch;
    }
    write(paragraph);
    write("\r\n");
}

void writeProgramLines(int paragraphCount, const ParagraphSource& getParagraph,
                       const ProgramBytesSink& write) {
    std::string converted;
    for (int n = 1; n <= paragraphCount; ++n)
        writeProgramLine(getParagraph(n), n == paragraphCount, converted, write);
}

void writeProgramFile(const std::string& path, int paragraphCount,
                      const ParagraphSource& getParagraph, bool backup) {
    writeProgramFile(
        path,
        [&](const ProgramBytesSink& write) { writeProgramLines(paragraphCount, getParagraph, write); },
        backup);
}

void writeProgramFile(const std::string& path,
                      const std::function<void(const ProgramBytesSink& write)>& produce,
                      bool backup) {
    // The file is replaced by renaming, which a write-protected file would
    // not stop: a protected program must stay as it is.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0)
        throw FileError(path, errno);
    AtomicFileWriter writer(path, kWriteBufferSize);
    produce([&](std::string_view bytes) { writer.write(bytes); });
    const std::string backupName = backup ? backupFileName(path) : std::string();
    writer.commit([&] {
        if (!backupName.empty() && fileExists(path)) keepBackup(path, backupName);
    });
}

}  // namespace zantor::editor
