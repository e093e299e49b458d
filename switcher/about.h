#pragma once
// The text and the addresses of the About window.

#include <string>
#include <string_view>

namespace switcher {

inline constexpr std::string_view kHomePage = "https://holvane.example.com/";
inline constexpr std::string_view kHomePageButtonCaption = "Visit Holvane Home Page";
inline constexpr std::string_view kAboutFrameCaption = "About";

// The nine lines of the About window's text joined by CR LF, the fifth empty, no line end
// after the last. Built anew for every load of the window.
std::string AboutText();

}  // namespace switcher
