#include "nctools/line_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/nc_document.h"
#include "recording_progress.h"

namespace zantor {
namespace {

using editor::NcDocument;
using editor::TextPosition;
using Lines = std::vector<std::string>;
using testing::RecordingProgress;

void fill(NcDocument& doc, const Lines& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
    doc.InsertText(text);
    doc.SetModified(false);
    doc.SetCaret(1, 1);
}

Lines paragraphsOf(const NcDocument& doc) {
    Lines out;
    for (int n = 1; n <= doc.ParagraphCount(); ++n) out.push_back(doc.GetParagraph(n));
    return out;
}

struct Visit {
    std::string text;
    int line;
    bool operator==(const Visit&) const = default;
};

TEST(LineWalk, VisitsEveryWholeLineAndShowsTheRun) {
    const std::string longLine = "G1 X1.\t" + std::string(3000, 'Y');
    NcDocument doc;
    fill(doc, {"%", longLine, "", "M30"});
    doc.SetCaret(3, 1);
    RecordingProgress progress;
    std::vector<Visit> visits;
    EXPECT_TRUE(
        RunLineTransform(doc, progress, "Working...", [&](const std::string& text, int line) {
            visits.push_back({text, line});
        }));
    EXPECT_EQ(visits, (std::vector<Visit>{{"%", 1}, {longLine, 2}, {"", 3}, {"M30", 4}}));
    EXPECT_EQ(progress.captions, Lines{"Working..."});
    EXPECT_EQ(progress.percents, (std::vector<int>{0, 25, 50, 75, 100}));
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(doc.Caret(), (TextPosition{1, 1}));
    EXPECT_FALSE(doc.Modified());
}

TEST(LineWalk, ASelectionLimitsTheRunToItsWholeLines) {
    struct Case {
        TextPosition start, end;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {{2, 3}, {4, 1}, {2, 3, 4}},  // columns do not count
        {{5, 2}, {5, 3}, {5}},
        {{4, 2}, {2, 1}, {2, 3, 4}},  // made backwards: still start first
    };
    for (const Case& c : cases) {
        NcDocument doc;
        fill(doc, {"N1", "N2 X1", "N3", "N4 Y2", "N5", "N6"});
        doc.SetSelection(c.start, c.end);
        RecordingProgress progress;
        std::vector<int> lines;
        RunLineTransform(doc, progress, "x",
                         [&](const std::string&, int line) { lines.push_back(line); });
        EXPECT_EQ(lines, c.lines) << c.start.line << ":" << c.start.column;
    }
}

TEST(LineWalk, WordWrapChangesNeitherTheLinesNorTheEdits) {
    const Lines program = {"N10 G01 X1.2345 Y2.3456 Z-0.5 F20. (ROUGH)", "N20 X5 Y6 Z7", "M30"};
    Lines results[2];
    for (const bool wrap : {false, true}) {
        NcDocument doc;
        doc.SetWrapColumn(12);
        doc.SetWordWrap(wrap);
        fill(doc, program);
        doc.SetSelection(doc.ParagraphPosition(1, 20), doc.ParagraphPosition(2, 3));
        RecordingProgress progress;
        std::vector<int> lines;
        RunLineTransform(doc, progress, "x", [&](const std::string& text, int line) {
            lines.push_back(line);
            ReplaceInLine(doc, "Z", "W", line, int(text.size()) / 2);
        });
        EXPECT_EQ(lines, (std::vector<int>{1, 2})) << "wrap " << wrap;
        results[wrap] = paragraphsOf(doc);
    }
    EXPECT_EQ(results[0],
              (Lines{"N10 G01 X1.2345 Y2.3456 W-0.5 F20. (ROUGH)", "N20 X5 Y6 W7", "M30"}));
    EXPECT_EQ(results[1], results[0]);
}

TEST(LineWalk, CancelStopsAfterTheCurrentLineAndKeepsItsChanges) {
    NcDocument doc;
    fill(doc, {"X1", "X2", "X3", "X4", "X5"});
    RecordingProgress progress;
    progress.cancelAtKeepAlive = 3;
    const bool completed = RunLineTransform(doc, progress, "x", [&](const std::string&, int line) {
        ReplaceInLine(doc, "X", "Y", line, 0);
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(paragraphsOf(doc), (Lines{"Y1", "Y2", "Y3", "X4", "X5"}));
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(doc.Caret(), (TextPosition{1, 1}));
}

// A document that tells whether the edits of a run come inside one batch.
class BatchWatchingDocument : public NcDocument {
public:
    void BeginEditBatch() override {
        ++depth;
        ++batches;
    }
    void EndEditBatch() override { --depth; }
    void ReplaceInParagraph(int paragraph, int offset, int length, std::string_view text) override {
        if (depth != 1) ++editsOutside;
        NcDocument::ReplaceInParagraph(paragraph, offset, length, text);
    }
    int depth = 0;
    int batches = 0;
    int editsOutside = 0;
};

TEST(LineWalk, TheEditsOfARunAreOneBatchHoweverTheRunEnds) {
    enum class End { Completed, Cancelled, Thrown };
    for (const End end : {End::Completed, End::Cancelled, End::Thrown}) {
        SCOPED_TRACE(int(end));
        BatchWatchingDocument doc;
        fill(doc, {"X1", "X2", "X3", "X4"});
        RecordingProgress progress;
        if (end == End::Cancelled) progress.cancelAtKeepAlive = 2;
        const auto run = [&] {
            return RunLineTransform(doc, progress, "x", [&](const std::string&, int line) {
                ReplaceInLine(doc, "X", "Y", line, 0);
                if (end == End::Thrown && line == 3) throw editor::EditorError("full");
            });
        };
        if (end == End::Thrown)
            EXPECT_THROW(run(), editor::EditorError);
        else
            EXPECT_EQ(run(), end == End::Completed);
        EXPECT_EQ(doc.batches, 1);
        EXPECT_EQ(doc.depth, 0) << "the batch ends with the run";
        EXPECT_EQ(doc.editsOutside, 0);
        EXPECT_NE(paragraphsOf(doc)[0], "X1");
    }
}

TEST(LineWalk, TheLineCountIsReadAgainAfterEveryLine) {
    NcDocument doc;
    fill(doc, {"A", "", "", "B", ""});
    RecordingProgress progress;
    std::vector<std::string> seen;
    RunLineTransform(doc, progress, "x", [&](const std::string& text, int line) {
        seen.push_back(text);
        if (text.empty() && line < doc.ParagraphCount()) DeleteLine(doc, line);
    });
    EXPECT_EQ(paragraphsOf(doc), (Lines{"A", "", "B", ""}));
    EXPECT_EQ(seen, (Lines{"A", "", "B", ""}));
}

TEST(LineWalk, AnEmptyDocumentRunsNoAction) {
    NcDocument doc;
    RecordingProgress progress;
    int calls = 0;
    EXPECT_TRUE(RunLineTransform(doc, progress, "x", [&](const std::string&, int) { ++calls; }));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(progress.ends, 1);
}

TEST(ReplaceInLine, EditsTheFirstOccurrenceAtOrAfterTheColumn) {
    struct Case {
        const char* what;
        std::string oldText, newText;
        int column;
        bool edited;
        std::string after;
    };
    const std::string line = "N10 X1. X1. (X1.)";
    const Case cases[] = {
        {"first one", "X1.", "X2.", 0, true, "N10 X2. X1. (X1.)"},
        {"after column", "X1.", "X2.", 5, true, "N10 X1. X2. (X1.)"},
        {"at column", "X1.", "X2.", 4, true, "N10 X2. X1. (X1.)"},
        {"none after column", "N10", "N20", 1, false, line},
        {"case counts", "x1.", "X2.", 0, false, line},
        {"deleted", "X1. ", "", 0, true, "N10 X1. (X1.)"},
        {"inserted at column", "", "G1 ", 4, true, "N10 G1 X1. X1. (X1.)"},
        {"inserted at start", "", "N5", 0, true, "N5N10 X1. X1. (X1.)"},
        {"both empty", "", "", 3, false, line},
    };
    for (const Case& c : cases) {
        for (const bool insertMode : {true, false}) {
            NcDocument doc;
            fill(doc, {"%", line, "M30"});
            doc.SetInsertMode(insertMode);
            EXPECT_EQ(ReplaceInLine(doc, c.oldText, c.newText, 2, c.column), c.edited) << c.what;
            EXPECT_EQ(paragraphsOf(doc), (Lines{"%", c.after, "M30"})) << c.what;
            EXPECT_EQ(doc.InsertMode(), insertMode) << c.what;
            if (c.edited) {
                doc.UndoEdit();
                EXPECT_EQ(doc.GetParagraph(2), line) << c.what << ": one edit";
            }
        }
    }
}

TEST(ReplaceLine, ALongLineIsReplacedWhole) {
    const std::string before = "N1" + std::string(2000, ' ') + "X1" + std::string(1500, 'Y');
    const std::string after = "N1 X1" + std::string(1500, 'Y') + " Z2";
    NcDocument doc;
    fill(doc, {"%", before, "M30"});
    ReplaceLine(doc, 2, before, after);
    EXPECT_EQ(paragraphsOf(doc), (Lines{"%", after, "M30"}));
    doc.UndoEdit();
    EXPECT_EQ(doc.GetParagraph(2), before);
    ReplaceLine(doc, 2, before, "");
    EXPECT_EQ(paragraphsOf(doc), (Lines{"%", "", "M30"}));
}

TEST(DeleteLine, TakesTheLineOrEmptiesTheLastOne) {
    NcDocument doc;
    fill(doc, {"A", "B", "C"});
    DeleteLine(doc, 2);
    EXPECT_EQ(paragraphsOf(doc), (Lines{"A", "C"}));
    DeleteLine(doc, 2);
    EXPECT_EQ(paragraphsOf(doc), (Lines{"A", ""}));
}

}  // namespace
}  // namespace zantor
