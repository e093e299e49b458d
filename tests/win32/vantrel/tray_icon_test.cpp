// The tray icon while a question is open, and what the shipped program does
// with the variable that once made it write its menu to a file.

#include <optional>

#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/text.h"
#include "tests/win32/vantrel/recording_window.h"
#include "tests/win32/vantrel/standin_tray.h"
#include "tests/win32/vantrel/vantrel_test.h"

namespace e2e {
namespace {

using TrayIcon = VantrelTest;

// The display scale programs started meanwhile find (Wine reads it at a
// program's start); the old one comes back afterwards.
class ScopedDisplayDpi {
public:
    explicit ScopedDisplayDpi(DWORD dpi) {
        DWORD size = sizeof previous_;
        had_ = RegGetValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &previous_, &size) ==
               ERROR_SUCCESS;
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
    ~ScopedDisplayDpi() {
        if (had_) RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &previous_, sizeof previous_);
        else RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels");
    }
    ScopedDisplayDpi(const ScopedDisplayDpi&) = delete;
    ScopedDisplayDpi& operator=(const ScopedDisplayDpi&) = delete;

private:
    static constexpr const wchar_t* kKey = L"Control Panel\\Desktop";
    DWORD previous_ = 0;
    bool had_ = false;
};

// A shell that is still starting at log-on refuses icons, and its
// "TaskbarCreated" may have gone out before Vantrel started: Vantrel keeps
// asking until the icon is taken, drawn at the notification area's size.
TEST_F(TrayIcon, ARefusedIconIsAskedForUntilTakenAt24PixelsFor144Dpi) {
    StandInTray tray;
    ASSERT_TRUE(tray.Exists());
    std::optional<ScopedDisplayDpi> dpi(std::in_place, 144);
    Start();
    dpi.reset();
    auto adds = [&](bool accepted) {
        int n = 0;
        for (const auto& r : tray.RequestsFrom(config())) n += r.message == NIM_ADD && r.accepted == accepted;
        return n;
    };
    EXPECT_TRUE(WaitUntil([&] { return adds(false) >= 2; }, 4000ms)) << "a refused icon was not asked for again";
    tray.Accept(true);
    ASSERT_TRUE(WaitUntil([&] { return adds(true) == 1; }, 3000ms)) << "the icon was not asked for once taken";
    EXPECT_TRUE(StillTrueAfter([&] { return adds(true) == 1; }, 1500ms)) << "asked again once taken";
    for (const auto& r : tray.RequestsFrom(config())) {
        if (r.message != NIM_ADD) continue;
        EXPECT_EQ(r.iconWidth, 24);
        EXPECT_EQ(r.iconHeight, 24);
    }
}

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
