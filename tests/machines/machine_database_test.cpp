#include "machines/machine_database.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
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
    testing::TempFolder home;
    ::setenv("HOME", home.path().c_str(), 1);
    MachineSettings s;
    s.Format.UploadFolder = "\\UP";
    s.Comm.ForceUploadDir = 0;
    FolderFlags flags;
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::Upload, s, flags), home.path() + "UP/");
    EXPECT_FALSE(flags.UploadFolderFresh);
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::Upload, s, flags), "");
    s.Comm.ForceUploadDir = 1;
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::Upload, s, flags), home.path() + "UP/");
    s.Comm.ForceLoadSaveDir = 0;
    // The default "\NCPRG" of a new machine is a folder to start in, made on first use.
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::LoadSave, s, flags), home.path() + "NCPRG/");
    EXPECT_TRUE(std::filesystem::is_directory(home.file("NCPRG")));
    EXPECT_EQ(chooseDialogFolder(FolderDialogKind::LoadSave, s, flags), "");
}

TEST_F(MachineDatabaseTest, AnUnreadableNumberCountsTheListedMachinesSoAnAddLosesNone) {
    for (const char* number : {"", "two", "-3"}) {
        writeFile(std::string("[Machine Names]\nNumber=") + number +
                  "\nMachine1=Alpha\nMachine2=Beta\n");
        db.AddMachineName("Gamma");
        EXPECT_EQ(db.ListMachines(), (Names{"Alpha", "Beta", "Gamma"})) << "Number=" << number;
        EXPECT_EQ(IniStore::read(db.path())->readInt("Machine Names", "Number", 0), 3);
    }
}

TEST_F(MachineDatabaseTest, AHugeNumberWalksOnlyTheSlotsPresent) {
    writeFile("[Machine Names]\nNumber=2147483647\nMachine1=Alpha\nMachine3=Gamma\nMachine01=Zero\n");
    EXPECT_EQ(db.ListMachines(), (Names{"Alpha", "Gamma"}));
    db.AddMachineName("Beta");  // the missing slot 2 is the first free one
    EXPECT_EQ(db.ListMachines(), (Names{"Alpha", "Beta", "Gamma"}));
    db.DeleteMachine("Gamma");
    EXPECT_EQ(db.ListMachines(), (Names{"Alpha", "Beta"}));
}

TEST_F(MachineDatabaseTest, NamesHoldingBracketsRoundTripAndDeleteRemovesEveryCopy) {
    MachineSettings nineSix = defaultMachineSettings();
    nineSix.Comm.BaudNum = 6;
    db.AddMachine("Mill [2]", nineSix);
    db.AddMachine("A]B", nineSix);
    db.AddMachine("A]B", nineSix);
    MachineSettings loaded;
    FolderFlags flags;
    db.LoadMachine("Mill [2]", loaded, flags);
    EXPECT_EQ(loaded, nineSix);
    EXPECT_EQ(db.ListMachines(), (Names{"Mill [2]", "A]B", "A]B"}));
    EXPECT_EQ(IniStore::read(db.path())->sectionNames(),
              (Names{"MACHINE NAMES", "Mill [2]", "A]B"}));
    db.DeleteMachine("A]B");
    EXPECT_EQ(db.ListMachines(), (Names{"Mill [2]", "A]B"}));
    EXPECT_FALSE(IniStore::read(db.path())->hasSection("A]B"));

    // Copies a hand edit left go with the first.
    writeFile("[Machine Names]\nNumber=1\nMachine1=DUP\n[DUP]\nBAUD=9600\n[x]\n[DUP]\nBAUD=300\n");
    db.DeleteMachine("DUP");
    EXPECT_FALSE(IniStore::read(db.path())->hasSection("DUP"));
    db.LoadMachine("DUP", loaded, flags);
    EXPECT_EQ(loaded.Comm.BaudNum, defaultMachineSettings().Comm.BaudNum);
}

TEST_F(MachineDatabaseTest, AddingAMachineIsOneReplacementOfTheFile) {
    int replacements = 0;
    setAtomicWriteHook([&](AtomicWriteStep step) { replacements += step == AtomicWriteStep::Replace; });
    db.AddMachine("Haas", defaultMachineSettings());
    setAtomicWriteHook({});
    EXPECT_EQ(replacements, 1);
    EXPECT_EQ(db.ListMachines(), (Names{"Haas"}));
    EXPECT_TRUE(IniStore::read(db.path())->hasSection("Haas"));
}

TEST_F(MachineDatabaseTest, AByteOrderMarkHidesNoMachineAndIsKept) {
    writeFile("\xEF\xBB\xBF[Machine Names]\r\nNumber=1\r\nMachine1=Haas\r\n");
    EXPECT_EQ(db.ListMachines(), (Names{"Haas"}));
    db.AddMachineName("Okuma");
    EXPECT_EQ(db.ListMachines(), (Names{"Haas", "Okuma"}));
    EXPECT_TRUE(dir.read("WPOSTS.INI").starts_with("\xEF\xBB\xBF[Machine Names]\r\n"));
}

TEST(MachineNames, NamesTheDatabaseCannotHoldAreRefused) {
    for (const char* name : {"Haas VF2", "Mill [2]", "A]B", "a=b", ";odd"})
        EXPECT_EQ(machineNameProblem(name), "") << name;
    const std::pair<std::string, std::string> refused[] = {
        {"", "A machine needs a name."},
        {"   ", "A machine needs a name."},
        {" Haas", "A machine name cannot begin or end with a blank."},
        {"Haas\nVF2", "A machine name cannot hold control characters."},
        {"not used", "\"Not Used\" marks a free slot and cannot name a machine."},
    };
    for (const auto& [name, problem] : refused) EXPECT_EQ(machineNameProblem(name), problem) << name;
}

}  // namespace
}  // namespace zantor
