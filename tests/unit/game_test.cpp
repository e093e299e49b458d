#include <gtest/gtest.h>

#include "fake_services.h"
#include "switcher/game.h"

namespace {

using platform::WindowStyle;
using switcher::GetVersion;
using switcher::RunInFolder;
using switcher::SaveGameFolder;
using switcher::SwitchToC;
using switcher::SwitchToE;
using testing_support::FakeServices;

const std::string kGame = "D:\\Games\\Empires\\Age2_x1";
const std::string kMarker = kGame + "\\on.ini";

class GameFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        os.SetRegistry(std::string(switcher::kGamePathValue), kGame);
        os.AddFolder(kGame);
        os.AddFolder("C:\\Work");
    }
    FakeServices os;
};

TEST_F(GameFolderTest, SwitchingCreatesAnEmptyMarkerAndRemovesIt) {
    ASSERT_EQ(*GetVersion(os), "1.0c");
    ASSERT_TRUE(SwitchToE(os));
    EXPECT_EQ(*GetVersion(os), "1.0e");
    ASSERT_TRUE(os.HasFile(kMarker));
    EXPECT_EQ(os.Content(kMarker), "");

    ASSERT_TRUE(SwitchToC(os));
    EXPECT_EQ(*GetVersion(os), "1.0c");
    EXPECT_FALSE(os.HasFile(kMarker));
}

TEST_F(GameFolderTest, SwitchingToTheCurrentBuildTouchesNoFile) {
    os.AddFile(kMarker, "kept");
    ASSERT_TRUE(SwitchToE(os));
    EXPECT_EQ(os.Content(kMarker), "kept");

    os.files.clear();
    os.files[FakeServices::Key(kMarker)].hidden = true;  // a hidden marker counts as absent
    ASSERT_TRUE(SwitchToC(os));
    EXPECT_TRUE(os.HasFile(kMarker));
    EXPECT_EQ(*GetVersion(os), "1.0c");
}

// Working in the game folder, then back home: a working folder cannot be
// moved or removed while a process is in it.
TEST_F(GameFolderTest, OperationsWorkInTheGameFolderAndReturnToTheProgramsOwn) {
    os.AddFolder(os.programFolder);
    (void)GetVersion(os);
    EXPECT_EQ(os.currentFolder, os.programFolder);
    ASSERT_TRUE(SwitchToE(os));
    EXPECT_EQ(os.currentFolder, os.programFolder);
    ASSERT_TRUE(RunInFolder(os, kGame, "Brennic.exe", WindowStyle::Normal));
    EXPECT_EQ(os.currentFolder, os.programFolder);
    ASSERT_EQ(os.started.size(), 1u);
    EXPECT_EQ(os.started[0].program, kGame + "\\Brennic.exe");
    EXPECT_EQ(os.started[0].currentFolder, kGame);
    EXPECT_EQ(os.started[0].arguments, "");
    EXPECT_EQ(os.started[0].style, WindowStyle::Normal);

    os.currentFolder = "C:\\Work";
    ASSERT_TRUE(SaveGameFolder(os));
    EXPECT_EQ(os.currentFolder, "C:\\Work");
}

TEST_F(GameFolderTest, PathsAreBuiltFromTheFolderTheSystemReports) {
    // A registry value with a trailing separator still yields one separator.
    os.SetRegistry(std::string(switcher::kGamePathValue), kGame + "\\");
    ASSERT_TRUE(SwitchToE(os));
    EXPECT_TRUE(os.HasFile(kMarker));
}

TEST_F(GameFolderTest, SaveGameFolderKeepsAllButTheLastSevenCharacters) {
    EXPECT_EQ(*SaveGameFolder(os), "D:\\Games\\Empires\\SaveGame");
    os.SetRegistry(std::string(switcher::kGamePathValue), "C:\\Gamebin");
    EXPECT_EQ(*SaveGameFolder(os), "C:\\SaveGame");
    os.SetRegistry(std::string(switcher::kGamePathValue), "1234567");
    EXPECT_EQ(*SaveGameFolder(os), "SaveGame");
}

TEST_F(GameFolderTest, AShortRegistryValueHasNoSaveFolder) {
    os.SetRegistry(std::string(switcher::kGamePathValue), "C:\\Age");
    auto folder = SaveGameFolder(os);
    ASSERT_FALSE(folder);
    EXPECT_NE(folder.message().find("C:\\Age"), std::string::npos);
}

