#include "switcher/win32/tray_menu.h"

#include <string>

#include "platform/win32/text.h"

namespace switcher::win32 {

namespace {

constexpr MenuItem kItems[] = {
    MenuItem::Versions, MenuItem::Build10c,       MenuItem::Build10e,    MenuItem::SaveGame,
    MenuItem::StartGame, MenuItem::GameSeparator,    MenuItem::CurrentBuild, MenuItem::ToggleOptions,
    MenuItem::About,   MenuItem::ExitSeparator,       MenuItem::CloseMenu, MenuItem::Exit,
};

}  // namespace

TrayMenu::TrayMenu() {
    popup_ = ::CreatePopupMenu();
    versions_ = ::CreatePopupMenu();
    if (!popup_ || !versions_) {
        if (popup_) ::DestroyMenu(popup_);
        if (versions_) ::DestroyMenu(versions_);
        popup_ = versions_ = nullptr;
        return;
    }
    for (MenuItem item : kItems) {
        HMENU into = MenuLevel(item) == 2 ? versions_ : popup_;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        if (IsSeparator(item)) {
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
            info.wID = CommandId(item);
            info.fState = IsGreyed(item) ? MFS_GRAYED : MFS_ENABLED;
            info.dwTypeData = const_cast<wchar_t*>(L"");
            if (item == MenuItem::Versions) {
                info.fMask |= MIIM_SUBMENU;
                info.hSubMenu = versions_;
            }
        }
        ::InsertMenuItemW(into, ::GetMenuItemCount(into), TRUE, &info);
    }
}

TrayMenu::~TrayMenu() {
    if (popup_) ::DestroyMenu(popup_);  // takes the sub-menu with it
}

void TrayMenu::Update(const Switcher& model) {
    if (!popup_) return;
    // By position: "Version" carries a sub-menu, and a search by command
    // would not find it on every system.
    UINT position[3] = {0, 0, 0};
    for (MenuItem item : kItems) {
        int level = MenuLevel(item);
        UINT at = position[level]++;
        if (IsSeparator(item)) continue;
        std::wstring caption = platform::win32::Widen(model.Caption(item));
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = caption.data();
        ::SetMenuItemInfoW(level == 2 ? versions_ : popup_, at, TRUE, &info);
    }
}

bool TrayMenu::Open(HWND owner, MenuItem& chosen) {
    if (!popup_) return false;
    POINT at{};
    ::GetCursorPos(&at);
    // Without the foreground the menu would not close on a click elsewhere.
    ::SetForegroundWindow(owner);
    UINT id = static_cast<UINT>(::TrackPopupMenu(
        popup_, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner,
        nullptr));
    // Lets the menu's own loop see that the owner moved on.
    ::PostMessageW(owner, WM_NULL, 0, 0);
    for (MenuItem item : kItems) {
        if (!IsSeparator(item) && id == CommandId(item)) {
            chosen = item;
            return true;
        }
    }
    return false;
}

}  // namespace switcher::win32
