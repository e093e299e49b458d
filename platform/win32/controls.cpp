#include "platform/win32/controls.h"

#include "platform/win32/text.h"

namespace platform::win32 {

bool CreateControls(HWND parent, std::span<const ControlSpec> controls, UINT dpi) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const ControlSpec& c : controls) {
        HWND control = ::CreateWindowExW(
            c.exStyle, c.className, Widen(c.caption).c_str(),
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
    ::SetDlgItemTextW(parent, id, Widen(utf8).c_str());
}

void MarkDefaultButton(HWND parent, HWND focus, int defaultId) {
    constexpr LRESULT kPushButton = DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON;
    const bool onPushButton = focus && ::IsChild(parent, focus) && (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) & kPushButton);
    HWND chosen = onPushButton ? focus : ::GetDlgItem(parent, defaultId);
    // The old default loses its look before the new one gains it, so there is
    // never a moment with two default buttons.
    HWND gaining = nullptr;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LRESULT code = ::SendMessageW(child, WM_GETDLGCODE, 0, 0);
        if (!(code & kPushButton)) continue;
        const bool isDefault = (code & DLGC_DEFPUSHBUTTON) != 0;
        if (child == chosen && !isDefault) gaining = child;
        else if (child != chosen && isDefault) ::SendMessageW(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    if (gaining) ::SendMessageW(gaining, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

namespace {

void SizeAndCentre(HWND window, const Form& form, UINT dpi) {
    const SIZE client{TwipsToPixels(form.clientWidth, dpi), TwipsToPixels(form.clientHeight, dpi)};
    CentreOnItsMonitor(window, WindowSizeForClient(client, form.style, form.exStyle, dpi));
}

void SetFormFont(HWND window, UINT dpi, FormLayout& layout) {
    layout.font = FormFont(dpi);
    layout.dpi = dpi;
    SetFontOnChildren(window, layout.font.get());
}

}  // namespace

bool LayOut(HWND window, const Form& form, FormLayout& layout) {
    const UINT dpi = WindowDpi(window);
    SizeAndCentre(window, form, dpi);
    if (!CreateControls(window, form.controls, dpi)) return false;
    SetFormFont(window, dpi, layout);
    return true;
}

void LayOutAgain(HWND window, const Form& form, UINT dpi, const RECT& suggested, FormLayout& layout) {
    ::SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetFormFont(window, dpi, layout);
    PlaceControls(window, form.controls, dpi);
}

void LayOutForShowing(HWND window, const Form& form, FormLayout& layout) {
    const UINT dpi = WindowDpi(window);
    if (dpi == layout.dpi) return;
    SizeAndCentre(window, form, dpi);
    SetFormFont(window, dpi, layout);
    PlaceControls(window, form.controls, dpi);
}

}  // namespace platform::win32
