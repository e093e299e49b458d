#pragma once
// Files, folders and the process's working drive and folder, by full path.

#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform::win32 {

// A hidden or system file, and a folder, count as absent.
bool PlainFileExists(std::string_view path);
bool FolderExists(std::string_view path);
Status RemoveFile(std::string_view path);
// Creates the file empty, or truncates it.
Status CreateEmptyFile(std::string_view path);
// Appends text, converted to the ANSI code page, at the end of the file in
// one write; creates the file when missing.
Status AppendAnsiText(std::string_view path, std::string_view text);

// `root`'s first character is the drive letter ("D:\Games" selects D:).
Status SelectDrive(std::string_view root);
Status SetCurrentFolder(std::string_view folder);
// No trailing separator unless the folder is a drive root.
Result<std::string> CurrentFolder();

}  // namespace platform::win32
