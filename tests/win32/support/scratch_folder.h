#pragma once
// A folder of its own for one test under %TEMP%, removed with everything in
// it when the test ends (read-only files and folders included).

#include <string>

namespace e2e {

class ScratchFolder {
public:
    // `name` becomes part of the folder's name; it may hold blanks and
    // characters outside the ANSI code page, to test paths that have them.
    explicit ScratchFolder(const std::wstring& name = L"test");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Full path, no trailing separator.
    const std::wstring& path() const { return path_; }
    // path() + "\" + relative.
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }
    // Creates a folder below this one (and its parents) and answers its path.
    std::wstring MakeSubfolder(const std::wstring& relative) const;

private:
    std::wstring path_;
};

}  // namespace e2e
