#pragma once
// The options window's three check boxes and the application list under the
// third: stored the moment they change, read back at start-up. And the
// startup registration that "Add to 'Startup'" keeps.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/services.h"
#include "switcher/application_list.h"
#include "switcher/messages.h"
#include "switcher/view.h"

namespace switcher {

enum class CheckBox { AskToSwitch, StartWithWindows, CloseApplications };

class Options {
public:
    Options(platform::Services& os, View& view, Messages& messages)
        : os_(os), view_(view), messages_(messages) {}

    // Sets each box as stored; a box stored ticked runs its click handling
    // (it registers the startup, fills the list).
    void Load();
    void ClickCheckBox(CheckBox box);  // the user clicked: toggle, then handle
    // The user changed the selection in the application list.
    void SetSelected(std::size_t index, bool selected);

    bool Checked(CheckBox box) const;
    const std::vector<ApplicationEntry>& Applications() const { return applications_.Entries(); }

    // The game has started: the selected applications are asked to close,
    // once, and the list empties. Nothing when the third box is unticked or
    // the list is empty; true when the list changed.
    bool CloseSelectedApplications();

private:
    bool& Box(CheckBox box);
    // Sets a box as Load does: a changed value runs its click handling.
    void SetBox(CheckBox box, bool checked);
    void HandleClick(CheckBox box);
    void ApplyStartWithWindows();
    void ApplyAskToSwitch();
    void ApplyCloseApplications();
    void StoreOption(std::string_view key, bool on);

    platform::Services& os_;
    View& view_;
    Messages& messages_;
    ApplicationList applications_;

    bool askToSwitch_ = false;
    bool startWithWindows_ = false;
    bool closeApplications_ = false;
};

inline constexpr std::string_view kMachineRunValue =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Vantrel";
inline constexpr std::string_view kUserRunValue =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Vantrel";

// The Run value's data: the program's folder and "\Vantrel.exe", quoted when
// the path holds a blank.
std::string StartupCommand(std::string_view programFolder);

// Writes the machine-wide Run value, or this user's when that is refused;
// answers the one written.
platform::Result<std::string_view> RegisterStartup(platform::Services& os);
// Deletes the Run value in the other place than `written`, left from an
// earlier registration: with both, Windows starts the program twice.
platform::Status RemoveOtherStartup(platform::Services& os, std::string_view written);
// Deletes both Run values; one that is already gone is no error.
platform::Status UnregisterStartup(platform::Services& os);

}  // namespace switcher
