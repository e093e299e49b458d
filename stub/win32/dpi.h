#pragma once
// Pixels at the DPI of the monitor a window is on. The per-monitor calls came
// with Windows 8.1 and 10; they are looked up at run time so that the stub
// still starts on Windows 7, where the system DPI holds for every window.

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace stub::win32 {

inline constexpr UINT kDefaultDpi = 96;
inline constexpr UINT kWmDpiChanged = 0x02E0;  // WM_DPICHANGED

struct FontTraits {
    using Handle = HFONT;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};
using UniqueFont = platform::win32::UniqueResource<FontTraits>;

// Pixels at 96 DPI scaled to `dpi`.
inline int Scale(int pixelsAt96, UINT dpi) {
    return ::MulDiv(pixelsAt96, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

UINT SystemDpi();
UINT MonitorDpi(HMONITOR monitor);
UINT WindowDpi(HWND window);

// The outer size of a window with this style whose client area is `client`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// The system's message-box font at `dpi`; empty when the system cannot say.
UniqueFont MessageFont(UINT dpi);

}  // namespace stub::win32
