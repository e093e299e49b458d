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

// The service setup installs (its component "Players may switch builds") so
// that players who may not change the game folder can still switch: it makes
// these changes in the game folder setup recorded, and nothing else. Its two
// controls are an interface that scripts may use too (sc control
// VantrelSwitch 128).
inline constexpr std::string_view kSwitchServiceName = "VantrelSwitch";
inline constexpr std::string_view kSwitchServiceComponent = "Players may switch builds";
inline constexpr unsigned kMake10eCurrentControl = 128;  // creates on.ini
inline constexpr unsigned kMake10cCurrentControl = 129;  // deletes on.ini

std::string MarkerPath(std::string_view gameFolder);
std::string_view CurrentBuild(platform::Services& os, std::string_view gameFolder);

// Each does nothing when its build is current already, and otherwise says
// in plain words why the marker could not be changed. 1.0e is reported as
// failed too when the file made is not a plain one, as when a hidden on.ini
// was emptied in place rather than replaced: the game would still run 1.0c.
// A change the system refuses for want of rights is asked of the switch
// service, when it is installed, and waited for.
platform::Status MakeBuild10cCurrent(platform::Services& os, std::string_view gameFolder);
platform::Status MakeBuild10eCurrent(platform::Services& os, std::string_view gameFolder);

}  // namespace common
