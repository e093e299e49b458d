#pragma once
// Vantrel's behaviour and state: the tray menu's commands, the options
// window's toggle, start-up and shut-down, holding the options and the game
// watcher. The window code forwards messages here and draws what the
// accessors report.
//
// How the window code drives it:
//   options window created       -> Load(); false: destroy it silently, end.
//   options window's WM_DESTROY  -> Unload(); then if MustEnd() PostQuitMessage.
//   About window created         -> AboutLoaded(); its text = AboutText().
//   About window's WM_DESTROY    -> AboutUnloaded(); then if MustEnd() quit.
//   About window OK / home page  -> AboutOk() / AboutVisitHomePage().
//   tray icon clicked            -> if TrayClicked(button): open the menu,
//                                   then MenuClosed(), then Command(chosen).
//   a check box or the list      -> options().ClickCheckBox(box) / SetSelected().
//   watch timer (every 250 ms)   -> Tick().
//   display, scale or icon metrics changed -> TrayIconSizeMayHaveChanged().
// After every call, draw from the accessors when View::Refresh() asks.

#include <string>

#include "platform/services.h"
#include "switcher/lifetime.h"
#include "switcher/messages.h"
#include "switcher/options.h"
#include "switcher/tray_retry.h"
#include "switcher/view.h"
#include "switcher/watcher.h"

namespace switcher {

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
    // The notification area may draw icons at another size now: a display,
    // scale or icon metric changed.
    void TrayIconSizeMayHaveChanged();
    // True when the popup menu must open now; false while a menu or a
    // message box of ours is open, and a box is brought to the front then.
    bool TrayClicked(TrayClick button);
    // The popup menu has closed (with or without a command).
    void MenuClosed();

    void Command(MenuItem item);
    void ClickOk();

    // One tick of the watch timer: asks again, when it is time, for an icon
    // or an icon size the shell refused, then the watcher looks unless a message box or the menu of ours is open.
    void Tick();

    // --- state for drawing ---
    Options& options() { return options_; }
    const Options& options() const { return options_; }
    std::string Caption(MenuItem item) const;  // every item's; CurrentBuild's and ToggleOptions' change
    bool OptionsVisible() const;

    // --- the About window ---
    void AboutLoaded();
    void AboutUnloaded();
    void AboutOk();  // closes the window
    // Opens the home page in Explorer, maximized, then unloads the
    // window. When Explorer cannot be started it says so and the window stays.
    void AboutVisitHomePage();

    // True once no window of the program is loaded: the program must end.
    bool MustEnd() const { return !lifetime_.AnyLoaded(); }

private:
    void InstallTray();
    void AddTrayIcon();
    void ResizeTrayIcon();
    void RetryTrayIcon();
    void RemoveTray();
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
    Options options_;
    Watcher watcher_;

    bool trayInstalled_ = false;  // from InstallTray until RemoveTray
    bool trayShown_ = false;      // the shell took the icon
    bool traySizeRefused_ = false;  // and refused its image at a new size
    TrayRetry trayRetry_;
    bool menuOpen_ = false;
    bool optionsVisible_ = false;
    std::string currentCaption_;
};

}  // namespace switcher
