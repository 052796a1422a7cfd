#include "core/ini_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "core/file_io.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using testing::TempFolder;

TEST(IniStore, ParsesOnceAndRereadsAfterTheFileChanges) {
    TempFolder dir;
    const std::string path = dir.write("a.ini", "[S]\nk=1\n");
    const auto first = IniStore::read(path);
    EXPECT_EQ(IniStore::read(path), first);  // the same parse, not a new one
    dir.write("a.ini", "[S]\nk=22\n");       // another program edits the file
    EXPECT_EQ(IniStore::read(path)->readInt("S", "k", 0), 22);
}

TEST(IniStore, MissingFileReadsEmptyAndIsCreatedByTheFirstWrite) {
    TempFolder dir;
    const std::string path = dir.file("new.ini");
    EXPECT_FALSE(IniStore::read(path)->hasSection("S"));
    IniStore::update(path, [](IniFile& ini) { ini.writeString("S", "k", "v"); });
    EXPECT_EQ(dir.read("new.ini"), "[S]\nk=v\n");
}

TEST(IniStore, AFailedUpdateLeavesTheFileAsItWas) {
    TempFolder dir;
    const std::string path = dir.write("a.ini", "[S]\nk=1\n");
    EXPECT_THROW(IniStore::update(path,
                                  [](IniFile& ini) {
                                      ini.writeString("S", "k", "2");
                                      throw FileError("x", 28);  // disk full half way
                                  }),
                 FileError);
    EXPECT_EQ(dir.read("a.ini"), "[S]\nk=1\n");
    EXPECT_EQ(IniStore::read(path)->readInt("S", "k", 0), 1);
}

TEST(IniStore, WriteIntoAMissingFolderFailsWithTheSystemText) {
    TempFolder dir;
    try {
        IniStore::update(dir.file("no/such/a.ini"),
                         [](IniFile& ini) { ini.writeInt("S", "k", 1); });
        FAIL() << "expected a FileError";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "No such file or directory");
    }
}

TEST(WriteFileAtomically, ReplacesTheContentsAndKeepsThePermissions) {
    TempFolder dir;
    const std::string path = dir.write("p.tap", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    writeFileAtomically(path, "new contents");
    EXPECT_EQ(dir.read("p.tap"), "new contents");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicFileWriter, TheTargetChangesOnlyOnCommitAndNoTemporaryFileStays) {
    TempFolder dir;
    const std::string path = dir.write("big.tap", "old");
    auto filesInFolder = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        return names;
    };
    const std::vector<std::string> pieces = {"ab", "cdefgh", "", "ij",
                                             "k"};  // around a 4-byte buffer
    {
        AtomicFileWriter abandoned(path, 4);
        for (const std::string& piece : pieces) abandoned.write(piece);
    }
    EXPECT_EQ(dir.read("big.tap"), "old");
    EXPECT_EQ(filesInFolder(), (std::vector<std::string>{"big.tap"}));

    AtomicFileWriter writer(path, 4);
    for (const std::string& piece : pieces) writer.write(piece);
    std::string beforeReplace;
    writer.commit([&] { beforeReplace = dir.read("big.tap"); });
    EXPECT_EQ(beforeReplace, "old");
    EXPECT_EQ(dir.read("big.tap"), "abcdefghijk");
    EXPECT_EQ(filesInFolder(), (std::vector<std::string>{"big.tap"}));
}

}  // namespace
}  // namespace zantor
