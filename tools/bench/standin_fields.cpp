#include "tools/bench/standin_fields.h"

#include <charconv>
#include <cstdint>

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

namespace bench {

namespace {

template <typename Number>
std::optional<Number> Decimal(const StandinFields& fields, const char* name) {
    const auto it = fields.find(name);
    if (it == fields.end()) return std::nullopt;
    const std::string& text = it->second;
    Number value = 0;
    // from_chars takes no sign and no blanks but would stop at the first
    // non-digit; the whole text must be the number.
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::optional<StandinStart> StandinStartOf(const StandinFields& fields) {
    const auto started = Decimal<unsigned long long>(fields, "started");
    const auto pid = Decimal<std::uint32_t>(fields, "pid");
    if (!started || !pid) return std::nullopt;
    StandinStart start;
    start.startedAt = *started;
    start.processId = *pid;
    if (auto it = fields.find("program"); it != fields.end()) start.program = it->second;
    if (auto it = fields.find("arguments"); it != fields.end()) start.arguments = it->second;
    return start;
}

bool HasFileName(std::string_view path, std::string_view name) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (last.size() != name.size()) return false;
    for (std::size_t i = 0; i < last.size(); ++i)
        if (Lower(last[i]) != Lower(name[i])) return false;
    return true;
}

}  // namespace bench
