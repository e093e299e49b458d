// Reading, writing, moving and linking whole files, for setup's swap of the
// game's executable. Kept apart from files.cpp, which serves the programs' markers
// and logs.

#include <windows.h>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/trust.h"
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
    // No MOVEFILE_COPY_ALLOWED either: within a volume a move is one rename,
    // and a copy and delete would leave two files, or half of one, at a cut.
    const std::wstring source = Widen(from);
    const std::wstring target = Widen(to);
    if (!::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot rename " + Quoted(from) + " to " + Quoted(to), error);
    }
    return Status::Ok();
}

Status Win32Services::MoveFileOver(std::string_view from, std::string_view to) {
    const std::wstring source = Widen(from);
    const std::wstring target = Widen(to);
    if (!::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot move " + Quoted(from) + " over " + Quoted(to), error);
    }
    return Status::Ok();
}

Status Win32Services::LinkFile(std::string_view existing, std::string_view link) {
    if (!::CreateHardLinkW(Widen(link).c_str(), Widen(existing).c_str(), nullptr)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot give " + Quoted(existing) + " the second name " + Quoted(link), error);
    }
    return Status::Ok();
}

Status Win32Services::FlushFile(std::string_view path) {
    // On NTFS this also commits the journal that holds the file's renames.
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file || !::FlushFileBuffers(file.get())) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot write " + Quoted(path) + " through to the disk", error);
    }
    return Status::Ok();
}

Result<FileFacts> Win32Services::FactsOf(std::string_view path) {
    // The name itself, not what a link there leads to.
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !::GetFileInformationByHandle(file.get(), &information)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot read what " + Quoted(path) + " is", error);
    }
    auto owned = OwnedByAdministrators(file.get());
    if (!owned) return owned.status();
    FileFacts facts;
    facts.plain = (information.dwFileAttributes &
                   (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0 &&
                  ::GetFileType(file.get()) == FILE_TYPE_DISK;
    facts.links = information.nNumberOfLinks;
    facts.ownedByAdministrators = *owned;
    return facts;
}

Status Win32Services::HoldFolder(std::string_view folder) {
    // No FILE_SHARE_DELETE: while this handle is open, nobody can rename or
    // remove the folder, nor any folder above it. Should a program hold the
    // folder so already, CheckHeldFolder alone sees a replacement.
    const std::wstring wide = Widen(folder);
    auto open = [&](DWORD share) {
        return ::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    };
    UniqueHandle held(open(FILE_SHARE_READ | FILE_SHARE_WRITE));
    if (!held && ::GetLastError() == ERROR_SHARING_VIOLATION)
        held.reset(open(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!held || !::GetFileInformationByHandle(held.get(), &information)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot open the folder " + Quoted(folder), error);
    }
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return Status::Fail("The folder " + Quoted(folder) +
                            " is a link to another folder (a junction or a symbolic link). Setup works only in the "
                            "folder itself: choose the game's executable in the folder the link leads to");
    if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Status::Fail(Quoted(folder) + " is not a folder");
    heldFolder_ = std::move(held);
    return Status::Ok();
}

namespace {

std::wstring FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return L"";
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);
    }
}

}  // namespace

Status Win32Services::CheckHeldFolder(std::string_view folder) {
    const std::string moved = "The game folder " + Quoted(folder) +
                              " is not the folder setup began in any more: it was renamed or replaced (by a "
                              "junction, say) while setup worked, so setup stopped there";
    if (!heldFolder_) return Status::Fail(moved);
    // Through whatever links the path holds now, as the file operations go.
    UniqueHandle now(::CreateFileW(Widen(folder).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!now) return Status::Fail(moved);
    const std::wstring held = FinalPath(heldFolder_.get()), named = FinalPath(now.get());
    if (held.empty() || ::CompareStringOrdinal(held.c_str(), static_cast<int>(held.size()), named.c_str(),
                                               static_cast<int>(named.size()), TRUE) != CSTR_EQUAL)
        return Status::Fail(moved);
    return Status::Ok();
}

}  // namespace platform::win32
