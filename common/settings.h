#pragma once
// The options Vantrel's options window stores per user and both programs
// read: section "Control", each value "1" (on) or "0" (off).

#include <string_view>

namespace common {

inline constexpr std::string_view kOptionsSection = "Control";
inline constexpr std::string_view kStartWithWindowsKey = "Starting";
inline constexpr std::string_view kAskToSwitchKey = "Launching";
inline constexpr std::string_view kCloseApplicationsKey = "Program";

// A stored text as the number both programs take it for: blanks or tabs
// around an optional sign, digits with an optional fraction, an optional
// exponent ("1", " 01 ", "1.0", "+1", "1e0" are one). Text never stored, or
// that is not such a number, is no number.
enum class StoredNumber { Zero, One, Other, NotANumber };
StoredNumber ReadStoredNumber(std::string_view stored);

// Vantrel checks an option's box only for the number 1.
inline bool StoredOptionIsOn(std::string_view stored) { return ReadStoredNumber(stored) == StoredNumber::One; }

// Brennic asks for the build for any number but zero; zero and text that
// is no number (never stored, empty, "yes") start the game at once.
inline bool AsksForBuild(std::string_view stored) {
    const StoredNumber number = ReadStoredNumber(stored);
    return number == StoredNumber::One || number == StoredNumber::Other;
}

}  // namespace common
