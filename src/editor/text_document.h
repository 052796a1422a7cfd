#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zantor::editor {

class SearchWatch;

// Texts of the editor's own errors, shown to the user as they stand.
inline constexpr const char* kInvalidIndex = "Invalid line or paragraph index";
inline constexpr const char* kTooManyParagraphs =
    "Current operation will exceed the maximum number of allowed paragraphs";
inline constexpr const char* kTextTooLarge =
    "Current operation will exceed the maximum editor text size";
inline constexpr const char* kParagraphTooLong =
    "Current operation will exceed the maximum paragraph size";
inline constexpr const char* kOutOfMemory = "insufficient memory for requested operation";

inline constexpr int kMaxParagraphLength = 32767;
// What GetLine callers ask for unless they say otherwise.
inline constexpr int kLineReadLength = 1024;

// An error of the document itself (bad index, a limit reached); what() is the text
// the user is shown.
class EditorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Line and column are 1-based display positions.
struct TextPosition {
    int line = 1;
    int column = 1;
    friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

struct TextSelection {
    bool present = false;
    TextPosition start;
    TextPosition end;
    friend bool operator==(const TextSelection&, const TextSelection&) = default;
};

struct SearchOptions {
    bool backward = false;
    bool matchCase = false;
    bool wholeWord = false;
    bool replace = false;
    bool replaceAll = false;
};

// The operations through which commands and utilities read and change a program.
// Text is bytes: one byte is one character (Latin-1), so any byte value survives.
// NcDocument is the plain implementation (command line, tests, benchmarks); the
// editor window implements it over its views, and both pass one conformance suite.
class TextDocument {
public:
    virtual ~TextDocument() = default;

    // Display lines: one per paragraph, or several when word wrap breaks it.
    virtual int LineCount() const = 0;
    virtual int ParagraphCount() const = 0;
    // Line n (1..LineCount) with tabs expanded, cut to maxLength; throws EditorError.
    virtual std::string GetLine(int line, int maxLength = kLineReadLength) const = 0;
    // Paragraph n (1..ParagraphCount) as stored, tabs kept; throws EditorError.
    virtual std::string GetParagraph(int paragraph) const = 0;
    // The same into `text`, whose room is used again: a walk over millions
    // of lines then allocates nothing per line.
    virtual void ReadParagraph(int paragraph, std::string& text) const {
        text = GetParagraph(paragraph);
    }
    // Where character `offset` (0-based, at most the paragraph's length) of
    // paragraph `paragraph` (1..ParagraphCount) shows; throws EditorError.
    // With these the utilities work on whole paragraphs, wrapped or not.
    virtual TextPosition ParagraphPosition(int paragraph, int offset) const = 0;
    // The paragraph (1-based) that display line `line` shows; throws EditorError.
    virtual int ParagraphOfLine(int line) const = 0;

    virtual TextSelection GetSelection() const = 0;
    // Selects from start to end (end exclusive column); throws EditorError on a bad position.
    virtual void SetSelection(TextPosition start, TextPosition end) = 0;
    virtual void SelectAll() = 0;
    virtual TextPosition Caret() const = 0;
    // Moves the caret and clears the selection; throws EditorError on a bad position.
    virtual void SetCaret(int line, int column) = 0;
    virtual int TopLine() const = 0;
    virtual bool InsertMode() const = 0;
    virtual void SetInsertMode(bool on) = 0;

    // From the caret forward (backward with the option); selects the match.
    // A search that `watch` stops finds nothing and leaves the caret.
    virtual bool FindText(const std::string& text, const SearchOptions& options,
                          SearchWatch* watch = nullptr) = 0;
    virtual void DeleteSelection() = 0;
    // At the caret, replacing the selection; CR LF starts a new paragraph.
    virtual void InsertText(const std::string& text) = 0;
    virtual void DeleteCaretLine() = 0;
    // Replaces `length` characters from `offset` (0-based) of paragraph
    // `paragraph` by `text` (no line breaks) as one edit, the caret after it;
    // throws EditorError. The utilities' edit of a line, wrapped or not.
    virtual void ReplaceInParagraph(int paragraph, int offset, int length,
                                    std::string_view text) = 0;
    virtual void AppendLine(const std::string& text) = 0;

    virtual void SuspendRedraw() = 0;
    virtual void ResumeRedraw() = 0;
    // Around the many edits of one command (a utility's walk over the
    // program): each stays an undo step of its own, but the document may
    // keep them in its own way meanwhile. Calls nest.
    virtual void BeginEditBatch() {}
    virtual void EndEditBatch() {}
    virtual void SetWordWrap(bool on) = 0;

    virtual void UndoEdit() = 0;
    virtual void RedoEdit() = 0;
    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;
    virtual bool Modified() const = 0;
    virtual void SetModified(bool modified) = 0;
    // Size of the file with CR LF line ends: sum of (paragraph length + 2).
    virtual long long ByteCount() const = 0;

    virtual std::string FileName() const = 0;
    virtual void SetFileName(const std::string& name) = 0;
};

}  // namespace zantor::editor
