#pragma once
// What Windows keys by a program's full path, carried over from the game's
// executable to Brennic_Original.exe when Brennic takes the executable's
// name: compatibility layers (per user and per machine) and the enabled
// Windows Firewall rules.
//
// Layers: the game's name, now Brennic's, keeps only the privilege layers
// (run as administrator, highest available, as invoker), so the game started
// through the stub still gets those rights; every other layer (a display
// mode, reduced colour, a DPI setting) is the game's alone and moves to
// Brennic_Original.exe, unless the player gave it layers of their own.
// Firewall: each enabled rule gets a copy, the same in every property,
// unless a copy of it exists, enabled or not.
//
// Every change is recorded beside the uninstall entry, and the record
// flushed to the disk, before it is made; the uninstaller undoes exactly
// what is recorded, and only while it is still as setup left it. The value
// the game's name had goes back byte for byte.

#include <string>

#include "platform/services.h"
#include "setup/game_swap.h"

namespace setup {

inline constexpr std::string_view kLayersKeys[] = {
    "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers",
    "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers"};
// A copied rule is named "<rule> (copy for Brennic_Original.exe by Vantrel setup)".
inline constexpr std::string_view kRuleCopySuffix = " (copy for Brennic_Original.exe by Vantrel setup)";

// The part of a layers value that stays with the stub under the game's name,
// and the part that is the game's: each empty when it holds no layer. Signs
// before the layers ("~") go with both.
struct SplitLayers {
    std::string stub, game;
};
SplitLayers SplitLayersValue(std::string_view value);

// Carries the settings over. Never fails the setup: answers, in plain words
// one a line, what it carried over and what it could not; empty when there
// was nothing to carry.
std::string CarryOverPathSettings(platform::Services& os, platform::SetupServices& system, const GameFiles& game);

// Undoes what CarryOverPathSettings recorded, and the record; answers what
// could not be undone, empty when all was. What is not undone stays
// recorded, for a later run.
std::string RemoveCarriedSettings(platform::Services& os, platform::SetupServices& system);

}  // namespace setup
