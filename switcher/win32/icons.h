#pragma once
// The program's one icon. The window classes take it at the large size of
// the system DPI loaded shared: the system owns that one and frees it with
// the program. Every other size is loaded unshared and owned here: the
// system's cache of shared icons matches by the resource alone, whatever
// size was asked for, so a second size loaded shared could come back as the
// first.

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace switcher::win32 {

struct IconTraits {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DestroyIcon(h); }
};
using UniqueIcon = platform::win32::UniqueResource<IconTraits>;

struct Icons {
    HICON big = nullptr;  // title bar in Alt+Tab, the taskbar
    // The caption's, at the small-icon size of the DPI of the main monitor,
    // where the windows open.
    UniqueIcon little;

    static Icons Load();
    // The icon drawn for `side` pixels square, from the image of that size
    // when the file has one.
    static UniqueIcon LoadSquare(int side);
};

// A window's own caption icon once its DPI changed: at the small-icon size
// of its new DPI.
class CaptionIcon {
public:
    void Fit(HWND window, UINT dpi);

private:
    UniqueIcon icon_;  // the window's until it takes the next
};

}  // namespace switcher::win32
