#pragma once
// The options Vantrel's options window stores per user and both programs
// read: section "Control", each value "1" (on) or "0" (off).

#include <string_view>

namespace common {

inline constexpr std::string_view kOptionsSection = "Control";
inline constexpr std::string_view kStartWithWindowsKey = "Starting";
inline constexpr std::string_view kAskToSwitchKey = "Launching";
inline constexpr std::string_view kCloseApplicationsKey = "Program";

// How Vantrel reads an option: only a number equal to 1 turns it on ("1",
// " 01 ", "1.0", "+1"). Text never stored, or that is not a number, is off.
bool StoredOptionIsOn(std::string_view stored);

// How Brennic reads "Ask to switch": any number but zero asks ("1", "2",
// "-1", " 0.5"); zero ("0", " 0.0 ", "-0", "0e5") and text that is not a
// decimal number (never stored, empty, "yes") start the game at once. A
// number is an optional sign, digits with an optional fraction, an optional
// exponent, and blanks around it.
bool AsksForBuild(std::string_view stored);

}  // namespace common
