#include "machines/machine_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
#include "core/ini_store.h"
#include "machines/machine_database.h"
#include "machines/machine_section.h"
#include "scripted_interaction.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using Names = std::vector<std::string>;

constexpr const char* kTwoMachines =
    "[Machine Names]\nNUMBER=2\nMACHINE1=Mill 2\nMACHINE2=Lathe\n"
    "[Mill 2]\nBAUD=9600\nM1N=Drill\nM1L1=G81\n[Lathe]\nMTYPE=2\n";

class MachineFilesTest : public ::testing::Test {
protected:
    testing::TempFolder system, other;
    testing::ScriptedInteraction interaction;
    MachineDatabase db{system.file("WPOSTS.INI")};
    void SetUp() override { system.write("WPOSTS.INI", kTwoMachines); }
    MachineSettings load(const std::string& name) {
        MachineSettings s;
        FolderFlags flags;
        db.LoadMachine(name, s, flags);
        return s;
    }
};

TEST_F(MachineFilesTest, RenameCarriesSettingsAndMacrosAndFreesTheOldName) {
    MachineSettings edited = load("Mill 2");
    edited.Format.Description = "edited";
    EXPECT_EQ(db.RenameMachine("Mill 2", "VF-2", edited), "");
    EXPECT_EQ(db.ListMachines(), (Names{"VF-2", "Lathe"}));
    EXPECT_EQ(load("VF-2"), edited);
    const auto ini = IniStore::read(db.path());
    EXPECT_EQ(ini->readString("VF-2", "M1N", ""), "Drill");
    EXPECT_EQ(ini->readString("VF-2", "M1L1", ""), "G81");
    EXPECT_FALSE(ini->hasSection("Mill 2"));
}

TEST_F(MachineFilesTest, RenameOntoAListedNameIsRefusedAndChangesNothing) {
    const std::string before = system.read("WPOSTS.INI");
    EXPECT_EQ(db.RenameMachine("Mill 2", "LATHE", load("Mill 2")),
              "A machine named \"Lathe\" exists already.");
    EXPECT_EQ(system.read("WPOSTS.INI"), before);
    EXPECT_EQ(db.RenameMachine("Mill 2", "Not Used", load("Mill 2")),
              "\"Not Used\" marks a free slot and cannot name a machine.");
    EXPECT_EQ(system.read("WPOSTS.INI"), before);
}

TEST_F(MachineFilesTest, RenameToAnotherLetterCaseOfItselfKeepsTheMachine) {
    EXPECT_EQ(db.RenameMachine("Mill 2", "MILL 2", load("Mill 2")), "");
    EXPECT_EQ(db.ListMachines(), (Names{"MILL 2", "Lathe"}));
    EXPECT_EQ(load("MILL 2").Comm.BaudNum, 6);
    EXPECT_EQ(IniStore::read(db.path())->readString("MILL 2", "M1N", ""), "Drill");
}

TEST_F(MachineFilesTest, BackupCopiesAndAsksBeforeReplacing) {
    EXPECT_TRUE(backupMachineDatabase(system.path(), other.path(), interaction));
    EXPECT_EQ(other.read("WPOSTS.INI"), kTwoMachines);
    EXPECT_TRUE(interaction.messages.empty());

    other.write("WPOSTS.INI", "older copy");
    interaction.answers = {Answer::No};
    EXPECT_FALSE(backupMachineDatabase(system.path(), other.path(), interaction));
    EXPECT_EQ(other.read("WPOSTS.INI"), "older copy");
    ASSERT_EQ(interaction.texts(),
              Names{"\"" + other.file("WPOSTS.INI") + "\" exists already. Replace it?"});
    interaction.answers = {Answer::Yes};
    EXPECT_TRUE(backupMachineDatabase(system.path(), other.path(), interaction));
    EXPECT_EQ(other.read("WPOSTS.INI"), kTwoMachines);
}

TEST_F(MachineFilesTest, BackupIntoTheSystemFolderItselfIsRefused) {
    EXPECT_FALSE(backupMachineDatabase(system.path(), system.path(), interaction));
    EXPECT_EQ(system.read("WPOSTS.INI"), kTwoMachines);
    EXPECT_EQ(interaction.texts(),
              Names{"\"" + system.file("WPOSTS.INI") + "\" is the machine database itself."});
}

TEST_F(MachineFilesTest, RestoreReplacesTheDatabaseWithAGoodCopy) {
    const std::string copy = "[Machine Names]\nNUMBER=1\nMACHINE1=Okuma\n";
    other.write("WPOSTS.INI", copy);
    EXPECT_TRUE(restoreMachineDatabase(system.path(), other.path(), interaction));
    EXPECT_EQ(db.ListMachines(), Names{"Okuma"});
    EXPECT_TRUE(interaction.messages.empty());
}

TEST_F(MachineFilesTest, RestoreRefusesWhatIsNoMachineDatabase) {
    const std::pair<std::string, std::string> damaged[] = {
        {std::string("[Machine Names]\nNUMBER=1\0\x01\x02", 27), "it is a binary file"},
        {"[GENERAL]\nTABSIZE=8\n", "it has no section \"Machine Names\""},
    };
    for (const auto& [bytes, why] : damaged) {
        interaction.messages.clear();
        other.write("WPOSTS.INI", bytes);
        EXPECT_FALSE(restoreMachineDatabase(system.path(), other.path(), interaction));
        EXPECT_EQ(system.read("WPOSTS.INI"), kTwoMachines);
        EXPECT_EQ(interaction.texts(),
                  Names{"\"" + other.file("WPOSTS.INI") + "\" is not a machine database (" + why +
                        "); nothing was restored."});
    }
    interaction.messages.clear();
    std::filesystem::remove(other.file("WPOSTS.INI"));
    EXPECT_FALSE(restoreMachineDatabase(system.path(), other.path(), interaction));
    EXPECT_EQ(interaction.texts(),
              Names{other.file("WPOSTS.INI") + ": " + systemErrorText(ENOENT)});
    EXPECT_EQ(system.read("WPOSTS.INI"), kTwoMachines);
}

TEST_F(MachineFilesTest, FolderCheckAsksForEachMissingFolderUntilNo) {
    MachineFormat f;
    f.UploadFolder = other.file("up");
    f.DownloadFolder = other.path();
    f.LoadSaveFolder = other.file("ls");
    interaction.answers = {Answer::Yes, Answer::No};
    checkMachineFolders(f, interaction);
    EXPECT_TRUE(std::filesystem::is_directory(other.file("up")));
    EXPECT_FALSE(std::filesystem::exists(other.file("ls")));
    EXPECT_EQ(interaction.texts(),
              (Names{"Folder for \"Default Upload\" Does Not Exist, Create ?",
                     "Folder for \"Default Load/Save\" Does Not Exist, Create ?"}));
}

TEST_F(MachineFilesTest, AFolderThatCannotBeMadeEndsTheCheckWithAnError) {
    MachineFormat f;
    f.UploadFolder = other.file("a/b/c");  // one level only
    f.DownloadFolder = other.file("never asked");
    interaction.answers = {Answer::Yes};
    checkMachineFolders(f, interaction);
    EXPECT_EQ(interaction.texts(), (Names{"Folder for \"Default Upload\" Does Not Exist, Create ?",
                                          "Error Creating Folder\"" + other.file("a/b/c") + "\""}));
}

}  // namespace
}  // namespace zantor
