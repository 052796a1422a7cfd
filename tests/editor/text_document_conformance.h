#pragma once

// The behaviour every TextDocument shares, written once and run against each
// implementation. An implementation joins with a factory type:
//
//   struct MyFactory {
//       TextDocument& document();  // a fresh, empty document for one test
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(My, TextDocumentConformance, ::testing::Types<MyFactory>);
//
// The factory is created anew for each test. Word wrap stays off here: where
// a line breaks depends on the view, so wrapping is tested per implementation.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/export_lines.h"
#include "editor/text_document.h"
#include "temp_folder.h"

namespace zantor::editor::conformance {

template <typename Factory>
class TextDocumentConformance : public ::testing::Test {
protected:
    TextDocument& doc() { return factory_.document(); }

    // Fills the empty document with the paragraphs, as typed text.
    void fill(const std::vector<std::string>& paragraphs) {
        std::string text;
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            if (i > 0) text += "\r\n";
            text += paragraphs[i];
        }
        doc().InsertText(text);
    }

    std::vector<std::string> paragraphs() {
        std::vector<std::string> out;
        for (int n = 1; n <= doc().ParagraphCount(); ++n) out.push_back(doc().GetParagraph(n));
        return out;
    }

    std::vector<std::string> lines() {
        std::vector<std::string> out;
        for (int n = 1; n <= doc().LineCount(); ++n) out.push_back(doc().GetLine(n));
        return out;
    }

    void select(int startLine, int startColumn, int endLine, int endColumn) {
        doc().SetSelection({startLine, startColumn}, {endLine, endColumn});
    }

    // The error text an operation raised; empty when it raised none.
    template <typename Operation>
    static std::string errorOf(Operation operation) {
        try {
            operation();
        } catch (const EditorError& error) {
            return error.what();
        }
        return {};
    }

private:
    Factory factory_;
};

using Paragraphs = std::vector<std::string>;

TYPED_TEST_SUITE_P(TextDocumentConformance);

TYPED_TEST_P(TextDocumentConformance, NewDocumentIsEmptyAndUnmodified) {
    TextDocument& d = this->doc();
    EXPECT_EQ(d.LineCount(), 0);
    EXPECT_EQ(d.ParagraphCount(), 0);
    EXPECT_EQ(d.ByteCount(), 0);
    EXPECT_FALSE(d.Modified());
    EXPECT_FALSE(d.CanUndo());
    EXPECT_FALSE(d.CanRedo());
    EXPECT_TRUE(d.InsertMode());
    EXPECT_EQ(d.Caret(), (TextPosition{1, 1}));
    EXPECT_FALSE(d.GetSelection().present);
    EXPECT_EQ(this->errorOf([&] { d.GetLine(1); }), kInvalidIndex);
    // The caret's home stays a valid place to put it.
    EXPECT_EQ(this->errorOf([&] { d.SetCaret(1, 1); }), "");
    EXPECT_EQ(this->errorOf([&] { d.SetCaret(2, 1); }), kInvalidIndex);
}

TYPED_TEST_P(TextDocumentConformance, CrLfInInsertedTextStartsParagraphs) {
    this->fill({"G1 X1", "", "M30"});
    TextDocument& d = this->doc();
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1 X1", "", "M30"}));
    EXPECT_EQ(d.LineCount(), 3);
    EXPECT_EQ(d.ByteCount(), 5 + 2 + 0 + 2 + 3 + 2);
    EXPECT_TRUE(d.Modified());
    EXPECT_EQ(d.Caret(), (TextPosition{3, 4}));
}

TYPED_TEST_P(TextDocumentConformance, TrailingBlanksAreTrimmed) {
    this->fill({"N10 G1 X5   ", "G0\t \t"});
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"N10 G1 X5", "G0"}));
    EXPECT_EQ(this->doc().ByteCount(), 11 + 4);
}

