// What setup adds outside its own files, and that the uninstaller takes
// back exactly that: compatibility layers and firewall rules carried over to
// Brennic_Original.exe, and the players' right to create files.

#include <gtest/gtest.h>

#include "setup/path_settings.h"
#include "setup/players_rights.h"
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

TEST(PlayersRights, GrantsOnlyWhatIsMissingAndTakesBackExactlyThat) {
    FakeServices os;
    os.AddFolder(kGame.folder);
    os.AddFile(kLog, "\"-x\"\r\n");
    os.usersRights[FakeServices::Key(kGame.folder)] = 0x1200a9;  // read and run, as under Program Files
    os.usersRights[FakeServices::Key(kLog)] = 0x120089;
    auto granted = setup::LetPlayersSwitch(os, os, kGame);
    EXPECT_EQ(granted.outcome, Outcome::Done) << granted.message;
    const std::multiset<std::pair<std::string, std::uint32_t>> ours = {
        {FakeServices::Key(kGame.folder), setup::kCreateFiles}, {FakeServices::Key(kLog), setup::kAppendData}};
    EXPECT_EQ(os.grants, ours);
    EXPECT_EQ(setup::LetPlayersSwitch(os, os, kGame).outcome, Outcome::Skipped);
    EXPECT_EQ(setup::TakeBackPlayersRights(os, os), "");
    EXPECT_TRUE(os.grants.empty());

    // A grant that fails takes back the record and any grant before it.
    os.readOnlyFolders.insert(FakeServices::Key(kLog));
    const auto registry = os.registry;
    EXPECT_EQ(setup::LetPlayersSwitch(os, os, kGame).outcome, Outcome::Refused);
    EXPECT_TRUE(os.grants.empty());
    EXPECT_EQ(os.registry, registry);
}

}  // namespace
