#include "platform/win32/program_facts.h"

#include <windows.h>

namespace platform::win32 {

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        // A full buffer means the path may have been cut.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768 * 2) return {};
        path.resize(path.size() * 2);
    }
}

std::wstring FolderOf(std::wstring_view path) {
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return {};
    std::wstring folder(path.substr(0, slash));
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

std::wstring ArgumentTextOf(std::wstring_view commandLine) {
    std::size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        i = commandLine.find(L'"', 1);
        i = i == std::wstring_view::npos ? commandLine.size() : i + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t') ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
    return std::wstring(commandLine.substr(i));
}

std::wstring InstanceMutexName(std::wstring_view programPath) {
    std::wstring name(programPath.substr(programPath.find_last_of(L"\\/") + 1));
    if (const auto dot = name.rfind(L'.'); dot != std::wstring::npos && dot > 0) name.resize(dot);
    if (!name.empty()) ::CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    return L"Local\\Vantrel.Instance." + name;
}

bool InstanceClaim::AnotherInstanceRunning() {
    if (another_) return *another_;
    const std::wstring name = InstanceMutexName(ProgramPath());
    mutex_.reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
    const DWORD error = ::GetLastError();
    if (mutex_) {
        another_ = error == ERROR_ALREADY_EXISTS;
    } else {
        // Refused access means the name is held, by a copy running with
        // other rights. Any other failure cannot tell; let this copy run.
        another_ = error == ERROR_ACCESS_DENIED;
    }
    return *another_;
}

}  // namespace platform::win32
