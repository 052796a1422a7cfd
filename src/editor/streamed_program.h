#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_io.h"
#include "editor/program_file.h"
#include "editor/text_document.h"

namespace zantor::editor {

// A program file passed through once, line by line: each paragraph is read
// from the file when a walk reaches it, may be edited in place, and is
// written out as the walk moves past it. What a one-pass utility on the
// command line needs, in memory of a few lines however long the file: held
// whole, a program of millions of lines would cost more in fresh memory than
// the utility itself costs.
//
// Only that walk is possible: paragraphs read in order (the current one again
// as often as wanted) and edited within themselves. Anything else (going
// back, a selection, adding or deleting lines, a search) is a mistake of the
// caller and throws StreamedProgramMisuse.
class StreamedProgramMisuse : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class StreamedProgram final : public TextDocument {
public:
    // Reads the file once to count its paragraphs (and the lines a load
    // would cut) before any of it is written. Throws FileError when it cannot
    // be read, EditorError when it has more lines than a document may.
    explicit StreamedProgram(const std::string& path);

    const ProgramFileReport& report() const { return report_; }

    // Lets `change` walk the program, then writes every paragraph (edited or
    // not) to `write` as a save would write them. Throws FileError when the
    // file changed its number of lines while it was passed through.
    void passThrough(const ProgramBytesSink& write, const std::function<void(TextDocument&)>& change);

    int LineCount() const override { return ParagraphCount(); }
    int ParagraphCount() const override { return paragraphCount_; }
    std::string GetLine(int line, int maxLength = kLineReadLength) const override;
    std::string GetParagraph(int paragraph) const override;
    void ReadParagraph(int paragraph, std::string& text) const override;
    TextPosition ParagraphPosition(int paragraph, int offset) const override;
    int ParagraphOfLine(int line) const override;

    TextSelection GetSelection() const override { return {}; }
    void SetSelection(TextPosition start, TextPosition end) override;
    void SelectAll() override;
    // There is no caret to show: it stays at the start.
    TextPosition Caret() const override { return {}; }
    void SetCaret(int, int) override {}
    int TopLine() const override { return 1; }
    bool InsertMode() const override { return insertMode_; }
    void SetInsertMode(bool on) override { insertMode_ = on; }

    bool FindText(const std::string& text, const SearchOptions& options,
                  SearchWatch* watch = nullptr) override;
    void DeleteSelection() override;
    void InsertText(const std::string& text) override;
    void DeleteCaretLine() override;
    void ReplaceInParagraph(int paragraph, int offset, int length, std::string_view text) override;
    void AppendLine(const std::string& text) override;

    void SuspendRedraw() override {}
    void ResumeRedraw() override {}
    void SetWordWrap(bool on) override;

    // Nothing is kept to undo: what is passed on is written.
    void UndoEdit() override {}
    void RedoEdit() override {}
    bool CanUndo() const override { return false; }
    bool CanRedo() const override { return false; }
    bool Modified() const override { return modified_; }
    void SetModified(bool modified) override { modified_ = modified; }
    long long ByteCount() const override;

    std::string FileName() const override { return path_; }
    void SetFileName(const std::string& name) override { path_ = name; }

private:
    // Makes `paragraph` the current one, writing out those before it.
    void moveTo(int paragraph);
    // The next paragraph of the file into `into`; false at its end.
    bool takeFromFile(std::string& into);
    void writeCurrent();
    [[noreturn]] void misuse(const char* what) const;

    std::string path_;
    ProgramFileReport report_;
    int paragraphCount_ = 0;
    bool emptyFile_ = false;
    bool modified_ = false;
    bool insertMode_ = true;

    // While passing through:
    ReadableFile* file_ = nullptr;
    const ProgramBytesSink* write_ = nullptr;
    ProgramLineSplitter* splitter_ = nullptr;
    std::string buffer_;
    std::vector<std::string> pending_;  // split off, not yet reached
    size_t pendingCount_ = 0;
    size_t pendingNext_ = 0;
    bool fileDone_ = false;
    int current_ = 0;     // 0 before the first
    std::string text_;    // the current paragraph
    std::string edited_;  // scratch for an edit
    std::string converted_;
};

}  // namespace zantor::editor
