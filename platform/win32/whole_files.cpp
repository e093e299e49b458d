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
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastFailure("Cannot open the file " + Quoted(path));
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return LastFailure("Cannot read the size of " + Quoted(path));
    if (size.QuadPart > 0x40000000)
        return Result<std::string>::Fail("The file " + Quoted(path) + " is too large to be a program of this game");
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return LastFailure("Cannot read the file " + Quoted(path));
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
    if (!file) return LastFailure("Cannot create the file " + Quoted(path));
    DWORD written = 0;
    Status outcome = Status::Ok();
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        outcome = LastFailure("Cannot write the file " + Quoted(path));
    else if (written != bytes.size())
        outcome = Status::Fail("Cannot write the file " + Quoted(path) + ": the disk took only part of it");
    if (!outcome) {
        // Half a program is worse than none: take back what was begun.
        file.reset();
        ::DeleteFileW(wide.c_str());
    }
    return outcome;
}

Status Win32Services::RenameFile(std::string_view from, std::string_view to) {
    // No MOVEFILE_REPLACE_EXISTING: a file already at `to` is never lost.
    if (!::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
        return LastFailure("Cannot rename " + Quoted(from) + " to " + Quoted(to));
    return Status::Ok();
}

}  // namespace platform::win32
