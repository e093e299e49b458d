#include "tools/bench/child_process.h"

#include "platform/win32/text.h"

namespace bench {

std::string LastErrorText(const std::string& what) {
    const DWORD code = ::GetLastError();
    wchar_t* message = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = n ? std::wstring(message, n) : L"error " + std::to_wstring(code);
    if (message) ::LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.')) text.pop_back();
    return what + ": " + platform::win32::Narrow(text);
}

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        error_ = LastErrorText("cannot start " + platform::win32::Narrow(program));
        return;
    }
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

bool ChildProcess::Running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD milliseconds) {
    if (!process_ || ::WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

bool ChildProcess::WaitUntilIdle(DWORD milliseconds) {
    return process_ && ::WaitForInputIdle(process_.get(), milliseconds) == 0;
}

bool WaitForProcessGone(DWORD processId, DWORD milliseconds) {
    platform::win32::UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    // A process that has ended and been reaped has no id any more.
    if (!process) return ::GetLastError() == ERROR_INVALID_PARAMETER;
    return ::WaitForSingleObject(process.get(), milliseconds) == WAIT_OBJECT_0;
}

}  // namespace bench
