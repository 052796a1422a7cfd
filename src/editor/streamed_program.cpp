#include "editor/streamed_program.h"

#include <cerrno>

#include "editor/paragraph_replacement.h"
#include "editor/paragraph_text.h"

namespace zantor::editor {

namespace {

constexpr size_t kReadPiece = 256 * 1024;

}  // namespace

StreamedProgram::StreamedProgram(const std::string& path) : path_(path) {
    const ProgramFileCount count = countProgramFile(path);
    checkDocumentSize(count.paragraphs, 0);
    report_ = count.report;
    // An empty file is one empty paragraph, as in any document.
    emptyFile_ = count.paragraphs == 0;
    paragraphCount_ = emptyFile_ ? 1 : int(count.paragraphs);
}

void StreamedProgram::passThrough(const ProgramBytesSink& write,
                                  const std::function<void(TextDocument&)>& change) {
    ReadableFile file(path_);
    ProgramLineSplitter splitter([this](std::string_view paragraph) {
        if (pendingCount_ == pending_.size()) pending_.emplace_back();
        pending_[pendingCount_++].assign(paragraph);
    });
    buffer_.resize(kReadPiece);
    file_ = &file;
    splitter_ = &splitter;
    write_ = &write;
    pendingCount_ = pendingNext_ = 0;
    fileDone_ = false;
    current_ = 0;
    struct Detach {
        StreamedProgram& program;
        ~Detach() {
            program.file_ = nullptr;
            program.splitter_ = nullptr;
            program.write_ = nullptr;
        }
    } detach{*this};

    change(*this);
    moveTo(paragraphCount_);
    writeCurrent();
    std::string more;
    if (takeFromFile(more))
        throw FileError(path_, EIO, "the file changed while it was read");
}

bool StreamedProgram::takeFromFile(std::string& into) {
    if (pendingNext_ == pendingCount_) {
        pendingNext_ = pendingCount_ = 0;
        while (pendingCount_ == 0 && !fileDone_) {
            const size_t n = file_->read(buffer_.data(), buffer_.size());
            if (n == 0) {
                splitter_->finish();
                fileDone_ = true;
            } else {
                splitter_->feed(std::string_view(buffer_.data(), n));
            }
        }
        if (pendingCount_ == 0) return false;
    }
    into.swap(pending_[pendingNext_++]);
    return true;
}

void StreamedProgram::moveTo(int paragraph) {
    if (file_ == nullptr) misuse("a streamed program is read only while it is passed through");
    if (paragraph < 1 || paragraph > paragraphCount_) throw EditorError(kInvalidIndex);
    if (paragraph < current_) misuse("a streamed program is read in order, never back");
    while (current_ < paragraph) {
        if (current_ > 0) writeCurrent();
        ++current_;
        if (!takeFromFile(text_)) {
            if (!emptyFile_)
                throw FileError(path_, EIO,
                                "the file changed while it was read: it ended at line " +
                                    std::to_string(current_));
            text_.clear();
        }
    }
}

void StreamedProgram::writeCurrent() {
    writeProgramLine(text_, current_ == paragraphCount_, converted_, *write_);
}

void StreamedProgram::misuse(const char* what) const {
    throw StreamedProgramMisuse(what);
}

// Reading moves the walk on: the file is read as far as asked.
std::string StreamedProgram::GetParagraph(int paragraph) const {
    const_cast<StreamedProgram*>(this)->moveTo(paragraph);
    return text_;
}

void StreamedProgram::ReadParagraph(int paragraph, std::string& text) const {
    const_cast<StreamedProgram*>(this)->moveTo(paragraph);
    text.assign(text_);
}

int StreamedProgram::ParagraphOfLine(int line) const {
    // Never wrapped: a line is its paragraph.
    if (line < 1 || line > paragraphCount_) throw EditorError(kInvalidIndex);
    return line;
}

void StreamedProgram::ReplaceInParagraph(int paragraph, int offset, int length,
                                         std::string_view text) {
    moveTo(paragraph);
    if (offset < 0 || length < 0 || (long long)offset + length > (long long)text_.size())
        throw EditorError(kInvalidIndex);
    if (text.find_first_of("\r\n") != std::string_view::npos)
        misuse("a streamed program gets no new lines");
    if (text_.size() - size_t(length) + text.size() > size_t(kMaxParagraphLength)) {
        // Maybe too long, maybe not once trimmed: the line stays as it was
        // unless the edit is allowed.
        edited_.assign(text_, 0, size_t(offset));
        edited_.append(text);
        edited_.append(text_, size_t(offset + length));
        if (withoutTrailingBlanks(edited_).size() > size_t(kMaxParagraphLength))
            throw EditorError(kParagraphTooLong);
        text_.swap(edited_);
    } else {
        text_.replace(size_t(offset), size_t(length), text);
    }
    text_.resize(withoutTrailingBlanks(text_).size());
    modified_ = true;
}

std::string StreamedProgram::GetLine(int, int) const {
    misuse("a streamed program has no display lines");
}

TextPosition StreamedProgram::ParagraphPosition(int, int) const {
    misuse("a streamed program has no display positions");
}

void StreamedProgram::SetSelection(TextPosition, TextPosition) {
    misuse("a streamed program has no selection");
}

void StreamedProgram::SelectAll() {
    misuse("a streamed program has no selection");
}

bool StreamedProgram::FindText(const std::string&, const SearchOptions&, SearchWatch*) {
    misuse("a streamed program is not searched");
}

void StreamedProgram::DeleteSelection() {
    misuse("a streamed program keeps its lines");
}

void StreamedProgram::InsertText(const std::string&) {
    misuse("a streamed program is edited within its lines only");
}

void StreamedProgram::DeleteCaretLine() {
    misuse("a streamed program keeps its lines");
}

void StreamedProgram::AppendLine(const std::string&) {
    misuse("a streamed program gets no new lines");
}

long long StreamedProgram::ByteCount() const {
    misuse("a streamed program's size is known only once it is written");
}

void StreamedProgram::SetWordWrap(bool on) {
    if (on) misuse("a streamed program is never wrapped");
}

}  // namespace zantor::editor
