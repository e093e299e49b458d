#include "tools/demo/screenshots.h"

#include <istream>
#include <ostream>

namespace demo {

namespace {

bool ValidName(const std::string& name) {
    if (name.empty() || name.size() > 40) return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
    return true;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

Photographer::Photographer(std::istream* answers, std::ostream* requests)
    : answers_(answers), requests_(requests) {}

Shot Photographer::Take(const std::string& name, const Area& area) {
    if (!enabled()) return {false, "no screenshots in this run"};
    if (!ValidName(name)) return {false, "\"" + name + "\" is not a usable screenshot name"};

    *requests_ << "shot " << name << ' ' << area.left << ' ' << area.top << ' ' << area.width << ' '
               << area.height << std::endl;
    std::string answer;
    if (!std::getline(*answers_, answer)) {
        // The script went away; asking again would only wait for nothing.
        answers_ = nullptr;
        return {false, "nobody answered the request for a screenshot"};
    }
    if (!answer.empty() && answer.back() == '\r') answer.pop_back();
    if (StartsWith(answer, "saved ") && answer.size() > 6) return {true, answer.substr(6)};
    if (StartsWith(answer, "failed ")) return {false, answer.substr(7)};
    return {false, "unexpected answer to a screenshot request: \"" + answer + "\""};
}

}  // namespace demo
