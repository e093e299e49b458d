#include "platform/win32/win32_services.h"

#include <windows.h>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

namespace platform::win32 {

namespace {

DWORD AttributesOf(std::string_view path) {
    if (path.empty()) return INVALID_FILE_ATTRIBUTES;
    return ::GetFileAttributesW(Widen(path).c_str());
}

}  // namespace

bool Win32Services::PlainFileExists(std::string_view path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool Win32Services::FolderExists(std::string_view path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

Status Win32Services::RemoveFile(std::string_view path) {
    const std::wstring wide = Widen(path);
    if (!::DeleteFileW(wide.c_str())) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot delete the file " + Quoted(path), error);
    }
    return Status::Ok();
}

Status Win32Services::CreateEmptyFile(std::string_view path) {
    const std::wstring wide = Widen(path);
    UniqueHandle file(::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD error = ::GetLastError();
    if (!file) return Failure("Cannot create the file " + Quoted(path), error);
    return Status::Ok();
}

Status Win32Services::AppendAnsiText(std::string_view path, std::string_view text) {
    const std::string ansi = ToAnsi(Widen(text));
    // Append access alone: every write lands at the current end of the file,
    // so earlier bytes cannot be overwritten even if another writer appends
    // at the same time. Readers and writers that hold the file open are let
    // be.
    const std::wstring wide = Widen(path);
    UniqueHandle file(::CreateFileW(wide.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD error = ::GetLastError();
    if (!file) return Failure("Cannot open the file " + Quoted(path) + " to add to it", error);
    if (ansi.empty()) return Status::Ok();

    DWORD written = 0;
    if (!::WriteFile(file.get(), ansi.data(), static_cast<DWORD>(ansi.size()), &written, nullptr)) {
        const DWORD writeError = ::GetLastError();
        return Failure("Cannot write to the file " + Quoted(path), writeError);
    }
    if (written != ansi.size())
        return Status::Fail("Cannot write to the file " + Quoted(path) + ": only " + std::to_string(written) +
                            " of " + std::to_string(ansi.size()) + " bytes were written");
    return Status::Ok();
}

Status Win32Services::SelectDrive(std::string_view root) {
    char letter = root.empty() ? '\0' : root.front();
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return Status::Fail("The path " + Quoted(root) + " does not begin with a drive letter");
    // "X:" alone is the folder last current on drive X, as selecting a drive
    // in a command prompt gives.
    const wchar_t drive[] = {static_cast<wchar_t>(letter), L':', L'\0'};
    if (!::SetCurrentDirectoryW(drive)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot select the drive " + std::string(1, letter) + ":", error);
    }
    return Status::Ok();
}

Status Win32Services::SetCurrentFolder(std::string_view folder) {
    if (folder.empty()) return Status::Fail("No folder was given to make the working folder");
    const std::wstring wide = Widen(folder);
    if (!::SetCurrentDirectoryW(wide.c_str())) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot make " + Quoted(folder) + " the working folder", error);
    }
    return Status::Ok();
}

Result<std::string> Win32Services::CurrentFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
        if (length == 0) return Failure("Cannot read the working folder", ::GetLastError());
        if (length < folder.size()) {
            folder.resize(length);
            break;
        }
        folder.resize(length);  // the size it needs, terminating null included
    }
    // "C:\" keeps its separator; "C:\Games\" and "\\server\share\" lose it.
    const bool driveRoot = folder.size() == 3 && folder[1] == L':';
    while (!driveRoot && folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    return Narrow(folder);
}

}  // namespace platform::win32
