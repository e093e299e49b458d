#include "platform/win32/system_library.h"

namespace platform::win32 {

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32 and SetDefaultDllDirectories came together;
// where one exists, so does the other.
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

SetDefaultDllDirectoriesFunction SetDefaultDllDirectoriesIfAny() {
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    return kernel32 ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
                          ::GetProcAddress(kernel32, "SetDefaultDllDirectories")))
                    : nullptr;
}

}  // namespace

void LimitLibrarySearchToSystemFolder() {
    if (auto limit = SetDefaultDllDirectoriesIfAny()) {
        limit(LOAD_LIBRARY_SEARCH_SYSTEM32);
        return;
    }
    // Windows 7 without the update: the program's own folder stays in the
    // search, but the current folder at least leaves it (for the programs
    // this one starts too, which inherit the setting).
    ::SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    // The search limited to the system folder still honours the program's
    // manifest (version 6 of COMCTL32 lives elsewhere, in WinSxS), which a
    // full path would bypass. Without it, the full path of the system copy.
    if (SetDefaultDllDirectoriesIfAny()) return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t path[MAX_PATH];
    const UINT folder = ::GetSystemDirectoryW(path, MAX_PATH);
    const size_t length = static_cast<size_t>(::lstrlenW(name));
    if (folder == 0 || folder + 1 + length >= MAX_PATH) return nullptr;
    path[folder] = L'\\';
    ::lstrcpynW(path + folder + 1, name, static_cast<int>(length + 1));
    return ::LoadLibraryW(path);
}

}  // namespace platform::win32
