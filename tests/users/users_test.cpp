#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/ini_store.h"
#include "scripted_interaction.h"
#include "temp_folder.h"
#include "users/activity_log.h"
#include "users/password_manager_model.h"
#include "users/security.h"
#include "users/user_database.h"

namespace zantor {
namespace {

using Names = std::vector<std::string>;
using testing::ScriptedInteraction;

UserRec user(const std::string& name, const std::string& password, int level) {
    return UserRec{name, ScramblePassword(password), level};
}

class UsersTest : public ::testing::Test {
protected:
    testing::TempFolder dir;
    UserDatabase users{dir.file("VXNPWL.INI")};
    ScriptedInteraction ui;
    // 15 March 2013, 14:05:09 local time
    std::time_t when = [] {
        std::tm t{};
        t.tm_year = 113, t.tm_mon = 2, t.tm_mday = 15, t.tm_hour = 14, t.tm_min = 5, t.tm_sec = 9;
        t.tm_isdst = -1;
        return std::mktime(&t);
    }();
    ActivityLog log{dir.file("ZTRDNC.LOG"), [this] { return when; }};
    bool useSecure = true;
    Security security{useSecure, log, ui};

    void SetUp() override {
        users.ensureExists();
        log.LoggingEnabled = true;
    }
    std::string logText() { return dir.read("ZTRDNC.LOG"); }
};

TEST_F(UsersTest, TheUserFileIsCreatedEmpty) {
    const auto ini = IniStore::read(users.path());
    EXPECT_TRUE(ini->hasSection("Index"));
    EXPECT_EQ(ini->readString("Defaults", "_Entries", ""), "0");
    EXPECT_TRUE(users.ListUsers().empty());
}

TEST_F(UsersTest, AddGetUpdateDeleteKeepTheFileConsistent) {
    ASSERT_TRUE(users.AddUser(user("bob", "secret", 48), ui));
    ASSERT_TRUE(users.AddUser(user("Ann", "", 1), ui));
    EXPECT_EQ(users.ListUsers(), (Names{"Ann", "bob"}));
    EXPECT_FALSE(users.AddUser(user("BOB", "x", 0), ui));
    EXPECT_EQ(ui.texts(), (Names{"A record with that name already exists"}));

    const auto bob = users.GetUser("BOB", ui);
    ASSERT_TRUE(bob);
    EXPECT_EQ(ScramblePassword(bob->Pword), "secret");
    EXPECT_EQ(bob->Level, 48);
    const auto ini = IniStore::read(users.path());
    EXPECT_FALSE(ini->find("Ann", "Pword").has_value());  // empty fields are not stored
    EXPECT_EQ(ini->readInt("Defaults", "_Entries", 0), 2);

    ASSERT_TRUE(users.UpdateUser("bob", user("Robert", "secret", 63), ui));
    EXPECT_EQ(users.ListUsers(), (Names{"Ann", "Robert"}));
    users.DeleteUser("ann");
    EXPECT_EQ(users.ListUsers(), (Names{"Robert"}));
    EXPECT_EQ(IniStore::read(users.path())->readInt("Defaults", "_Entries", 0), 1);
    EXPECT_FALSE(users.GetUser("Ann", ui));
    EXPECT_EQ(ui.texts().back(), "Record not found in database");
}

TEST_F(UsersTest, RenamingOntoAnotherUsersNameIsRefusedAndBothStay) {
    ASSERT_TRUE(users.AddUser(user("ann", "a", 1), ui));
    ASSERT_TRUE(users.AddUser(user("bob", "b", 2), ui));
    EXPECT_FALSE(users.UpdateUser("ann", user("BOB", "z", 4), ui));
    EXPECT_EQ(ui.texts(), (Names{"A record with that name already exists"}));
    EXPECT_EQ(users.GetUser("ann", ui)->Level, 1);
    EXPECT_EQ(users.GetUser("bob", ui)->Level, 2);
}

TEST_F(UsersTest, RenamingToAnotherCaseRewritesInPlace) {
    ASSERT_TRUE(users.AddUser(user("ann", "a", 1), ui));
    ASSERT_TRUE(users.UpdateUser("ann", user("ANN", "new", 8), ui));
    EXPECT_EQ(users.ListUsers(), (Names{"ann"}));
    EXPECT_EQ(users.GetUser("ann", ui)->Level, 8);
}

TEST_F(UsersTest, AtMost999Users) {
    IniStore::update(users.path(), [](IniFile& ini) {
        for (int i = 0; i < 999; ++i) ini.writeString("Index", "u" + std::to_string(i), "#");
    });
    EXPECT_FALSE(users.AddUser(user("one more", "", 0), ui));
    EXPECT_EQ(ui.texts(), (Names{"Maximum database records (999) reached"}));
}

TEST_F(UsersTest, PrivilegesAreGrantedByBitsOnlyWithSecurityOn) {
    security.CurrentRights = 1 << kPrivDnc;
    EXPECT_TRUE(security.HasPrivilege(kPrivDnc, true));
    EXPECT_FALSE(security.HasPrivilege(kPrivEditFiles, false));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(security.HasPrivilege(kPrivChangePasswords, true));
    EXPECT_EQ(ui.texts(), (Names{"Insufficient Priviliges for this Function"}));
    EXPECT_EQ(logText(), "03/15/2013,14:05:09,Failed Attempt to Change Passwords\n");
    useSecure = false;
    EXPECT_TRUE(security.HasPrivilege(kPrivChangePasswords, true));
}

TEST_F(UsersTest, AnEmptyUserFileLogsInWithEveryPrivilegeWithoutAsking) {
    bool asked = false;
    EXPECT_TRUE(security.Login(users, [&] {
        asked = true;
        return std::optional<Credentials>();
    }));
    EXPECT_FALSE(asked);
    EXPECT_EQ(security.CurrentRights, kAllPrivileges);
    EXPECT_EQ(security.CurrentUserName(), "");
}

TEST_F(UsersTest, LoginRetriesUntilNameAndPasswordMatch) {
    ASSERT_TRUE(users.AddUser(user("Ann", "Lathe7", 33), ui));
    std::vector<Credentials> typed = {
        {"nobody", "x"}, {"ann", "wrong"}, {"ann", "lathe7 "}, {"ANN", "LATHE7"}};
    size_t next = 0;
    ASSERT_TRUE(security.Login(users, [&] { return std::optional(typed.at(next++)); }));
    EXPECT_EQ(next, 4u);
    EXPECT_EQ(security.CurrentUserName(), "ANN");
    EXPECT_EQ(security.CurrentRights, 33);
    EXPECT_EQ(ui.texts(), (Names{"Invalid User Name", "Invalid Password", "Invalid Password"}));
    const std::string expectedLog =
        "03/15/2013,14:05:09,Login Failed, Invalid User Name [nobody]\n"
        "03/15/2013,14:05:09,Login Failed, Invalid Password [ann]\n"
        "03/15/2013,14:05:09,Login Failed, Invalid Password [ann]\n"
        "03/15/2013,14:05:09,>>> Login: User Name [ANN] <<<\n";
    EXPECT_EQ(logText(), expectedLog);
    EXPECT_EQ(logText().find("wrong"), std::string::npos);  // typed passwords never reach the log

    security.Logoff();
    EXPECT_EQ(security.CurrentRights, 0);
    EXPECT_EQ(security.CurrentUserName(), "");
    EXPECT_TRUE(logText().ends_with("Log Off: User Name [ANN]\n"));
}

TEST_F(UsersTest, AnEmptyStoredPasswordAcceptsAnyAndCancelFails) {
    ASSERT_TRUE(users.AddUser(user("op", "", 16), ui));
    EXPECT_TRUE(security.Login(users, [] { return std::optional(Credentials{"op", ""}); }));
    EXPECT_FALSE(security.Login(users, [] { return std::optional<Credentials>(); }));
}

TEST_F(UsersTest, LoggingOffWritesNothingAndAnUnwritableLogReportsFalse) {
    log.LoggingEnabled = false;
    EXPECT_TRUE(log.WriteLog("-- System Startup --"));
    EXPECT_FALSE(std::ifstream(dir.file("ZTRDNC.LOG")).good());
    ActivityLog broken(dir.file("missing/ZTRDNC.LOG"));
    broken.LoggingEnabled = true;
    EXPECT_FALSE(broken.WriteLog("x"));
    EXPECT_NE(broken.lastError().find("No such file or directory"), std::string::npos);
}

TEST_F(UsersTest, NamesWithBracketsAndLatin1LettersRoundTripThroughTheFile) {
    ASSERT_TRUE(users.AddUser(user("Ann [QA]", "secret", 16), ui));
    // "naïve" in the file is Latin-1: 0xEF scrambles to a letter, not a line feed.
    ASSERT_TRUE(users.AddUser(UserRec{"Jürgen", ScramblePassword("na\xEFve"), 32}, ui));
    const std::string file = dir.read("VXNPWL.INI");
    EXPECT_NE(file.find("[J\xFCrgen]"), std::string::npos);
    EXPECT_EQ(file.find("\xC3"), std::string::npos);  // no UTF-8 in the file
    EXPECT_EQ(users.ListUsers(), (Names{"Ann [QA]", "Jürgen"}));

    std::vector<Credentials> typed = {{"ann [qa]", "wrong"}, {"Ann [QA]", "SECRET"}};
    size_t next = 0;
    ASSERT_TRUE(security.Login(users, [&] { return std::optional(typed.at(next++)); }));
    EXPECT_EQ(next, 2u);
    EXPECT_EQ(security.CurrentRights, 16);
    // Accented letters of a password are compared without regard to case as well.
    typed = {{"JüRGEN", "NAÏVE"}};
    next = 0;
    ASSERT_TRUE(security.Login(users, [&] { return std::optional(typed.at(next++)); }));
    EXPECT_EQ(security.CurrentRights, 32);
}

TEST_F(UsersTest, AUserFileThatListsNobodyButHoldsUsersNeverTurnsSecurityOff) {
    // What a user named "[QA]" written as a key made of the file.
    dir.write("VXNPWL.INI",
              "[Index]\n[QA]=#\nAdmin=#\n[Defaults]\n_Entries=2\n[Admin]\nLevel=255\n");
    IniStore::clearCache();
    for (const char* text :
         {"[Index]\n[Defaults]\n_Entries=2\n[Admin]\nLevel=255\n", "[Admin]\nLevel=255\n"}) {
        bool asked = false;
        EXPECT_FALSE(security.Login(users, [&] {
            asked = true;
            return std::optional(Credentials{"Admin", ""});
        }));
        EXPECT_FALSE(asked);
        EXPECT_EQ(security.CurrentRights, 0);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
        EXPECT_NE(ui.messages[0].text.find("holds user records but lists no users"),
                  std::string::npos);
        ui.messages.clear();
        dir.write("VXNPWL.INI", text);
        IniStore::clearCache();
    }
}

TEST_F(UsersTest, AnUnreadableUserFileRefusesTheLoginWithAMessage) {
    testing::TempFolder other;
    std::filesystem::create_directory(other.file("VXNPWL.INI"));  // a folder in its place
    const UserDatabase unreadable(other.file("VXNPWL.INI"));
    EXPECT_FALSE(security.Login(unreadable, [] { return std::optional(Credentials{"a", "b"}); }));
    EXPECT_EQ(security.CurrentRights, 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.starts_with("Cannot read the user file " + unreadable.path()));
    EXPECT_NE(ui.messages[0].text.find("Is a directory"), std::string::npos);

    PasswordManagerModel model(unreadable, ui);
    EXPECT_FALSE(model.open(true));
    EXPECT_EQ(ui.messages.size(), 2u);
}

class PasswordManagerTest : public UsersTest {
protected:
    PasswordManagerModel model{users, ui};
};

TEST_F(PasswordManagerTest, OpensOnTheFirstUserAndShowsItsBoxes) {
    ASSERT_TRUE(users.AddUser(user("zed", "pw", 0), ui));
    ASSERT_TRUE(users.AddUser(user("Amy", "pw2", 1 | 32), ui));
    model.open(true);
    EXPECT_EQ(model.list(), (Names{"Amy", "zed"}));
    EXPECT_EQ(model.selected(), 0);
    EXPECT_EQ(model.boxes.name, "Amy");
    EXPECT_EQ(model.boxes.password, "pw2");
    EXPECT_EQ(model.boxes.privileges, (std::array<bool, 8>{1, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(model.logging);
}

TEST_F(PasswordManagerTest, InsertBuildsTheRecordFromTheBoxes) {
    model.open(false);
    model.boxes.name = "   ";
    EXPECT_EQ(model.insert(), PasswordManagerModel::Outcome::NameRefused);
    EXPECT_EQ(ui.texts(), (Names{"You must enter a name"}));
    model.boxes.name = "Carl \t";
    model.boxes.password = "mill ";
    model.boxes.privileges = {true, false, true};
    EXPECT_EQ(model.insert(), PasswordManagerModel::Outcome::Done);
    EXPECT_EQ(model.list(), (Names{"Carl"}));
    EXPECT_EQ(model.selected(), 0);
    const auto carl = users.GetUser("Carl", ui);
    EXPECT_EQ(ScramblePassword(carl->Pword), "mill");
    EXPECT_EQ(carl->Level, 5);
}

TEST_F(PasswordManagerTest, DeleteMovesTheSelectionAndAskesFirst) {
    for (const char* name : {"a", "b", "c"}) ASSERT_TRUE(users.AddUser(user(name, "", 0), ui));
    model.open(false);
    model.select(2);
    ui.answers = {Answer::No};
    EXPECT_EQ(model.remove(), PasswordManagerModel::Outcome::Refused);
    EXPECT_EQ(ui.texts(), (Names{"Are you sure you want to delete \"c\"?"}));
    ui.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    EXPECT_EQ(model.remove(), PasswordManagerModel::Outcome::Done);
    EXPECT_EQ(model.selected(), 1);  // the last went: its previous entry
    model.select(0);
    model.remove();
    EXPECT_EQ(model.list(), (Names{"b"}));
    EXPECT_EQ(model.selected(), 0);  // the entry that took its place
    model.remove();
    EXPECT_EQ(model.selected(), -1);
    EXPECT_EQ(model.boxes.name, "");
    EXPECT_EQ(model.boxes.privileges, (std::array<bool, 8>{1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(model.remove(), PasswordManagerModel::Outcome::Refused);
    EXPECT_EQ(model.modify(), PasswordManagerModel::Outcome::Refused);
    EXPECT_EQ(ui.beeps, 2);
}

TEST_F(PasswordManagerTest, NamesAndPasswordsTheFileCannotHoldAreRefused) {
    const std::string nameRule =
        "A user name cannot hold \"=\" or control characters, nor begin with \"[\", \";\" or a blank.";
    const std::string latin1Name =
        "A user name can only hold letters, digits and signs of the Western European (Latin-1) "
        "character set.";
    const std::string passwordRule =
        "A password cannot hold the characters ¥ ¨ ¯ ¬ or control characters.";
    struct Case {
        std::string name, password, message;
        PasswordManagerModel::Outcome outcome;
    };
    using O = PasswordManagerModel::Outcome;
    const Case cases[] = {
        {"[QA]", "", nameRule, O::NameRefused},
        {"a=b", "", nameRule, O::NameRefused},
        {";ops", "", nameRule, O::NameRefused},
        {" lead", "", nameRule, O::NameRefused},
        {"Tab\tName", "", nameRule, O::NameRefused},
        {"工場", "", latin1Name, O::NameRefused},
        {"op", "¥en", passwordRule, O::PasswordRefused},
        {"op", "a¨b", passwordRule, O::PasswordRefused},
        {"op", "x¯", passwordRule, O::PasswordRefused},
        {"op", "¬x", passwordRule, O::PasswordRefused},
        {"op", "€uro",
         "A password can only hold letters, digits and signs of the Western European (Latin-1) "
         "character set.",
         O::PasswordRefused},
    };
    model.open(false);
    for (const Case& c : cases) {
        ui.messages.clear();
        model.boxes.name = c.name;
        model.boxes.password = c.password;
        EXPECT_EQ(model.insert(), c.outcome) << c.name << " / " << c.password;
        EXPECT_EQ(ui.texts(), (Names{c.message})) << c.name << " / " << c.password;
    }
    EXPECT_TRUE(users.ListUsers().empty());
    EXPECT_EQ(dir.read("VXNPWL.INI").find("op"), std::string::npos);
}

TEST_F(PasswordManagerTest, TheLimitsCountCharactersNotBytes) {
    auto times = [](int n, const std::string& character) {
        std::string text;
        for (int i = 0; i < n; ++i) text += character;
        return text;
    };
    model.open(false);
    model.boxes.name = times(22, "é");
    model.boxes.password = times(11, "Ä");  // 22 bytes of UTF-8, 11 characters
    ASSERT_EQ(model.insert(), PasswordManagerModel::Outcome::Done);
    EXPECT_EQ(model.list(), (Names{times(21, "é")}));
    EXPECT_EQ(model.boxes.password, times(11, "Ä"));  // shown again from the file, whole
    EXPECT_TRUE(security.Login(users, [&] {
        return std::optional(Credentials{times(21, "é"), times(11, "ä")});
    }));
}

TEST_F(PasswordManagerTest, ModifyRenamesTheSelectedEntry) {
    ASSERT_TRUE(users.AddUser(user("ann", "a", 1), ui));
    model.open(false);
    model.boxes.name = "Anna";
    EXPECT_EQ(model.modify(), PasswordManagerModel::Outcome::Done);
    EXPECT_EQ(model.list(), (Names{"Anna"}));
    EXPECT_EQ(model.selected(), 0);
    EXPECT_EQ(users.ListUsers(), (Names{"Anna"}));
}

}  // namespace
}  // namespace zantor
