#pragma once
// The option "Launching", which the tray program stores as "1" when it
// should ask for the build and "0" when not. The stub reads it as a number:
// zero means start the game at once, any other number means ask.

#include <string_view>

namespace stub {

inline constexpr std::string_view kSettingsSection = "Control";
inline constexpr std::string_view kLaunchingKey = "Launching";

// False for zero ("0", " 0.0 ", "-0", "0e5") and for text that is not a
// decimal number (never stored, empty, "yes"); true for any other number
// ("1", "2", "-1", " 0.5"). A number is an optional sign, digits with an
// optional fraction, an optional exponent, and blanks around it.
bool AsksForBuild(std::string_view stored);

}  // namespace stub
