#pragma once
// What the running program knows about itself: its file, its argument text
// and whether another copy of it runs.

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/unique_handle.h"

namespace platform::win32 {

// The full path of the running program's file; empty if the system cannot say.
std::wstring ProgramPath();
// The folder of `path`, without a trailing separator unless it is a drive root.
std::wstring FolderOf(std::wstring_view path);

// Everything after the program path and the blanks and tabs that follow it,
// unchanged. The path ends where the C runtime (msvcrt) and
// CommandLineToArgvW end argv[0]: a path that opens with a double quote ends
// at the next one, any other at the first blank or tab. So
// "C:\My Games\x.exe" a b and C:\Games\x.exe a b both give `a b`.
std::wstring ArgumentTextOf(std::wstring_view commandLine);

// "Local\Vantrel.Instance.<file name without extension, lower case>": one
// name per program in the user's session, whatever folder it was started from.
std::wstring InstanceMutexName(std::wstring_view programPath);

// The first call claims the program's name for the life of this object and
// answers whether another instance had claimed it first; later calls repeat
// that answer.
class InstanceClaim {
public:
    bool AnotherInstanceRunning();

private:
    UniqueHandle mutex_;
    std::optional<bool> another_;
};

}  // namespace platform::win32
