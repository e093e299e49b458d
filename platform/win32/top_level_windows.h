#pragma once
// Window handles and titles as the services pass them: wide-character text,
// so that titles outside the ANSI code page list and match alike.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/services.h"

namespace platform::win32 {

// The window's whole title, however long; empty for a window without one.
std::wstring WholeWindowText(HWND window);

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace platform::win32
