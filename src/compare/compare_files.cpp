#include "compare/compare_files.h"

#include <algorithm>
#include <cstdio>

#include "compare/compare_text_lines.h"

namespace zantor::compare {

namespace {

struct Caption {
    std::string_view mark;
    std::string_view caption;
    std::string_view folded;  // when only one file's lines are displayed
};

constexpr Caption kCaptions[] = {
    {"I", "Add", "Add"},         {"D", "Delete", "Delete"},   {"E", "Edit", "Edit"},
    {"e", " to..", "Edit"},      {"R", "Replace", "Replace"}, {"r", "with..", "Replace"},
    {"S", "Shift", "Shift"},     {"-", " left", "Shift"},     {"+", " right", "Shift"},
    {"A", "Append", "Append"},   {"=", "", ""},
};

std::string_view captionOf(std::string_view mark, bool folded) {
    for (const Caption& c : kCaptions)
        if (c.mark == mark) return folded ? c.folded : c.caption;
    return mark;
}

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return (unsigned char)(c) <= 32; });
}

enum RowKind { File1Line = 1, File2Line = 2, MatchingPair = 3 };

class Comparison {
public:
    Comparison(TSourceList& a, TSourceList& b, const CompareOptions& options,
               DifferenceList& list, CompareProgress& progress)
        : a_(a), b_(b), options_(options), rows_(list.Rows()), progress_(progress),
          lines_(options.excludeLeadingWhitespace, options.caseSensitive) {}

    CompareResult Run() {
        total_ = std::max(a_.Last(), b_.Last());
        a_.Reset();
        b_.Reset();
        rows_.clear();
        FirstPass();
        Tail();
        Captions();
        KeepOneFile();
        return result_;
    }

private:
    bool adjacent() const { return options_.matching == MatchingLines::Adjacent; }

    void AddRow(RowKind kind, std::string_view mark) {
        TSourceList& src = kind == File2Line ? b_ : a_;
        TSourceList& other = kind == File2Line ? a_ : b_;
        DifferenceRow row;
        row.block = mark == "=" ? 0 : result_.diffCount;
        row.change = mark;
        const long long srcLine = src.Cur() + 1;
        const long long otherLine = kind == MatchingPair ? other.Cur() + 1 : 0;
        row.line1 = src.Side() == 1 ? srcLine : otherLine;
        row.line2 = src.Side() == 1 ? otherLine : srcLine;
        const std::string_view line = src.CurrentLine();
        row.text = options_.labelBlankLines && isBlankLine(line) ? kBlankLineLabel : line;
        rows_.push_back(row);
        src.Next();
        if (kind == MatchingPair) other.Next();
    }

    // Looks for y's current line (and the one after it) in x's look-ahead.
    bool FindAnchor(TSourceList& x, TSourceList& y) {
        if (x.LookDone()) return false;
        if (lines_.LinesEqual(x.LookLine(), y.CurrentLine()) &&
            lines_.LinesEqual(x.LineAfterLook(), y.LineAhead()))
            return true;
        x.LookNext();
        return false;
    }

    // The last row continues the same run of added (or deleted) lines.
    bool continuesRun(std::string_view mark, long long line1, long long line2) const {
        if (rows_.empty() || rows_.back().change != mark) return false;
        return mark == "I" ? rows_.back().line1 == line1 : rows_.back().line2 == line2;
    }

    void FirstPass() {
        bool adjacentPending = false;
        while (!a_.AtEnd() && !b_.AtEnd()) {
            progress_.Progress(a_.Cur(), total_, 1);
            lines_.SetPair(a_.CurrentLine(), b_.CurrentLine());
            if (lines_.PairEqual()) {
                if (options_.matching == MatchingLines::All || adjacentPending) {
                    adjacentPending = false;
                    AddRow(MatchingPair, "=");
                } else {
                    a_.Next();
                    b_.Next();
                }
                ++result_.matchCount;
                continue;
            }
            result_.diffFound = true;
            // The matching line just before the difference, unless a row
            // already shows it.
            if (!adjacentPending && adjacent() && a_.Cur() > 0 && b_.Cur() > 0 &&
                (rows_.empty() || rows_.back().line1 != a_.Cur())) {
                a_.Prev();
                b_.Prev();
                AddRow(MatchingPair, "=");
            }
            adjacentPending = adjacent();
            a_.StartLook();
            b_.StartLook();

            int state = 0;
            while (state == 0 && !(a_.LookDone() && b_.LookDone())) {
                if (FindAnchor(a_, b_)) state = 1;
                if (FindAnchor(b_, a_)) state = state == 1 ? 3 : 2;
            }
            if (state == 1) {
                if (!continuesRun("I", a_.Cur(), 0)) ++result_.diffCount;
                AddRow(File1Line, "I");
            } else if (state == 2) {
                if (!continuesRun("D", 0, b_.Cur())) ++result_.diffCount;
                AddRow(File2Line, "D");
            } else {
                ChangedPair();
            }
        }
    }

