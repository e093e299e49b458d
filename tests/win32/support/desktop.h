#pragma once
// Finding and driving the top-level windows of the programs under test, the
// way a user would: by caption, with button clicks and close requests. Every
// message is posted, never sent, so a handler that opens a message box
// cannot block the test that has to answer it.

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/win32/support/wait.h"

namespace e2e {

// Top-level windows whose whole caption is `caption` (exactly, with case),
// of class `className` when given, and of process `processId` when non-zero.
// Hidden windows are included only when `visibleOnly` is false.
struct WindowQuery {
    std::wstring caption;
    std::wstring className;  // empty: any class
    DWORD processId = 0;     // 0: any process
    bool visibleOnly = true;
};
std::vector<HWND> FindWindows(const WindowQuery& query);

// Polls until a window matching the query exists; answers it, or nullptr
// after `timeout`.
HWND WaitForWindow(const WindowQuery& query, Milliseconds timeout = 5000ms);
// Polls until the window no longer exists; answers whether it went.
bool WaitForWindowGone(HWND window, Milliseconds timeout = 5000ms);

// A message box ("#32770") with this title, of this process when non-zero.
HWND WaitForMessageBox(const std::wstring& title, DWORD processId = 0,
                       Milliseconds timeout = 5000ms);
// The text a message box shows (its static child with id 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Answers a message box as its button would (IDOK, IDCANCEL...).
void AnswerMessageBox(HWND box, int button = IDOK);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// The child control with this id (GetDlgItem), or nullptr.
HWND Child(HWND parent, int id);
// A child window of this class and caption, or nullptr.
HWND ChildByText(HWND parent, const std::wstring& className, const std::wstring& text);

// Presses a button (posts BM_CLICK).
void Click(HWND button);
// Asks a window to close as its close button would (posts WM_CLOSE).
void RequestClose(HWND window);
// Clicks entry `index` of a list box as the mouse does (scrolled into view
// first), so the list's owner sees the user's selection change.
void ClickListEntry(HWND list, int index);

// Icons shown in Wine's stand-alone notification area ("Wine System Tray").
int TrayIcons();

// Client area and frame in screen pixels.
RECT ClientRectOnScreen(HWND window);
RECT WindowRectOnScreen(HWND window);

}  // namespace e2e
