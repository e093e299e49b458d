#include "platform/win32/setup_log.h"

#include <windows.h>
#include <aclapi.h>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/trust.h"
#include "platform/win32/unique_handle.h"

namespace platform::win32 {

Status AppendToSetupLog(std::string_view path, std::string_view text) {
    // The name itself is opened: a link there is not followed.
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA | READ_CONTROL | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const DWORD openError = ::GetLastError();
    if (!file) return Failure("Cannot open the log " + Quoted(path), openError);
    if (openError == ERROR_ALREADY_EXISTS) {
        BY_HANDLE_FILE_INFORMATION information{};
        PSID owner = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!::GetFileInformationByHandle(file.get(), &information))
            return Failure("Cannot read what the log " + Quoted(path) + " is", ::GetLastError());
        const DWORD rc = ::GetSecurityInfo(file.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                           nullptr, nullptr, &descriptor);
        UniqueLocalMemory owned(descriptor);
        if (rc != ERROR_SUCCESS) return Failure("Cannot read who owns the log " + Quoted(path), rc);
        if ((information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
            information.nNumberOfLinks != 1 || !RunningAccount().Is(owner))
            return Status::Fail("The log " + Quoted(path) +
                                " was not added to: it is a link, or another name of a file, or another account "
                                "made it. Delete it, and setup writes a new one next time");
    }
    const std::string ansi = ToAnsi(Widen(text));
    DWORD written = 0;
    if (!::WriteFile(file.get(), ansi.data(), static_cast<DWORD>(ansi.size()), &written, nullptr))
        return Failure("Cannot write to the log " + Quoted(path), ::GetLastError());
    return Status::Ok();
}

}  // namespace platform::win32
