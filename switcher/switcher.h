#pragma once
// Vantrel's behaviour and state: the options, the application list, the tray
// menu's commands, the options window's toggle, start-up and shut-down, and
// the game watcher. The window code forwards messages here and draws what
// the accessors report.
//
// How the window code drives it:
//   options window created       -> Load(); false: destroy it silently, end.
//   options window's WM_DESTROY  -> Unload(); then if MustEnd() PostQuitMessage.
//   About window created         -> AboutLoaded(); its text = AboutText().
//   About window's WM_DESTROY    -> AboutUnloaded(); then if MustEnd() quit.
//   About window OK / home page  -> AboutOk() / AboutVisitHomePage().
//   tray icon clicked            -> if TrayClicked(button): open the menu,
//                                   then MenuClosed(), then Command(chosen).
//   watch timer (every 250 ms)   -> Tick().
// After every call, draw from the accessors when View::Refresh() asks.

#include <string>
#include <vector>

#include "platform/services.h"
#include "switcher/application_list.h"
#include "switcher/lifetime.h"
#include "switcher/messages.h"
#include "switcher/view.h"

namespace switcher {

enum class CheckBox { AskToSwitch, StartWithWindows, CloseApplications };

// The tray's popup menu, in display order.
enum class MenuItem {
    Versions,  // opens the sub-menu of the next two
    Build10c,
    Build10e,
    SaveGame,
    StartGame,
    GameSeparator,
    CurrentBuild,  // greyed
    ToggleOptions,
    About,
    ExitSeparator,
    CloseMenu,
    Exit,
};

inline constexpr unsigned kWatchIntervalMs = 250;
// A release of either button on the tray icon opens the menu.
enum class TrayClick { Left, Right };

// The sub-menu level of an item: 2 for Build10c and Build10e (under Versions), 1
// for the others.
int MenuLevel(MenuItem item);
// Separators are GameSeparator and ExitSeparator; CurrentBuild is greyed.
bool IsSeparator(MenuItem item);
bool IsGreyed(MenuItem item);

class Switcher {
public:
    Switcher(platform::Services& os, View& view);

    // The options window exists. False when another instance
    // runs: the program then ends at once, silently.
    bool Load();
    // The options window is gone (its close button, or after Exit): removes the icon.
    void Unload();

    // The Explorer restart message: the icon must be added again.
    void TaskbarCreated();
    // True when the popup menu must open now; false while a menu or a
    // message box of ours is open, and a box is brought to the front then.
    bool TrayClicked(TrayClick button);
    // The popup menu has closed (with or without a command).
    void MenuClosed();

    void Command(MenuItem item);
    void ClickOk();
    void ClickCheckBox(CheckBox box);  // the user clicked: toggle, then handle
    // The user changed the selection in ApplicationList.
    void SetSelected(std::size_t index, bool selected);

    // One tick of the watch timer.
    void Tick();

    // --- state for drawing ---
    bool Checked(CheckBox box) const;
    const std::vector<ApplicationEntry>& Applications() const;
    std::string Caption(MenuItem item) const;  // every item's; CurrentBuild's and ToggleOptions' change
    bool OptionsVisible() const;
    bool Asked() const;

    // --- the About window ---
    void AboutLoaded();
    void AboutUnloaded();
    void AboutOk();  // closes the window
    // Opens the home page in Explorer, maximized, then unloads the
    // window. When Explorer cannot be started it says so and the window stays.
    void AboutVisitHomePage();

    // True once no window of the program is loaded: the program must end.
    bool MustEnd() const { return !lifetime_.AnyLoaded(); }
    const Lifetime& Windows() const { return lifetime_; }

    // Whether a message box of ours is open (nothing acts on ticks then).
    bool MessageOpen() const { return messages_.Open(); }
    bool MenuOpen() const { return menuOpen_; }
    // From InstallTray until RemoveTray.
    bool TrayInstalled() const { return trayInstalled_; }

    // --- the named steps, public so they can be driven one at a time ---
    void InstallTray();
    void RemoveTray();
    void LoadOptions();

private:
    bool& Box(CheckBox box);
    // Sets a box as LoadOptions does: a changed value runs its click handling.
    void SetBox(CheckBox box, bool checked);
    void HandleClick(CheckBox box);
    void ApplyStartWithWindows();
    void ApplyAskToSwitch();
    void ApplyCloseApplications();
    void StoreOption(std::string_view key, bool on);

    void SwitchBuild(bool toE);
    void OpenSaveGame();
    void StartGame();
    void ShowAbout();
    void Exit();
    void RefreshVersionCaption();

    platform::Services& os_;
    View& view_;
    Messages messages_;
    Lifetime lifetime_;
    ApplicationList applications_;

    bool askToSwitch_ = false;
    bool startWithWindows_ = false;
    bool closeApplications_ = false;

    bool trayInstalled_ = false;
    bool menuOpen_ = false;
    bool optionsVisible_ = false;
    bool asked_ = false;
    std::string currentCaption_;
};

}  // namespace switcher
