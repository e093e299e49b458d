#pragma once
// Starts the window farm (bench_window_farm) and ends it again.

#include <optional>
#include <string>
#include <vector>

#include "tools/bench/child_process.h"

namespace bench {

class WindowFarm {
public:
    // Starts the farm and waits up to `milliseconds` for all its windows.
    // Ready() tells whether they came; Error() says why not.
    WindowFarm(const std::wstring& farmProgram, int count, DWORD milliseconds);

    bool Ready() const { return ready_; }
    const std::string& Error() const { return error_; }
    unsigned long Id() const { return process_.Id(); }
    int Count() const { return count_; }
    std::wstring Title(int index) const;

    // Closes the control window and returns how many WM_CLOSE the farm's
    // other windows received, or nothing when it does not end in time.
    std::optional<DWORD> Stop(DWORD milliseconds);

private:
    ChildProcess process_;
    int count_;
    bool ready_ = false;
    std::string error_;
};

}  // namespace bench
