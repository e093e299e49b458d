#pragma once
// The log setup and the uninstaller add their words to, in %TEMP% of the
// account that runs them: for a run as SYSTEM that is C:\Windows\Temp, where
// any user may have put a file, or a link to one, under the log's name first.

#include <string_view>

#include "platform/result.h"

namespace platform::win32 {

// Adds `text`, in the ANSI code page, at the end of the log, creating it
// when missing. A log that is there already is added to only when it is a
// file of one name, no link, owned by the account running: an elevated run
// never writes through a name somebody else prepared.
Status AppendToSetupLog(std::string_view path, std::string_view text);

}  // namespace platform::win32
