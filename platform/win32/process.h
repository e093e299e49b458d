#pragma once
// Starting other programs.

#include <string_view>

#include "platform/result.h"
#include "platform/services.h"

namespace platform::win32 {

// Starts `program` without waiting for it. The path is passed whole as the
// program to run, never split at a blank, and the program receives
// `arguments` unchanged as its argument text. A bare file name
// ("explorer.exe") is looked for as a command prompt would look for it.
Status StartProgram(std::string_view program, std::string_view arguments, WindowStyle style);

}  // namespace platform::win32
