#pragma once
// The notification-area icon of the options window. The classic callback
// form: the callback's lParam is the mouse message itself. The image is the
// program's icon at the notification area's size for the window's DPI.

#include <windows.h>

#include "switcher/win32/icons.h"

namespace switcher::win32 {

class TrayIcon {
public:
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }

    // InstallTray's part: the icon with the tip "Vantrel" that sends
    // `callbackMessage` to `window`. False when the shell refused it.
    bool Install(HWND window, UINT callbackMessage);
    // The display scale or the icon metrics may have changed: gives the
    // shell the image at the size it now draws, if that changed.
    void Resize();
    // RemoveTray's part; harmless when there is no icon.
    void Remove();

private:
    HWND window_ = nullptr;  // while the shell holds the icon
    UniqueIcon image_;
    int side_ = 0;
};

}  // namespace switcher::win32
