#include "stub/launching_option.h"

namespace stub {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool AsksForBuild(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool anyDigit = false;
    bool nonZero = false;
    auto digits = [&] {
        while (i < text.size() && IsDigit(text[i])) {
            anyDigit = true;
            nonZero = nonZero || text[i] != '0';
            ++i;
        }
    };
    digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits();
    }
    if (!anyDigit) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t exponentStart = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        if (i == exponentStart) return false;
    }
    if (i != text.size()) return false;
    return nonZero;
}

}  // namespace stub