TYPED_TEST_P(TextDocumentConformance, TabsAreKeptAndGetLineExpandsThem) {
    this->fill({"G1\tX5", "\tY2", "N12345678\tZ"});
    TextDocument& d = this->doc();
    EXPECT_EQ(d.GetParagraph(1), "G1\tX5");
    EXPECT_EQ(this->lines(), (Paragraphs{"G1      X5", "        Y2", "N12345678       Z"}));
    EXPECT_EQ(d.GetLine(1, 4), "G1  ");
    EXPECT_EQ(d.GetLine(3, 0), "");
    EXPECT_EQ(d.ByteCount(), 5 + 2 + 3 + 2 + 11 + 2);
}

TYPED_TEST_P(TextDocumentConformance, BadIndexesRaiseTheIndexError) {
    this->fill({"G1", "M30"});
    TextDocument& d = this->doc();
    const struct { int line, column; } badCaret[] = {{0, 1}, {3, 1}, {-1, 1}, {1, 0}, {2, -5}};
    for (const auto& bad : badCaret) {
        SCOPED_TRACE(std::to_string(bad.line) + ":" + std::to_string(bad.column));
        EXPECT_EQ(this->errorOf([&] { d.SetCaret(bad.line, bad.column); }), kInvalidIndex);
    }
    for (const int bad : {0, 3, -1}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(this->errorOf([&] { d.GetLine(bad); }), kInvalidIndex);
        EXPECT_EQ(this->errorOf([&] { d.GetParagraph(bad); }), kInvalidIndex);
    }
    EXPECT_EQ(this->errorOf([&] { this->select(1, 1, 9, 1); }), kInvalidIndex);
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1", "M30"}));
}

TYPED_TEST_P(TextDocumentConformance, CaretMovesClampAndClearTheSelection) {
    this->fill({"G1 X1", "M30"});
    TextDocument& d = this->doc();
    this->select(1, 1, 1, 3);
    ASSERT_TRUE(d.GetSelection().present);
    d.SetCaret(2, 2);
    EXPECT_EQ(d.Caret(), (TextPosition{2, 2}));
    EXPECT_FALSE(d.GetSelection().present);
    d.SetCaret(1, 99);
    EXPECT_EQ(d.Caret(), (TextPosition{1, 6}));
}

TYPED_TEST_P(TextDocumentConformance, SelectionIsReportedStartFirst) {
    this->fill({"G1 X1", "G2 Y2", "M30"});
    TextDocument& d = this->doc();
    this->select(2, 4, 1, 2);
    const TextSelection backward = d.GetSelection();
    EXPECT_TRUE(backward.present);
    EXPECT_EQ(backward.start, (TextPosition{1, 2}));
    EXPECT_EQ(backward.end, (TextPosition{2, 4}));

    d.SelectAll();
    const TextSelection all = d.GetSelection();
    EXPECT_EQ(all.start, (TextPosition{1, 1}));
    EXPECT_EQ(all.end, (TextPosition{3, 4}));
}

TYPED_TEST_P(TextDocumentConformance, DeleteSelectionJoinsParagraphs) {
    this->fill({"G1 X1", "G2 Y2", "M30"});
    TextDocument& d = this->doc();
    this->select(1, 3, 2, 4);
    d.DeleteSelection();
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1Y2", "M30"}));
    EXPECT_EQ(d.Caret(), (TextPosition{1, 3}));
    EXPECT_FALSE(d.GetSelection().present);
}

TYPED_TEST_P(TextDocumentConformance, DeleteWithoutSelectionChangesNothing) {
    this->fill({"G1", "M30"});
    TextDocument& d = this->doc();
    d.SetModified(false);
    d.SetCaret(1, 2);
    d.DeleteSelection();
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1", "M30"}));
    EXPECT_FALSE(d.Modified());
}

TYPED_TEST_P(TextDocumentConformance, InsertTextReplacesTheSelection) {
    this->fill({"G1 X1.5 Y2", "M30"});
    TextDocument& d = this->doc();
    this->select(1, 4, 1, 9);
    d.InsertText("X7\r\nG0 ");
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1 X7", "G0 Y2", "M30"}));
    EXPECT_EQ(d.Caret(), (TextPosition{2, 4}));
}

