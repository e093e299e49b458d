// The game watcher of Vantrel.exe: the 1.0e question when the host launches
// the game, and the whole launch from the host to the close pass.

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/standin_record.h"
#include "tests/win32/support/text.h"
#include "tests/win32/vantrel/recording_window.h"
#include "tests/win32/vantrel/vantrel_test.h"

namespace e2e {
namespace {

const std::wstring kHostTitle = L"Host is Launching game.";
const std::wstring kGameTitle = L"Age Of Empires II Expansion";
const std::wstring kQuestion = L"Do you want to swtich 1.0e?\r\nOK for 1.0e\r\nCancel for 1.0c";

class Watcher : public VantrelTest {
protected:
    bool NoQuestionFor(Milliseconds period) {
        return StillTrueAfter([&] { return OpenMessageBoxes() == 0; }, period);
    }
    // The game's window for long enough that a tick has seen it.
    void GameWindowSeen() { RecordingWindow game(kGameTitle); Sleep(600); }
};

TEST_F(Watcher, TheHostWindowBringsOneQuestionPerLaunchAndTheBuildFollowsTheAnswer) {
    StoreOption(L"Launching", L"1");
    Start();
    auto host = std::make_unique<RecordingWindow>(kHostTitle);
    HWND box = WaitForQuestion(2000ms);
    ASSERT_NE(box, nullptr) << "no question while the host launches the game";
    EXPECT_EQ(MessageBoxText(box), kQuestion);
    EXPECT_EQ(GetForegroundWindow(), box) << "the question opened behind the host";
    // The player takes a few seconds; the ticks that come meanwhile ask nothing more.
    EXPECT_TRUE(StillTrueAfter([&] { return OpenMessageBoxes() == 1; }, 3000ms));
    AnswerMessageBox(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(marker_); }));
    EXPECT_TRUE(NoQuestionFor(600ms)) << "asked again for the same launch";
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0e");

    // A second launch is asked about only once the game's window was seen.
    host = std::make_unique<RecordingWindow>(kHostTitle);
    EXPECT_TRUE(NoQuestionFor(600ms));
    GameWindowSeen();
    box = WaitForQuestion(2000ms);
    ASSERT_NE(box, nullptr) << "no question for the next launch";
    AnswerMessageBox(box, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(marker_); }));
    EXPECT_TRUE(NoQuestionFor(500ms));
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0c");
    EXPECT_EQ(host->closeRequests(), 0);
}

TEST_F(Watcher, NoQuestionWhileLaunchingIsOffOrTheGameIsThere) {
    Start();
    RecordingWindow host(kHostTitle);
    EXPECT_TRUE(NoQuestionFor(600ms));
    {
        // Both windows at once: the game's window wins.
        RecordingWindow game(kGameTitle);
        Choose(kToOptions);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
        Click(GetDlgItem(config(), IDC_ASK_TO_SWITCH));
        ASSERT_TRUE(WaitUntil([&] { return Checked(IDC_ASK_TO_SWITCH); }));
        EXPECT_TRUE(NoQuestionFor(600ms));
    }
    // Checked and the game gone: the next tick asks.
    HWND box = WaitForQuestion(2000ms);
    ASSERT_NE(box, nullptr);
    AnswerMessageBox(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(marker_); }));
    // Titles are matched whole.
    host.Destroy();
    GameWindowSeen();
    RecordingWindow almost(L"Host is Launching game");
    RecordingWindow more(L"Host is Launching game. ");
    EXPECT_TRUE(NoQuestionFor(600ms));
}

TEST_F(Watcher, TheTypicalLaunchRunsFromTheHostToTheClosePass) {
    ASSERT_TRUE(CopyFileTo(BuiltProgram(L"Brennic.exe"), gameFolder_ + L"\\Brennic.exe"));
    ASSERT_TRUE(CopyFileTo(BuiltProgram(L"standin_game.exe"), gameFolder_ + L"\\Brennic_Original.exe"));
    StoreOption(L"Launching", L"1");
    StoreOption(L"Program", L"1");
    RecordingWindow chat(L"Vantrel test chat");
    Start();

    // The player picks the application to close when the game runs.
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    int entry = EntryIndex(L"Vantrel test chat");
    ASSERT_GE(entry, 0);
    ClickEntry(entry);
    Click(GetDlgItem(config(), IDC_OPTIONS_OK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(config()); }));

    // The host shows its window and starts the game's executable, the stub.
    ScopedEnvironment gameWindow(L"VANTREL_STANDIN_WINDOW_MS", L"3000");
    const std::wstring arguments = L"-lobby 1 \"two words\"";
    Process host(BuiltProgram(L"standin_host.exe"),
                 L"/launch:1500 /close:3000 \"" + gameFolder_ + L"\\Brennic.exe\" " + arguments);
    HWND box = WaitForQuestion(3000ms);
    ASSERT_NE(box, nullptr) << "no question at the host's launch";
    AnswerMessageBox(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return FileExists(marker_); }));

    // The stub asks with its own window, then starts the game with 1.0e.
    ASSERT_TRUE(WaitUntil([&] { return ReadStandinRecordsIn(gameFolder_).size() == 1; }, 8000ms))
        << "the game was not started";
    StandinRecord game = ReadStandinRecordsIn(gameFolder_).front();
    EXPECT_EQ(Wide(game.arguments), arguments);
    EXPECT_EQ(game.marker, "present");
    EXPECT_EQ(ReadFileBytes(gameFolder_ + L"\\WriteCommandTxt.ini"), "\"" + Utf8(arguments) + "\"\r\n");

    // The game's window closes the chosen application and re-arms the question.
    ASSERT_TRUE(WaitUntil([&] { return chat.closeRequests() == 1; })) << "the chat was not asked to close";
    EXPECT_TRUE(WaitUntil([&] { return ListEntries().empty(); }));
    EXPECT_TRUE(host.WaitForExit(5000ms).has_value());
    EXPECT_EQ(OpenMessageBoxes(), 0);
    EXPECT_EQ(chat.closeRequests(), 1);
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0e");
}

// A measurement, not a check: run with --gtest_also_run_disabled_tests.
TEST_F(Watcher, DISABLED_TimeFromTheHostWindowToTheQuestion) {
    StoreOption(L"Launching", L"1");
    Start();
    std::vector<double> latencies;
    for (int launch = 0; launch < 25; ++launch) {
        auto shown = std::chrono::steady_clock::now();
        RecordingWindow host(kHostTitle);
        HWND box = WaitForMessageBox(L"Vantrel", vantrel().id(), 3000ms);
        ASSERT_NE(box, nullptr);
        latencies.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - shown).count());
        AnswerMessageBox(box, IDCANCEL);
        ASSERT_TRUE(WaitForWindowGone(box));
        host.Destroy();
        GameWindowSeen();
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("host window to question over %zu launches: median %.0f ms, longest %.0f ms\n", latencies.size(),
                latencies[latencies.size() / 2], latencies.back());
}

}  // namespace
}  // namespace e2e
