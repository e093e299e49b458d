#include "stub/win32/brennic_window.h"

#include <string>

#include "platform/win32/text.h"
#include "stub/win32/resource.h"

namespace stub::win32 {

using platform::win32::kWmDpiChanged;
using platform::win32::MessageFont;
using platform::win32::CentreOnItsMonitor;
using platform::win32::Scale;
using platform::win32::UniqueFont;
using platform::win32::WindowDpi;
using platform::win32::WindowSizeForClient;

namespace {

constexpr wchar_t kClassName[] = L"Brennic";
// Fixed single border and a close button only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

// The form's layout, in pixels at 96 DPI (15 twips each).
constexpr SIZE kClient{161, 74};
constexpr RECT kBuild10cPlace{8, 8, 8 + 145, 8 + 25};
constexpr RECT kBuild10ePlace{8, 40, 8 + 145, 40 + 25};

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_BRENNIC));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_BRENNIC), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void Place(HWND control, const RECT& at96, UINT dpi) {
    ::SetWindowPos(control, nullptr, Scale(at96.left, dpi), Scale(at96.top, dpi),
                   Scale(at96.right - at96.left, dpi), Scale(at96.bottom - at96.top, dpi),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

BrennicWindow::BrennicWindow(HINSTANCE instance, platform::Services& os)
    : instance_(instance), launcher_(os, *this) {}

BrennicWindow::~BrennicWindow() {
    if (window_) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

bool BrennicWindow::Load() {
    if (!RegisterWindowClass(instance_, &BrennicWindow::Procedure)) return false;

    const std::wstring caption = platform::win32::Widen(kCaption);
    window_ = ::CreateWindowExW(kExStyle, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                0, 0, nullptr, nullptr, instance_, this);
    if (!window_) return false;

    // Sized for the DPI of the monitor it landed on, and centred there.
    const UINT dpi = WindowDpi(window_);
    const SIZE client{Scale(kClient.cx, dpi), Scale(kClient.cy, dpi)};
    CentreOnItsMonitor(window_, WindowSizeForClient(client, kStyle, kExStyle, dpi));
    CreateControls();
    Layout(dpi);

    // The wait counts from the load, whatever the load then does.
    timerRunning_ = ::SetTimer(window_, IDT_CHOICE_WAIT, kChoiceWaitMs, nullptr) != 0;
    launcher_.Load();
    return true;
}

void BrennicWindow::CreateControls() {
    build10c_ = ::CreateWindowExW(0, L"BUTTON", L"The Conquerors 1.0c",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BUILD_10C)), instance_,
                                  nullptr);
    build10e_ = ::CreateWindowExW(0, L"BUTTON", L"The Conquerors 1.0e",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                                  window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BUILD_10E)),
                                  instance_, nullptr);
    focus_ = build10c_;
}

void BrennicWindow::Layout(UINT dpi) {
    Place(build10c_, kBuild10cPlace, dpi);
    Place(build10e_, kBuild10ePlace, dpi);
    UniqueFont font = MessageFont(dpi);
    HFONT use = font ? font.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    for (HWND control : {build10c_, build10e_})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(use), TRUE);
    font_ = std::move(font);  // the buttons no longer use the old one
}

void BrennicWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(dpi);
}

bool BrennicWindow::PreTranslate(MSG& msg) {
    return window_ && ::IsDialogMessageW(window_, &msg);
}

void BrennicWindow::Show() {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::SetForegroundWindow(window_);
    ::SetFocus(build10c_);
}

void BrennicWindow::StopTimer() {
    if (timerRunning_) ::KillTimer(window_, IDT_CHOICE_WAIT);
    timerRunning_ = false;
}

void BrennicWindow::Close(int) {
    // The exit code is the launcher's; WM_DESTROY hands it to the message loop.
    StopTimer();
    if (window_) ::DestroyWindow(window_);
}

LRESULT CALLBACK BrennicWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<BrennicWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<BrennicWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT BrennicWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == IDC_BUILD_10C) launcher_.PickBuild10c();
            else if (LOWORD(wParam) == IDC_BUILD_10E) launcher_.PickBuild10e();
        }
        return 0;
    case WM_TIMER:
        if (wParam == IDT_CHOICE_WAIT) launcher_.ChoiceTimedOut();
        return 0;
    case DM_GETDEFID:
        // Enter presses the 1.0e button wherever the focus is.
        return MAKELRESULT(IDC_BUILD_10E, DC_HASDEFID);
    case DM_SETDEFID:
        return TRUE;  // the default button never moves
    case WM_ACTIVATE:
        // Give the focus back to the control that had it, as a dialog does.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = ::GetFocus();
            if (focused && ::IsChild(window_, focused)) focus_ = focused;
        } else if (focus_) {
            ::SetFocus(focus_);
        }
        return 0;
    case kWmDpiChanged:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        launcher_.CloseRequested();
        return 0;
    case WM_DESTROY:
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        build10c_ = build10e_ = focus_ = nullptr;
        ::PostQuitMessage(launcher_.exitCode());
        return 0;
    default:
        return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace stub::win32
