#pragma once
// Brennic's window: two buttons and a timer around stub::Launcher. It turns
// the window's messages into the launcher's events and carries out what the
// launcher asks of it; it decides nothing.

#include <windows.h>

#include "platform/services.h"
#include "platform/win32/controls.h"
#include "platform/win32/window.h"
#include "stub/launcher.h"
#include "stub/view.h"

namespace stub::win32 {

class BrennicWindow final : public platform::win32::Window, public View {
public:
    BrennicWindow(HINSTANCE instance, platform::Services& os);
    ~BrennicWindow() override;

    // Runs the load, which starts the game at once or asks for the window.
    // The window, and the window DLLs with it, exist only in the second case:
    // loading them is most of what the immediate path would otherwise cost.
    void Load();

    // The load asked for the window and it could not be created.
    bool CreationFailed() const { return creationFailed_; }
    int exitCode() const { return launcher_.exitCode(); }

    // View
    void Show() override;
    void StopTimer() override;
    void Close(int exitCode) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;
    void OnClose() override;
    void OnDestroy() override;
    void OnDpiChanged(UINT dpi, const RECT& suggested) override;

private:
    // Creates the window hidden and starts the wait for a choice.
    bool CreateHidden();

    HINSTANCE instance_;
    Launcher launcher_;
    platform::win32::FormLayout layout_;
    bool timerRunning_ = false;
    bool creationFailed_ = false;
};

}  // namespace stub::win32
