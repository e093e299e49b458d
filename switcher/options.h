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

// Writes the machine-wide Run value, or this user's when that is refused.
platform::Status RegisterStartup(platform::Services& os);
// Deletes both Run values; one that is already gone is no error.
platform::Status UnregisterStartup(platform::Services& os);

}  // namespace switcher
