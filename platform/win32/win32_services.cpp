#include "platform/win32/win32_services.h"

#include <windows.h>

#include "platform/win32/text.h"

namespace platform::win32 {

namespace {

UINT MessageBoxType(MessageStyle style) {
    switch (style) {
    case MessageStyle::OkCancelWarning: return MB_OKCANCEL | MB_ICONWARNING;
    case MessageStyle::OkError: return MB_OK | MB_ICONERROR;
    case MessageStyle::Ok: break;
    }
    return MB_OK;
}

}  // namespace

Answer Win32Services::ShowMessage(std::string_view text, std::string_view title, MessageStyle style) {
    // Modal to all of this program's windows, as a message box of the
    // program's own would be; their messages and timer ticks still arrive.
    // The box comes to the front even when a tray click or a timer opened it.
    const UINT type = MessageBoxType(style) | MB_TASKMODAL | MB_SETFOREGROUND;
    const int answer = ::MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(), type);
    // A box that could not be shown counts as declined.
    return answer == IDOK ? Answer::Ok : Answer::Cancel;
}

void Win32Services::Beep() { ::MessageBeep(MB_OK); }

std::string Win32Services::ProgramFolder() { return Narrow(FolderOf(ProgramPath())); }

std::string Win32Services::ArgumentText() { return Narrow(ArgumentTextOf(::GetCommandLineW())); }

bool Win32Services::AnotherInstanceRunning() { return instance_.AnotherInstanceRunning(); }

}  // namespace platform::win32
