#pragma once
// Libraries the programs load by name come from the system folder only.
// Brennic runs in the game folder, and on Windows a bare name is also looked
// for in the program's folder and the current one: a DLL of that name
// planted in the game folder would run inside the program.

#include <windows.h>

namespace platform::win32 {

// Makes the system folder the only place that loads by bare name search,
// for the whole process, where Windows can: SetDefaultDllDirectories came
// with Windows 8 and update KB2533623 for Windows 7. Without it, takes the
// current folder out of the search. Called first thing.
void LimitLibrarySearchToSystemFolder();

// Loads the system library `name` ("shcore.dll") from the system folder and
// nowhere else; null when it is not there. Allocates nothing, so it serves
// the program's last words when memory ran out too.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace platform::win32
