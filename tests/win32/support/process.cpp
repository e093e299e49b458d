#include "tests/win32/support/process.h"

#include <stdexcept>
#include <vector>

#include "tests/win32/support/text.h"

namespace e2e {

Process::Process(const std::wstring& program, const std::wstring& arguments,
                 const std::wstring& workingFolder) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info_)) {
        DWORD error = GetLastError();
        throw std::runtime_error("cannot start " + Utf8(program) + " (error " +
                                 std::to_string(error) + ")");
    }
}

Process::~Process() {
    if (Running()) Terminate();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

std::optional<DWORD> Process::WaitForExit(Milliseconds timeout) {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool Process::Running() { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

void Process::Terminate() {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
}

ScopedEnvironment::ScopedEnvironment(std::wstring name, const std::wstring& value)
    : name_(std::move(name)) {
    DWORD n = GetEnvironmentVariableW(name_.c_str(), nullptr, 0);
    if (n > 0) {
        std::vector<wchar_t> buffer(n);
        GetEnvironmentVariableW(name_.c_str(), buffer.data(), n);
        previous_ = std::wstring(buffer.data());
    }
    SetEnvironmentVariableW(name_.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableW(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

}  // namespace e2e
