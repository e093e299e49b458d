#include "common/settings.h"

#include <algorithm>
#include <string>

namespace common {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

StoredNumber ReadStoredNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Worked out exactly rather than as a floating-point number, so that a
    // text is one only when it is exactly one: the value is
    // significant * 10^scale.
    std::string significant;
    long long scale = 0;
    bool anyDigit = false;
    auto takeDigits = [&](bool fraction) {
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            anyDigit = true;
            if (!significant.empty() || text[i] != '0') significant += text[i];
            if (fraction) --scale;
        }
    };
    takeDigits(false);
    if (i < text.size() && text[i] == '.') {
        ++i;
        takeDigits(true);
    }
    if (!anyDigit) return StoredNumber::NotANumber;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        const std::size_t exponentStart = i;
        long long exponent = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000'000LL);  // far past any 1
        if (i == exponentStart) return StoredNumber::NotANumber;
        scale += negativeExponent ? -exponent : exponent;
    }
    if (i != text.size()) return StoredNumber::NotANumber;

    while (!significant.empty() && significant.back() == '0') {
        significant.pop_back();
        ++scale;
    }
    if (significant.empty()) return StoredNumber::Zero;
    return !negative && significant == "1" && scale == 0 ? StoredNumber::One : StoredNumber::Other;
}

}  // namespace common
