#include "switcher/win32/controls.h"

#include "platform/win32/text.h"
#include "platform/win32/dpi.h"

namespace switcher::win32 {

using platform::win32::TwipsToPixels;

bool CreateControls(HWND parent, std::span<const ControlSpec> controls, UINT dpi) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const ControlSpec& c : controls) {
        HWND control = ::CreateWindowExW(
            c.exStyle, c.className, platform::win32::Widen(c.caption).c_str(),
            WS_CHILD | WS_VISIBLE | c.style, TwipsToPixels(c.left, dpi), TwipsToPixels(c.top, dpi),
            TwipsToPixels(c.width, dpi), TwipsToPixels(c.height, dpi), parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        if (!control) return false;
    }
    return true;
}

void PlaceControls(HWND parent, std::span<const ControlSpec> controls, UINT dpi) {
    for (const ControlSpec& c : controls) {
        if (HWND control = ::GetDlgItem(parent, c.id)) {
            ::SetWindowPos(control, nullptr, TwipsToPixels(c.left, dpi), TwipsToPixels(c.top, dpi),
                           TwipsToPixels(c.width, dpi), TwipsToPixels(c.height, dpi),
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void SetControlText(HWND parent, int id, std::string_view utf8) {
    ::SetDlgItemTextW(parent, id, platform::win32::Widen(utf8).c_str());
}

}  // namespace switcher::win32
