#include "stub/win32/brennic_window.h"

#include <commctrl.h>

#include "platform/win32/controls.h"
#include "platform/win32/text.h"
#include "stub/win32/resource.h"

namespace stub::win32 {

using platform::win32::ControlSpec;
using platform::win32::Form;

namespace {

constexpr wchar_t kClassName[] = L"Brennic";
// Fixed single border and a close button only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

// In tab order; twips, 15 to a pixel at 96 DPI.
// BS_NOTIFY: the buttons tell when they gain or lose the focus, which moves
// the default button.
constexpr ControlSpec kControls[] = {
    {IDC_BUILD_10C, L"BUTTON", BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0, "The Conquerors 1.0c", 120, 120, 2175, 375},
    {IDC_BUILD_10E, L"BUTTON", BS_DEFPUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0, "The Conquerors 1.0e", 120, 600, 2175, 375},
};

constexpr Form kForm{2415, 1110, kStyle, kExStyle, kControls};

}  // namespace

BrennicWindow::BrennicWindow(HINSTANCE instance, platform::Services& os)
    : instance_(instance), launcher_(os, *this) {}

BrennicWindow::~BrennicWindow() { Destroy(); }

void BrennicWindow::Load() { launcher_.Load(); }

bool BrennicWindow::CreateHidden() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    HICON smallIcon = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_BRENNIC), IMAGE_ICON,
                                                  ::GetSystemMetrics(SM_CXSMICON),
                                                  ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    const ClassInfo info{kClassName, ::LoadIconW(instance_, MAKEINTRESOURCEW(IDI_BRENNIC)), smallIcon};
    if (!Create(info, kStyle, kExStyle, platform::win32::Widen(kCaption).c_str())) return false;
    // The wait counts from here, the end of the load, whatever the player
    // then does.
    timerRunning_ = ::SetTimer(Handle(), IDT_CHOICE_WAIT, kChoiceWaitMs, nullptr) != 0;
    return true;
}

bool BrennicWindow::OnCreate() {
    // Sized for the DPI of the monitor it landed on, and centred there.
    if (!platform::win32::LayOut(Handle(), kForm, layout_)) return false;
    RememberFocus(::GetDlgItem(Handle(), IDC_BUILD_10C));
    return true;
}

void BrennicWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    platform::win32::LayOutAgain(Handle(), kForm, dpi, suggested, layout_);
}

void BrennicWindow::Show() {
    if (!Loaded() && !CreateHidden()) {
        creationFailed_ = true;
        return;
    }
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(Handle());
    ::SetFocus(::GetDlgItem(Handle(), IDC_BUILD_10C));
}

void BrennicWindow::StopTimer() {
    if (timerRunning_) ::KillTimer(Handle(), IDT_CHOICE_WAIT);
    timerRunning_ = false;
}

void BrennicWindow::Close(int) {
    // The exit code is the launcher's; WM_DESTROY hands it to the message loop.
    StopTimer();
    Destroy();
}

void BrennicWindow::OnCommand(int id, int code, HWND control) {
    // As in a dialog box, the focused button is the default one and answers
    // Enter; with the focus on no button, 1.0e is.
    if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
        platform::win32::MarkDefaultButton(Handle(), code == BN_SETFOCUS ? control : nullptr, IDC_BUILD_10E);
        return;
    }
    if (code != BN_CLICKED) return;
    if (id == IDC_BUILD_10C) launcher_.PickBuild10c();
    else if (id == IDC_BUILD_10E) launcher_.PickBuild10e();
}

void BrennicWindow::OnTimer(UINT_PTR id) {
    if (id == IDT_CHOICE_WAIT) launcher_.ChoiceTimedOut();
}

void BrennicWindow::OnClose() { launcher_.CloseRequested(); }

void BrennicWindow::OnDestroy() { ::PostQuitMessage(launcher_.exitCode()); }

LRESULT BrennicWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case DM_GETDEFID:
        // Enter with the focus on neither button.
        return MAKELRESULT(IDC_BUILD_10E, DC_HASDEFID);
    case DM_SETDEFID:
        return TRUE;  // that one stays 1.0e
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace stub::win32
