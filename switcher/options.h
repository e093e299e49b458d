#pragma once
// The startup registration that the option "Add to 'Startup'" keeps.

#include <string>
#include <string_view>

#include "platform/services.h"

namespace switcher {

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
