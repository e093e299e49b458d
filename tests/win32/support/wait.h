#pragma once
// Polling with a deadline: the end-to-end tests watch other processes and
// the file system, which give no notice when something happens.

#include <chrono>
#include <thread>

namespace e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// Polls `condition` every `interval` until it holds or `timeout` has passed;
// answers whether it held. The condition is always tried at least once.
template <typename Condition>
bool WaitUntil(Condition condition, Milliseconds timeout = 5000ms, Milliseconds interval = 10ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
}

// Sleeps, then checks that `condition` still holds: for asserting that
// something does NOT happen within a period.
template <typename Condition>
bool StillTrueAfter(Condition condition, Milliseconds period, Milliseconds interval = 20ms) {
    const auto deadline = std::chrono::steady_clock::now() + period;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!condition()) return false;
        std::this_thread::sleep_for(interval);
    }
    return condition();
}

}  // namespace e2e