TYPED_TEST_P(TextDocumentConformance, OverwriteModeReplacesCharactersAfterTheCaret) {
    this->fill({"G1 X1", "M30"});
    TextDocument& d = this->doc();
    d.SetInsertMode(false);
    EXPECT_FALSE(d.InsertMode());
    d.SetCaret(1, 4);
    d.InsertText("Y2");
    EXPECT_EQ(d.GetParagraph(1), "G1 Y2");
    d.InsertText("Z33");  // past the end of the paragraph: appended
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1 Y2Z33", "M30"}));
    d.SetInsertMode(true);
    d.SetCaret(2, 1);
    d.InsertText("N9 ");
    EXPECT_EQ(d.GetParagraph(2), "N9 M30");
}

TYPED_TEST_P(TextDocumentConformance, DeleteCaretLineRemovesTheLineWithItsEnd) {
    this->fill({"G1", "G2", "M30"});
    TextDocument& d = this->doc();
    d.SetCaret(2, 2);
    d.DeleteCaretLine();
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1", "M30"}));
    EXPECT_EQ(d.Caret(), (TextPosition{2, 1}));
}

TYPED_TEST_P(TextDocumentConformance, DeleteCaretLineOnTheLastLineKeepsAnEmptyLine) {
    this->fill({"G1", "G2", "M30"});
    TextDocument& d = this->doc();
    d.SetCaret(3, 1);
    d.DeleteCaretLine();
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1", "G2", ""}));
    EXPECT_EQ(d.LineCount(), 3);
    EXPECT_EQ(d.GetLine(3), "");
    EXPECT_EQ(d.ByteCount(), 4 + 4 + 2);
}

TYPED_TEST_P(TextDocumentConformance, AppendLineAddsAParagraphAtTheEnd) {
    TextDocument& d = this->doc();
    d.AppendLine("%");
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"%"}));
    d.SetCaret(1, 1);
    d.AppendLine("O1000  ");
    d.AppendLine("M30");
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"%", "O1000", "M30"}));
    EXPECT_EQ(d.Caret(), (TextPosition{1, 1}));
    EXPECT_TRUE(d.Modified());
}

TYPED_TEST_P(TextDocumentConformance, UndoAndRedoStepThroughSingleEdits) {
    TextDocument& d = this->doc();
    d.InsertText("G1");
    d.InsertText("\r\nX5");
    d.AppendLine("M30");
    d.SetCaret(1, 1);
    d.DeleteCaretLine();
    const std::vector<Paragraphs> states = {
        {}, {"G1"}, {"G1", "X5"}, {"G1", "X5", "M30"}, {"X5", "M30"}};
    ASSERT_EQ(this->paragraphs(), states[4]);
    for (int state = 3; state >= 0; --state) {
        ASSERT_TRUE(d.CanUndo());
        d.UndoEdit();
        EXPECT_EQ(this->paragraphs(), states[size_t(state)]) << "after undo to state " << state;
    }
    EXPECT_FALSE(d.CanUndo());
    for (int state = 1; state <= 4; ++state) {
        ASSERT_TRUE(d.CanRedo());
        d.RedoEdit();
        EXPECT_EQ(this->paragraphs(), states[size_t(state)]) << "after redo to state " << state;
    }
    EXPECT_FALSE(d.CanRedo());
    d.UndoEdit();
    d.UndoEdit();
    d.InsertText("N1");
    EXPECT_FALSE(d.CanRedo()) << "a new edit drops what could be redone";
}

TYPED_TEST_P(TextDocumentConformance, UndoPutsBackTrimmedBlanksAndJoinedParagraphs) {
    this->fill({"G1 X1", "G2 Y2"});
    TextDocument& d = this->doc();
    this->select(1, 3, 2, 3);
    d.DeleteSelection();
    ASSERT_EQ(this->paragraphs(), (Paragraphs{"G1 Y2"}));
    d.UndoEdit();
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1 X1", "G2 Y2"}));
    EXPECT_EQ(d.ByteCount(), 14);
}

