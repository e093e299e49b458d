#pragma once
// Players switch builds by creating and deleting on.ini in the game folder,
// and the stub adds a line to its log there. Under Program Files only
// administrators may. Setup can let the users of the PC create files there,
// and add to an existing log, and nothing more: the files already there (the
// game, its libraries) stay theirs to read and run only. A file a player
// creates is that player's own, so they may delete it again.

#include "platform/services.h"
#include "setup/game_swap.h"

namespace setup {

inline constexpr std::uint32_t kCreateFiles = 0x2;           // FILE_ADD_FILE
inline constexpr std::uint32_t kAppendData = 0x4 | 0x100000;  // FILE_APPEND_DATA | SYNCHRONIZE
inline constexpr std::string_view kLogName = "WriteCommandTxt.ini";

// Grants what is missing, recording it first. Done when it granted, Skipped
// when the users could already, Refused when a grant failed (then nothing
// is granted).
Report LetPlayersSwitch(platform::Services& os, platform::SetupServices& system, const GameFiles& game);

// Takes back exactly what LetPlayersSwitch recorded; answers what could
// not be taken back, empty when all was.
std::string TakeBackPlayersRights(platform::Services& os, platform::SetupServices& system);

}  // namespace setup
