// Brennic.exe: stands in the game folder under the game's file name and
// starts the renamed game, Brennic_Original.exe.

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/win32_services.h"
#include "stub/win32/brennic_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    platform::win32::Win32Services os;
    stub::win32::BrennicWindow window(instance, os);
    if (!window.Load()) {
        ::MessageBoxW(nullptr, L"Brennic cannot create its window.", L"Brennic", MB_OK | MB_ICONERROR);
        return stub::kExitGameNotStarted;
    }

    // The load may have closed the window already; its WM_QUIT is waiting.
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.DialogKey(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return window.exitCode();
}
