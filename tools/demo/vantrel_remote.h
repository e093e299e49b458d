#pragma once
// A running Vantrel.exe, driven the way its user drives it: the tray icon's
// menu, the options window's boxes and list, and its message boxes. Another
// process cannot read a popup menu under Wine, so the tests' hook DLL reads
// it from inside Vantrel.

#include <windows.h>

#include <optional>
#include <string>

#include "tests/win32/support/open_menu.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/wait.h"

namespace demo {

using e2e::Milliseconds;
using namespace std::chrono_literals;

class VantrelRemote {
public:
    // Starts the program; throws std::runtime_error when it cannot start.
    explicit VantrelRemote(const std::wstring& program);
    VantrelRemote(const VantrelRemote&) = delete;
    VantrelRemote& operator=(const VantrelRemote&) = delete;

    e2e::Process& process() { return process_; }

    // Waits until the options window exists and the tray icon opens the
    // menu: start-up is over then.
    bool WaitUntilResident(Milliseconds timeout);

    // Opens the tray menu as a right click on the icon does, then presses
    // the keys: 'd' down, 'e' Enter, 'x' Escape. Answers whether the menu
    // opened and, when the keys close it, closed again.
    bool Choose(const std::string& keys);
    // The caption of the item that names the current build, as the menu
    // shows it when opened now.
    std::optional<std::string> CurrentVersionCaption();
    // "Show Options" from the menu; answers whether the window is shown.
    bool ShowOptions();
    // "Exit" from the menu; answers the question it brings, or nullptr.
    HWND AskToExit();

    HWND options() const { return options_; }
    bool OptionsVisible() const { return options_ && IsWindowVisible(options_); }
    // A control of the options window by its caption (check boxes, OK).
    HWND Control(const std::wstring& caption) const;
    bool Checked(const std::wstring& boxCaption) const;

    // The application list: an entry's index by its text (-1 when absent),
    // a click on it as the user makes it, and whether it is selected.
    int EntryIndex(const std::wstring& text) const;
    void ClickEntry(int index);
    bool EntrySelected(int index) const;

    // A message box of Vantrel's (title "Vantrel") that is open now.
    HWND WaitForMessageBox(Milliseconds timeout) const;

private:
    HWND List() const;

    e2e::Process process_;
    e2e::OpenMenuReader menu_;
    HWND options_ = nullptr;
};

}  // namespace demo
