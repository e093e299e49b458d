// Where the DLLs a program loads on first use (Brennic's window DLLs) come
// from: the system folder, like every library the programs load by name.
// MinGW's delay-load helper asks this hook before it loads a DLL, and would
// otherwise search for the bare name, the program's own folder included.
//
// Linked into the release programs as an object of its own: the helper's
// library defines an empty hook, which an archive member of ours could not
// displace.

#include <windows.h>

#include <delayimp.h>

#include "platform/win32/system_library.h"

namespace {

FARPROC WINAPI LoadFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) return nullptr;
    // DLL names in the import data are ASCII.
    wchar_t name[MAX_PATH];
    int length = 0;
    for (; info->szDll[length] && length < MAX_PATH - 1; ++length)
        name[length] = static_cast<unsigned char>(info->szDll[length]);
    name[length] = L'\0';
    if (HMODULE module = platform::win32::LoadSystemLibrary(name)) return reinterpret_cast<FARPROC>(module);
    // Not there: fail as the helper itself fails, rather than returning
    // nothing and letting it search further.
    info->dwLastError = ::GetLastError();
    ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(info);
    ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 1, &argument);
    return nullptr;
}

}  // namespace

// Declared with C linkage by <delayimp.h>.
PfnDliHook __pfnDliNotifyHook2 = LoadFromSystemFolder;
