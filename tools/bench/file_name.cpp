#include "tools/bench/file_name.h"

namespace bench {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool HasFileName(std::string_view path, std::string_view name) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (last.size() != name.size()) return false;
    for (std::size_t i = 0; i < last.size(); ++i)
        if (Lower(last[i]) != Lower(name[i])) return false;
    return true;
}

}  // namespace bench
