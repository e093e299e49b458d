#include "platform/win32/win32_services.h"

#include <windows.h>

#include <string>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

namespace platform::win32 {

namespace {

bool HasFolder(std::wstring_view program) {
    return program.find_first_of(L"\\/:") != std::wstring_view::npos;
}

// The full path of a program named without a folder: the program's own
// folder, the working folder, the system folders and PATH, in the order
// Windows uses. Empty when it is found nowhere.
std::wstring Search(const std::wstring& name) {
    std::wstring found(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::SearchPathW(nullptr, name.c_str(), L".exe", static_cast<DWORD>(found.size()),
                                           found.data(), nullptr);
        if (length == 0) return {};
        if (length < found.size()) {
            found.resize(length);
            return found;
        }
        found.resize(length);
    }
}

}  // namespace

Status Win32Services::StartProgram(std::string_view program, std::string_view arguments, WindowStyle style) {
    std::wstring application = Widen(program);
    if (application.empty()) return Status::Fail("No program was given to start");
    if (!HasFolder(application)) {
        // CreateProcess looks for a named application only in the working
        // folder; "explorer.exe" lives in the Windows folder.
        if (std::wstring found = Search(application); !found.empty()) application = found;
    }

    // The program's path in quotes and then its arguments: the started
    // program skips its own path, quoted or not, and the blank after it, and
    // is left with exactly `arguments`.
    std::wstring commandLine = L"\"" + application + L"\"";
    if (!arguments.empty()) commandLine += L" " + Widen(arguments);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(style == WindowStyle::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &started)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot start " + Quoted(program), error);
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    return Status::Ok();
}

}  // namespace platform::win32
