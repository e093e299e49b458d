#pragma once
// The notification-area icon of the options window. The classic callback
// form: the callback's lParam is the mouse message itself. The image is the
// program's icon at the size the notification area draws, which follows the
// DPI of the monitor holding the taskbar.

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
    // Gives the shell the image at the size the notification area draws
    // now, if that changed. False when the shell refused it.
    bool Resize();
    // RemoveTray's part: deletes the icon after any attempt to add it.
    void Remove();

private:
    HWND window_ = nullptr;  // from the first attempt to add the icon
    UniqueIcon image_;
    int side_ = 0;
};

}  // namespace switcher::win32
