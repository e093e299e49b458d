#pragma once
// The system's own explanation of an error code, in plain words, for the
// messages the programs show.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform::win32 {

// The system's text for `code` without its closing full stop and line break,
// so that it can stand inside a sentence: "Access is denied". Codes the system
// has no text for read "System error <code>".
std::string SystemReason(DWORD code);

// "<what>: <reason>", the form every failing service reports; marked as
// access denied for ERROR_ACCESS_DENIED. Callers read
// GetLastError right after the call that failed, before they build `what`
// or free a temporary: either may call the system and change it.
Status Failure(std::string_view what, DWORD code);

// A file or registry name as it appears inside a message.
std::string Quoted(std::string_view name);

}  // namespace platform::win32
