#pragma once
// The game's folder, as registered by its DirectPlay application entry, and
// the build that is current in it.

#include <string>
#include <string_view>

#include "platform/services.h"

namespace switcher {

inline constexpr std::string_view kGamePathValue =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectPlay\\Applications\\"
    "Age of Empires II - The Conquerors Expansion\\Path";

// The registered game folder, read afresh.
platform::Result<std::string> GameFolder(platform::Services& os);

// Each of these enters the game folder, does its work there and then returns
// to the program's own folder. When the registration is missing or unusable
// they change nothing and say why.
platform::Result<std::string> GetVersion(platform::Services& os);
platform::Status SwitchToC(platform::Services& os);
platform::Status SwitchToE(platform::Services& os);

// Starts folder\file from inside folder, then returns to the program's own.
platform::Status RunInFolder(platform::Services& os, std::string_view folder,
                             std::string_view file, platform::WindowStyle style);

// The save folder beside the game executable's folder: the registered path
// less its last 7 characters (the executable's folder name), plus "SaveGame".
// Leaves the working folder alone.
platform::Result<std::string> SaveGameFolder(platform::Services& os);

}  // namespace switcher
