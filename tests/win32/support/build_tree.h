#pragma once
// Where the programs under test were built. Each test program is compiled
// with BUILD_DIR, the build tree as Wine sees it ("Z:" + the Unix path); the
// shared support library is not, so these functions live in this header and
// are compiled into the test program that includes it.

#include <stdexcept>
#include <string>

#include "tests/win32/support/files.h"
#include "tests/win32/support/text.h"

#ifndef BUILD_DIR
#error "Test programs that use the build tree are compiled with BUILD_DIR"
#endif

namespace e2e {

// BUILD_DIR with backslashes, no trailing separator.
inline std::wstring BuildDir() {
    std::wstring dir = Wide(BUILD_DIR);
    for (auto& c : dir)
        if (c == L'/') c = L'\\';
    while (!dir.empty() && dir.back() == L'\\') dir.pop_back();
    return dir;
}

// The full path of a program built in this tree, found by file name in the
// folders the targets build into (the tree's top, stub\win32, switcher\win32,
// tools). Throws std::runtime_error naming the file when it is not there.
inline std::wstring BuiltProgram(const std::wstring& fileName) {
    for (const wchar_t* sub : {L"", L"\\stub\\win32", L"\\switcher\\win32", L"\\tools"}) {
        std::wstring candidate = BuildDir() + sub + L"\\" + fileName;
        if (FileExists(candidate)) return candidate;
    }
    throw std::runtime_error("the built program " + Utf8(fileName) + " is not in " +
                             Utf8(BuildDir()));
}

// The setup program this build made, in the package folder. Throws
// std::runtime_error when there is none.
inline std::wstring BuiltSetupProgram() {
    WIN32_FIND_DATAW found{};
    const std::wstring folder = BuildDir() + L"\\package\\";
    HANDLE search = FindFirstFileW((folder + L"Vantrel-*setup.exe").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) throw std::runtime_error("no setup program in " + Utf8(folder));
    FindClose(search);
    return folder + found.cFileName;
}

}  // namespace e2e
