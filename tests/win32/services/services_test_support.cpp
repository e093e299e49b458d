#include "tests/win32/services/services_test_support.h"

#include <chrono>
#include <thread>

#include "platform/win32/program_facts.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_services.h"

using platform::win32::Narrow;
using platform::win32::UniqueHandle;
using platform::win32::Widen;

namespace services_test {

namespace {

constexpr wchar_t kReportVariable[] = L"VANTREL_SERVICES_CHILD";

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = folder + L"\\" + name;
            ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                ::DeleteFileW(full.c_str());
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// A copy of this program started with the report variable set writes what it
// was given and ends before any test runs.
void ReportIfChild() {
    wchar_t report[4096];
    const DWORD length = ::GetEnvironmentVariableW(kReportVariable, report, 4096);
    if (length == 0 || length >= 4096) return;
    platform::win32::Win32Services os;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const std::string text = Narrow(platform::win32::ProgramPath()) + "\n" +
                             (os.AnotherInstanceRunning() ? "1" : "0") + "\n" + std::to_string(show) + "\n" +
                             os.ArgumentText();
    // Written aside and renamed, so the test never reads half a report.
    const std::string part = Narrow(report) + ".part";
    if (WriteBytes(part, text)) ::MoveFileExW(Widen(part).c_str(), report, MOVEFILE_REPLACE_EXISTING);
    ::ExitProcess(0);
}

[[maybe_unused]] const bool kChildReported = (ReportIfChild(), true);

}  // namespace

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, length);
    while (!base.empty() && base.back() == L'\\') base.pop_back();
    static int counter = 0;
    const std::wstring folder = base + L"\\vantrel-services-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++counter);
    RemoveTree(folder);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    path_ = Narrow(folder);
}

ScratchFolder::~ScratchFolder() {
    // A child copy that has just reported may still be ending and holding
    // its file.
    const std::wstring folder = Widen(path_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        RemoveTree(folder);
        if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string ScratchFolder::Make(const std::string& relative) const {
    std::string full = path_ + "\\" + relative;
    for (std::size_t slash = path_.size() + 1; (slash = full.find('\\', slash)) != std::string::npos; ++slash)
        ::CreateDirectoryW(Widen(full.substr(0, slash)).c_str(), nullptr);
    return full;
}

std::optional<std::string> ReadBytes(const std::string& path) {
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    0, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    UniqueHandle file(
        ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string TestProgram() { return Narrow(platform::win32::ProgramPath()); }

bool CopyTestProgram(const std::string& path) {
    for (std::size_t slash = 3; (slash = path.find('\\', slash)) != std::string::npos; ++slash)
        ::CreateDirectoryW(Widen(path.substr(0, slash)).c_str(), nullptr);
    return ::CopyFileW(Widen(TestProgram()).c_str(), Widen(path).c_str(), FALSE) != 0;
}

ChildReporting::ChildReporting(const std::string& reportFile) {
    ::SetEnvironmentVariableW(kReportVariable, Widen(reportFile).c_str());
}

ChildReporting::~ChildReporting() { ::SetEnvironmentVariableW(kReportVariable, nullptr); }

std::optional<ChildReport> AwaitReport(const std::string& reportFile, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    std::optional<std::string> text;
    while (!(text = ReadBytes(reportFile))) {
        if (::GetTickCount64() > deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::DeleteFileW(Widen(reportFile).c_str());
    ChildReport report;
    const auto first = text->find('\n');
    const auto second = text->find('\n', first + 1);
    const auto third = text->find('\n', second + 1);
    if (third == std::string::npos) return std::nullopt;
    report.program = text->substr(0, first);
    report.anotherInstance = text->substr(first + 1, second - first - 1) == "1";
    report.showWindow = std::stoi(text->substr(second + 1, third - second - 1));
    report.arguments = text->substr(third + 1);
    return report;
}

bool StartRaw(const std::wstring& commandLine) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return true;
}

}  // namespace services_test
