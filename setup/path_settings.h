#pragma once
// What Windows keys by a program's full path, carried over from the game's
// executable to Brennic_Original.exe when Brennic takes the executable's
// name: compatibility layers (per user and per machine) and the enabled
// Windows Firewall rules. Whatever is added is recorded beside the
// uninstall entry, and only that is removed again.

#include <string>

#include "platform/services.h"
#include "setup/game_swap.h"

namespace setup {

inline constexpr std::string_view kLayersKeys[] = {
    "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers",
    "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers"};
// A copied rule is named "<rule> (copy for Brennic_Original.exe by Vantrel setup)".
inline constexpr std::string_view kRuleCopySuffix = " (copy for Brennic_Original.exe by Vantrel setup)";

// Carries the settings over. Never fails the setup: answers, in plain words
// one a line, what it carried over and what it could not; empty when there
// was nothing to carry.
std::string CarryOverPathSettings(platform::Services& os, platform::SetupServices& system, const GameFiles& game);

// Removes what CarryOverPathSettings recorded, and the record; answers what
// could not be removed, empty when all went.
std::string RemoveCarriedSettings(platform::Services& os, platform::SetupServices& system);

}  // namespace setup
