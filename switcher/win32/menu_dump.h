#pragma once
// For the end-to-end tests: another process cannot read a popup menu under
// Wine, so when VANTREL_MENU_DUMP names a file, each opening of the tray menu
// writes the menu as it is into that file first. Nothing else reads it.

#include <windows.h>

namespace switcher::win32 {

void DumpMenuIfAsked(HMENU menu);

}  // namespace switcher::win32
