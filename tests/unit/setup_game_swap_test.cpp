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
const std::string kAsides[] = {kFolder + "\\Brennic_Setup_1.tmp", kFolder + "\\Brennic_Setup_2.tmp"};
const std::string kGameBytes = std::string("MZ game \0\x01\xff", 11) + " 1.0c";
// Patches edit the game in place, and programs are padded: a patched game,
// or a fixed stub, often has the size of the one before.
const std::string kPatchedGame = std::string("MZ game \0\x01\xff", 11) + " 1.0e";
const std::string kStub = "MZ stub v2.2 " + setup::Utf16Bytes(setup::kStubMark);
const std::string kOlderStub = [] {
    std::string older = "MZ stub v2.1 " + setup::Utf16Bytes(setup::kFirstStubDescription);
    return older + std::string(kStub.size() - older.size(), '\0');
}();
const std::string kRecord = std::string(setup::kRecordKey);

// Setup's record of `bytes` as the game's executable in `folder`.
void SetRecord(FakeServices& f, const std::string& folder, const std::string& bytes) {
    f.SetRegistry(kRecord + "GameFolder", folder);
    f.SetRegistry(kRecord + "GameExecutable", "age2_x1.exe");
    f.SetRegistry(kRecord + "GameSize", std::to_string(bytes.size()));
    f.SetRegistry(kRecord + "GameSHA256", setup::Sha256Hex(bytes));
}

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
    // The whole record, and what it names the game by.
    bool Recorded() {
        auto record = setup::ReadRecord(os);
        return record && record->game.ExecutablePath() == kGame && setup::Matches(*record, kGameBytes);
    }
    bool Holds(const std::string& path, const std::string& bytes) { return os.HasFile(path) && os.Content(path) == bytes; }
    bool NoTemporaryFiles() { return !os.HasFile(kNewStub) && !os.HasFile(kAsides[0]) && !os.HasFile(kAsides[1]); }
    void ExpectInstalled() {
        EXPECT_TRUE(Holds(kOriginal, kGameBytes));
        EXPECT_TRUE(Holds(kGame, kStub));
        EXPECT_TRUE(Holds(kCopy, kStub));
        EXPECT_TRUE(Recorded());
        EXPECT_TRUE(NoTemporaryFiles());
    }
    // `spare`: the uninstaller said it left a spare copy of Brennic.
    void ExpectUninstalled(bool spare = false) {
        if (spare) { EXPECT_TRUE(!os.HasFile(kAsides[0]) || setup::IsOurStub(os.Content(kAsides[0]))); }
        if (spare) os.files.erase(FakeServices::Key(kAsides[0])), os.files.erase(FakeServices::Key(kAsides[1]));
        EXPECT_TRUE(Holds(kGame, kGameBytes));
        EXPECT_FALSE(os.HasFile(kOriginal));
        EXPECT_FALSE(os.HasFile(kCopy));
        EXPECT_TRUE(os.HasFile(kFolder + "\\on.ini"));
        EXPECT_EQ(os.Content(kFolder + "\\WriteCommandTxt.ini"), "\"-x\"\r\n");
        EXPECT_FALSE(setup::ReadRecord(os));
        EXPECT_TRUE(NoTemporaryFiles());
    }
    // What every instant of every run keeps: the game's name holds a whole
    // program, and when that is Brennic, the record names the game and
    // Brennic_Original.exe is it.
    void ExpectGameSafe() {
        const bool stub = Holds(kGame, kStub) || Holds(kGame, kOlderStub);
        EXPECT_TRUE(Holds(kGame, kGameBytes) || (stub && Recorded() && Holds(kOriginal, kGameBytes)))
            << "the game's name holds " << (os.HasFile(kGame) ? os.Content(kGame).substr(0, 12) : "nothing");
    }

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
        {"recorded game replaced", [](FakeServices& f) { SetRecord(f, kFolder, kPatchedGame); }, "neither"},
        {"cut off, then the original patched",
         [](FakeServices& f) {
             SetRecord(f, kFolder, kGameBytes);
             f.files.erase(FakeServices::Key(kGame));
             f.AddFile(kOriginal, kPatchedGame);
         },
         "is not the game's executable that setup recorded"},
        {"game folder is a junction", [](FakeServices& f) { f.reparseFolders.insert(FakeServices::Key(kFolder)); },
         "link"},
        {"a player's Brennic_Setup.tmp",
         [](FakeServices& f) {
             f.AddFile(kNewStub, "MZ half");
             f.files[FakeServices::Key(kNewStub)].ownedByAdministrators = false;
         },
         "is not Brennic"},
        {"another game recorded", [](FakeServices& f) { SetRecord(f, "D:\\Other", "old"); }, "D:\\Other\\age2_x1.exe"},
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
    // The stub refused under the game's name once left it empty: the game
    // never leaves it now, so that too is put back.
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
        {"original patched", [](FakeServices& f) { f.files[FakeServices::Key(kOriginal)].content = kPatchedGame; },
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

// Cut off after every number of changes, then run again: at every instant
// the game is under its name or recorded under the original's, and the next
// run of setup or the uninstaller finishes the work or undoes it. Cuts come
// three ways: between two calls; inside a write, which leaves part of its
// bytes; and with the registry losing what it was not made to write to the
// disk. The disk may have no hard links.
enum class Doing { Setup, Update, Uninstall };
std::string Name(Doing d) { return d == Doing::Setup ? "setup" : d == Doing::Update ? "update" : "uninstall"; }

TEST_F(GameSwap, ARunCutOffAnywhereIsFinishedOrUndoneByTheNext) {
    using enum Doing;
    const std::pair<Doing, Doing> orders[] = {{Setup, Setup},     {Setup, Uninstall}, {Uninstall, Uninstall},
                                              {Uninstall, Setup}, {Update, Setup},    {Update, Uninstall}};
    struct Model {
        const char* name;
        bool torn, lost, noLinks;
    };
    const Model models[] = {{"between calls", false, false, false},
                            {"torn write", true, false, false},
                            {"lost registry order", false, true, false},
                            {"no hard links, torn", true, true, true}};
    for (const auto& model : models)
        for (auto [cut, next] : orders)
            for (int n = 0;; ++n) {
                SCOPED_TRACE(std::string(model.name) + ": run " + Name(cut) + " cut after " +
                             std::to_string(n) + " changes, then " + Name(next));
                os = FakeServices();
                SetUp();
                os.linksUnsupported = model.noLinks;
                if (cut != Doing::Setup) { ASSERT_EQ(Install(cut == Doing::Update ? kOlderStub : kStub).outcome, Outcome::Done); }
                os.Reset();
                os.tornWrites = model.torn;
                os.loseUnflushedRegistry = model.lost;
                os.beforeChange = [this] { ExpectGameSafe(); };
                os.changesLeft = n;
                (void)(cut == Doing::Uninstall ? setup::GiveGameBack(os) : Install());
                ExpectGameSafe();
                os.beforeChange = nullptr;
                os.changesLeft = -1;
                const auto again = next == Doing::Setup ? Install() : setup::GiveGameBack(os);
                EXPECT_NE(setup::ExitCode(again.outcome), 2) << again.message;
                next == Doing::Setup ? ExpectInstalled() : ExpectUninstalled();
                if (!os.cut) break;
                ASSERT_LT(n, 40);
            }
}

// A step fails, and then one of the undos: the undoing stops there, and what
// is left is what the record describes, so the next run finishes or undoes
// it. A run that says everything was put back (2) left everything as it was.
TEST_F(GameSwap, AnUndoThatFailsStopsWithTheRecordForTheNextRun) {
    for (Doing run : {Doing::Setup, Doing::Update, Doing::Uninstall}) {
        // Each run is tried with each change failing, then with each later
        // one failing as well; the first try counts the changes to try.
        auto attempt = [&](int step, int undo) {
            SCOPED_TRACE(Name(run) + ", change " + std::to_string(step) + " fails, then " + std::to_string(undo));
            os = FakeServices();
            SetUp();
            if (run != Doing::Setup) { EXPECT_EQ(Install(run == Doing::Update ? kOlderStub : kStub).outcome, Outcome::Done); }
            os.Reset();
            os.failing = {step, undo};
            os.beforeChange = [this] { ExpectGameSafe(); };
            const auto before = Snapshot();
            const auto report = run == Doing::Uninstall ? setup::GiveGameBack(os) : Install();
            os.beforeChange = nullptr;
            ExpectGameSafe();
            if (setup::ExitCode(report.outcome) == 2) { EXPECT_TRUE(Snapshot() == before) << report.message; }
            const int changes = os.changes;
            os.failing.clear();
            const auto finish = run == Doing::Uninstall ? setup::GiveGameBack(os) : Install();
            EXPECT_NE(setup::ExitCode(finish.outcome), 2) << finish.message;
            run == Doing::Uninstall ? ExpectUninstalled(report.message.find("spare copy") != std::string::npos)
                                    : ExpectInstalled();
            return changes;
        };
        const int total = attempt(-1, -1);
        for (int step = 0; step < total; ++step)
            for (int undo = step + 1, changes = attempt(step, -1); undo < changes; ++undo) attempt(step, undo);
    }
}

// A folder swapped for a junction while setup works: setup stops where it
// is, undoes nothing through the path, and keeps its record.
TEST_F(GameSwap, StopsWhenTheGameFolderIsReplacedMeanwhile) {
    os.beforeChange = [this] {
        if (os.changes == 6) os.folderReplaced = true;
    };
    auto report = Install();
    EXPECT_EQ(report.outcome, Outcome::Broken) << report.message;
    EXPECT_NE(report.message.find("replaced"), std::string::npos);
    EXPECT_TRUE(Recorded());
    os.beforeChange = nullptr;
    os.folderReplaced = false;
    EXPECT_EQ(Install().outcome, Outcome::Done);
    ExpectInstalled();
}

// Setup's own leftovers: with its record there, a stub or a file an
// administrator began under one of setup's names goes, and the run goes on.
TEST_F(GameSwap, RemovesOnlyWhatAnInterruptedRunOfItsOwnLeft) {
    ASSERT_EQ(Install().outcome, Outcome::Done);
    os.AddFile(kNewStub, "MZ half a stu");
    os.AddFile(kAsides[1], kOlderStub);
    EXPECT_EQ(Install().outcome, Outcome::Updated);
    ExpectInstalled();
    // A second name of another file, or a file another account made, is
    // not one setup makes there.
    os.AddFile(kNewStub, "MZ half a stu");
    ASSERT_TRUE(os.LinkFile(kNewStub, kFolder + "\\elsewhere"));
    EXPECT_EQ(Install().outcome, Outcome::Refused);
    EXPECT_TRUE(os.HasFile(kNewStub));
    ASSERT_TRUE(os.RemoveFile(kFolder + "\\elsewhere"));
    os.files[FakeServices::Key(kNewStub)].ownedByAdministrators = false;
    EXPECT_EQ(Install().outcome, Outcome::Refused);
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
