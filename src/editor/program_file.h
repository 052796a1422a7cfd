#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "editor/byte_block.h"

namespace zantor::editor {

// Reading and writing NC program files, shared by NcDocument and the editor
// window so that both load and save byte for byte alike.
//
// A file is bytes, one character per byte (Latin-1), so every byte value
// survives. Lines end with CR LF, LF or a lone CR; the line end after the last
// line is optional and no empty paragraph follows it.

// What a load had to leave out: lines longer than a paragraph may be are cut,
// and the user must hear of it before a save writes them shortened.
struct ProgramFileReport {
    long long linesCut = 0;
    long long firstCutLine = 0;  // 1-based, 0 when none was cut
};

// The warning for a load that cut lines; empty when none was cut.
std::string linesCutWarning(const ProgramFileReport& report);

// Splits bytes arriving in chunks into paragraphs: at most kMaxParagraphLength
// characters are taken from a line (the rest of the line is skipped) and
// trailing blanks and tabs are trimmed. The view handed to the sink is valid
// only during the call; it is a view of the fed bytes themselves when the
// line lies whole in one chunk.
class ProgramLineSplitter {
public:
    using Sink = std::function<void(std::string_view paragraph)>;

    explicit ProgramLineSplitter(Sink sink);
    void feed(std::string_view bytes);
    // Emits the last line when it had no line end.
    void finish();
    const ProgramFileReport& report() const { return report_; }

private:
    void takeCharacters(std::string_view bytes);
    void endLine();
    void handOver(std::string_view line, bool cut);

    Sink sink_;
    std::string line_;
    bool lineStarted_ = false;
    bool afterCr_ = false;
    bool lineCut_ = false;
    long long lineNumber_ = 1;
    ProgramFileReport report_;
};

// Reads the file through a 32 KB buffer and hands each paragraph to
// addParagraph. Throws zantor::FileError (the system's text) when the file
// cannot be opened or read; whatever addParagraph throws (EditorError for a
// limit) passes through.
ProgramFileReport readProgramFile(
    const std::string& path, const std::function<void(std::string_view paragraph)>& addParagraph);

// The same, with the file read whole into one block handed to keepBlock (its
// bytes, and how many were read) before the first paragraph: the paragraphs
// that lie in it come as views of it, to be kept without a copy while the
// block is. A file too large for that gets no block (null, 0) and goes
// through the buffer.
using BlockKeeper = std::function<void(ByteBlock block, size_t size)>;
ProgramFileReport readProgramFile(
    const std::string& path, const BlockKeeper& keepBlock,
    const std::function<void(std::string_view paragraph)>& addParagraph);

// Where the bytes of a program file go, piece by piece.
using ProgramBytesSink = std::function<void(std::string_view bytes)>;

// What readProgramFile would find in the file, counted without keeping it:
// the number of paragraphs and the report. Throws FileError as it does.
struct ProgramFileCount {
    long long paragraphs = 0;
    ProgramFileReport report;
};
ProgramFileCount countProgramFile(const std::string& path);

// Paragraph n (1-based) as held; the view must stay valid until the next call.
using ParagraphSource = std::function<std::string_view(int paragraph)>;

// The name the old file is kept under when saving over it: the extension
// replaced by "BAK". Empty when there is to be no backup, because the file
// already has that extension.
std::string backupFileName(const std::string& path);

// The bytes of a program file, in pieces handed to `write`: paragraphs
// 1..paragraphCount, each followed by CR LF, the last one only when it is not
// empty; a NUL is written as a space.
void writeProgramLines(int paragraphCount, const ParagraphSource& getParagraph,
                       const ProgramBytesSink& write);

// One paragraph of that: `last` when it is the document's last; `scratch`
// holds a paragraph with NULs while it is converted.
void writeProgramLine(std::string_view paragraph, bool last, std::string& scratch,
                      const ProgramBytesSink& write);

// Writes paragraphs 1..paragraphCount, each followed by CR LF, the last one
// only when it is not empty; a NUL is written as a space. The new file is
// written beside the old one and renamed into place, so a failure (full disk,
// no permission) leaves the old file and its backup as they were. With backup
// on, an existing file is kept under backupFileName(path). A file we may not
// write to is left alone ("Permission denied"). Throws FileError.
void writeProgramFile(const std::string& path, int paragraphCount,
                      const ParagraphSource& getParagraph, bool backup);

// The same for bytes that `produce` hands, in pieces, to the sink it is given
// (a program passed through line by line); what it throws leaves the old file.
void writeProgramFile(const std::string& path,
                      const std::function<void(const ProgramBytesSink& write)>& produce,
                      bool backup);

}  // namespace zantor::editor
