#pragma once
// Registry values by full path ("HKCU\Software\Vantrel\Control\Starting"),
// always in the 32-bit view, holding plain strings. A path that ends with a
// backslash names the key itself: reading gives its default value, deleting
// removes the key.

#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform::win32 {

Result<std::string> ReadRegistryValue(std::string_view path);
// Creates the key when it is missing.
Status WriteRegistryValue(std::string_view path, std::string_view data);
// A value or key that does not exist is already deleted: that succeeds.
Status DeleteRegistryValue(std::string_view path);

// The per-user settings store shared by both programs:
// HKEY_CURRENT_USER\Software\Vantrel\<section>, value <key>.
inline constexpr std::string_view kSettingsKey = "HKEY_CURRENT_USER\\Software\\Vantrel\\";
// A setting never written reads as empty text.
Result<std::string> ReadSettingValue(std::string_view section, std::string_view key);
Status WriteSettingValue(std::string_view section, std::string_view key, std::string_view value);

}  // namespace platform::win32
