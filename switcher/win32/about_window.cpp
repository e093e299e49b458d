#include "switcher/win32/about_window.h"

#include "platform/win32/text.h"
#include "switcher/about.h"
#include "switcher/texts.h"
#include "platform/win32/controls.h"
#include "switcher/win32/resource.h"

namespace switcher::win32 {

using platform::win32::ControlSpec;
using platform::win32::Form;
using platform::win32::LayOut;
using platform::win32::LayOutAgain;
using platform::win32::LayOutForShowing;
using platform::win32::SetControlText;

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
constexpr int kClientWidth = 4095;  // twips
constexpr int kClientHeight = 3165;

constexpr int kFrameLeft = 120;
constexpr int kFrameTop = 120;

// In tab order. The label belongs to the frame; its place is given from the
// frame's corner.
constexpr ControlSpec kControls[] = {
    {IDC_ABOUT_OK, L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, kOkCaption, 2880, 2640, 1095, 375},
    {IDC_HOME_PAGE, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, kHomePageButtonCaption, 120, 2640, 2055,
     375},
    {IDC_ABOUT_FRAME, L"BUTTON", BS_GROUPBOX | WS_GROUP, 0, kAboutFrameCaption, kFrameLeft, kFrameTop, 3855, 2415},
    {IDC_ABOUT_TEXT, L"STATIC", SS_LEFT | SS_NOPREFIX, 0, {}, kFrameLeft + 120, kFrameTop + 240, 3615, 2055},
};

constexpr Form kForm{kClientWidth, kClientHeight, kStyle, kExStyle, kControls};

}  // namespace

bool AboutWindow::Show() {
    if (!Loaded()) {
        if (!Create({kClassName, icons_.big, icons_.little.get()}, kStyle, kExStyle,
                    platform::win32::Widen(kAboutTitle).c_str()))
            return false;
        ::ShowWindow(Handle(), SW_SHOW);
        ::SetFocus(::GetDlgItem(Handle(), IDC_ABOUT_OK));
    } else {
        if (::IsIconic(Handle())) ::ShowWindow(Handle(), SW_RESTORE);
        LayOutForShowing(Handle(), kForm, layout_);
    }
    ::SetForegroundWindow(Handle());
    return true;
}

bool AboutWindow::OnCreate() {
    if (!LayOut(Handle(), kForm, layout_)) return false;
    if (model_) {
        model_->AboutLoaded();
        loaded_ = true;
    }
    // Built anew for each load, so it never accumulates.
    SetControlText(Handle(), IDC_ABOUT_TEXT, AboutText());
    return true;
}

void AboutWindow::OnCommand(int id, int code, HWND /*control*/) {
    if (code != BN_CLICKED || !model_) return;
    if (id == IDC_ABOUT_OK) model_->AboutOk();
    if (id == IDC_HOME_PAGE) model_->AboutVisitHomePage();
}

void AboutWindow::OnDestroy() {
    if (loaded_ && model_) {
        loaded_ = false;
        model_->AboutUnloaded();
        if (model_->MustEnd()) ::PostQuitMessage(0);
    }
}

void AboutWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    captionIcon_.Fit(Handle(), dpi);
    LayOutAgain(Handle(), kForm, dpi, suggested, layout_);
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == DM_GETDEFID) return MAKELRESULT(IDC_ABOUT_OK, DC_HASDEFID);
    return platform::win32::Window::HandleMessage(message, wParam, lParam);
}

}  // namespace switcher::win32
