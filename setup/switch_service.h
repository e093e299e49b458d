#pragma once
// Players switch builds by creating and deleting on.ini in the game folder,
// and the stub adds a line to its log there. Under Program Files only
// administrators may. Rather than let every account create files beside the
// game (where a planted DLL would run in the next player's game), setup
// installs a small service, VantrelSwitch.exe in the protected install
// folder, that creates and deletes on.ini for them and does nothing else,
// and lets the users add to the log file alone.
//
// The service runs as LocalService with a SID of its own, and only that SID
// gets rights in the game folder: to create files in the folder (not
// inherited by anything), and to delete the files created in it from then
// on (an inherit-only entry for files, not subfolders), which covers an
// on.ini the service or anyone else creates later; an on.ini already there
// gets its own entry. The service itself never touches any name but on.ini.
//
// Everything granted or installed is recorded beside the uninstall entry
// before it is made, and the uninstaller takes back exactly that. The log
// stays: it is the player's launch history.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/services.h"
#include "setup/game_swap.h"

namespace setup {

inline constexpr std::string_view kSwitchProgramName = "VantrelSwitch.exe";
inline constexpr std::string_view kLogName = "WriteCommandTxt.ini";
inline constexpr std::string_view kUsersSid = "S-1-5-32-545";
inline constexpr std::uint32_t kCreateFiles = 0x2;             // FILE_ADD_FILE
inline constexpr std::uint32_t kAppendData = 0x4 | 0x100000;   // FILE_APPEND_DATA | SYNCHRONIZE
// What the service needs to delete a file it opens for that: DELETE, and
// the SYNCHRONIZE and FILE_READ_ATTRIBUTES that every open asks for.
inline constexpr std::uint32_t kDeleteFile = 0x10000 | 0x100000 | 0x80;

// The game folder the service works in, as setup recorded it in
// HKEY_LOCAL_MACHINE, where only administrators may change it.
inline constexpr std::string_view kServiceFolderRecord = "ServiceMaySwitchIn";
// What 2.1.0 granted instead: the users' right to create files in the game
// folder. An upgrade takes it back.
inline constexpr std::string_view kOldFolderRecord = "UsersMayCreateFilesIn";

// The service as setup installs it, its program at `program`. Users may
// start it, ask how it is and send it its controls, nothing more.
platform::ServiceConfig SwitchServiceConfig(std::string_view program);

// Takes back 2.1.0's folder grant, creates the log when missing, grants the
// rights above and installs the service, recording each first. Done when it
// installed the service, Updated when an earlier setup had, Skipped (with
// nothing done) when others than administrators may change the program or
// its folder, Refused or PutBack when a step failed and what came before it
// was taken back (the old grant stays taken back), Broken when that failed
// too.
Report LetPlayersSwitch(platform::Services& os, platform::SetupServices& system, const GameFiles& game,
                        std::string_view program);

// Takes back exactly what LetPlayersSwitch (or 2.1.0) recorded: removes the
// service and the rights, and each record once its part is taken back.
// Answers what could not be, one a line, its record kept for a later run;
// empty when all was.
std::string TakeBackPlayersSwitch(platform::Services& os, platform::SetupServices& system);

}  // namespace setup
