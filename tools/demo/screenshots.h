#pragma once
// Screenshots of the visible steps. A program inside Wine cannot reach the X
// server's screenshot tools, so the demo script takes them: the player asks
// with one line on its output and waits for the script's answer on its input
// before it goes on, so a window is on the screen while it is photographed.
//
//   request:  shot <name> <left> <top> <width> <height>
//             (the area of interest in screen pixels, for a cropped copy)
//   answer:   saved <path>   or   failed <reason>

#include <iosfwd>
#include <string>

namespace demo {

struct Area {
    int left = 0, top = 0, width = 0, height = 0;
};

struct Shot {
    bool saved = false;
    std::string detail;  // the file's path when saved, else why not
};

class Photographer {
public:
    // Without a script to answer (either stream null) no screenshots are
    // taken and nobody is waited for.
    Photographer(std::istream* answers, std::ostream* requests);

    bool enabled() const { return answers_ && requests_; }

    // Names are a few lower-case letters, digits and dashes: they become
    // file names on the script's side.
    Shot Take(const std::string& name, const Area& area);

private:
    std::istream* answers_;
    std::ostream* requests_;
};

}  // namespace demo
