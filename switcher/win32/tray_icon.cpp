#include "switcher/win32/tray_icon.h"

#include <shellapi.h>

#include <iterator>

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

}  // namespace

bool TrayIcon::Install(HWND window, HICON icon, UINT callbackMessage) {
    NOTIFYICONDATAW data = Record(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    std::wstring tip = platform::win32::Widen(kProgramTitle);
    lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(std::size(data.szTip)));
    // After an Explorer restart the old icon is gone with it; a stale one of
    // ours would make NIM_ADD fail, so clear it first.
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    if (!::Shell_NotifyIconW(NIM_ADD, &data)) return false;
    window_ = window;
    return true;
}

void TrayIcon::Remove() {
    if (!window_) return;
    NOTIFYICONDATAW data = Record(window_);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    window_ = nullptr;
}

}  // namespace switcher::win32
