#pragma once
// UTF-8 <-> UTF-16 conversions for tests that talk to the wide-character
// system calls but compare and print UTF-8 text.

#include <string>
#include <string_view>

namespace e2e {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// `wide` in the system's ANSI code page as Windows converts it by default:
// best-fit where the code page has a near character, '?' where it has none.
std::string Ansi(std::wstring_view wide);

}  // namespace e2e