TYPED_TEST_P(TextDocumentConformance, ModifiedFlagFollowsEdits) {
    TextDocument& d = this->doc();
    this->fill({"G1"});
    EXPECT_TRUE(d.Modified());
    d.SetModified(false);
    EXPECT_FALSE(d.Modified());
    d.SetCaret(1, 3);
    d.InsertText(" X1");
    EXPECT_TRUE(d.Modified());
    d.SetModified(false);
    d.UndoEdit();
    EXPECT_TRUE(d.Modified()) << "an undo changes the text too";
}

TYPED_TEST_P(TextDocumentConformance, EveryByteValueButLineEndsIsKept) {
    std::string all;
    for (int c = 1; c <= 255; ++c)
        if (c != '\r' && c != '\n') all.push_back(char(c));
    all.push_back('\0');
    all.push_back('Z');
    TextDocument& d = this->doc();
    d.InsertText(all);
    EXPECT_EQ(d.ParagraphCount(), 1);
    EXPECT_EQ(d.GetParagraph(1), all);
    EXPECT_EQ(d.ByteCount(), (long long)all.size() + 2);
}

TYPED_TEST_P(TextDocumentConformance, ParagraphLengthLimitRefusesTheEdit) {
    TextDocument& d = this->doc();
    d.InsertText(std::string(kMaxParagraphLength, 'X'));
    EXPECT_EQ(d.GetParagraph(1).size(), size_t(kMaxParagraphLength));
    EXPECT_EQ(this->errorOf([&] { d.InsertText("Y"); }), kParagraphTooLong);
    d.SetCaret(1, 100);
    // The text after the break joins the long rest of the paragraph.
    EXPECT_EQ(this->errorOf([&] { d.InsertText("A\r\n" + std::string(200, 'Y')); }),
              kParagraphTooLong);
    EXPECT_EQ(d.ParagraphCount(), 1);
    EXPECT_EQ(d.GetParagraph(1), std::string(kMaxParagraphLength, 'X'));
    EXPECT_FALSE(d.CanRedo());
    // Trailing blanks are trimmed before the limit applies.
    d.SetCaret(1, kMaxParagraphLength + 1);
    d.InsertText("   ");
    EXPECT_EQ(d.GetParagraph(1).size(), size_t(kMaxParagraphLength));
    d.SetCaret(1, 100);
    d.InsertText("\r\n");
    EXPECT_EQ(this->paragraphs(),
              (Paragraphs{std::string(99, 'X'), std::string(kMaxParagraphLength - 99, 'X')}));
}

TYPED_TEST_P(TextDocumentConformance, FindTextSearchesForwardFromTheCaretAndSelects) {
    this->fill({"N1 G0 X1", "N2 g1 X2", "N3 G1 X3"});
    TextDocument& d = this->doc();
    d.SetCaret(1, 1);
    ASSERT_TRUE(d.FindText("G1", {}));
    TextSelection found = d.GetSelection();
    EXPECT_EQ(found.start, (TextPosition{2, 4}));
    EXPECT_EQ(found.end, (TextPosition{2, 6}));
    ASSERT_TRUE(d.FindText("G1", {}));
    EXPECT_EQ(d.GetSelection().start, (TextPosition{3, 4}));
    EXPECT_FALSE(d.FindText("G1", {}));
    EXPECT_FALSE(d.FindText("", {}));
}

