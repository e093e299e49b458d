#pragma once
// What a program file's icon holds, read from its resources.

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace e2e {

// The images of the program's first icon group, as "16 px 32-bit", with
// " PNG" after those stored as PNG.
inline std::vector<std::string> IconImages(const std::wstring& program) {
    std::vector<std::string> images;
    HMODULE file = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    auto resource = [file](WORD id, const wchar_t* type) {
        HRSRC found = file ? FindResourceW(file, MAKEINTRESOURCEW(id), type) : nullptr;
        return found ? static_cast<const BYTE*>(LockResource(LoadResource(file, found))) : nullptr;
    };
    const BYTE* group = resource(1, RT_GROUP_ICON);
    for (int i = 0; group && i < (group[4] | group[5] << 8); ++i) {
        const BYTE* entry = group + 6 + 14 * i;  // width, height, colours, 0, planes, bits, size, id
        const BYTE* image = resource(static_cast<WORD>(entry[12] | entry[13] << 8), RT_ICON);
        images.push_back(std::to_string(entry[0] ? entry[0] : 256) + " px " + std::to_string(entry[6]) + "-bit" +
                         (image && std::memcmp(image, "\x89PNG", 4) == 0 ? " PNG" : ""));
    }
    if (file) FreeLibrary(file);
    return images;
}

// Both programs' icons: drawn for the notification area and captions at
// 100, 125 and 150 % scale, title bars, Alt+Tab and Explorer's views.
inline const std::vector<std::string> kIconImages = {
    "16 px 32-bit", "20 px 32-bit", "24 px 32-bit", "32 px 32-bit",
    "40 px 32-bit", "48 px 32-bit", "64 px 32-bit", "256 px 32-bit PNG"};

}  // namespace e2e
