#pragma once
// Starting a program under test and waiting for it to end. A process still
// running when its Process object goes away is terminated, so a failing test
// leaves nothing behind to disturb the next one.

#include <optional>
#include <string>

#include <windows.h>

#include "tests/win32/support/wait.h"

namespace e2e {

class Process {
public:
    // Starts `program` (full path, quoted on the command line so a blank in
    // it never splits it) with `arguments` as its argument text, in
    // `workingFolder` (empty: this process's). Throws std::runtime_error with
    // the system's reason when it cannot start.
    Process(const std::wstring& program, const std::wstring& arguments,
            const std::wstring& workingFolder = L"");
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD id() const { return info_.dwProcessId; }
    DWORD mainThreadId() const { return info_.dwThreadId; }
    HANDLE handle() const { return info_.hProcess; }

    // The exit code once it has ended within `timeout`, else nothing.
    std::optional<DWORD> WaitForExit(Milliseconds timeout = 5000ms);
    bool Running();
    void Terminate();

private:
    PROCESS_INFORMATION info_{};
};

// Sets an environment variable of this process, which started programs
// inherit, for the life of this object; puts back the previous value.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::wstring name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring name_;
    std::optional<std::wstring> previous_;
};

}  // namespace e2e