TYPED_TEST_P(TextDocumentConformance, FindTextOptions) {
    this->fill({"N1 G1 X1", "G10 (g1)", "TG1 G1"});
    TextDocument& d = this->doc();
    const struct Case {
        const char* name;
        TextPosition caret;
        SearchOptions options;
        TextPosition expected;  // line 0: not found
    } cases[] = {
        {"plain substring", {2, 1}, {}, {2, 1}},
        {"case-insensitive", {2, 2}, {}, {2, 6}},
        {"match case", {2, 2}, {.matchCase = true}, {3, 2}},
        {"whole word skips G10 and TG1", {1, 6}, {.wholeWord = true}, {2, 6}},
        {"whole word with case", {1, 6}, {.matchCase = true, .wholeWord = true}, {3, 5}},
        {"backward", {3, 5}, {.backward = true}, {3, 2}},
        {"backward whole word", {3, 5}, {.backward = true, .wholeWord = true}, {2, 6}},
        {"backward from the start", {1, 1}, {.backward = true}, {0, 0}},
        {"forward at the end", {3, 7}, {}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        d.SetCaret(c.caret.line, c.caret.column);
        const bool found = d.FindText("G1", c.options);
        EXPECT_EQ(found, c.expected.line != 0);
        if (found) {
            EXPECT_EQ(d.GetSelection().start, c.expected);
        }
    }
}

TYPED_TEST_P(TextDocumentConformance, FindTextUsesTheFirst255Characters) {
    const std::string target(255, 'A');
    this->fill({"X" + target + "X"});
    TextDocument& d = this->doc();
    d.SetCaret(1, 1);
    EXPECT_TRUE(d.FindText(target + "BBBB", {}));
    EXPECT_EQ(d.GetSelection().end, (TextPosition{1, 257}));
}

TYPED_TEST_P(TextDocumentConformance, FileNameKeepsATrailingPoint) {
    TextDocument& d = this->doc();
    d.SetFileName("/shop/PART.");
    EXPECT_EQ(d.FileName(), "/shop/PART.");
    d.SetFileName("/shop/PART.TAP");
    EXPECT_EQ(d.FileName(), "/shop/PART.TAP");
}

TYPED_TEST_P(TextDocumentConformance, EditsWhileRedrawIsSuspendedTakeEffect) {
    TextDocument& d = this->doc();
    d.SuspendRedraw();
    this->fill({"G1", "M30"});
    d.SetCaret(1, 3);
    d.InsertText(" X1");
    d.ResumeRedraw();
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1 X1", "M30"}));
    EXPECT_EQ(d.LineCount(), 2);
}

TYPED_TEST_P(TextDocumentConformance, ParagraphPositionsAndReadsWithoutWrap) {
    this->fill({"G1 X1", "", "M30"});
    TextDocument& d = this->doc();
    EXPECT_EQ(d.ParagraphPosition(1, 0), (TextPosition{1, 1}));
    EXPECT_EQ(d.ParagraphPosition(1, 5), (TextPosition{1, 6}));
    EXPECT_EQ(d.ParagraphPosition(2, 0), (TextPosition{2, 1}));
    EXPECT_EQ(d.ParagraphPosition(3, 2), (TextPosition{3, 3}));
    EXPECT_EQ(d.ParagraphOfLine(3), 3);
    std::string text = "left over";
    d.ReadParagraph(1, text);
    EXPECT_EQ(text, "G1 X1");
    d.ReadParagraph(2, text);
    EXPECT_EQ(text, "");
    const std::function<void()> bad[] = {
        [&] { d.ReadParagraph(4, text); },
        [&] { d.ParagraphPosition(0, 0); }, [&] { d.ParagraphPosition(4, 0); },
        [&] { d.ParagraphPosition(1, 6); }, [&] { d.ParagraphPosition(1, -1); },
        [&] { d.ParagraphOfLine(0); },      [&] { d.ParagraphOfLine(4); }};
    for (size_t i = 0; i < std::size(bad); ++i)
        EXPECT_EQ(this->errorOf(bad[i]), kInvalidIndex) << "case " << i;
}

TYPED_TEST_P(TextDocumentConformance, ReplaceInParagraphIsOneEditOfThatLine) {
    this->fill({"G1 X1", "M30"});
    TextDocument& d = this->doc();
    d.SetInsertMode(false);  // an insert never overwrites
    d.ReplaceInParagraph(1, 3, 2, "Y22");
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1 Y22", "M30"}));
    EXPECT_EQ(d.Caret(), (TextPosition{1, 7}));
    d.ReplaceInParagraph(2, 0, 0, "N5 ");
    d.ReplaceInParagraph(2, 6, 0, "  ");  // trailing blanks go
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1 Y22", "N5 M30"}));
    d.UndoEdit();
    d.UndoEdit();
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1 Y22", "M30"}));
    const std::function<void()> bad[] = {[&] { d.ReplaceInParagraph(3, 0, 0, "X"); },
                                         [&] { d.ReplaceInParagraph(1, 4, 3, "X"); },
                                         [&] { d.ReplaceInParagraph(1, -1, 0, "X"); }};
    for (size_t i = 0; i < std::size(bad); ++i)
        EXPECT_EQ(this->errorOf(bad[i]), kInvalidIndex) << "case " << i;
    EXPECT_EQ(this->paragraphs(), (Paragraphs{"G1 Y22", "M30"}));
}

TYPED_TEST_P(TextDocumentConformance, ExportLinesWritesTheLinesOfEachMode) {
    this->fill({"N1", "N2\tX1", "N3", "N4", "N5", "N6", "N7", "N8"});
    TextDocument& d = this->doc();
    d.SetFileName("/shop/PART.TAP");
    const zantor::testing::TempFolder folder;
    const std::string workFile = folder.file("ZTR1.TMP");
    d.SetCaret(5, 1);
    ExportResult result = ExportLines(d, ExportMode::SelectedLines, workFile);
    EXPECT_FALSE(result.success) << "no selection";
    EXPECT_EQ(result.fileName, "/shop/PART.TAP");
    ASSERT_TRUE(ExportLines(d, ExportMode::FromCaret, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), "N5\r\nN6\r\nN7\r\nN8\r\n");
    this->select(2, 2, 3, 1);
    ASSERT_TRUE(ExportLines(d, ExportMode::SelectedLines, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), "N2      X1\r\nN3\r\n");
    ASSERT_TRUE(ExportLines(d, ExportMode::AllLines, workFile).success);
    EXPECT_EQ(folder.read("ZTR1.TMP"), "N1\r\nN2      X1\r\nN3\r\nN4\r\nN5\r\nN6\r\nN7\r\nN8\r\n");
}

REGISTER_TYPED_TEST_SUITE_P(
    TextDocumentConformance, NewDocumentIsEmptyAndUnmodified, CrLfInInsertedTextStartsParagraphs,
    TrailingBlanksAreTrimmed, TabsAreKeptAndGetLineExpandsThem, BadIndexesRaiseTheIndexError,
    CaretMovesClampAndClearTheSelection, SelectionIsReportedStartFirst,
    DeleteSelectionJoinsParagraphs, DeleteWithoutSelectionChangesNothing,
    InsertTextReplacesTheSelection, OverwriteModeReplacesCharactersAfterTheCaret,
    DeleteCaretLineRemovesTheLineWithItsEnd, DeleteCaretLineOnTheLastLineKeepsAnEmptyLine,
    AppendLineAddsAParagraphAtTheEnd, UndoAndRedoStepThroughSingleEdits,
    UndoPutsBackTrimmedBlanksAndJoinedParagraphs, ModifiedFlagFollowsEdits,
    EveryByteValueButLineEndsIsKept, ParagraphLengthLimitRefusesTheEdit,
    FindTextSearchesForwardFromTheCaretAndSelects, FindTextOptions,
    FindTextUsesTheFirst255Characters, FileNameKeepsATrailingPoint,
    EditsWhileRedrawIsSuspendedTakeEffect, ParagraphPositionsAndReadsWithoutWrap,
    ReplaceInParagraphIsOneEditOfThatLine,
    ExportLinesWritesTheLinesOfEachMode);

}  // namespace zantor::editor::conformance
