// The tray icon while a question is open, and what the shipped program does
// with the variable that once made it write its menu to a file.

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <windows.h>
#include <shellapi.h>

#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/text.h"
#include "tests/win32/vantrel/recording_window.h"
#include "tests/win32/vantrel/vantrel_test.h"

namespace e2e {
namespace {

class TrayIcon : public VantrelTest {
protected:
    // Vantrel started, with its Exit question open; null when none came.
    HWND OpenExitQuestion() {
        Start();
        Choose(kToExit);
        return WaitForQuestion();
    }
    // Another program's window takes the foreground from the question.
    bool TakesTheForeground(HWND window) {
        SetForegroundWindow(window);
        return WaitUntil([&] { return GetForegroundWindow() == window; });
    }
};

// Where Wine's Shell_NotifyIconW puts the icon's width in the record it
// sends its tray: after the window, id, flags, callback, tip[128], state,
// mask, info[256], timeout, infoTitle[64], infoFlags and guid fields.
constexpr std::size_t kIconWidthAt = 944;

// A notification area of the test's own, found before Wine's (topmost) by
// every Shell_NotifyIcon call: it refuses icons until it accepts them, as a
// shell still starting does, and keeps each NIM_ADD and NIM_MODIFY: taken or
// not, and the icon's width; and counts NIM_DELETE.
class StandInTray {
public:
    StandInTray() : thread_([this] { Run(); }) { WaitUntil([&] { return window_.load() != nullptr; }); }
    ~StandInTray() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    std::atomic<bool> accepting{false};
    std::atomic<int> deletes{0};
    std::vector<std::pair<bool, UINT>> Adds() {
        std::lock_guard<std::mutex> lock(mutex_);
        return adds_;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<StandInTray*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (message == WM_DESTROY) PostQuitMessage(0);
        if (message != WM_COPYDATA || !self) return DefWindowProcW(window, message, wParam, lParam);
        if (copy->dwData == NIM_DELETE) ++self->deletes;
        if ((copy->dwData == NIM_ADD || copy->dwData == NIM_MODIFY) && copy->cbData >= kIconWidthAt + sizeof(UINT)) {
            std::lock_guard<std::mutex> lock(self->mutex_);
            UINT width = 0;
            std::memcpy(&width, static_cast<const BYTE*>(copy->lpData) + kIconWidthAt, sizeof width);
            self->adds_.emplace_back(self->accepting.load(), width);
        }
        return self->accepting.load();
    }
    void Run() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Procedure;
        wc.lpszClassName = L"Shell_TrayWnd";
        RegisterClassW(&wc);
        HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, nullptr, WS_POPUP, 0, 0, 1, 1, nullptr,
                                      nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        window_ = window;
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    }
    std::atomic<HWND> window_{nullptr};
    std::mutex mutex_;
    std::vector<std::pair<bool, UINT>> adds_;
    std::thread thread_;
};

// A shell still starting at log-on refuses icons, its "TaskbarCreated" maybe
// sent already: Vantrel asks until the icon is taken, at the notification
// area's size for the display scale (LogPixels, read by Wine at a start).
TEST_F(TrayIcon, ARefusedIconIsAskedForUntilTakenAt24PixelsFor144Dpi) {
    StandInTray tray;
    const wchar_t* desktop = L"Control Panel\\Desktop";
    DWORD dpi = 144, before = 0, size = sizeof before;
    const bool had = !RegGetValueW(HKEY_CURRENT_USER, desktop, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &before, &size);
    RegSetKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    Start();
    if (had) RegSetKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels", REG_DWORD, &before, sizeof before);
    else RegDeleteKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels");

    EXPECT_TRUE(WaitUntil([&] { return tray.Adds().size() >= 2; }, 4000ms)) << "a refused icon was not asked for again";
    tray.accepting = true;
    // The second refusal doubled the wait to 2 s.
    ASSERT_TRUE(WaitUntil([&] { auto a = tray.Adds(); return !a.empty() && a.back().first; }, 4000ms));
    const auto asked = tray.Adds().size();
    EXPECT_TRUE(StillTrueAfter([&] { return tray.Adds().size() == asked; }, 1500ms)) << "asked again once taken";
    for (const auto& add : tray.Adds()) EXPECT_EQ(add.second, 24u);
}

// A shell busy at log-on can time out on NIM_ADD and take the icon all the
// same: the icon is deleted at the end, though no add seemed taken.
TEST_F(TrayIcon, AnIconThatSeemedRefusedIsDeletedAtTheEnd) {
    StandInTray tray;
    Start();
    const int deletes = tray.deletes;
    ASSERT_TRUE(EndByCloseButton());
    EXPECT_GT(tray.deletes, deletes);
}

// The notification area draws at the DPI of the taskbar's monitor: the
// options window moving to a monitor of another scale leaves the icon alone.
TEST_F(TrayIcon, KeepsItsSizeWhenTheOptionsWindowMovesToAnotherDpi) {
    StandInTray tray;
    tray.accepting = true;
    Start();
    ASSERT_EQ(tray.Adds().size(), 1u);
    EXPECT_EQ(CaptionsThatDoNotFit(config(), 192), L"done");  // WM_DPICHANGED, hidden
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    EXPECT_EQ(CaptionsThatDoNotFit(config(), 144), L"done");  // and shown
    EXPECT_TRUE(StillTrueAfter([&] { return tray.Adds().size() == 1; }, 500ms)) << "the icon was given another size";
    EXPECT_EQ(tray.Adds()[0].second, 16u);
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
    ASSERT_TRUE(window && GetWindowRect(window, &r));
    Process xdotool(kXdotool, L"mousemove " + std::to_wstring((r.left + r.right) / 2) + L" " +
                                                   std::to_wstring((r.top + r.bottom) / 2) + L" click 1");
}

TEST_F(TrayIcon, AClickWhileAQuestionIsOpenBringsItToTheFront) {
    if (GetFileAttributesW(kXdotool) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no xdotool on the host to click with";
    HWND box = OpenExitQuestion();
    ASSERT_NE(box, nullptr);
    // A full-screen game host, say, comes over the question.
    RecordingWindow cover(L"Vantrel test: covers the question");
    ASSERT_TRUE(TakesTheForeground(cover.handle()));

    ClickWithPointer(OurTrayIcon());
    const bool inFront = WaitUntil([&] { return GetForegroundWindow() == box; }, 1500ms);
    EXPECT_TRUE(inFront) << "the question stayed behind \"" << Utf8(WindowText(GetForegroundWindow())) << "\"";
    EXPECT_TRUE(WaitUntil([&] {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        return GetGUIThreadInfo(vantrel().mainThreadId(), &gui) && (gui.hwndFocus == box || IsChild(box, gui.hwndFocus));
    })) << "the question has no focus";
    EXPECT_FALSE(MenuOpen()) << "a menu opened over the question";
    AnswerMessageBox(box, IDCANCEL);
    EXPECT_TRUE(WaitForWindowGone(box));
}

TEST_F(TrayIcon, AClickWhileAHungWindowIsInFrontLeavesVantrelAnswering) {
    HWND box = OpenExitQuestion();
    ASSERT_NE(box, nullptr);
    RecordingWindow hung(L"Vantrel test: stops answering");
    ASSERT_TRUE(TakesTheForeground(hung.handle()));
    hung.Freeze(3000);
    Sleep(100);
    PostMessageW(config(), 1400, 0, WM_LBUTTONUP);
    AnswerMessageBox(box, IDCANCEL);  // posted: it waits for the click to have returned
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
