#pragma once
// The program's one icon. The window classes take it at the two sizes of the
// system DPI, loaded shared: the system owns them and frees them with the
// program. The notification area takes it at its own size for a DPI, owned
// by the caller.

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
    HICON big = nullptr;    // title bar in Alt+Tab, the taskbar
    HICON little = nullptr;  // caption

    static Icons Load();
    // The icon drawn for `side` pixels square, from the image of that size
    // when the file has one.
    static UniqueIcon LoadSquare(int side);
};

}  // namespace switcher::win32
