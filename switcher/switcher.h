#pragma once
// Vantrel's behaviour and state: the options, the application list, the tray
// menu's commands, the options window's toggle, start-up and shut-down, and
// the game watcher. The window code forwards messages here and draws what
// the accessors report.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/services.h"
#include "switcher/view.h"

namespace switcher {

enum class CheckBox { Launching, Starting, Program };

// The tray popup menu `mnu`, in display order.
enum class MenuItem {
    mnuversion,  // opens the sub-menu of the next two
    mnuc,
    mnue,
    mnusavegame,
    mnuconquerors,
    sep1,
    mnucurrent,  // greyed
    mnuoptions,
    mnuabout,
    sep2,
    mnuclose,
    mnuexit,
};

struct ApplicationEntry {
    std::string title;
    bool selected = false;
};

inline constexpr unsigned kTrayCallbackMessage = 1400;
inline constexpr unsigned kTimerIntervalMs = 250;

class Switcher {
public:
    Switcher(platform::Services& os, View& view);

    // Load of `Config`, after its window exists. False when another instance
    // runs: the program then ends at once, silently.
    bool Load();
    // Unload of `Config` (its close button, or after Exit): removes the icon.
    void Unload();

    // The Explorer restart message: the icon must be added again.
    void TaskbarCreated();
    // The tray callback's mouse message (its lParam). True when the popup menu
    // must open now; false also while a menu or a message box of ours is open.
    bool TrayMouseMessage(std::uint32_t mouseMessage);
    // The popup menu has closed (with or without a command).
    void MenuClosed();

    void Command(MenuItem item);
    void ClickOk();
    void ClickCheckBox(CheckBox box);  // the user clicked: toggle, then handle
    // The user changed the selection in ApplicationList.
    void SetSelected(std::size_t index, bool selected);

    // One tick of Timer1.
    void Tick();

    // --- state for drawing ---
    bool Checked(CheckBox box) const;
    const std::vector<ApplicationEntry>& Applications() const;
    std::string Caption(MenuItem item) const;  // mnucurrent's and mnuoptions' change
    bool ConfigVisible() const;
    bool Asked() const;

    // ... the implementation adds what it needs below; keep the above stable.
};

}  // namespace switcher
