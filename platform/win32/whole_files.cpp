// Reading, writing and renaming whole files, for setup's swap of the game's
// executable. Kept apart from files.cpp, which serves the programs' markers
// and logs.

#include <windows.h>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_services.h"

namespace platform::win32 {

Result<std::string> Win32Services::ReadFileBytes(std::string_view path) {
    const std::wstring wide = Widen(path);
    UniqueHandle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD openError = ::GetLastError();
    if (!file) return Failure("Cannot open the file " + Quoted(path), openError);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot read the size of " + Quoted(path), error);
    }
    if (size.QuadPart > 0x40000000)
        return Result<std::string>::Fail("The file " + Quoted(path) + " is too large to be a program of this game");
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr)) {
            const DWORD error = ::GetLastError();
            return Failure("Cannot read the file " + Quoted(path), error);
        }
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

Status Win32Services::WriteNewFile(std::string_view path, std::string_view bytes) {
    const std::wstring wide = Widen(path);
    UniqueHandle file(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD createError = ::GetLastError();
    if (!file) return Failure("Cannot create the file " + Quoted(path), createError);
    DWORD written = 0;
    Status outcome = Status::Ok();
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        const DWORD error = ::GetLastError();
        outcome = Failure("Cannot write the file " + Quoted(path), error);
    } else if (written != bytes.size()) {
        outcome = Status::Fail("Cannot write the file " + Quoted(path) + ": the disk took only part of it");
    } else if (!::FlushFileBuffers(file.get())) {
        // Not on the disk yet: a power cut now could leave zeros in its place.
        const DWORD error = ::GetLastError();
        outcome = Failure("Cannot write the file " + Quoted(path) + " through to the disk", error);
    }
    if (!outcome) {
        // Half a program is worse than none: take back what was begun.
        file.reset();
        ::DeleteFileW(wide.c_str());
    }
    return outcome;
}

Status Win32Services::RenameFile(std::string_view from, std::string_view to) {
    // No MOVEFILE_REPLACE_EXISTING: a file already at `to` is never lost.
    const std::wstring source = Widen(from);
    const std::wstring target = Widen(to);
    if (!::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot rename " + Quoted(from) + " to " + Quoted(to), error);
    }
    return Status::Ok();
}

}  // namespace platform::win32
