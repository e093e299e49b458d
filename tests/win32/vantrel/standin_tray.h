#pragma once
// A notification area of the test's own, in front of Wine's: a hidden
// "Shell_TrayWnd" window, found first by every Shell_NotifyIcon call while it
// exists. It refuses icons until told to accept them, as a shell that is
// still starting does, and records what it is asked.

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace e2e {

class StandInTray {
public:
    struct Request {
        DWORD message;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
        HWND owner;
        int iconWidth, iconHeight;  // 0 when no icon came with it
        bool accepted;
    };

    StandInTray();
    ~StandInTray();
    StandInTray(const StandInTray&) = delete;
    StandInTray& operator=(const StandInTray&) = delete;

    bool Exists() const { return window_ != nullptr; }
    void Accept(bool accept) { accepting_ = accept; }
    std::vector<Request> RequestsFrom(HWND owner) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run();

    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> accepting_{false};
    mutable std::mutex mutex_;
    std::vector<Request> requests_;
    HANDLE ready_;
};

}  // namespace e2e
