#pragma once
// The notification-area icon of the options window. The classic callback
// form: the callback's lParam is the mouse message itself.

#include <windows.h>

namespace switcher::win32 {

class TrayIcon {
public:
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }

    // InstallTray's part: the icon with the tip "Vantrel" that sends
    // `callbackMessage` to `window`. False when the shell refused it.
    bool Install(HWND window, HICON icon, UINT callbackMessage);
    // RemoveTray's part; harmless when there is no icon.
    void Remove();

private:
    HWND window_ = nullptr;
};

}  // namespace switcher::win32
