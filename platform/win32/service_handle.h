#pragma once
// A service of the system, opened through its control manager with only the
// access a caller needs: a user is refused more.

#include <windows.h>

#include <string_view>

#include "platform/result.h"
#include "platform/win32/unique_handle.h"

namespace platform::win32 {

// Opens the service `name` with `access` alone. One that is not installed
// leaves `service` empty and sets `*missing` when `missing` is given, and is
// a failure when it is not.
Status OpenNamedService(std::string_view name, DWORD access, UniqueService& service, bool* missing = nullptr);

}  // namespace platform::win32
