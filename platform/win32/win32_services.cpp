#include "platform/win32/win32_services.h"

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "platform/front_guard.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text.h"

namespace platform::win32 {

namespace {

UINT MessageBoxType(MessageStyle style) {
    switch (style) {
    case MessageStyle::OkCancelWarning: return MB_OKCANCEL | MB_ICONWARNING;
    case MessageStyle::OkCancelWarningOnTop: return MB_OKCANCEL | MB_ICONWARNING | MB_TOPMOST;
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

// Called on a click of our tray icon: the click is the user's last input,
// and the shell lets the icon's owner take the foreground for it. No
// borrowing of the foreground thread's input state (AttachThreadInput): if
// that thread has stopped answering, this one would wait with it.
void ShowInFront(HWND box) {
    ::SetForegroundWindow(box);
    ::BringWindowToTop(box);
    if (::GetForegroundWindow() == box && !::IsChild(box, ::GetFocus())) ::SetFocus(box);
}

// A click of the tray icon gives the foreground to the icon's owner; for a
// moment after, the guard takes it back for the box from the desktop or the
// taskbar, and from nothing else (platform/front_guard.h).
struct FrontKeeper {
    HWND box = nullptr;
    UINT_PTR timer = 0;
    platform::FrontGuard guard;
};
FrontKeeper keeper;  // the timer procedure's state: one box at a time
constexpr UINT kKeepIntervalMs = 50;

std::uint32_t LastInputTime() {
    LASTINPUTINFO input{};
    input.cbSize = sizeof input;
    return ::GetLastInputInfo(&input) ? input.dwTime : 0;
}

bool IsClass(HWND window, std::wstring_view className) {
    wchar_t name[32] = L"";
    const int length = ::GetClassNameW(window, name, 32);
    return std::wstring_view(name, length > 0 ? length : 0) == className;
}

// The taskbars of the main and the other monitors, and the window Wine
// shows for the notification area when the X desktop has none of its own.
bool IsTaskbar(HWND window) {
    return IsClass(window, L"Shell_TrayWnd") || IsClass(window, L"Shell_SecondaryTrayWnd") ||
           IsClass(window, L"__winex11_standalone_tray");
}

platform::Foreground WhatIsInFront(HWND box) {
    HWND front = ::GetForegroundWindow();
    if (!front) return platform::Foreground::None;
    if (front == box) return platform::Foreground::Box;
    if (front == ::GetDesktopWindow() || front == ::GetShellWindow() || IsTaskbar(front))
        return platform::Foreground::Shell;
    return platform::Foreground::Other;
}

void CALLBACK KeepBoxInFront(HWND, UINT, UINT_PTR, DWORD) {
    using Step = platform::FrontGuard::Step;
    const Step step = ::IsWindow(keeper.box) ? keeper.guard.Check(WhatIsInFront(keeper.box), LastInputTime())
                                             : Step::Stop;
    if (step == Step::TakeBack) ShowInFront(keeper.box);
    if (step != Step::Stop) return;
    ::KillTimer(nullptr, keeper.timer);
    keeper = FrontKeeper{};
}

void KeepInFront(HWND box) {
    keeper.box = box;
    keeper.guard.Start(LastInputTime());
    // A thread timer: it runs inside the box's own message loop.
    if (!keeper.timer) keeper.timer = ::SetTimer(nullptr, 0, kKeepIntervalMs, KeepBoxInFront);
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
    ShowInFront(open);
    KeepInFront(open);
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

Win32Services::~Win32Services() = default;

}  // namespace platform::win32
