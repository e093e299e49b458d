// Putting Brennic in front of the game and giving it back, from every state
// the game folder can be in: each outcome either does all it says or leaves
// the folder and the record exactly as they were.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "setup/game_swap.h"
#include "setup/sha256.h"
#include "setup/stub_mark.h"
#include "tests/unit/fake_services.h"

namespace {

using setup::Outcome;
using testing_support::FakeServices;

const std::string kFolder = "C:\\Games\\Age2_x1";
const std::string kGame = kFolder + "\\age2_x1.exe";
const std::string kOriginal = kFolder + "\\Brennic_Original.exe";
const std::string kCopy = kFolder + "\\Brennic.exe";
const std::string kNewStub = kFolder + "\\Brennic_Setup.tmp";
const std::string kGameBytes = std::string("MZ game \0\x01\xff", 11) + " 1.0c";
const std::string kStub = "MZ stub v2.2 " + setup::Utf16Bytes(setup::kStubMark);
const std::string kOlderStub = "MZ stub v2.1 " + setup::Utf16Bytes(setup::kFirstStubDescription);
const std::string kRecord = std::string(setup::kRecordKey);

class GameSwap : public ::testing::Test {
protected:
    void SetUp() override {
        os.AddFolder(kFolder);
        os.SetRegistry(std::string(setup::kGameKey) + "Path", kFolder);
        os.SetRegistry(std::string(setup::kGameKey) + "File", "age2_x1.exe");
        os.AddFile(kGame, kGameBytes);
        os.AddFile(kFolder + "\\on.ini");
        os.AddFile(kFolder + "\\WriteCommandTxt.ini", "\"-x\"\r\n");
    }

    setup::Report Install(const std::string& stub = kStub) {
        auto game = setup::FindGame(os, "");
        EXPECT_TRUE(game) << game.message();
        return setup::PutStubInFront(os, *game, stub);
    }
    // Files' contents and the registry, to show that nothing changed.
    std::pair<std::map<std::string, std::string>, std::map<std::string, std::string>> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& [path, file] : os.files) files[path] = file.content;
        return {files, os.registry};
    }
    void ExpectInstalled() {
        EXPECT_EQ(os.Content(kOriginal), kGameBytes);
        EXPECT_EQ(os.Content(kGame), kStub);
        EXPECT_EQ(os.Content(kCopy), kStub);
        EXPECT_EQ(os.registry.at(FakeServices::Key(kRecord + "GameSHA256")), setup::Sha256Hex(kGameBytes));
        EXPECT_FALSE(os.HasFile(kNewStub));
    }
    void ExpectUninstalled() {
        EXPECT_EQ(os.Content(kGame), kGameBytes);
        EXPECT_FALSE(os.HasFile(kOriginal));
        EXPECT_FALSE(os.HasFile(kCopy));
        EXPECT_TRUE(os.HasFile(kFolder + "\\on.ini"));
        EXPECT_EQ(os.Content(kFolder + "\\WriteCommandTxt.ini"), "\"-x\"\r\n");
        EXPECT_FALSE(os.registry.count(FakeServices::Key(kRecord + "GameSHA256")));
        EXPECT_FALSE(os.HasFile(kNewStub));
    }
    bool Recorded() const { return os.registry.count(FakeServices::Key(kRecord + "GameSHA256")) != 0; }

    FakeServices os;
};

TEST(StubMark, KnowsBothVersionsOfTheStubAndNothingElse) {
    EXPECT_TRUE(setup::IsOurStub(kStub));
    EXPECT_TRUE(setup::IsOurStub(kOlderStub));
    EXPECT_FALSE(setup::IsOurStub(kGameBytes));
    // The mark as plain text is what setup's own programs hold; it does not count.
    EXPECT_FALSE(setup::IsOurStub("MZ " + std::string(setup::kStubMark)));
}

