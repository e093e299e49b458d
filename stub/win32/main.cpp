// Brennic.exe: stands in the game folder under the game's file name and
// starts the renamed game, Brennic_Original.exe.

#include <windows.h>

#include "platform/win32/system_library.h"
#include "platform/win32/win32_services.h"
#include "stub/win32/brennic_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    platform::win32::LimitLibrarySearchToSystemFolder();
    platform::win32::Win32Services os;
    stub::win32::BrennicWindow window(instance, os);
    window.Load();
    if (window.CreationFailed()) {
        ::MessageBoxW(nullptr, L"Brennic cannot create its window.", L"Brennic", MB_OK | MB_ICONERROR);
        return stub::kExitGameNotStarted;
    }
    // The game started at once (or could not be), and no window was made.
    if (!window.Loaded()) return window.exitCode();

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.DialogKey(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return window.exitCode();
}
