#pragma once
// A program the benchmark starts. One still running when its object goes
// away is terminated, so a failed measurement leaves nothing behind that
// would disturb the next one.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/unique_handle.h"

namespace bench {

class ChildProcess {
public:
    // Starts `program` (quoted on its command line) with `arguments`. On
    // failure the object holds no process and Error() says why.
    ChildProcess(const std::wstring& program, const std::wstring& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    const std::string& Error() const { return error_; }
    DWORD Id() const { return id_; }
    bool Running() const;
    // The exit code once the program has ended within `milliseconds`.
    std::optional<DWORD> WaitForExit(DWORD milliseconds);
    // True once the program waits in its message loop.
    bool WaitUntilIdle(DWORD milliseconds);

private:
    platform::win32::UniqueHandle process_;
    DWORD id_ = 0;
    std::string error_;
};

// Waits up to `milliseconds` for the process with this id to end; true when
// it has ended or is already gone.
bool WaitForProcessGone(DWORD processId, DWORD milliseconds);

// The system's words for the last error, after `what`.
std::string LastErrorText(const std::string& what);

}  // namespace bench
