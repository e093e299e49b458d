#include "platform/win32/dpi.h"

#include "platform/win32/system_library.h"

namespace platform::win32 {

namespace {

template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    if (!handle) handle = LoadSystemLibrary(module);  // stays loaded for the program's life
    if (!handle) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using MetricsForDpiFn = int(WINAPI*)(int, UINT);
using EnableFrameScalingFn = BOOL(WINAPI*)(HWND);
using AwarenessContext = HANDLE;  // DPI_AWARENESS_CONTEXT, of Windows 10 1607
using ThreadAwarenessFn = AwarenessContext(WINAPI*)();
using SameAwarenessFn = BOOL(WINAPI*)(AwarenessContext, AwarenessContext);
const AwarenessContext kPerMonitorAwareV1 = reinterpret_cast<AwarenessContext>(-3);

}  // namespace

UINT SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT MonitorDpi(HMONITOR monitor) {
    static const auto getDpiForMonitor = Lookup<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (monitor && getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0)
        return y;
    return SystemDpi();
}

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = Lookup<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (UINT dpi = getDpiForWindow(window); dpi > 0) return dpi;
    }
    return MonitorDpi(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

void ScaleFrameWithDpi(HWND window) {
    static const auto enable = Lookup<EnableFrameScalingFn>(L"user32.dll", "EnableNonClientDpiScaling");
    static const auto awareness = Lookup<ThreadAwarenessFn>(L"user32.dll", "GetThreadDpiAwarenessContext");
    static const auto same = Lookup<SameAwarenessFn>(L"user32.dll", "AreDpiAwarenessContextsEqual");
    if (enable && awareness && same && same(awareness(), kPerMonitorAwareV1)) enable(window);
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi = Lookup<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, client.cx, client.cy};
    // The frame follows the window's DPI from Windows 10 1607 on, the
    // version that can say how large it is at a DPI (per-monitor version 2
    // always, version 1 through ScaleFrameWithDpi). Before, it keeps the
    // size it has at the system DPI, whatever the window's.
    if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, dpi)) ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void CentreOnItsMonitor(HWND window, SIZE size) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        area = monitor.rcWork;
    const int x = area.left + (area.right - area.left - size.cx) / 2;
    const int y = area.top + (area.bottom - area.top - size.cy) / 2;
    ::SetWindowPos(window, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

int SmallIconSize(UINT dpi) {
    static const auto metricsForDpi = Lookup<MetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
    if (metricsForDpi) {
        if (const int size = metricsForDpi(SM_CXSMICON, dpi); size > 0) return size;
    }
    // Before Windows 10 the metric is the system DPI's.
    return ::MulDiv(::GetSystemMetrics(SM_CXSMICON), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

UniqueFont FormFont(UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(kFormFontPoints, static_cast<int>(dpi), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(font.lfFaceName, L"Microsoft Sans Serif", LF_FACESIZE);
    return UniqueFont(::CreateFontIndirectW(&font));
}

void SetFontOnChildren(HWND parent, HFONT font) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace platform::win32
