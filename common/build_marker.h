#pragma once
// Which build of the game is current: a plain file on.ini in the game folder
// means 1.0e, none means 1.0c. A hidden or system on.ini counts as none.

#include <string>
#include <string_view>

#include "platform/services.h"

namespace common {

inline constexpr std::string_view kBuild10c = "1.0c";
inline constexpr std::string_view kBuild10e = "1.0e";
inline constexpr std::string_view kMarkerFileName = "on.ini";

std::string MarkerPath(std::string_view gameFolder);
std::string_view CurrentBuild(platform::Services& os, std::string_view gameFolder);

// Each does nothing when its build is current already, and otherwise says
// in plain words why the marker could not be changed. 1.0e is reported as
// failed too when the file made is not a plain one, as when a hidden on.ini
// was emptied in place rather than replaced: the game would still run 1.0c.
platform::Status MakeBuild10cCurrent(platform::Services& os, std::string_view gameFolder);
platform::Status MakeBuild10eCurrent(platform::Services& os, std::string_view gameFolder);

}  // namespace common
