#include "switcher/about.h"

#include <array>

#include "common/version.h"

namespace switcher {

std::string AboutText() {
    static constexpr std::array<std::string_view, 9> kLines = {
        VANTREL_NAME_AND_VERSION " lets you to switch AoC between 1.0c and 1.0e",
        "Written by Holvane",
        "E-mail: holvane@holvane.example.com",
        "More information: https://holvane.example.com/",
        "",
        "Special thanks to my friend",
        "Merrit Talwyn",
        "Visit his home page at",
        "https://talwyn.example.org/",
    };
    std::string text(kLines[0]);
    for (std::size_t i = 1; i < kLines.size(); ++i) {
        text += "\r\n";
        text += kLines[i];
    }
    return text;
}

}  // namespace switcher