    void ChangedPair() {
        ++result_.diffCount;
        if (!lines_.LinesSimilar()) {
            AddRow(File2Line, "R");
            AddRow(File1Line, "r");
        } else if (lines_.AllChunksFound()) {
            const bool shorter = a_.CurrentLine().size() < b_.CurrentLine().size();
            AddRow(File2Line, "S");
            AddRow(File1Line, shorter ? "-" : "+");
        } else {
            AddRow(File2Line, "E");
            AddRow(File1Line, "e");
        }
    }

    // Lines left over in one file after the other ended.
    void Tail() {
        if (!b_.AtEnd()) {
            result_.diffFound = true;
            ++result_.diffCount;
            b_.MarkTailBlock();
            a_.MarkTailBlock();
            while (!b_.AtEnd()) {
                AddRow(File2Line, "D");
                progress_.Progress(b_.Cur(), total_, 1);
            }
        }
        if (!a_.AtEnd()) {
            result_.diffFound = true;
            ++result_.diffCount;
            a_.MarkTailBlock();
            b_.MarkTailBlock();
            while (!a_.AtEnd()) {
                AddRow(File1Line, "A");
                progress_.Progress(a_.Cur(), total_, 1);
            }
        }
    }

    void Captions() {
        if (rows_.empty()) return;
        const bool folded = options_.displayed != DisplayedLines::Both;
        const long long count = (long long)(rows_.size());
        for (long long i = 0; i < count; ++i) {
            progress_.Progress(i, count, 2);
            rows_[size_t(i)].change = captionOf(rows_[size_t(i)].change, folded);
        }
    }

    void KeepOneFile() {
        if (options_.displayed == DisplayedLines::Both) return;
        const bool firstOnly = options_.displayed == DisplayedLines::FirstOnly;
        const long long count = (long long)(rows_.size());
        size_t kept = 0;
        for (long long i = 0; i < count; ++i) {
            progress_.Progress(i, count, 3);
            const DifferenceRow& row = rows_[size_t(i)];
            if ((firstOnly ? row.line1 : row.line2) == 0) continue;
            rows_[kept++] = row;
        }
        rows_.resize(kept);
    }

    TSourceList& a_;
    TSourceList& b_;
    const CompareOptions& options_;
    std::vector<DifferenceRow>& rows_;
    CompareProgress& progress_;
    TCompareTextLines lines_;
    long long total_ = 0;
    CompareResult result_;
};

}  // namespace

CompareResult CompareFiles(TSourceList& current, TSourceList& previous,
                           const CompareOptions& options, DifferenceList& list,
                           CompareProgress& progress) {
    list.Clear();
    list.Keep(current.Text());
    list.Keep(previous.Text());
    CompareResult result = Comparison(current, previous, options, list, progress).Run();
    result.resultText = ResultText(result, options, list);
    return result;
}

std::string ResultText(const CompareResult& result, const CompareOptions& options,
                       const DifferenceList& list) {
    if (!result.diffFound) {
        std::string text = "  *** Files are Identical. ***";
        if (options.excludeLeadingWhitespace || !options.caseSensitive)
            text += "  --- (for options set)";
        return text;
    }
    const auto& rows = list.Rows();
    std::string prefix;
    if (rows.empty() || (rows.size() == 1 && rows.front().block == 0))
        prefix = options.displayed == DisplayedLines::FirstOnly
                     ? "  Lines were deleted from previous file."
                     : "  Lines were added to current file.";
    if (result.diffCount == 1) return "  There is 1 difference." + prefix;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "  There are %d differences.", result.diffCount);
    return buffer + prefix;
}

}  // namespace zantor::compare
