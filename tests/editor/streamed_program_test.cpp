#include "editor/streamed_program.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/file_io.h"
#include "editor/nc_document.h"
#include "temp_folder.h"

namespace zantor::editor {
namespace {

using testing::TempFolder;

// What the walk does to each paragraph it reaches, through the document's
// own interface, so that both kinds of document get the same calls.
using Walk = std::function<void(TextDocument& document)>;

std::string passedThrough(const std::string& path, const Walk& walk) {
    std::string out;
    StreamedProgram program(path);
    program.passThrough([&out](std::string_view bytes) { out.append(bytes); }, walk);
    return out;
}

std::string savedFromADocument(const TempFolder& folder, const std::string& path,
                               const Walk& walk) {
    NcDocument document;
    document.LoadDocument(path);
    walk(document);
    const std::string saved = folder.file("SAVED.TAP");
    document.SaveDocument(saved, false);
    return folder.read("SAVED.TAP");
}

// Every paragraph read in order; some edited at their start, middle or end.
void editSome(TextDocument& document) {
    std::string text;
    for (int n = 1; n <= document.ParagraphCount(); ++n) {
        document.ReadParagraph(n, text);
        if (n % 3 == 0) document.ReplaceInParagraph(n, 0, 0, "N" + std::to_string(n) + " ");
        if (n % 3 == 1 && !text.empty()) document.ReplaceInParagraph(n, int(text.size()) - 1, 1, "9   ");
        if (n % 3 == 2 && text.size() > 1) document.ReplaceInParagraph(n, 1, 1, "");
    }
}

// Only every fifth paragraph looked at: those between go out as they were.
void editEveryFifth(TextDocument& document) {
    for (int n = 5; n <= document.ParagraphCount(); n += 5)
        document.ReplaceInParagraph(n, 0, 0, "/");
}

TEST(StreamedProgram, WritesWhatADocumentWouldSaveAfterTheSameEdits) {
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"crlf", "%\r\nO1000\r\nN10 G1 X1\r\nG2 Y2\r\nM30\r\n%\r\n"},
        {"lf and lone cr", "G1\nG2\rG3\r\n\r\nG5"},
        {"empty", ""},
        {"only line ends", "\r\n\r\n\r\n"},
        {"trailing blanks and nul", std::string("G1 \t\r\nA\0B  \r\n  \r\n", 17)},
        {"longest line", std::string(32767, 'X') + "\r\nG2\r\n"},
        {"many lines", [] {
             std::string text;
             for (int n = 0; n < 30000; ++n) text += "G1 X" + std::to_string(n) + " Y-1.5\r\n";
             return text;
         }()},
    };
    for (const auto& file : files) {
        TempFolder folder;
        const std::string path = folder.write("P.TAP", file.bytes);
        for (const auto& [walkName, walk] :
             {std::pair<const char*, Walk>{"none", [](TextDocument&) {}},
              {"some", editSome},
              {"every fifth", editEveryFifth}}) {
            EXPECT_EQ(passedThrough(path, walk), savedFromADocument(folder, path, walk))
                << file.name << ", " << walkName;
        }
        EXPECT_EQ(folder.read("P.TAP"), file.bytes) << "the file read stays";
    }
}

TEST(StreamedProgram, CountsAsADocumentWouldAndAnEmptyFileIsOneEmptyParagraph) {
    TempFolder folder;
    StreamedProgram three(folder.write("A.TAP", "G1\r\nG2\nG3"));
    EXPECT_EQ(three.ParagraphCount(), 3);
    StreamedProgram empty(folder.write("E.TAP", ""));
    EXPECT_EQ(empty.ParagraphCount(), 1);
    empty.passThrough([](std::string_view bytes) { ADD_FAILURE() << "wrote " << bytes; },
                      [](TextDocument& document) { EXPECT_EQ(document.GetParagraph(1), ""); });
    StreamedProgram cut(folder.write("C.TAP", "G1\r\n" + std::string(40000, 'A')));
    EXPECT_EQ(cut.report().linesCut, 1);
    EXPECT_EQ(cut.report().firstCutLine, 2);
    EXPECT_THROW(StreamedProgram(folder.file("MISSING.TAP")), FileError);
}

TEST(StreamedProgram, OnlyAWalkInOrderWithinTheLinesIsPossible) {
    TempFolder folder;
    const std::string path = folder.write("P.TAP", "G1\r\nG2\r\nG3\r\n");
    const std::function<void(TextDocument&)> mistakes[] = {
        [](TextDocument& d) {
            d.GetParagraph(2);
            d.GetParagraph(1);
        },
        [](TextDocument& d) { d.ReplaceInParagraph(1, 0, 0, "A\r\nB"); },
        [](TextDocument& d) { d.InsertText("X"); },
        [](TextDocument& d) { d.AppendLine("M30"); },
        [](TextDocument& d) { d.DeleteCaretLine(); },
        [](TextDocument& d) { d.SetSelection({1, 1}, {2, 1}); },
    };
    for (size_t i = 0; i < std::size(mistakes); ++i) {
        StreamedProgram program(path);
        EXPECT_THROW(program.passThrough([](std::string_view) {}, mistakes[i]),
                     StreamedProgramMisuse)
            << i;
    }
    StreamedProgram outside(path);
    EXPECT_THROW(outside.GetParagraph(1), StreamedProgramMisuse) << "not passing through";
}

TEST(StreamedProgram, EditsAreCheckedAsADocumentChecksThem) {
    TempFolder folder;
    const std::string path = folder.write("P.TAP", "G1\r\n" + std::string(32760, 'A') + "\r\n");
    StreamedProgram program(path);
    std::string out;
    program.passThrough([&out](std::string_view bytes) { out.append(bytes); },
                        [](TextDocument& d) {
                            EXPECT_THROW(d.ReplaceInParagraph(0, 0, 0, "X"), EditorError);
                            EXPECT_THROW(d.ReplaceInParagraph(1, 1, 5, "X"), EditorError);
                            EXPECT_THROW(d.ReplaceInParagraph(2, 0, 0, std::string(8, 'B')),
                                         EditorError);
                            // Blanks past the limit are trimmed, so this one fits.
                            d.ReplaceInParagraph(2, 32760, 0, "1234567          ");
                            EXPECT_TRUE(d.Modified());
                        });
    EXPECT_EQ(out, "G1\r\n" + std::string(32760, 'A') + "1234567\r\n");
}

TEST(StreamedProgram, AFileThatChangesWhileItIsPassedThroughIsAnError) {
    for (const std::string changed : {"G1\r\n", "G1\r\nG2\r\nG3\r\nG4\r\n"}) {
        TempFolder folder;
        const std::string path = folder.write("P.TAP", "G1\r\nG2\r\nG3\r\n");
        StreamedProgram program(path);
        EXPECT_THROW(program.passThrough([](std::string_view) {},
                                         [&](TextDocument&) { folder.write("P.TAP", changed); }),
                     FileError)
            << changed;
    }
}

}  // namespace
}  // namespace zantor::editor
