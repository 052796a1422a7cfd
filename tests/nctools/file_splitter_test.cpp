#include "nctools/file_splitter.h"

#include <gtest/gtest.h>

#include "core/file_io.h"
#include "program_lines.h"
#include "recording_progress.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using editor::NcDocument;
using testing::Lines;
using Files = std::vector<std::pair<std::string, std::string>>;  // name, bytes

class FileSplitterTest : public ::testing::Test {
protected:
    SplitResult split(const Lines& lines, SplitSettings settings,
                      const OverwriteQuestion& ask = [](const std::string&) {
                          ADD_FAILURE() << "no question expected";
                          return std::nullopt;
                      }) {
        NcDocument doc;
        testing::fillDocument(doc, lines);
        doc.SetModified(false);
        settings.folder = out.path();
        testing::RecordingProgress progress;
        SplitResult result = SplitPrograms(doc, progress, settings, ask);
        EXPECT_EQ(progress.captions, std::vector<std::string>{"Splitting File ..."});
        EXPECT_FALSE(doc.Modified());
        EXPECT_EQ(testing::paragraphsOf(doc), lines);
        return result;
    }
    std::vector<std::string> paths(const std::vector<std::string>& names) {
        std::vector<std::string> all;
        for (const auto& name : names) all.push_back(out.file(name));
        return all;
    }
    void expectFiles(const Files& files) {
        for (const auto& [name, bytes] : files) EXPECT_EQ(out.read(name), bytes) << name;
    }
    testing::TempFolder out;
};

TEST_F(FileSplitterTest, OneFilePerProgramNamedAfterItsNumber) {
    struct Case {
        const char* what;
        SplitSettings settings;
        Lines lines;
        std::vector<std::string> names;
        Files files;
    };
    SplitSettings colon;
    colon.programId = ":";
    SplitSettings bare;
    bare.prefix = bare.suffix = "";
    bare.extension = ".NC";
    SplitSettings longId;
    longId.programId = "O1";
    const Case cases[] = {
        {"the worked example", {},
         {"%", "O1000", "G00 X0", "M30", "%", "O2000", "G01 X1", "M30", "%"},
         {"O1000.TAP", "O2000.TAP"},
         {{"O1000.TAP", "%\r\nO1000\r\nG00 X0\r\nM30\r\n%\r\n"},
          {"O2000.TAP", "%\r\nO2000\r\nG01 X1\r\nM30\r\n%\r\n"}}},
        {"lines before the first program and empty lines go nowhere", {},
         {"HEADER", "O12 (PART A)", "", "\tG1", "M30"},
         {"O12.TAP"},
         {{"O12.TAP", "%\r\nO12 (PART A)\r\n\tG1\r\nM30\r\n%\r\n"}}},
        {"a colon program number is written and named with O", colon,
         {":7 (B)", "M30"},
         {"O7.TAP"},
         {{"O7.TAP", "%\r\nO7 (B)\r\nM30\r\n%\r\n"}}},
        {"no prefix, no suffix, an extension with its point", bare,
         {"O5", "%", "M30"},
         {"O5..NC"},
         {{"O5..NC", "O5\r\n%\r\nM30\r\n"}}},
        {"no program line: no file", {}, {"G1", "M30"}, {}, {}},
        {"a program character longer than one never matches", longId, {"O1", "M30"}, {}, {}},
    };
    for (const Case& c : cases) {
        const SplitResult result = split(c.lines, c.settings);
        EXPECT_TRUE(result.complete) << c.what;
        EXPECT_EQ(result.files, paths(c.names)) << c.what;
        expectFiles(c.files);
    }
}

TEST_F(FileSplitterTest, ExistingFilesAreAskedAboutOrReplaced) {
    out.write("O1.TAP", "old");
    std::vector<std::string> asked;
    const auto renameTo = [&](const std::string& path) -> std::optional<std::string> {
        asked.push_back(path);
        return out.file("O1-NEW.TAP");
    };
    split({"O1", "M30"}, {}, renameTo);
    EXPECT_EQ(asked, paths({"O1.TAP"}));
    expectFiles({{"O1.TAP", "old"}, {"O1-NEW.TAP", "%\r\nO1\r\nM30\r\n%\r\n"}});

    SplitSettings always;
    always.alwaysOverwrite = true;
    const SplitResult twice = split({"O1", "G1", "O1", "G2"}, always);
    EXPECT_EQ(twice.files, paths({"O1.TAP", "O1.TAP"}));
    expectFiles({{"O1.TAP", "%\r\nO1\r\nG2\r\n%\r\n"}});
}

TEST_F(FileSplitterTest, StoppingAtTheQuestionKeepsTheFilesBeforeComplete) {
    out.write("O2.TAP", "old");
    const SplitResult result =
        split({"O1", "G1", "O2", "G2", "O3", "G3"}, {},
              [](const std::string&) -> std::optional<std::string> { return std::nullopt; });
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.files, paths({"O1.TAP"}));
    expectFiles({{"O1.TAP", "%\r\nO1\r\nG1\r\n%\r\n"}, {"O2.TAP", "old"}});
    EXPECT_FALSE(fileExists(out.file("O3.TAP")));
}

TEST_F(FileSplitterTest, AFolderThatCannotBeWrittenIsAnError) {
    NcDocument doc;
    testing::fillDocument(doc, {"O1", "M30"});
    SplitSettings settings;
    settings.folder = out.file("missing");
    testing::RecordingProgress progress;
    EXPECT_THROW(SplitPrograms(doc, progress, settings, {}), FileError);
}

}  // namespace
}  // namespace zantor
