#include "tests/win32/support/icon_images.h"

#include <windows.h>

#include <cstring>

namespace e2e {

namespace {

#pragma pack(push, 2)
struct GroupEntry {  // one image in an RT_GROUP_ICON directory
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

const BYTE* Resource(HMODULE file, const wchar_t* name, const wchar_t* type, DWORD& size) {
    HRSRC found = ::FindResourceW(file, name, type);
    if (!found) return nullptr;
    size = ::SizeofResource(file, found);
    return static_cast<const BYTE*>(::LockResource(::LoadResource(file, found)));
}

}  // namespace

std::vector<std::string> IconImages(const std::wstring& program) {
    std::vector<std::string> images;
    HMODULE file = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!file) return images;
    DWORD size = 0;
    const BYTE* group = Resource(file, MAKEINTRESOURCEW(1), RT_GROUP_ICON, size);
    const WORD count = group && size >= 6 ? static_cast<WORD>(group[4] | group[5] << 8) : 0;
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupEntry) <= size; ++i) {
        GroupEntry entry;
        std::memcpy(&entry, group + 6 + i * sizeof(GroupEntry), sizeof entry);
        DWORD imageSize = 0;
        const BYTE* image = Resource(file, MAKEINTRESOURCEW(entry.id), RT_ICON, imageSize);
        const bool png = image && imageSize >= 8 && std::memcmp(image, "\x89PNG\r\n\x1a\n", 8) == 0;
        images.push_back(std::to_string(entry.width ? entry.width : 256) + " px " +
                         std::to_string(entry.bitCount) + "-bit" + (png ? " PNG" : ""));
    }
    ::FreeLibrary(file);
    return images;
}

}  // namespace e2e
