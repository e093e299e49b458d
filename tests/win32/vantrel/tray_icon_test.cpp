// The tray icon while a question is open, and what the shipped program does
// with the variable that once made it write its menu to a file.

#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/text.h"
#include "tests/win32/vantrel/recording_window.h"
#include "tests/win32/vantrel/vantrel_test.h"

namespace e2e {
namespace {

using TrayIcon = VantrelTest;

TEST_F(TrayIcon, AClickWhileAQuestionIsOpenBringsItToTheFront) {
    Start();
    Choose("dddddddde");  // Exit
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    // A full-screen game host, say, comes over the question.
    RecordingWindow cover(L"Vantrel test: covers the question");
    SetForegroundWindow(cover.handle());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == cover.handle(); }));

    // Under Wine, another process that sees the X focus leave its window may
    // hand the foreground to the desktop just after the switch; a second
    // click then finds the question in front, as a user's would. A program
    // that ignores the click never brings it, however often.
    bool inFront = false;
    for (int click = 0; click < 3 && !inFront; ++click) {
        PostMessageW(config(), 1400, 0, WM_LBUTTONUP);
        inFront = WaitUntil([&] { return GetForegroundWindow() == box; }, 2000ms);
    }
    EXPECT_TRUE(inFront) << "the question stayed behind \"" << Utf8(WindowText(GetForegroundWindow())) << "\"";
    EXPECT_TRUE(WaitUntil([&] {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        return GetGUIThreadInfo(vantrel().mainThreadId(), &gui) && (gui.hwndFocus == box || IsChild(box, gui.hwndFocus));
    })) << "the question has no focus";
    EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr) << "a menu opened over the question";
    AnswerMessageBox(box, IDCANCEL);
    EXPECT_TRUE(WaitForWindowGone(box));
}

TEST_F(TrayIcon, TheMenuFileVariableWritesNothing) {
    const std::wstring file = scratch_ / L"menu.txt";
    ScopedEnvironment variable(L"VANTREL_MENU_DUMP", file);
    Start();
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0c");
    EXPECT_FALSE(FileExists(file));
}

}  // namespace
}  // namespace e2e
