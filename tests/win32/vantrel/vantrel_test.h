#pragma once
// A running Vantrel.exe in a game installation of the test's own: the game's
// registration points at a scratch folder, the options are set as the test
// asks, and the tray icon, the menu, the options window and the message
// boxes are driven as a user would drive them.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/version.h"
#include "switcher/win32/resource.h"
#include "tests/win32/support/open_menu.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/registry.h"
#include "tests/win32/support/scratch_folder.h"

namespace e2e {

inline const std::wstring kDirectPlayKey =
    L"SOFTWARE\\Microsoft\\DirectPlay\\Applications\\Age of Empires II - The Conquerors Expansion";
inline const std::wstring kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::wstring kOptionsClass = L"Vantrel.Config";
inline const std::wstring kAboutClass = L"Vantrel.AboutForm";
inline const std::wstring kOptionsTitle = L"" VANTREL_NAME_AND_VERSION;
inline const std::wstring kAboutTitle = L"About " VANTREL_NAME_AND_VERSION;

// A string value under HKEY_LOCAL_MACHINE, set or deleted for the life of
// the object; the old state comes back afterwards.
inline std::optional<std::wstring> ReadMachineValue(const std::wstring& key, const std::wstring& name) {
    return ReadValue(Root::LocalMachine, key, name);
}
class ScopedMachineValue : public ScopedValue {
public:
    ScopedMachineValue(std::wstring key, std::wstring name, std::optional<std::wstring> data)
        : ScopedValue(Root::LocalMachine, std::move(key), std::move(name), std::move(data)) {}
};

// Keys for VantrelTest::Choose, from a freshly opened menu to each command.
inline constexpr const char* kToC = "dre";
inline constexpr const char* kToE = "drde";
inline constexpr const char* kToSaveGame = "dde";
inline constexpr const char* kToConquerors = "ddde";
inline constexpr const char* kToCurrent = "dddde";
inline constexpr const char* kToOptions = "ddddde";
inline constexpr const char* kToAbout = "dddddde";
inline constexpr const char* kToCloseMenu = "ddddddde";
inline constexpr const char* kToExit = "dddddddde";

// Whether a menu, the tray menu in these tests, is open on the desktop; and a
// wait of up to two seconds for it to close.
bool MenuOpen();
bool WaitForMenuClosed();

class VantrelTest : public ::testing::Test {
protected:
    VantrelTest();
    ~VantrelTest() override;

    // Before Start: the stored text of an option ("Launching", "Starting",
    // "Program"); nothing means never stored. All three are "0" otherwise.
    void StoreOption(const std::wstring& name, std::optional<std::wstring> text);
    // Starts Vantrel.exe and waits until its tray icon answers.
    void Start();
    Process& vantrel() { return *vantrel_; }
    HWND config() const { return config_; }

    // The tray icon's callback with this mouse message; answers whether the
    // menu opened.
    bool OpenMenu(UINT mouseMessage = WM_RBUTTONUP);
    // Opens the menu and presses the keys: 'd' down, 'u' up, 'r' right,
    // 'e' Enter, 'x' Escape. Waits until the menu has closed when the keys
    // close it.
    void Choose(const std::string& keys);
    // Opens the menu, reads it and closes it again: "<level>|<kind>|<caption>".
    std::vector<std::wstring> Menu();
    std::wstring CurrentVersionCaption();  // CurrentBuild's caption
    std::wstring OptionsCaption();         // ToggleOptions' caption

    // The message box of Vantrel that is open now (title "Vantrel").
    HWND WaitForQuestion(std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    int OpenMessageBoxes();

    // The options window's controls.
    bool Checked(int box);
    std::vector<std::wstring> ListEntries();
    std::vector<bool> ListSelection();
    // Clicks the entry as the user does (it toggles its selection).
    void ClickEntry(int index);
    int EntryIndex(const std::wstring& title);  // -1 when absent

    // Icons in the notification area (Wine's stand-alone tray); Start keeps
    // the number there was before.
    static int TrayIcons();
    int trayIconsBefore() const { return trayIconsBefore_; }

    // See OpenMenuReader::CaptionsThatDoNotFit.
    std::wstring CaptionsThatDoNotFit(HWND window, UINT dpi) { return menuReader_->CaptionsThatDoNotFit(window, dpi); }

    // Ends Vantrel through its close button; answers whether it ended.
    bool EndByCloseButton();

    ScratchFolder scratch_{L"vantrel"};
    std::wstring gameFolder_;      // ...\Games\Age2_x1
    std::wstring saveFolder_;      // ...\Games\SaveGame
    std::wstring marker_;          // gameFolder_\on.ini

private:
    std::optional<ScopedMachineValue> gamePath_;
    std::optional<ScopedMachineValue> machineRun_;
    std::optional<ScopedUserValue> userRun_;
    std::optional<ScopedControlValue> launching_, starting_, program_;
    std::unique_ptr<Process> vantrel_;
    std::unique_ptr<OpenMenuReader> menuReader_;
    HWND config_ = nullptr;
    int trayIconsBefore_ = 0;
};

}  // namespace e2e
