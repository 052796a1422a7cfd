#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zantor::compare {

// The lines of one file of a comparison, with the cursors the comparison
// walks: the current line, the look-ahead window that searches for a place
// where the files meet again, and the first and last line that did not match.
//
// A file is bytes, one character per byte. Lines end at CR LF, CR or LF; a
// NUL is an ordinary character, so a tape's leader does not hide what follows
// it. The text is held once and shared with the difference list, whose rows
// point into it, so a reload does not pull it from under a list on display.
class TSourceList {
public:
    static constexpr long long kLookAheadLines = 50;

    explicit TSourceList(int side);

    int Side() const { return side_; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }

    // Reads the named file. Throws CompareError ("Cannot load file: ...")
    // when it cannot be read; the list is then empty.
    void Load();
    // The lines of `bytes`, as Load makes them of a file's bytes.
    void LoadText(std::string bytes);

    long long Count() const { return (long long)(starts_.size()) - 1; }
    long long Last() const { return Count() - 1; }
    // Line `index` (0-based, 0 <= index < Count()), without its line end.
    std::string_view Line(long long index) const;
    // The loaded bytes, shared by the rows that show them.
    const std::shared_ptr<const std::string>& Text() const { return text_; }

    void Reset();
    void Next();
    void Prev();
    void StartLook();
    void LookNext();
    // With offset > 0 the line at index + offset, empty past the last line;
    // with offset 0 the line at index. Throws CompareError while at the end
    // or for a negative index.
    std::string_view LineAt(long long index, long long offset) const;
    std::string_view CurrentLine() const { return LineAt(cur_, 0); }
    std::string_view LineAhead() const { return LineAt(cur_, 1); }
    std::string_view LookLine() const { return LineAt(look_, 0); }
    std::string_view LineAfterLook() const { return LineAt(look_, 1); }

    long long Cur() const { return cur_; }
    bool AtEnd() const { return atEnd_; }
    long long Look() const { return look_; }
    bool LookDone() const { return lookDone_; }

    // First and last line (1-based) where a difference began; 0 when none.
    long long BlockStart() const { return blockStart_; }
    long long BlockEnd() const { return blockEnd_; }
    // The lines from the current one on did not match the other file (none
    // when at the end): the block reaches to the last line.
    void MarkTailBlock();

private:
    [[noreturn]] void outOfRange(long long index) const;

    int side_;
    std::string fileName_;
    std::shared_ptr<const std::string> text_;
    // Where each line starts, and one past the end: line i is
    // [starts_[i], starts_[i + 1]) less its line end.
    std::vector<size_t> starts_;

    long long cur_ = 0;
    bool atEnd_ = false;
    long long look_ = 0;
    long long lookEnd_ = 0;
    bool lookDone_ = false;
    long long blockStart_ = 0;
    long long blockEnd_ = 0;
};

}  // namespace zantor::compare