TEST_F(GameSwap, FindsTheGameAndNamesWhatIsMissing) {
    auto game = setup::FindGame(os, "");
    ASSERT_TRUE(game);
    EXPECT_EQ(game->ExecutablePath(), kGame);
    auto chosen = setup::FindGame(os, kFolder + "\\");
    EXPECT_FALSE(chosen);
    os.AddFile(kFolder + "\\other.exe", "x");
    EXPECT_EQ(setup::FindGame(os, kFolder + "\\other.exe")->executable, "other.exe");
    EXPECT_FALSE(setup::FindGame(os, kFolder + "\\Brennic.exe"));
    EXPECT_FALSE(setup::FindGame(os, kFolder + "\\missing.exe"));

    os.registry.erase(FakeServices::Key(std::string(setup::kGameKey) + "File"));
    EXPECT_NE(setup::FindGame(os, "").message().find("\\File is missing"), std::string::npos);
    os.registry.erase(FakeServices::Key(std::string(setup::kGameKey) + "Path"));
    EXPECT_NE(setup::FindGame(os, "").message().find("\\Path is missing"), std::string::npos);
}

TEST_F(GameSwap, InstallThenUninstallGivesTheGameBack) {
    auto installed = Install();
    EXPECT_EQ(installed.outcome, Outcome::Done) << installed.message;
    ExpectInstalled();
    auto removed = setup::GiveGameBack(os);
    EXPECT_EQ(removed.outcome, Outcome::Done) << removed.message;
    ExpectUninstalled();
    EXPECT_EQ(setup::GiveGameBack(os).outcome, Outcome::Skipped);
}

TEST_F(GameSwap, LaterRunsOnlyUpdateTheStubs) {
    ASSERT_EQ(Install(kOlderStub).outcome, Outcome::Done);
    auto again = Install(kOlderStub);
    EXPECT_EQ(again.outcome, Outcome::Updated) << again.message;
    auto newer = Install();
    EXPECT_EQ(newer.outcome, Outcome::Updated) << newer.message;
    ExpectInstalled();
    EXPECT_EQ(setup::GiveGameBack(os).outcome, Outcome::Done);
    ExpectUninstalled();
}

TEST_F(GameSwap, AdoptsBrennicPutInFrontByHand) {
    os.AddFile(kOriginal, kGameBytes);
    os.AddFile(kGame, kOlderStub);
    os.AddFile(kCopy, kOlderStub);
    EXPECT_EQ(Install().outcome, Outcome::Updated);
    ExpectInstalled();
    EXPECT_EQ(setup::GiveGameBack(os).outcome, Outcome::Done);
    ExpectUninstalled();
}

