#pragma once
// The tray's popup menu: every item of MenuItem in its order, "Version"
// holding the two builds. Captions come from the model.

#include <windows.h>

#include "switcher/switcher.h"

namespace switcher::win32 {

class TrayMenu {
public:
    TrayMenu();
    ~TrayMenu();
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    bool Valid() const { return popup_ != nullptr; }
    // Sets every caption to what the model reports now.
    void Update(const Switcher& model);
    // Opens the menu at the cursor, owned by `owner`, and returns the item
    // chosen; false when the menu closed without a command.
    bool Open(HWND owner, MenuItem& chosen);

    static UINT CommandId(MenuItem item) { return kFirstId + static_cast<UINT>(item); }

private:
    static constexpr UINT kFirstId = 1000;
    HMENU popup_ = nullptr;    // owns the sub-menu too
    HMENU versions_ = nullptr;
};

}  // namespace switcher::win32
