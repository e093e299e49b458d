#pragma once
// Telling a program by its file name, as the file system does.

#include <string_view>

namespace bench {

// Whether the last component of a Windows path is `name`, ignoring ASCII
// case as the file system does.
bool HasFileName(std::string_view path, std::string_view name);

}  // namespace bench
