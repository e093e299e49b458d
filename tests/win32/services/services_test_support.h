#pragma once
// What the services tests share: a scratch folder in %TEMP%, raw file access
// that does not go through the code under test, and copies of this test
// program run as child processes that report what they were given.

#include <windows.h>

#include <optional>
#include <string>

namespace services_test {

// A new folder under %TEMP%, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() + "\" + relative, with any missing folders on the way created.
    std::string Make(const std::string& relative) const;

private:
    std::string path_;
};

std::optional<std::string> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);

// This test program's own file.
std::string TestProgram();
// Copies this test program to `path`, creating its folders.
bool CopyTestProgram(const std::string& path);

// What a child copy of this program reports about itself.
struct ChildReport {
    std::string program;    // its own file
    bool anotherInstance = false;
    int showWindow = -1;    // the window style it was started with
    std::string arguments;  // its argument text
};

// While one of these lives, child copies started by the test report to
// `reportFile` instead of running tests.
class ChildReporting {
public:
    explicit ChildReporting(const std::string& reportFile);
    ~ChildReporting();
    ChildReporting(const ChildReporting&) = delete;
    ChildReporting& operator=(const ChildReporting&) = delete;
};
// Waits for a child's report; nothing if none came within the timeout.
std::optional<ChildReport> AwaitReport(const std::string& reportFile, DWORD timeoutMs = 15000);

// Starts a program with a raw command line, the way an unquoting caller
// would, bypassing the code under test.
bool StartRaw(const std::wstring& commandLine);

}  // namespace services_test
