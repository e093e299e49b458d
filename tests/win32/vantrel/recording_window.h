#pragma once
// A top-level window of the test's own, on a thread of its own, that counts
// the close requests it receives and never closes because of them: it stands
// for an application that Vantrel is asked to close, or for the game's or the
// host's window.

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace e2e {

class RecordingWindow {
public:
    explicit RecordingWindow(const std::wstring& title);
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND handle() const { return window_; }
    int closeRequests() const { return closeRequests_.load(); }
    // Its thread stops answering for this long, as a hung program's does.
    void Freeze(DWORD milliseconds);
    // Takes the window off the desktop (it can be shown again with a new
    // object of the same title).
    void Destroy();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run(std::wstring title);

    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<int> closeRequests_{0};
    HANDLE ready_;
};

}  // namespace e2e
