#pragma once
// Layout in twips scaled for the monitor a window is on. The calls that know
// about per-monitor DPI came with Windows 10; they are looked up at run time
// so that the program still starts on Windows 7, where the system DPI holds.

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace switcher::win32 {

inline constexpr UINT kWmDpiChanged = 0x02E0;  // WM_DPICHANGED
inline constexpr int kTwipsPerInch = 1440;

struct FontTraits {
    using Handle = HFONT;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};
using UniqueFont = platform::win32::UniqueResource<FontTraits>;

UINT SystemDpi();
UINT WindowDpi(HWND window);

inline int TwipsToPixels(int twips, UINT dpi) { return ::MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch); }

// The window size that gives a client area of the given size in twips.
SIZE WindowSizeForClient(int clientTwipsWide, int clientTwipsHigh, DWORD style, DWORD exStyle,
                         UINT dpi);

// Places the window, of the given outer size, in the middle of the work area
// of the monitor it is on.
void CentreOnItsMonitor(HWND window, SIZE size);

// The system's message-box font at the given DPI.
UniqueFont MessageFont(UINT dpi);

// Gives every child window the font.
void SetFontOnChildren(HWND parent, HFONT font);

}  // namespace switcher::win32
