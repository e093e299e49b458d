#include "platform/win32/text.h"

#include <windows.h>

#include <iterator>
#include <limits>

namespace platform::win32 {

namespace {

// The conversion calls take int lengths; longer text is cut rather than
// wrapped round into a negative length.
int ClampedLength(std::size_t size) {
    constexpr std::size_t limit = static_cast<std::size_t>(std::numeric_limits<int>::max() / 4);
    return static_cast<int>(size < limit ? size : limit);
}

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    const int length = ClampedLength(text.size());
    int size = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    size = ::WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), size, nullptr, nullptr);
    result.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    return result;
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = ClampedLength(utf8.size());
    int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (size <= 0) return {};
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, result.data(), size);
    result.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    return result;
}

std::string Narrow(std::wstring_view utf16) { return FromWide(CP_UTF8, utf16); }

std::string ToAnsi(std::wstring_view utf16) { return FromWide(CP_ACP, utf16); }

std::wstring Decimal(unsigned long long number) {
    wchar_t digits[20];  // 2^64 - 1 has 20
    wchar_t* first = std::end(digits);
    do {
        *--first = static_cast<wchar_t>(L'0' + number % 10);
        number /= 10;
    } while (number != 0);
    return std::wstring(first, std::end(digits));
}

}  // namespace platform::win32
