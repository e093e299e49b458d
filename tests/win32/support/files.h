#pragma once
// Files by full Windows path (UTF-16), read and written byte for byte.

#include <optional>
#include <string>

#include <windows.h>

namespace e2e {

// The whole file, or nothing when it cannot be opened. Opens with full
// sharing, so it never disturbs a program that writes the file.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
// Creates or truncates the file and writes `bytes`; false on failure.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

bool FileExists(const std::wstring& path);    // a file of any attributes, not a folder
bool FolderExists(const std::wstring& path);
// The file's attributes, or INVALID_FILE_ATTRIBUTES when it does not exist.
DWORD Attributes(const std::wstring& path);
bool SetAttributes(const std::wstring& path, DWORD attributes);

// Size and last-write time, to prove a file was left untouched.
struct FileStamp {
    ULONGLONG size = 0;
    FILETIME created{};
    FILETIME written{};
    bool operator==(const FileStamp& other) const;
};
std::optional<FileStamp> Stamp(const std::wstring& path);

// Copies a file, overwriting; false on failure.
bool CopyFileTo(const std::wstring& from, const std::wstring& to);
bool MakeFolder(const std::wstring& path);

// Deletes a file or a whole folder tree, clearing read-only attributes on the
// way. Harmless when nothing is there.
void RemoveTree(const std::wstring& path);

}  // namespace e2e
