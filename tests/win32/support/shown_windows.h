#pragma once
// Watches, from the moment this object exists until it goes, every
// top-level window that is visible on the desktop: to prove that a program
// showed no window at all. Wine reports no EVENT_OBJECT_SHOW to event hooks,
// so a thread of its own polls the desktop every millisecond; a window
// visible for less than that may be missed.

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "tests/win32/support/wait.h"

namespace e2e {

struct ShownWindow {
    DWORD threadId = 0;  // the thread that owns it
    DWORD processId = 0;
    HWND window = nullptr;
    std::wstring caption;
    std::wstring className;
};

class ShownWindowWatch {
public:
    ShownWindowWatch();
    ~ShownWindowWatch();
    ShownWindowWatch(const ShownWindowWatch&) = delete;
    ShownWindowWatch& operator=(const ShownWindowWatch&) = delete;

    // Waits until `process` has ended (or `timeout` passed), watching on;
    // answers whether it ended.
    bool PumpUntilExit(HANDLE process, Milliseconds timeout = 5000ms);

    // The windows seen visible so far, each once; of one process or one
    // thread when non-zero.
    std::vector<ShownWindow> Shown(DWORD processId = 0) const;
    std::vector<ShownWindow> ShownByThread(DWORD threadId) const;

private:
    void Poll();
    std::vector<HWND> alreadyVisible_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<ShownWindow> shown_;
    std::thread thread_;
};

}  // namespace e2e
