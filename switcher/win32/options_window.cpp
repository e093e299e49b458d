#include "switcher/win32/options_window.h"

#include <algorithm>

#include "platform/win32/text.h"
#include "switcher/texts.h"
#include "platform/win32/controls.h"
#include "switcher/win32/resource.h"

namespace switcher::win32 {

using platform::win32::ControlSpec;
using platform::win32::Form;
using platform::win32::LayOut;
using platform::win32::LayOutAgain;
using platform::win32::LayOutForShowing;

namespace {

constexpr UINT_PTR kWatchTimer = 1;
// The tray icon's callback; the end-to-end tests post it as a click.
constexpr UINT kTrayCallbackMessage = 1400;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// Shown in the taskbar while visible; Tab moves between the controls.
constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
constexpr int kClientWidth = 4590;  // twips
constexpr int kClientHeight = 4620;

// In tab order.
constexpr ControlSpec kControls[] = {
    {IDC_ASK_TO_SWITCH, L"BUTTON", BS_CHECKBOX | WS_TABSTOP | WS_GROUP, 0, kAskToSwitchCaption, 120, 120, 4215, 195},
    {IDC_START_WITH_WINDOWS, L"BUTTON", BS_CHECKBOX | WS_TABSTOP | WS_GROUP, 0, kStartWithWindowsCaption, 120, 840, 1575, 195},
    {IDC_CLOSE_APPLICATIONS, L"BUTTON", BS_CHECKBOX | WS_TABSTOP | WS_GROUP, 0, kCloseApplicationsCaption, 120, 1200, 4455, 195},
    {IDC_OPTIONS_OK, L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, kOkCaption, 3600, 4080, 855, 375},
    {IDC_APPLICATION_LIST, L"LISTBOX",
     LBS_MULTIPLESEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_GROUP,
     WS_EX_CLIENTEDGE, {}, 120, 1440, 4335, 2535},
    // One line: a font a shade wider than the form's would cut off its end
    // rather than wrap it out of sight.
    {IDC_REPLY_HINT, L"STATIC", SS_LEFTNOWORDWRAP | WS_GROUP, 0, kReplyHintCaption, 360, 360, 1455, 255},
};

constexpr Form kForm{kClientWidth, kClientHeight, kStyle, kExStyle, kControls};

CheckBox BoxOf(int id) {
    switch (id) {
    case IDC_ASK_TO_SWITCH: return CheckBox::AskToSwitch;
    case IDC_START_WITH_WINDOWS: return CheckBox::StartWithWindows;
    default: return CheckBox::CloseApplications;
    }
}

}  // namespace

bool OptionsWindow::Load() {
    return Create({kClassName, icons_.big, icons_.little.get()}, kStyle, kExStyle,
                  platform::win32::Widen(kOptionsTitle).c_str());
}

// The controls come with the first showing: most users never open the
// window, and its themed controls would keep the common controls library and
// their theme data in memory all day for nothing.
bool OptionsWindow::OnCreate() {
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    if (!menu_.Valid()) return false;
    // Without its timer the watcher would silently do nothing.
    return ::SetTimer(Handle(), kWatchTimer, kWatchIntervalMs, nullptr) != 0;
}

bool OptionsWindow::HasControls() const { return ::GetDlgItem(Handle(), IDC_OPTIONS_OK) != nullptr; }

bool OptionsWindow::CreateControls() {
    if (HasControls()) return true;
    if (!LayOut(Handle(), kForm, layout_)) {
        // A later showing starts from nothing again.
        while (HWND child = ::GetWindow(Handle(), GW_CHILD)) ::DestroyWindow(child);
        return false;
    }
    shownTitles_.clear();
    if (model_) DrawOptions();
    return true;
}

bool OptionsWindow::AddTrayIcon() {
    return Loaded() && tray_.Install(Handle(), kTrayCallbackMessage);
}

bool OptionsWindow::ResizeTrayIcon() { return tray_.Resize(); }

bool OptionsWindow::SetVisible(bool visible) {
    if (!Loaded()) return false;
    if (!visible) {
        ::ShowWindow(Handle(), SW_HIDE);
        return true;
    }
    if (!CreateControls()) return false;
    LayOutForShowing(Handle(), kForm, layout_);
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    if (!::IsChild(Handle(), ::GetFocus())) ::SetFocus(::GetDlgItem(Handle(), IDC_ASK_TO_SWITCH));
    return true;
}

void OptionsWindow::Refresh() {
    if (!Loaded() || !model_) return;
    menu_.Update(*model_);
    if (HasControls()) DrawOptions();
}

void OptionsWindow::DrawOptions() {
    for (int id : {IDC_ASK_TO_SWITCH, IDC_START_WITH_WINDOWS, IDC_CLOSE_APPLICATIONS}) {
        ::SendDlgItemMessageW(Handle(), id, BM_SETCHECK,
                              model_->options().Checked(BoxOf(id)) ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    RefreshList();
}

void OptionsWindow::RefreshList() {
    HWND list = ::GetDlgItem(Handle(), IDC_APPLICATION_LIST);
    const auto& entries = model_->options().Applications();
    bool sameTitles = entries.size() == shownTitles_.size();
    for (std::size_t i = 0; sameTitles && i < entries.size(); ++i)
        sameTitles = entries[i].title == shownTitles_[i];
    // The selection is the list box's own: a program may select entries
    // through its messages, which the model never hears of. Only new
    // entries, which come unselected, are drawn anew; every fill follows an
    // emptied list.
    if (!sameTitles) {
        ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
        shownTitles_.clear();
        int widest = 0;
        HDC dc = ::GetDC(list);
        HGDIOBJ oldFont = ::SelectObject(dc, layout_.font.get());
        for (const auto& entry : entries) {
            std::wstring title = platform::win32::Widen(entry.title);
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
            SIZE extent{};
            if (::GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &extent))
                widest = std::max(widest, static_cast<int>(extent.cx));
            shownTitles_.push_back(entry.title);
        }
        ::SelectObject(dc, oldFont);
        ::ReleaseDC(list, dc);
        // Long titles can be scrolled to rather than cut off.
        ::SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
        ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list, nullptr, TRUE);
    }
}

std::vector<bool> OptionsWindow::ShownSelection() const {
    // No list yet: nobody can have selected anything.
    std::vector<bool> selected;
    if (!Loaded() || !HasControls()) return selected;
    HWND list = ::GetDlgItem(Handle(), IDC_APPLICATION_LIST);
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) selected.push_back(::SendMessageW(list, LB_GETSEL, i, 0) > 0);
    return selected;
}

