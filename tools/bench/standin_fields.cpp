#include "tools/bench/standin_fields.h"

#include <charconv>

namespace bench {

std::optional<StandinFields> FirstStandinRecord(std::string_view text) {
    StandinFields fields;
    std::size_t at = 0;
    for (;;) {
        const std::size_t blank = text.find(' ', at);
        const std::size_t newline = text.find('\n', at);
        if (blank == std::string_view::npos || newline == std::string_view::npos || newline < blank)
            return std::nullopt;
        const std::string name(text.substr(at, blank - at));
        const std::string_view count = text.substr(blank + 1, newline - blank - 1);
        std::size_t size = 0;
        const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), size);
        if (name.empty() || count.empty() || error != std::errc() || end != count.data() + count.size())
            return std::nullopt;
        const std::size_t value = newline + 1;
        if (size > text.size() - value || text.size() - value - size < 1 || text[value + size] != '\n')
            return std::nullopt;
        if (name == "end") return fields;
        fields[name] = std::string(text.substr(value, size));
        at = value + size + 1;
    }
}

}  // namespace bench
