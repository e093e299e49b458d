#include "service/win32/switch_system.h"

#include "messages.h"
#include "platform/win32/registry.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "setup/game_swap.h"
#include "setup/switch_service.h"

namespace service::win32 {

using platform::Result;
using platform::Status;
using platform::win32::Failure;
using platform::win32::Quoted;
using platform::win32::UniqueHandle;
using platform::win32::Widen;

namespace {

// Opens what is at `path` itself: FILE_FLAG_OPEN_REPARSE_POINT opens a link
// rather than what it points to, and FILE_FLAG_BACKUP_SEMANTICS lets a
// folder be opened (to be told apart), granting nothing more to an account
// without the backup privilege. Nothing there leaves `opened` empty.
Status Open(std::string_view path, DWORD access, DWORD sharing, UniqueHandle& opened, Entry& entry) {
    opened.reset(::CreateFileW(Widen(path).c_str(), access, sharing, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!opened) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            entry = Entry{};
            return Status::Ok();
        }
        return Failure("Cannot open " + Quoted(path), error);
    }
    BY_HANDLE_FILE_INFORMATION facts{};
    if (!::GetFileInformationByHandle(opened.get(), &facts)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot read what " + Quoted(path) + " is", error);
    }
    const DWORD attributes = facts.dwFileAttributes;
    entry.exists = true;
    entry.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.hiddenOrSystem = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    entry.names = facts.nNumberOfLinks;
    return Status::Ok();
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

Result<std::string> SwitchSystem::RecordedGameFolder() {
    // Setup (a 32-bit program) writes its record in the 32-bit view, which
    // is the view this reads.
    return platform::win32::ReadRegistryText(setup::RecordValue(setup::kServiceFolderRecord));
}

Result<Entry> SwitchSystem::HoldFolder(std::string_view path) {
    // No sharing of delete: while this handle is open the folder cannot be
    // renamed or removed, and so not replaced by a link either.
    Entry entry;
    if (Status s = Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, folder_, entry); !s) return s;
    return entry;
}

Result<Entry> SwitchSystem::OpenForDeleting(std::string_view path) {
    Entry entry;
    if (Status s = Open(path, DELETE | FILE_READ_ATTRIBUTES, kShareAll, marker_, entry); !s) return s;
    return entry;
}

Status SwitchSystem::DeleteHeld() {
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (!::SetFileInformationByHandle(marker_.get(), FileDispositionInfo, &dispose, sizeof dispose)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot delete the file", error);
    }
    marker_.reset();  // it goes with the last handle
    return Status::Ok();
}

Result<Entry> SwitchSystem::Look(std::string_view path) {
    UniqueHandle looked;
    Entry entry;
    if (Status s = Open(path, FILE_READ_ATTRIBUTES, kShareAll, looked, entry); !s) return s;
    return entry;
}

Status SwitchSystem::CreateNew(std::string_view path) {
    // CREATE_NEW fails on whatever is at the name, a dangling link too. The
    // file inherits the game folder's entries, among them the one that lets
    // this service delete it again.
    UniqueHandle made(::CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!made) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot create the file " + Quoted(path), error);
    }
    return Status::Ok();
}

void SwitchSystem::Log(Severity severity, std::string_view text) {
    if (!eventLog_) return;
    const WORD type = severity == Severity::Error     ? EVENTLOG_ERROR_TYPE
                      : severity == Severity::Warning ? EVENTLOG_WARNING_TYPE
                                                      : EVENTLOG_INFORMATION_TYPE;
    const std::wstring wide = Widen(text);
    const wchar_t* strings[] = {wide.c_str()};
    ::ReportEventW(eventLog_, type, 0, MSG_SWITCH_EVENT, nullptr, 1, 0, strings, nullptr);
}

}  // namespace service::win32
