#include "machines/machine_database.h"

#include <gtest/gtest.h>

#include "core/ini_store.h"
#include "machines/folder_choice.h"
#include "machines/machine_section.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using Names = std::vector<std::string>;

class MachineDatabaseTest : public ::testing::Test {
protected:
    testing::TempFolder dir;
    MachineDatabase db{dir.file("WPOSTS.INI")};
    void writeFile(const std::string& text) { dir.write("WPOSTS.INI", text); }
};

TEST_F(MachineDatabaseTest, ListsNamedSlotsInOrderWithDuplicates) {
    writeFile(
        "[Machine Names]\nNumber=4\nMachine1=Mazak\nMachine2=Not Used\nMachine3=Haas\n"
        "Machine4=Mazak\nMachine5=Beyond Number\n");
    EXPECT_EQ(db.ListMachines(), (Names{"Mazak", "Haas", "Mazak"}));
}

TEST_F(MachineDatabaseTest, WithoutNumberTheFirst25SlotsAreListed) {
    std::string text = "[Machine Names]\n";
    for (int n = 1; n <= 30; ++n)
        text += "Machine" + std::to_string(n) + "=M" + std::to_string(n) + "\n";
    writeFile(text);
    const Names names = db.ListMachines();
    ASSERT_EQ(names.size(), 25u);
    EXPECT_EQ(names.back(), "M25");
}

TEST_F(MachineDatabaseTest, AddTakesTheFirstFreeSlotOrGrowsTheList) {
    db.AddMachineName("Haas");
    db.AddMachineName("Okuma");
    EXPECT_EQ(db.ListMachines(), (Names{"Haas", "Okuma"}));
    db.DeleteMachine("Haas");
    db.AddMachineName("Fanuc");
    EXPECT_EQ(db.ListMachines(), (Names{"Fanuc", "Okuma"}));
    EXPECT_EQ(IniStore::read(db.path())->readInt("MACHINE NAMES", "NUMBER", 0), 2);
}

TEST_F(MachineDatabaseTest, AddingToAListWithoutNumberKeepsEveryListedMachine) {
    writeFile("[Machine Names]\nMachine1=Mazak\nMachine2=Haas\nMachine3=Okuma\n");
    db.AddMachineName("Fanuc");
    EXPECT_EQ(db.ListMachines(), (Names{"Mazak", "Haas", "Okuma", "Fanuc"}));
}

TEST_F(MachineDatabaseTest, DeletingANameListedTwiceFreesOnlyTheFirstSlot) {
    writeFile(
        "[Machine Names]\nNumber=2\nMachine1=Mazak\nMachine2=Mazak\n"
        "[Mazak]\nBAUD=9600\nM1N=Probe\n");
    db.DeleteMachine("Mazak");
    EXPECT_EQ(db.ListMachines(), (Names{"Mazak"}));
    MachineSettings s;
    FolderFlags flags;
    db.LoadMachine("Mazak", s, flags);
    EXPECT_EQ(s.Comm.BaudNum, 5);  // the section is gone: defaults
    EXPECT_FALSE(IniStore::read(db.path())->hasSection("Mazak"));
}

TEST_F(MachineDatabaseTest, SaveKeepsTheMacroKeysAndLoadReadsBack) {
    writeFile("[Lathe]\nM1N=Warm up\nM1L1=G28 U0 W0\nbaud=300\n");
    MachineSettings s = defaultMachineSettings();
    s.Comm.BaudNum = 6;
    s.Format.Description = "two turrets";
    db.SaveMachine("lathe", s);
    const auto ini = IniStore::read(db.path());
    EXPECT_EQ(ini->readString("Lathe", "M1L1", ""), "G28 U0 W0");
    EXPECT_EQ(ini->readString("Lathe", "BAUD", ""), "9600");
    MachineSettings loaded;
    FolderFlags flags{false, false, false};
    db.LoadMachine("LATHE", loaded, flags);
    EXPECT_EQ(loaded, s);
    EXPECT_TRUE(flags.UploadFolderFresh && flags.DownloadFolderFresh && flags.LoadSaveDirPending);
}

TEST_F(MachineDatabaseTest, ReadMachComRecLoadsTheSectionIntoTheCurrentSettings) {
    writeFile("[HUB2]\nPORT=4\nBAUD=2400\n");
    MachineSettings current;
    const MachComRec hub = db.ReadMachComRec("HUB2", current);
    EXPECT_EQ(hub.PortNum, 3);
    EXPECT_EQ(hub.BaudNum, 4);
    EXPECT_EQ(current.Comm.BaudNum, 4);
}

TEST(FolderChoice, MachineFolderWhenFreshOrAlwaysFirst) {
    ::setenv("HOME", "/home/op", 1);
    MachineSettings s;
    s.Format.UploadFolder = "\\UP";
    s.Comm.ForceUploadDir = 0;
    FolderFlags flags;
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::Upload, s, flags), "/home/op/UP");
    EXPECT_FALSE(flags.UploadFolderFresh);
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::Upload, s, flags), "");
    s.Comm.ForceUploadDir = 1;
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::Upload, s, flags), "/home/op/UP");
    s.Comm.ForceLoadSaveDir = 0;
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::LoadSave, s, flags), "/home/op/NCPRG");
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::LoadSave, s, flags), "");
}

}  // namespace
}  // namespace zantor