// A missing, empty or dangling registration changes nothing, the working
// folder included, and says which value or folder is at fault.
TEST_F(GameFolderTest, AnUnusableRegistrationChangesNothing) {
    struct Case {
        const char* name;
        std::function<void(FakeServices&)> arrange;
        std::string named;
    };
    const std::vector<Case> cases = {
        {"missing", [](FakeServices& f) { f.registry.clear(); }, std::string(switcher::kGamePathValue)},
        {"empty", [](FakeServices& f) { f.SetRegistry(std::string(switcher::kGamePathValue), ""); },
         std::string(switcher::kGamePathValue)},
        {"dangling",
         [](FakeServices& f) { f.SetRegistry(std::string(switcher::kGamePathValue), "E:\\Gone\\Age2_x1"); },
         "E:\\Gone\\Age2_x1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices os2;
        os2.AddFolder("C:\\Work");
        os2.AddFolder(kGame);
        os2.SetRegistry(std::string(switcher::kGamePathValue), kGame);
        c.arrange(os2);

        auto version = GetVersion(os2);
        ASSERT_FALSE(version);
        EXPECT_NE(version.message().find(c.named), std::string::npos) << version.message();
        auto e = SwitchToE(os2);
        ASSERT_FALSE(e);
        EXPECT_NE(e.message().find(c.named), std::string::npos) << e.message();
        EXPECT_FALSE(SwitchToC(os2));
        if (std::string(c.name) != "dangling") {
            EXPECT_FALSE(SaveGameFolder(os2));
        }
        EXPECT_EQ(os2.currentFolder, "C:\\Work");
        EXPECT_TRUE(os2.files.empty());
        EXPECT_TRUE(os2.started.empty());
    }
}

TEST_F(GameFolderTest, AMarkerThatCannotChangeIsReportedAndTheTruthIsKept) {
    os.readOnlyFolders.insert(FakeServices::Key(kGame));
    auto e = SwitchToE(os);
    ASSERT_FALSE(e);
    EXPECT_NE(e.message().find(kMarker), std::string::npos);
    EXPECT_NE(e.message().find("Access is denied"), std::string::npos);
    EXPECT_EQ(*GetVersion(os), "1.0c");

    os.readOnlyFolders.clear();
    os.AddFile(kMarker);
    os.files[FakeServices::Key(kMarker)].locked = true;
    EXPECT_FALSE(SwitchToC(os));
    EXPECT_EQ(*GetVersion(os), "1.0e");

    // A folder named on.ini is neither a marker nor replaceable by one.
    os.files.clear();
    os.AddFolder(kMarker);
    EXPECT_FALSE(SwitchToE(os));
    EXPECT_EQ(*GetVersion(os), "1.0c");
}

// Under Program Files only administrators may change the game folder: the
// switch service setup installs makes the change instead, started when it
// has stopped; a change the player may make asks nothing of it.
TEST_F(GameFolderTest, AChangeRefusedForWantOfRightsIsAskedOfTheSwitchService) {
    ASSERT_TRUE(SwitchToE(os));
    ASSERT_TRUE(SwitchToC(os));
    EXPECT_EQ(os.serviceLaunches + os.serviceControls.size(), 0u);

    os.readOnlyFolders.insert(FakeServices::Key(kGame));
    auto refused = SwitchToE(os);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.message().find("Cannot switch to 1.0e: Cannot create the file \"" + kMarker +
                                     "\": Access is denied."), std::string::npos);
    EXPECT_NE(refused.message().find("\"Players may switch builds\" ticked"), std::string::npos);

    os.serviceState = platform::ServiceState::Stopped;
    os.onServiceControl = [this](unsigned control) {
        if (control == 128) os.files[FakeServices::Key(kMarker)] = {};
        if (control == 129) os.files.erase(FakeServices::Key(kMarker));
    };
    ASSERT_TRUE(SwitchToE(os));
    EXPECT_EQ(*GetVersion(os), "1.0e");
    ASSERT_TRUE(SwitchToC(os));
    EXPECT_EQ(*GetVersion(os), "1.0c");
    EXPECT_EQ(os.serviceLaunches, 1);
    EXPECT_EQ(os.serviceControls, (std::vector<unsigned>{128, 129}));

    // A service that refuses (the event log says why) is waited for 2 s.
    os.onServiceControl = nullptr;
    os.waitedMs = 0;
    auto unchanged = SwitchToE(os);
    ASSERT_FALSE(unchanged);
    EXPECT_NE(unchanged.message().find("event log"), std::string::npos) << unchanged.message();
    EXPECT_EQ(os.waitedMs, 2000u);
}

TEST_F(GameFolderTest, RunInFolderReportsAMissingFolderOrProgram) {
    auto missing = RunInFolder(os, "D:\\Nowhere", "Brennic.exe", WindowStyle::Normal);
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.message().find("D:\\Nowhere"), std::string::npos);
    EXPECT_EQ(os.currentFolder, "C:\\Work");

    os.unstartable.insert(FakeServices::Key(kGame + "\\Brennic.exe"));
    auto refused = RunInFolder(os, kGame, "Brennic.exe", WindowStyle::Normal);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.message().find(kGame + "\\Brennic.exe"), std::string::npos);
}

}  // namespace
