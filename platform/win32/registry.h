#pragma once
// Reading a registry value on its own, for a program that needs no other
// service: the switch service reads setup's record with it.

#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform::win32 {

// As Services::ReadRegistry: a value by its full path, in the 32-bit view,
// as text.
Result<std::string> ReadRegistryText(std::string_view path);

}  // namespace platform::win32
