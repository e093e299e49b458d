#include "common/settings.h"

#include <algorithm>

namespace common {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool StoredOptionIsOn(std::string_view stored) {
    // A plain decimal number, blanks around it allowed; "1", "01" and "1.0"
    // are one, anything else (empty text included) is off.
    const auto first = stored.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    std::string_view number = stored.substr(first, stored.find_last_not_of(' ') - first + 1);
    if (number.front() == '+') number.remove_prefix(1);
    const auto dot = number.find('.');
    std::string_view whole = number.substr(0, dot);
    std::string_view fraction = dot == std::string_view::npos ? std::string_view() : number.substr(dot + 1);
    const auto digits = [](std::string_view t) { return t.find_first_not_of("0123456789") == std::string_view::npos; };
    if (whole.empty() || !digits(whole) || !digits(fraction)) return false;
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    return whole == "1" && fraction.find_first_not_of('0') == std::string_view::npos;
}

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

}  // namespace common
