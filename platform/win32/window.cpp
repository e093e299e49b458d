#include "platform/win32/window.h"

#include "platform/win32/dpi.h"

namespace platform::win32 {


Window::~Window() { Destroy(); }

void Window::Destroy() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool Window::DialogKey(MSG& message) {
    if (!hwnd_ || !(message.hwnd == hwnd_ || ::IsChild(hwnd_, message.hwnd))) return false;
    return ::IsDialogMessageW(hwnd_, &message) != FALSE;
}

bool Window::Create(const ClassInfo& info, DWORD style, DWORD exStyle, const wchar_t* title) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExW(instance, info.name, &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = instance;
        wc.hIcon = info.icon;
        wc.hIconSm = info.smallIcon;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = info.name;
        if (!::RegisterClassExW(&wc)) return false;
    }
    // The real size and place follow once the window knows its monitor's DPI.
    return ::CreateWindowExW(exStyle, info.name, title, style, 0, 0, 100, 100, nullptr, nullptr,
                             instance, this) != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(hwnd_, focus)) lastFocus_ = focus;
        } else if (lastFocus_ && ::IsWindow(lastFocus_)) {
            ::SetFocus(lastFocus_);
            return 0;
        }
        return Default(message, wParam, lParam);
    case kWmDpiChanged:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ScaleFrameWithDpi(hwnd);
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->lastFocus_ = nullptr;
        LRESULT result = ::DefWindowProcW(hwnd, message, wParam, lParam);
        self->OnGone();
        return result;
    }
    return self->HandleMessage(message, wParam, lParam);
}

}  // namespace platform::win32
