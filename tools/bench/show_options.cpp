// bench_show_options: shows a running Vantrel.exe's options window once and
// hides it again, as a user does from the tray menu, so that the bench can
// measure what the window's controls leave in memory. Exits 0 once the window
// is hidden again, 1 with the reason otherwise.

#include <windows.h>

#include <cstdio>

#include "switcher/win32/resource.h"
#include "tests/win32/support/wait.h"

namespace {

using e2e::WaitUntil;

constexpr UINT kTrayCallbackMessage = 1400;

void PressKey(HWND menu, WORD key) {
    PostMessageW(menu, WM_KEYDOWN, key, 0);
    PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
    Sleep(40);
}

int Fail(const char* why) {
    std::fprintf(stderr, "bench_show_options: %s\n", why);
    return 1;
}

}  // namespace

int wmain() {
    HWND options = FindWindowW(L"Vantrel.Config", nullptr);
    if (!options) return Fail("no Vantrel.exe runs");
    // The tray menu's "Show Options", its sixth item.
    PostMessageW(options, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = FindWindowW(L"#32768", nullptr)) != nullptr; })) return Fail("the tray menu did not open");
    for (int i = 0; i < 5; ++i) PressKey(menu, VK_DOWN);
    PressKey(menu, VK_RETURN);
    if (!WaitUntil([&] { return IsWindowVisible(options) != FALSE; })) return Fail("the options window was not shown");
    Sleep(500);  // drawn, as a user would see it
    PostMessageW(GetDlgItem(options, IDC_OPTIONS_OK), BM_CLICK, 0, 0);
    if (!WaitUntil([&] { return !IsWindowVisible(options); })) return Fail("the options window was not hidden");
    return 0;
}
