#include "platform/win32/win32_services.h"

#include <windows.h>

#include <string_view>

#include "platform/win32/system_error.h"
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

// The boxes are task-modal: an inner one disables the outer, so the box to
// answer is the one still enabled.
BOOL CALLBACK FindOpenMessageBox(HWND window, LPARAM found) {
    wchar_t name[8] = L"";
    ::GetClassNameW(window, name, 8);
    if (std::wstring_view(name) != L"#32770" || !::IsWindowVisible(window) || !::IsWindowEnabled(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
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

void Win32Services::BringMessageToFront() {
    HWND open = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOpenMessageBox, reinterpret_cast<LPARAM>(&open));
    if (!open) return;
    // Windows lets a process take the foreground only when it has the last
    // input or the foreground thread lets it: borrow that thread's input
    // state for the moment of the switch.
    const DWORD ours = ::GetCurrentThreadId();
    const DWORD front = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const bool attached = front != 0 && front != ours && ::AttachThreadInput(ours, front, TRUE);
    ::BringWindowToTop(open);
    ::SetForegroundWindow(open);
    if (!::IsChild(open, ::GetFocus())) ::SetFocus(open);
    if (attached) ::AttachThreadInput(ours, front, FALSE);
}

void Win32Services::Beep() { ::MessageBeep(MB_OK); }

std::string Win32Services::ProgramFolder() { return Narrow(FolderOf(ProgramPath())); }

Result<std::string> Win32Services::WindowsFolder() {
    // The system's own folder, not a user's private one under Terminal
    // Services; and no WOW64 redirection applies to it.
    wchar_t folder[MAX_PATH + 1];
    const UINT length = ::GetSystemWindowsDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return Failure("Cannot find the Windows folder", ::GetLastError());
    std::wstring_view path(folder, length);
    if (path.size() > 3 && path.back() == L'\\') path.remove_suffix(1);
    return Narrow(path);
}

std::string Win32Services::ArgumentText() { return Narrow(ArgumentTextOf(::GetCommandLineW())); }

bool Win32Services::AnotherInstanceRunning() { return instance_.AnotherInstanceRunning(); }

}  // namespace platform::win32
