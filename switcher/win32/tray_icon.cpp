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

// The notification area draws small icons at the DPI of the window's
// monitor: 16 px at 100%, 24 at 150%. An image of another size would be
// scaled, and blurred.
int SideFor(HWND window) { return platform::win32::SmallIconSize(platform::win32::WindowDpi(window)); }

}  // namespace

bool TrayIcon::Install(HWND window, UINT callbackMessage) {
    if (const int side = SideFor(window); !image_ || side != side_) {
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
    // After an Explorer restart the old icon is gone with it; a stale one of
    // ours would make NIM_ADD fail, so clear it first.
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    if (!::Shell_NotifyIconW(NIM_ADD, &data)) return false;
    window_ = window;
    return true;
}

void TrayIcon::Resize() {
    if (!window_) return;
    const int side = SideFor(window_);
    if (side == side_) return;
    UniqueIcon image = Icons::LoadSquare(side);
    if (!image) return;  // the shell keeps the image it has
    NOTIFYICONDATAW data = Record(window_);
    data.uFlags = NIF_ICON;
    data.hIcon = image.get();
    // The shell keeps a copy: ours can go once it has the new one. When it
    // refuses, "TaskbarCreated" or the next change tries again.
    if (!::Shell_NotifyIconW(NIM_MODIFY, &data)) return;
    image_ = std::move(image);
    side_ = side;
}

void TrayIcon::Remove() {
    if (!window_) return;
    NOTIFYICONDATAW data = Record(window_);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    window_ = nullptr;
}

}  // namespace switcher::win32
