#pragma once
// Where setup puts Vantrel.exe, which starts at every log-on, and
// uninstall.exe, which runs elevated: a folder nobody but administrators can
// change, judged by its owner and permissions, not by its name.
//
// A folder others may change gets a subfolder Vantrel that setup creates
// with the permissions a folder under Program Files has. Where others could
// still rename or replace a folder on the way to it (they own one, or may
// delete what is in it), no folder there is safe, and setup refuses.

#include <string>
#include <string_view>

#include "platform/services.h"
#include "setup/game_swap.h"

namespace setup {

// "C:\a\.\b\..\c\" as "C:\a\c": a full path on a drive, with no "." or ".."
// left in it; fails for anything else.
platform::Result<std::string> FullPath(std::string_view path);

struct InstallFolder {
    Outcome outcome;  // Done: `folder` is the chosen one; Updated: its subfolder; Refused
    std::string folder;
    std::string message;  // plain words, for the user
};

InstallFolder ChooseInstallFolder(platform::Services& os, platform::SetupServices& system, std::string_view chosen);

// Whether `other` is the folder `folder` under another name (a short 8.3
// name, a junction, another path to it): a marker file written into
// `folder` shows through `other`. Fails when no marker can be written.
platform::Result<bool> SameFolder(platform::Services& os, std::string_view folder, std::string_view other);

}  // namespace setup
