// The tray icon while a question is open, and what the shipped program does
// with the variable that once made it write its menu to a file.

#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/process.h"
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

    PostMessageW(config(), 1400, 0, WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; })) << "the question stayed behind";
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
