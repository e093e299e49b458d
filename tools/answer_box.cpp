// Answers a message box for the demo, as a player would: waits for a box
// with the given title and presses OK or Cancel on it.
//
//   answer_box.exe <title> ok|cancel [timeout ms, default 10000]
//
// It prints "shown" when the box has appeared.
// Exit code: 0 when a box was answered, 1 when none appeared in time, 2 for
// a command line it does not understand.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const wchar_t* title = argv[1];
    int button = 0;
    if (_wcsicmp(argv[2], L"ok") == 0) button = IDOK;
    if (_wcsicmp(argv[2], L"cancel") == 0) button = IDCANCEL;
    if (button == 0) return 2;
    const DWORD timeout = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 10000;

    const ULONGLONG deadline = GetTickCount64() + timeout;
    while (GetTickCount64() < deadline) {
        if (HWND box = FindWindowW(L"#32770", title)) {
            // Let the player (and the demo's screenshot) see it first.
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            Sleep(1500);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
