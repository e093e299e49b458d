#pragma once
// The desktop's top-level windows, by title, as wide-character text so that
// titles outside the ANSI code page list and match alike.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/services.h"

namespace platform::win32 {

// The window's whole title, however long; empty for a window without one.
std::wstring WholeWindowText(HWND window);

// Highest in the Z order first, hidden windows included.
std::vector<TopLevelWindow> ListTopLevelWindows();
// A top-level window whose whole title matches (the system ignores case), or 0.
WindowHandle FindTopLevelWindow(std::string_view title);
// Queues WM_CLOSE and returns at once.
Status PostClose(WindowHandle window);

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace platform::win32
