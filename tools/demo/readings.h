#pragma once
// What the demo reads off the programs as a user would see it: the build a
// menu caption names, and the line a launch added to the command log.

#include <optional>
#include <string>
#include <string_view>

namespace demo {

// The caption of the menu item that names the current build, from Vantrel's
// tray menu as read (one item a line: level, kind, caption, tab-separated).
std::optional<std::string> CurrentVersionCaption(std::string_view menu);

// "1.0c" or "1.0e" when the caption names exactly one of them.
std::optional<std::string> BuildNamedBy(std::string_view caption);

// The line the launch stub appends for a launch with this argument text.
std::string CommandLogLine(std::string_view arguments);

// What was added to a file that held `before` and now holds `after`;
// nothing when `after` does not begin with `before` (the file was rewritten).
std::optional<std::string> AppendedText(std::string_view before, std::string_view after);

// A line of text with its line end taken off, to print it.
std::string WithoutLineEnd(std::string_view line);

}  // namespace demo
