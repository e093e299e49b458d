#pragma once
// The program's one icon, at the two sizes the system asks for. Loaded
// shared: the system owns them and frees them with the program.

#include <windows.h>

namespace switcher::win32 {

struct Icons {
    HICON big = nullptr;    // title bar in Alt+Tab, the taskbar
    HICON little = nullptr;  // caption, notification area

    static Icons Load();
};

}  // namespace switcher::win32
