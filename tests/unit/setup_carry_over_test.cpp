// What setup changes outside its own files, and that the uninstaller takes
// back exactly that: compatibility layers moved to Brennic_Original.exe,
// firewall rules copied for it, and the build switch service with its rights.

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

const std::string kCopy = "Age of Empires II" + std::string(setup::kRuleCopySuffix);

// The game's layers for the player and for the machine, and its rules: one
// name for TCP and UDP, another rule, one turned off, one of another program.
void ArrangeGame(FakeServices& os) {
    ASSERT_TRUE(os.WriteSystemValue(setup::kLayersKeys[0], kExe, "~ RUNASADMIN 640X480 HIGHDPIAWARE"));
    ASSERT_TRUE(os.WriteSystemValue(setup::kLayersKeys[1], kExe, "~ DISABLEDXMAXIMIZEDWINDOWEDMODE"));
    os.firewall = {{"Age of Empires II", kExe, true, "TCP 2300"}, {"Age of Empires II", kExe, true, "UDP 2300"},
                   {"Age of Empires II", kExe, true, "TCP 2300"}, {"DirectPlay", kExe, true, "UDP 47624"},
                   {"old", kExe, false},                           {"other", "C:\\x.exe"}};
}

bool Recorded(FakeServices& os, const char* name) { return os.ReadRegistry(setup::RecordValue(name)).ok(); }

TEST(CarryOver, MovesTheGamesLayersCopiesEachRuleAndPutsBackExactlyThat) {
    FakeServices os;
    ArrangeGame(os);
    const auto values = os.systemValues;
    const std::string said = setup::CarryOverPathSettings(os, os, kGame);
    EXPECT_EQ(LayersOf(os, 0, kExe), "~ RUNASADMIN") << said;
    EXPECT_EQ(LayersOf(os, 0, kOriginal), "~ 640X480 HIGHDPIAWARE");
    EXPECT_EQ(LayersOf(os, 1, kExe), "none");
    EXPECT_EQ(LayersOf(os, 1, kOriginal), "~ DISABLEDXMAXIMIZEDWINDOWEDMODE");
    std::vector<std::string> copies;
    const auto made = os.FirewallRules(kOriginal);
    for (const auto& rule : *made) copies.push_back(rule.name + " " + rule.properties);
    EXPECT_EQ(copies, (std::vector<std::string>{kCopy + " TCP 2300", kCopy + " UDP 2300",
                                                "DirectPlay" + std::string(setup::kRuleCopySuffix) + " UDP 47624"}));

    // An administrator turned a copy off, the player removed the moved
    // layers: a second setup adds neither again.
    os.firewall[6].enabled = false;
    ASSERT_TRUE(os.DeleteSystemValue(setup::kLayersKeys[0], kOriginal));
    setup::CarryOverPathSettings(os, os, kGame);
    EXPECT_EQ(os.firewall.size(), 9u);
    EXPECT_EQ(LayersOf(os, 0, kOriginal), "none");

    // The player's own rule of the copy's name stays; the game's name gets
    // its layers back byte for byte.
    os.firewall.push_back({kCopy, kOriginal, true, "TCP 9999"});
    EXPECT_EQ(setup::RemoveCarriedSettings(os, os), "");
    EXPECT_EQ(os.systemValues, values);
    ASSERT_EQ(os.firewall.size(), 7u);
    EXPECT_EQ(os.firewall.back().properties, "TCP 9999");
    EXPECT_FALSE(Recorded(os, "CopiedFor"));

    // Wine's firewall answers nothing: said, and the layers still moved.
    os.firewallDown = true;
    EXPECT_NE(setup::CarryOverPathSettings(os, os, kGame).find("firewall rules"), std::string::npos);
    EXPECT_EQ(LayersOf(os, 1, kOriginal), "~ DISABLEDXMAXIMIZEDWINDOWEDMODE");
}

TEST(CarryOver, LeavesThePlayersOwnSettingsAndARuleItCannotCopy) {
    FakeServices os;
    ASSERT_TRUE(os.WriteSystemValue(setup::kLayersKeys[0], kExe, "640X480"));
    ASSERT_TRUE(os.WriteSystemValue(setup::kLayersKeys[0], kOriginal, "~ WINXPSP3"));
    os.firewall = {{"Age of Empires II", kExe}};
    os.uncopyableRules = {"Age of Empires II"};
    const std::string said = setup::CarryOverPathSettings(os, os, kGame);
    EXPECT_NE(said.find("LocalUserOwner"), std::string::npos) << said;
    EXPECT_EQ(os.firewall.size(), 1u);
    EXPECT_EQ(LayersOf(os, 0, kOriginal), "~ WINXPSP3");
    EXPECT_EQ(LayersOf(os, 0, kExe), "none");
    EXPECT_EQ(setup::RemoveCarriedSettings(os, os), "");
    EXPECT_EQ(LayersOf(os, 0, kOriginal), "~ WINXPSP3");
    EXPECT_EQ(LayersOf(os, 0, kExe), "640X480");
    EXPECT_EQ(setup::SplitLayersValue("$ ~ RunAsAdmin WINXPSP3").stub, "$ ~ RunAsAdmin");
}

// Cut off after any change, with or without the registry losing what was
// not flushed: every change made is recorded, and the uninstaller then puts
// back exactly what was there before setup.
TEST(CarryOver, ACutOffRunLeavesOnlyRecordedChanges) {
    for (bool lost : {false, true})
        for (bool takingBack : {false, true})
            for (int n = 0;; ++n) {
                SCOPED_TRACE(std::string(takingBack ? "taking back" : "carrying over") + (lost ? ", order lost" : "") +
                             ", cut after " + std::to_string(n));
                FakeServices os;
                ArrangeGame(os);
                const auto values = os.systemValues;
                const auto rules = os.firewall.size();
                if (takingBack) setup::CarryOverPathSettings(os, os, kGame);
                os.Reset();
                os.loseUnflushedRegistry = lost;
                os.changesLeft = n;
                auto recordedAll = [&] {
                    const char* names[] = {"GameLayersUser", "GameLayersMachine"};
                    for (int i = 0; i < 2; ++i)
                        if (LayersOf(os, i, kExe) != values.at(FakeServices::Key(std::string(setup::kLayersKeys[i]) +
                                                                                 "\\" + kExe)) ||
                            LayersOf(os, i, kOriginal) != "none")
                            EXPECT_TRUE(Recorded(os, names[i])) << i;
                    const auto read = os.ReadRegistry(setup::RecordValue("CopiedFirewallRules"));
                    const std::string record = read ? *read : "";
                    const auto copies = os.FirewallRules(kOriginal);
                    for (const auto& rule : *copies)
                        EXPECT_NE(record.find(rule.name + "\t" + rule.properties), std::string::npos);
                };
                os.beforeChange = recordedAll;
                (void)(takingBack ? setup::RemoveCarriedSettings(os, os) : setup::CarryOverPathSettings(os, os, kGame));
                recordedAll();
                os.beforeChange = nullptr;
                os.changesLeft = -1;
                EXPECT_EQ(setup::RemoveCarriedSettings(os, os), "");
                EXPECT_EQ(os.systemValues, values);
                EXPECT_EQ(os.firewall.size(), rules);
                if (!os.cut) break;
                ASSERT_LT(n, 60);
            }
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
    os.folderSecurity[FakeServices::Key("C:\\Program Files\\Vantrel")].othersMayAddOrWrite = true;
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
