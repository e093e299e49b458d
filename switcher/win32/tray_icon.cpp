#include "switcher/win32/tray_icon.h"

#include <shellapi.h>

#include <iterator>
#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/text.h"
#include "switcher/texts.h"

namespace switcher::win32 {

namespace {

constexpr UINT kIconId = 0;

NOTIFYICONDATAW Record(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

// The notification area draws small icons at the DPI of the monitor that
// holds the taskbar: 16 px at 100%, 24 at 150%. An image of another size
// would be scaled, and blurred. The options window's DPI says nothing about
// it: hidden as it mostly is, it may stand on any monitor.
int NotificationAreaSide() {
    HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    return platform::win32::SmallIconSize(
        platform::win32::MonitorDpi(::MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY)));
}

}  // namespace

bool TrayIcon::Install(HWND window, UINT callbackMessage) {
    if (const int side = NotificationAreaSide(); !image_ || side != side_) {
        if (UniqueIcon image = Icons::LoadSquare(side)) {
            image_ = std::move(image);
            side_ = side;
        }
    }
    if (!image_) return false;
    NOTIFYICONDATAW data = Record(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = image_.get();
    std::wstring tip = platform::win32::Widen(kProgramTitle);
    lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(std::size(data.szTip)));
    // A shell busy at log-on can time out on NIM_ADD and add the icon all the
    // same: from the first attempt on, the icon is ours to delete. One left
    // by an earlier attempt would make NIM_ADD fail, so it goes first.
    if (window_) ::Shell_NotifyIconW(NIM_DELETE, &data);
    window_ = window;
    return ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool TrayIcon::Resize() {
    if (!window_) return true;
    const int side = NotificationAreaSide();
    if (side == side_) return true;
    UniqueIcon image = Icons::LoadSquare(side);
    if (!image) return false;  // the shell keeps the image it has
    NOTIFYICONDATAW data = Record(window_);
    data.uFlags = NIF_ICON;
    data.hIcon = image.get();
    // The shell keeps a copy: ours can go once it has the new one.
    if (!::Shell_NotifyIconW(NIM_MODIFY, &data)) return false;
    image_ = std::move(image);
    side_ = side;
    return true;
}

void TrayIcon::Remove() {
    if (!window_) return;
    NOTIFYICONDATAW data = Record(window_);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    window_ = nullptr;
}

}  // namespace switcher::win32
