#pragma once
// Brennic's window: two buttons and a timer around stub::Launcher. It
// turns the window's messages into the launcher's events and carries out
// what the launcher asks of it; it decides nothing.

#include <windows.h>

#include "platform/services.h"
#include "stub/launcher.h"
#include "stub/view.h"
#include "platform/win32/dpi.h"

namespace stub::win32 {

class BrennicWindow final : public View {
public:
    BrennicWindow(HINSTANCE instance, platform::Services& os);
    ~BrennicWindow() override;
    BrennicWindow(const BrennicWindow&) = delete;
    BrennicWindow& operator=(const BrennicWindow&) = delete;

    // Creates the window hidden, starts the wait for a choice and runs the load, which
    // shows the window or closes it at once. False when the window could
    // not be created.
    bool Load();

    HWND handle() const { return window_; }
    // For the message loop: Tab, Enter and Space as in a dialog box.
    bool PreTranslate(MSG& msg);
    int exitCode() const { return launcher_.exitCode(); }

    // View
    void Show() override;
    void StopTimer() override;
    void Close(int exitCode) override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    // Places the buttons and sets their font for the window's DPI.
    void Layout(UINT dpi);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    HINSTANCE instance_;
    Launcher launcher_;
    HWND window_ = nullptr;
    HWND build10c_ = nullptr;
    HWND build10e_ = nullptr;
    HWND focus_ = nullptr;  // the control to give the focus back to on activation
    platform::win32::UniqueFont font_;
    bool timerRunning_ = false;
};

}  // namespace stub::win32
