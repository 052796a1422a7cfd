#include "dnc/work_file.h"

#include <array>

#include "core/file_io.h"

namespace zantor {

namespace {

constexpr char kCtrlZ = 0x1A;

// Collects the lines of the source and writes the kept ones converted.
class WorkFileWriter {
public:
    WorkFileWriter(const std::string& workFile, const TapeOptions& options,
                   const std::string& shownName)
        : out_(workFile), options_(options), shownName_(shownName) {
        for (int b = 0; b < 256; ++b) {
            const uint8_t byte = uint8_t(b);
            switch (options.code) {
                case TapeCode::Eia:
                    table_[size_t(b)] = char(encodeEia(byte));
                    break;
                case TapeCode::Ascii:
                    table_[size_t(b)] = char(addEvenParity(byte));
                    break;
                case TapeCode::Iso:
                    table_[size_t(b)] = char(byte);
                    break;
            }
        }
    }

    // One line of the source, without its line end, starting at `start`.
    void line(const std::string& text, const TextPosition& start) {
        const std::string& comment = options_.LineCommentChar;
        if (comment.size() == 1 && !text.empty() && text.front() == comment.front()) return;
        if (options_.StripBlankLines && text.empty()) return;
        if (options_.code == TapeCode::Eia) {
            if (const auto problem = findEiaProblem(text, start))
                throw TapeCodeError(shownName_ + ", " + describeEiaProblem(*problem));
        }
        converted_.resize(text.size());
        for (size_t i = 0; i < text.size(); ++i) converted_[i] = table_[uint8_t(text[i])];
        switch (options_.code) {
            case TapeCode::Eia:
                converted_ += '\x80';
                break;
            case TapeCode::Ascii:
                converted_ += "\x8D\n";
                break;
            case TapeCode::Iso:
                converted_ += "\r\n";
                break;
        }
        out_.write(converted_);
    }

    void commit() { out_.commit(); }

private:
    AtomicFileWriter out_;
    const TapeOptions& options_;
    const std::string& shownName_;
    std::array<char, 256> table_{};
    std::string converted_;
};

}  // namespace

void buildWorkFile(const std::string& source, const std::string& workFile,
                   const TapeOptions& options, const std::string& shownName) {
    ReadableFile in(source);
    WorkFileWriter writer(workFile, options, shownName);
    std::string line;
    TextPosition position, lineStart;
    bool afterLineEnd = true;  // at the start, or the last byte ended a line
    bool afterCr = false;
    bool ended = false;
    std::array<char, 65536> buffer;
    while (!ended) {
        const size_t n = in.read(buffer.data(), buffer.size());
        if (n == 0) break;
        for (size_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == kCtrlZ) {
                ended = true;
                break;
            }
            const bool lfOfCrLf = c == '\n' && afterCr;
            const bool redundantLf = c == '\n' && afterLineEnd && options.FilterLineFeeds;
            afterCr = c == '\r';
            position.advance(uint8_t(c));
            if (lfOfCrLf || redundantLf) {
                lineStart = position;
                continue;
            }
            if (c == '\r' || c == '\n') {
                writer.line(line, lineStart);
                line.clear();
                lineStart = position;
                afterLineEnd = true;
                continue;
            }
            line += c;
            afterLineEnd = false;
        }
    }
    if (!line.empty()) writer.line(line, lineStart);
    writer.commit();
}

}  // namespace zantor
