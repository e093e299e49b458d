#pragma once
// Window layout at the DPI of the monitor a window is on, shared by both
// programs' windows. The per-monitor calls came with Windows 8.1 and 10; they
// are looked up at run time so that the programs still start on Windows 7,
// where the system DPI holds for every window.

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace platform::win32 {

inline constexpr UINT kDefaultDpi = 96;
inline constexpr UINT kWmDpiChanged = 0x02E0;  // WM_DPICHANGED
inline constexpr int kTwipsPerInch = 1440;

struct FontTraits {
    using Handle = HFONT;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};
using UniqueFont = UniqueResource<FontTraits>;

// Pixels at 96 DPI scaled to `dpi`.
inline int Scale(int pixelsAt96, UINT dpi) {
    return ::MulDiv(pixelsAt96, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}
inline int TwipsToPixels(int twips, UINT dpi) {
    return ::MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

UINT SystemDpi();
UINT MonitorDpi(HMONITOR monitor);
UINT WindowDpi(HWND window);

// For each top-level window, in its WM_NCCREATE. The manifest asks for
// per-monitor awareness version 2 and falls back to version 1 where that is
// unknown (Windows 8.1, Windows 10 before 1703). Under version 1 the system
// leaves the frame at the system DPI's size; Windows 10 1607 scales it with
// the window's DPI when asked here.
void ScaleFrameWithDpi(HWND window);

// The outer size of a window with this style whose client area is `client`
// at `dpi`, its frame as the system draws it there.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// Places the window, of the given outer size, in the middle of the work area
// of the monitor it is on.
void CentreOnItsMonitor(HWND window, SIZE size);

// The side of a small icon (caption, notification area) at `dpi`: 16 px at
// 96 DPI, 24 at 144.
int SmallIconSize(UINT dpi);

// The font the windows' twips layouts were made for, at `dpi`: the form
// designer's 8-point MS Sans Serif, in its TrueType face, which every
// Windows since 2000 has and which scales to any DPI. Each caption fits its
// control in it. Neither the system's message font (Segoe UI 9 pt on
// Windows 10 and 11) nor the shell dialog font (Tahoma 8 pt) does: their
// longest captions run past their check boxes.
inline constexpr int kFormFontPoints = 8;
UniqueFont FormFont(UINT dpi);

// Gives every child window the font.
void SetFontOnChildren(HWND parent, HFONT font);

}  // namespace platform::win32
