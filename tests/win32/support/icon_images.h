#pragma once
// What a program file's icon holds, read from its resources.

#include <string>
#include <vector>

namespace e2e {

// The images of the program's first icon group, as "16 px 32-bit", with
// " PNG" after those stored as PNG; empty when the file or its icon cannot
// be read.
std::vector<std::string> IconImages(const std::wstring& program);

// Both programs' icons: drawn for the notification area and captions at
// 100, 125 and 150 % scale, title bars, Alt+Tab and Explorer's views.
inline const std::vector<std::string> kIconImages = {
    "16 px 32-bit", "20 px 32-bit", "24 px 32-bit", "32 px 32-bit",
    "40 px 32-bit", "48 px 32-bit", "64 px 32-bit", "256 px 32-bit PNG"};

}  // namespace e2e
