#pragma once
// Conversions between the programs' UTF-8 text and the system's UTF-16 and
// ANSI forms. Malformed input never fails: it converts with replacement
// characters, as the system does.

#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// In the system's ANSI code page; characters it lacks become its default
// character ("?").
std::string ToAnsi(std::wstring_view utf16);
// A whole number in decimal digits. std::to_wstring would bring the C
// library's printf along, most of a program's size for one number.
std::wstring Decimal(unsigned long long number);

}  // namespace platform::win32