void OptionsWindow::SelectionChanged() {
    HWND list = ::GetDlgItem(Handle(), IDC_APPLICATION_LIST);
    // Read the whole selection first: the model's answer redraws the list.
    std::vector<bool> selected(shownTitles_.size());
    for (std::size_t i = 0; i < selected.size(); ++i)
        selected[i] = ::SendMessageW(list, LB_GETSEL, i, 0) > 0;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        const auto& entries = model_->options().Applications();
        if (i < entries.size() && entries[i].selected != selected[i]) model_->options().SetSelected(i, selected[i]);
    }
}

void OptionsWindow::OnCommand(int id, int code, HWND /*control*/) {
    if (!model_) return;
    switch (id) {
    case IDC_ASK_TO_SWITCH:
    case IDC_START_WITH_WINDOWS:
    case IDC_CLOSE_APPLICATIONS:
        if (code == BN_CLICKED) model_->options().ClickCheckBox(BoxOf(id));
        break;
    case IDC_OPTIONS_OK:
        if (code == BN_CLICKED) model_->ClickOk();
        break;
    case IDC_APPLICATION_LIST:
        if (code == LBN_SELCHANGE) SelectionChanged();
        break;
    default:
        break;
    }
}

void OptionsWindow::OnTimer(UINT_PTR id) {
    if (id == kWatchTimer && model_) model_->Tick();
}

void OptionsWindow::OnDestroy() {
    ::KillTimer(Handle(), kWatchTimer);
    tray_.Remove();
    if (started_ && model_) {
        started_ = false;
        model_->Unload();
        if (model_->MustEnd()) ::PostQuitMessage(0);
    }
}

void OptionsWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    captionIcon_.Fit(Handle(), dpi);
    // Its monitor's scale may have changed, and with it the taskbar's.
    if (model_) model_->TrayIconSizeMayHaveChanged();
    if (HasControls()) LayOutAgain(Handle(), kForm, dpi, suggested, layout_);
}

// The window's own procedure does the tray's work: the callback opens the
// menu on a button release; other mouse messages do nothing.
void OptionsWindow::TrayWindowProc(LPARAM mouseMessage) {
    if (!model_ || (mouseMessage != WM_LBUTTONUP && mouseMessage != WM_RBUTTONUP)) return;
    if (!model_->TrayClicked(mouseMessage == WM_LBUTTONUP ? TrayClick::Left : TrayClick::Right)) return;
    menu_.Update(*model_);
    MenuItem chosen{};
    bool picked = menu_.Open(Handle(), chosen);
    model_->MenuClosed();
    if (picked) model_->Command(chosen);
}

LRESULT OptionsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage) {
        TrayWindowProc(lParam);
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        if (model_) model_->TaskbarCreated();
        return 0;
    }
    switch (message) {
    case DM_GETDEFID:
        return MAKELRESULT(IDC_OPTIONS_OK, DC_HASDEFID);
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
        // A new display scale, monitor or icon metric, or the taskbar moved
        // to another monitor (the work area changed), may change the size
        // the notification area draws.
        if (model_) model_->TrayIconSizeMayHaveChanged();
        break;
    }
    return platform::win32::Window::HandleMessage(message, wParam, lParam);
}

}  // namespace switcher::win32
