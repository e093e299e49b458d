#pragma once
// A program that cannot go on says so once. The first failure shows its
// message; a failure after it, on another thread or on the message's own,
// ends the process at once: never a second box over the first. Portable, so
// that it is tested away from Windows.

#include <atomic>

namespace platform {

class FirstFailure {
public:
    // True for the first caller in the process's life only, whatever thread
    // it runs on.
    bool Claim() { return !claimed_.exchange(true); }

private:
    std::atomic<bool> claimed_{false};
};

}  // namespace platform
