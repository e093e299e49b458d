#include "switcher/win32/dpi.h"

namespace switcher::win32 {

namespace {

template <typename Function>
Function UserFunction(const char* name) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
                  : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

}  // namespace

UINT SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return USER_DEFAULT_SCREEN_DPI;
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (UINT dpi = getDpiForWindow(window)) return dpi;
    }
    return SystemDpi();
}

SIZE WindowSizeForClient(int clientTwipsWide, int clientTwipsHigh, DWORD style, DWORD exStyle,
                         UINT dpi) {
    static const auto adjustForDpi = UserFunction<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, TwipsToPixels(clientTwipsWide, dpi), TwipsToPixels(clientTwipsHigh, dpi)};
    if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi))
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void CentreOnItsMonitor(HWND window, SIZE size) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        area = monitor.rcWork;
    int x = area.left + (area.right - area.left - size.cx) / 2;
    int y = area.top + (area.bottom - area.top - size.cy) / 2;
    ::SetWindowPos(window, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

UniqueFont MessageFont(UINT dpi) {
    static const auto forDpi = UserFunction<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    bool ok = forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    if (!ok) {
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            // The metrics are in system DPI: bring them to the window's.
            metrics.lfMessageFont.lfHeight =
                ::MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
        } else {
            metrics.lfMessageFont = LOGFONTW{};
            metrics.lfMessageFont.lfHeight = -::MulDiv(9, static_cast<int>(dpi), 72);
            metrics.lfMessageFont.lfCharSet = DEFAULT_CHARSET;
            lstrcpynW(metrics.lfMessageFont.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
        }
    }
    return UniqueFont(::CreateFontIndirectW(&metrics.lfMessageFont));
}

void SetFontOnChildren(HWND parent, HFONT font) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace switcher::win32
