#include "tests/win32/support/scratch_folder.h"

#include <windows.h>

#include <stdexcept>

#include "tests/win32/support/files.h"
#include "tests/win32/support/text.h"

namespace e2e {

namespace {

std::wstring TempRoot() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring root(buffer, n);
    while (!root.empty() && (root.back() == L'\\' || root.back() == L'/')) root.pop_back();
    return root;
}

}  // namespace

ScratchFolder::ScratchFolder(const std::wstring& name) {
    static unsigned counter = 0;
    const std::wstring parent = TempRoot() + L"\\vantrel-e2e";
    CreateDirectoryW(parent.c_str(), nullptr);
    for (;;) {
        path_ = parent + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"-" + name;
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create the scratch folder " + Utf8(path_));
    }
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

std::wstring ScratchFolder::MakeSubfolder(const std::wstring& relative) const {
    std::wstring full = path_;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos) end = relative.size();
        full += L"\\" + relative.substr(start, end - start);
        CreateDirectoryW(full.c_str(), nullptr);
        start = end + 1;
    }
    if (!FolderExists(full)) throw std::runtime_error("cannot create the folder " + Utf8(full));
    return full;
}

}  // namespace e2e
