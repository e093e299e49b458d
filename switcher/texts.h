#pragma once
// Fixed texts that Vantrel shows, and the window titles it looks for.

#include <string_view>

#include "common/version.h"

namespace switcher {

inline constexpr std::string_view kProgramTitle = "Vantrel";  // every message box, the tray tip
inline constexpr std::string_view kOptionsTitle = VANTREL_NAME_AND_VERSION;
inline constexpr std::string_view kAboutTitle = "About " VANTREL_NAME_AND_VERSION;

inline constexpr std::string_view kAskToSwitchCaption =
    "Ask me to switch 1.0e when 'Host is launching game'";
inline constexpr std::string_view kStartWithWindowsCaption = "Add to 'Startup'";
inline constexpr std::string_view kCloseApplicationsCaption =
    "End selected aplications when The Conquerors is runned";
inline constexpr std::string_view kOkCaption = "OK";
inline constexpr std::string_view kReplyHintCaption = "Reply in 2 seconds.";

inline constexpr std::string_view kCurrentVersionPrefix = "Current version is ";
// CurrentBuild before the build is known, and whenever it cannot be read.
inline constexpr std::string_view kVersionUnknownCaption = "Current version is 1.0?";
inline constexpr std::string_view kShowOptions = "Show Options";
inline constexpr std::string_view kHideOptions = "Hide Options";

inline constexpr std::string_view kExitQuestion = "Do you really want to exit Vantrel?";
inline constexpr std::string_view kAboutRefused = "Vantrel cannot open its About window.";
inline constexpr std::string_view kOptionsRefused = "Vantrel cannot show its options window.";
inline constexpr std::string_view kSwitchQuestion =
    "Do you want to swtich 1.0e?\r\nOK for 1.0e\r\nCancel for 1.0c";

// Watched windows, matched by their whole title.
inline constexpr std::string_view kGameWindowTitle = "Age Of Empires II Expansion";
inline constexpr std::string_view kHostWindowTitle = "Host is Launching game.";

}  // namespace switcher
