// What setup adds outside its own files, and that the uninstaller takes
// back exactly that: compatibility layers and firewall rules carried over to
// Brennic_Original.exe, and the build switch service with its rights.

#include <gtest/gtest.h>

#include "setup/path_settings.h"
#include "setup/service_sid.h"
#include "setup/switch_service.h"
#include "tests/unit/fake_services.h"

namespace {

using setup::Outcome;
using testing_support::FakeServices;

const setup::GameFiles kGame{"C:\\Program Files\\Age2", "age2_x1.exe"};
const std::string kExe = kGame.ExecutablePath();
const std::string kOriginal = kGame.Path("Brennic_Original.exe");
const std::string kLog = kGame.Path("WriteCommandTxt.ini");

std::string LayersOf(FakeServices& os, int machine, const std::string& program) {
    auto value = os.ReadSystemValue(setup::kLayersKeys[machine], program);
    return value ? *value : "none";
}

TEST(CarryOver, CopiesLayersAndEnabledRulesAndRemovesOnlyThose) {
    FakeServices os;
    ASSERT_TRUE(os.WriteSystemValue(setup::kLayersKeys[0], kExe, "~ WINXPSP3"));
    ASSERT_TRUE(os.WriteSystemValue(setup::kLayersKeys[1], kExe, "~ RUNASADMIN"));
    os.firewall = {{"Age of Empires II", kExe}, {"Age of Empires II", kExe}, {"old", kExe, false},
                   {"other", "C:\\x.exe"}};
    const std::string said = setup::CarryOverPathSettings(os, os, kGame);
    EXPECT_EQ(LayersOf(os, 0, kOriginal), "~ WINXPSP3");
    EXPECT_EQ(LayersOf(os, 1, kOriginal), "~ RUNASADMIN");
    const std::string copy = "Age of Empires II" + std::string(setup::kRuleCopySuffix);
    EXPECT_EQ(*os.FirewallRules(kOriginal), (std::vector<std::string>{copy, copy})) << said;
    // A second setup adds nothing twice.
    setup::CarryOverPathSettings(os, os, kGame);
    EXPECT_EQ(os.firewall.size(), 6u);

    // The player changed the per-user layers since: theirs now.
    ASSERT_TRUE(os.WriteSystemValue(setup::kLayersKeys[0], kOriginal, "~ HIGHDPIAWARE"));
    EXPECT_EQ(setup::RemoveCarriedSettings(os, os), "");
    EXPECT_EQ(LayersOf(os, 0, kOriginal), "~ HIGHDPIAWARE");
    EXPECT_EQ(LayersOf(os, 1, kOriginal), "none");
    EXPECT_EQ(LayersOf(os, 1, kExe), "~ RUNASADMIN");
    EXPECT_EQ(os.firewall.size(), 4u);
    EXPECT_TRUE(os.FirewallRules(kOriginal)->empty());

    // Wine's firewall answers nothing: said, and the layers still carried.
    os.firewallDown = true;
    EXPECT_NE(setup::CarryOverPathSettings(os, os, kGame).find("firewall rules"), std::string::npos);
    EXPECT_EQ(LayersOf(os, 1, kOriginal), "~ RUNASADMIN");
}

using platform::AccessEntry;
using platform::Inheritance;
using Entries = std::vector<std::pair<std::string, AccessEntry>>;

const std::string kMarker = kGame.Path("on.ini");
const std::string kProgram = "C:\\Program Files\\Vantrel\\VantrelSwitch.exe";
const std::string kServiceSid = "S-1-5-80-1285996591-564267775-448893416-4087595669-397348016";
const std::string kUsers = "S-1-5-32-545";
std::string Record(std::string_view name) { return FakeServices::Key(setup::RecordValue(name)); }

struct SwitchService : ::testing::Test {
    SwitchService() {
        os.AddFolder(kGame.folder);
        os.AddFile(kMarker);  // a player's, from before
        os.AddFolder("C:\\Program Files\\Vantrel");
        os.AddFile(kProgram);
        os.usersRights[FakeServices::Key(kGame.folder)] = 0x1200a9;  // read and run, as under Program Files
    }
    FakeServices os;
    // What the service may do, and the users on the log: nobody else gets a right.
    const Entries granted = {{FakeServices::Key(kLog), {kUsers, setup::kAppendData}},
                             {FakeServices::Key(kGame.folder), {kServiceSid, setup::kCreateFiles}},
                             {FakeServices::Key(kGame.folder),
                              {kServiceSid, setup::kDeleteFile, Inheritance::NewFiles}},
                             {FakeServices::Key(kMarker), {kServiceSid, setup::kDeleteFile}}};
};

TEST_F(SwitchService, InstallsTheServiceWithItsRightsAloneAndTakesBackExactlyThat) {
    EXPECT_EQ(setup::ServiceSid("TrustedInstaller"), "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464");
    auto report = setup::LetPlayersSwitch(os, os, kGame, kProgram);
    EXPECT_EQ(report.outcome, Outcome::Done) << report.message;
    EXPECT_EQ(os.Content(kLog), "");
    EXPECT_EQ(os.access, granted);
    const auto& service = os.services.at("VantrelSwitch");
    EXPECT_EQ(service.displayName, "Vantrel build switch");
    EXPECT_EQ(service.program, kProgram);
    EXPECT_EQ(service.account, "NT AUTHORITY\\LocalService");
    EXPECT_EQ(service.security,
              "D:(A;;CCDCLCSWRPWPDTLOCRSDRCWDWO;;;SY)(A;;CCDCLCSWRPWPDTLOCRSDRCWDWO;;;BA)(A;;RPLCCR;;;BU)");
    EXPECT_TRUE(service.ownSid && service.eventSource);
    EXPECT_EQ(os.registry.at(Record(setup::kServiceFolderRecord)), kGame.folder);

    // A second setup keeps it all, and its failure takes nothing of it.
    os.serviceNotes = "This system cannot give the service a SID of its own; it runs without.\n";
    report = setup::LetPlayersSwitch(os, os, kGame, kProgram);
    EXPECT_EQ(report.outcome, Outcome::Updated);
    EXPECT_NE(report.message.find("SID of its own"), std::string::npos);
    os.servicesRefused = true;
    EXPECT_EQ(setup::LetPlayersSwitch(os, os, kGame, kProgram).outcome, Outcome::PutBack);
    EXPECT_EQ(os.access, granted);

    // A take-back that fails keeps its record for the next run.
    os.servicesRefused = false;
    os.accessRefused.insert(FakeServices::Key(kGame.folder));
    EXPECT_NE(setup::TakeBackPlayersSwitch(os, os).find("Access is denied"), std::string::npos);
    EXPECT_TRUE(os.services.empty());
    EXPECT_TRUE(os.registry.count(Record(setup::kServiceFolderRecord)));
    os.accessRefused.clear();
    EXPECT_EQ(setup::TakeBackPlayersSwitch(os, os), "");
    EXPECT_TRUE(os.access.empty());
    EXPECT_TRUE(os.registry.empty());
    EXPECT_TRUE(os.HasFile(kLog));  // the player's launch history
}

// A service whose program users could replace would run their code.
TEST_F(SwitchService, AFailedStepOrAProgramUsersMayChangeLeavesAllAsItWas) {
    os.servicesRefused = true;
    EXPECT_EQ(setup::LetPlayersSwitch(os, os, kGame, kProgram).outcome, Outcome::PutBack);
    os.servicesRefused = false;
    os.usersRights[FakeServices::Key("C:\\Program Files\\Vantrel")] = setup::kCreateFiles;
    EXPECT_EQ(setup::LetPlayersSwitch(os, os, kGame, kProgram).outcome, Outcome::Skipped);
    EXPECT_TRUE(os.access.empty());
    EXPECT_TRUE(os.registry.empty());
    EXPECT_TRUE(os.services.empty());
    EXPECT_FALSE(os.HasFile(kLog));
}

// 2.1.0 let every user create files in the game folder: that goes, exactly
// as recorded; its log grant is the one kept, and the player's on.ini stays
// for the service to delete.
TEST_F(SwitchService, AnUpgradeTakesBackTheFolderGrantOfTheOldVersion) {
    os.AddFile(kLog, "\"-x\"\r\n");
    os.files[FakeServices::Key(kLog)].hidden = true;  // still the log
    os.SetRegistry(setup::RecordValue(setup::kOldFolderRecord), kGame.folder);
    os.SetRegistry(setup::RecordValue("UsersMayAppendTo"), kLog);
    os.access = {{FakeServices::Key(kGame.folder), {kUsers, setup::kCreateFiles}},
                 {FakeServices::Key(kLog), {kUsers, setup::kAppendData}}};
    auto report = setup::LetPlayersSwitch(os, os, kGame, kProgram);
    EXPECT_EQ(report.outcome, Outcome::Done) << report.message;
    EXPECT_EQ(os.access, granted);
    EXPECT_FALSE(os.registry.count(Record(setup::kOldFolderRecord)));
    EXPECT_EQ(os.Content(kLog), "\"-x\"\r\n");
    EXPECT_TRUE(os.HasFile(kMarker));
    EXPECT_EQ(setup::TakeBackPlayersSwitch(os, os), "");
    EXPECT_TRUE(os.access.empty());
}

}  // namespace
