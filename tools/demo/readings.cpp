#include "tools/demo/readings.h"

namespace demo {

namespace {

constexpr std::string_view kCurrentPrefix = "Current version is ";

}  // namespace

std::optional<std::string> CurrentVersionCaption(std::string_view menu) {
    while (!menu.empty()) {
        std::size_t end = menu.find('\n');
        std::string_view line = menu.substr(0, end);
        menu = end == std::string_view::npos ? std::string_view() : menu.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // The caption is the last field: captions hold no tabs, the level and
        // kind before it do not matter here.
        std::size_t tab = line.rfind('\t');
        std::string_view caption = tab == std::string_view::npos ? line : line.substr(tab + 1);
        if (caption.substr(0, kCurrentPrefix.size()) == kCurrentPrefix) return std::string(caption);
    }
    return std::nullopt;
}

std::optional<std::string> BuildNamedBy(std::string_view caption) {
    if (caption.substr(0, kCurrentPrefix.size()) != kCurrentPrefix) return std::nullopt;
    std::string_view build = caption.substr(kCurrentPrefix.size());
    if (build == "1.0c" || build == "1.0e") return std::string(build);
    return std::nullopt;
}

std::string CommandLogLine(std::string_view arguments) {
    return "\"" + std::string(arguments) + "\"\r\n";
}

std::optional<std::string> AppendedText(std::string_view before, std::string_view after) {
    if (after.substr(0, before.size()) != before) return std::nullopt;
    return std::string(after.substr(before.size()));
}

std::string WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return std::string(line);
}

}  // namespace demo