TEST_F(GameSwap, RefusesWhateverItCannotTellIsSafe) {
    struct Case {
        const char* name;
        std::function<void(FakeServices&)> arrange;
        const char* says;
    };
    const Case cases[] = {
        {"game running", [](FakeServices& f) { f.AddWindow(7, "Age Of Empires II Expansion"); }, "window"},
        {"original exists", [](FakeServices& f) { f.AddFile(kOriginal, "older game"); }, "exists already"},
        {"foreign Brennic.exe", [](FakeServices& f) { f.AddFile(kCopy, "someone else's"); }, "is not Brennic"},
        {"stub without original", [](FakeServices& f) { f.AddFile(kGame, kStub); }, "is missing"},
        {"cut off, no record",
         [](FakeServices& f) {
             ASSERT_TRUE(f.RenameFile(kGame, kOriginal));
             f.AddFile(kNewStub, kStub);
         },
         "rename it back to age2_x1.exe"},
        {"held game", [](FakeServices& f) { f.unreadable.insert(FakeServices::Key(kGame)); }, "being used"},
        {"recorded game replaced",
         [](FakeServices& f) {
             f.SetRegistry(kRecord + "GameFolder", kFolder);
             f.SetRegistry(kRecord + "GameExecutable", "age2_x1.exe");
             f.SetRegistry(kRecord + "GameSize", "3");
             f.SetRegistry(kRecord + "GameSHA256", setup::Sha256Hex("old"));
         },
         "neither"},
        {"another game recorded",
         [](FakeServices& f) {
             f.SetRegistry(kRecord + "GameFolder", "D:\\Other");
             f.SetRegistry(kRecord + "GameExecutable", "age2_x1.exe");
             f.SetRegistry(kRecord + "GameSize", "3");
             f.SetRegistry(kRecord + "GameSHA256", "00");
         },
         "D:\\Other\\age2_x1.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        os = FakeServices();
        SetUp();
        c.arrange(os);
        const auto before = Snapshot();
        auto report = Install();
        EXPECT_EQ(report.outcome, Outcome::Refused);
        EXPECT_NE(report.message.find(c.says), std::string::npos) << report.message;
        EXPECT_TRUE(Snapshot() == before);
    }
    os = FakeServices();
    SetUp();
    EXPECT_EQ(setup::PutStubInFront(os, *setup::FindGame(os, ""), "MZ not the stub").outcome, Outcome::Refused);
}

TEST_F(GameSwap, AFailedStepPutsBackWhatWasChanged) {
    const char* failures[] = {"rename", "game name", "Brennic.exe", "record"};
    for (const char* failure : failures) {
        SCOPED_TRACE(failure);
        os = FakeServices();
        SetUp();
        const std::string name = failure;
        if (name == "rename") os.unwritable.insert(FakeServices::Key(kOriginal));
        if (name == "game name") os.unwritable.insert(FakeServices::Key(kGame));
        if (name == "Brennic.exe") os.unwritable.insert(FakeServices::Key(kCopy));
        if (name == "record") os.registryWriteRefused.insert(FakeServices::Key(kRecord + "GameSHA256"));
        const auto before = Snapshot();
        auto report = Install();
        // Writing the stub under the game's name is refused by the same
        // path that renaming it back needs: nothing can be put back there.
        if (name == "game name") {
            EXPECT_EQ(report.outcome, Outcome::Broken) << report.message;
            EXPECT_NE(report.message.find("What to do by hand"), std::string::npos);
            EXPECT_EQ(os.Content(kOriginal), kGameBytes);
            continue;
        }
        EXPECT_EQ(report.outcome, Outcome::PutBack) << report.message;
        EXPECT_TRUE(Snapshot() == before);
    }
    EXPECT_EQ(setup::ExitCode(Outcome::PutBack), 2);
    EXPECT_EQ(setup::ExitCode(Outcome::Broken), 3);
}

TEST_F(GameSwap, AnUpdateThatFailsKeepsTheOlderStub) {
    ASSERT_EQ(Install(kOlderStub).outcome, Outcome::Done);
    os.files[FakeServices::Key(kCopy)].locked = true;
    const auto before = Snapshot();
    EXPECT_EQ(Install().outcome, Outcome::PutBack);
    EXPECT_TRUE(Snapshot() == before);
}

// Only a file that is there and is something else is left as it is; what
// cannot be read or is missing keeps the record for a later run.
TEST_F(GameSwap, UninstallLeavesOnlyAFolderChangedSinceSetup) {
    struct Case {
        const char* name;
        std::function<void(FakeServices&)> change;
        Outcome outcome;
        const char* says;
    };
    const Case cases[] = {
        {"patched game", [](FakeServices& f) { f.files[FakeServices::Key(kGame)].content = "MZ patched"; },
         Outcome::Skipped, "no longer Brennic"},
        {"original changed", [](FakeServices& f) { f.files[FakeServices::Key(kOriginal)].content += "x"; },
         Outcome::Skipped, "no longer the game"},
        {"original gone", [](FakeServices& f) { f.files.erase(FakeServices::Key(kOriginal)); }, Outcome::Refused,
         "is missing"},
        {"game removed", [](FakeServices& f) { f.files.clear(), f.folders.clear(); }, Outcome::Skipped,
         "no longer exists"},
        {"original held", [](FakeServices& f) { f.unreadable.insert(FakeServices::Key(kOriginal)); },
         Outcome::Refused, "uninstall again"},
        {"stub held", [](FakeServices& f) { f.unreadable.insert(FakeServices::Key(kGame)); }, Outcome::Refused,
         "being used"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        os = FakeServices();
        SetUp();
        ASSERT_EQ(Install().outcome, Outcome::Done);
        c.change(os);
        auto files = Snapshot().first;
        auto report = setup::GiveGameBack(os);
        EXPECT_EQ(report.outcome, c.outcome);
        EXPECT_NE(report.message.find(c.says), std::string::npos) << report.message;
        EXPECT_TRUE(Snapshot().first == files);
        EXPECT_TRUE(Recorded());
    }
    os.unreadable.clear();  // the held original is free again
    os.AddFile(kOriginal, kGameBytes);
    os.AddFile(kGame, kStub);
    EXPECT_EQ(setup::GiveGameBack(os).outcome, Outcome::Done);
    ExpectUninstalled();
}

// Cut off after every number of changes, then run again: the game's
// executable is always under its name or recorded under the original's, and
// the next run of setup or the uninstaller finishes the work or undoes it.
TEST_F(GameSwap, ARunCutOffAnywhereIsFinishedOrUndoneByTheNext) {
    enum Run { Install_, Uninstall };
    const std::pair<Run, Run> orders[] = {{Install_, Install_}, {Install_, Uninstall}, {Uninstall, Uninstall},
                                          {Uninstall, Install_}};
    for (auto [cut, next] : orders)
        for (int n = 0;; ++n) {
            SCOPED_TRACE(std::to_string(cut) + " cut after " + std::to_string(n) + " changes, then " + std::to_string(next));
            os = FakeServices();
            SetUp();
            if (cut == Uninstall) {
                ASSERT_EQ(Install().outcome, Outcome::Done);
            }
            os.changesLeft = n;
            (void)(cut == Install_ ? Install() : setup::GiveGameBack(os));
            os.changesLeft = -1;
            const bool original = os.HasFile(kOriginal) && os.Content(kOriginal) == kGameBytes && Recorded();
            EXPECT_TRUE((os.HasFile(kGame) && os.Content(kGame) == kGameBytes) || original);
            const auto again = next == Install_ ? Install() : setup::GiveGameBack(os);
            EXPECT_NE(setup::ExitCode(again.outcome), 2) << again.message;
            next == Install_ ? ExpectInstalled() : ExpectUninstalled();
            if (!os.cut) break;
            ASSERT_LT(n, 30);
        }
}

TEST_F(GameSwap, UninstallRefusesWhileTheGameRunsAndKeepsAForeignBrennic) {
    ASSERT_EQ(Install().outcome, Outcome::Done);
    os.AddWindow(9, "Age Of Empires II Expansion");
    const auto before = Snapshot();
    EXPECT_EQ(setup::GiveGameBack(os).outcome, Outcome::Refused);
    EXPECT_TRUE(Snapshot() == before);

    os.RemoveWindow(9);
    os.files[FakeServices::Key(kCopy)].content = "a file of the player's";
    auto report = setup::GiveGameBack(os);
    EXPECT_EQ(report.outcome, Outcome::Done);
    EXPECT_NE(report.message.find("left there"), std::string::npos);
    EXPECT_EQ(os.Content(kCopy), "a file of the player's");
    EXPECT_EQ(os.Content(kGame), kGameBytes);
}

TEST_F(GameSwap, AFailedUninstallStepPutsTheStubsBack) {
    for (bool lockGame : {true, false}) {
        SCOPED_TRACE(lockGame ? "stub in use" : "rename refused");
        os = FakeServices();
        SetUp();
        ASSERT_EQ(Install().outcome, Outcome::Done);
        if (lockGame) os.files[FakeServices::Key(kGame)].locked = true;
        else os.files[FakeServices::Key(kOriginal)].locked = true;
        const auto before = Snapshot();
        EXPECT_EQ(setup::GiveGameBack(os).outcome, Outcome::PutBack);
        EXPECT_TRUE(Snapshot() == before);
    }
}

}  // namespace
