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

// Our icon in Wine's stand-alone tray: the newest, rightmost one.
HWND OurTrayIcon() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr), ours = nullptr;
    RECT r{}, best{};
    for (HWND icon = FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr); icon;
         icon = FindWindowExW(tray, icon, L"__winex11_tray_icon", nullptr))
        if (GetWindowRect(icon, &r) && (!ours || r.left > best.left)) ours = icon, best = r;
    return ours;
}

// A click of the pointer through the X server, as a user's hand makes it:
// xdotool, a program of the host, which Wine starts without a handle to wait on.
constexpr const wchar_t* kXdotool = L"Z:\\usr\\bin\\xdotool";
void ClickWithPointer(HWND window) {
    RECT r{};
    ASSERT_TRUE(GetWindowRect(window, &r));
    Process xdotool(kXdotool, L"mousemove " + std::to_wstring((r.left + r.right) / 2) + L" " +
                                                   std::to_wstring((r.top + r.bottom) / 2) + L" click 1");
}

TEST_F(TrayIcon, OneClickBringsAnOpenQuestionToTheFront) {
    if (GetFileAttributesW(kXdotool) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no xdotool on the host to click with";
    Start();
    Choose("dddddddde");  // Exit
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    // A full-screen game host, say, comes over the question.
    RecordingWindow cover(L"Vantrel test: covers the question");
    SetForegroundWindow(cover.handle());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == cover.handle(); }));

    HWND icon = OurTrayIcon();
    ASSERT_NE(icon, nullptr);
    ClickWithPointer(icon);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; }, 1500ms))
        << "the question stayed behind \"" << Utf8(WindowText(GetForegroundWindow())) << "\"";
    EXPECT_TRUE(WaitUntil([&] {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        return GetGUIThreadInfo(vantrel().mainThreadId(), &gui) && (gui.hwndFocus == box || IsChild(box, gui.hwndFocus));
    })) << "the question has no focus";
    EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr) << "a menu opened over the question";
    AnswerMessageBox(box, IDCANCEL);
    EXPECT_TRUE(WaitForWindowGone(box));
}

TEST_F(TrayIcon, AClickWhileAHungWindowIsInFrontLeavesVantrelAnswering) {
    Start();
    Choose("dddddddde");  // Exit
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    RecordingWindow hung(L"Vantrel test: stops answering");
    SetForegroundWindow(hung.handle());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hung.handle(); }));
    hung.Freeze(3000);
    Sleep(100);

    PostMessageW(config(), 1400, 0, WM_LBUTTONUP);
    Sleep(100);
    // Posted, the answer waits for the click to have returned.
    AnswerMessageBox(box, IDCANCEL);
    EXPECT_TRUE(WaitForWindowGone(box, 1000ms)) << "Vantrel hangs with the window in front";
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
