#include "platform/win32/top_level_windows.h"

#include "platform/win32/win32_services.h"

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"

namespace platform::win32 {

std::wstring WholeWindowText(HWND window) {
    // The reported length is a hint: the title may change, and the length
    // may differ from what is copied. Grow until a copy leaves room to spare.
    const int reported = ::GetWindowTextLengthW(window);
    int capacity = (reported > 0 ? reported : 0) + 2;
    constexpr int kLimit = 1 << 26;
    for (;;) {
        std::wstring text(static_cast<std::size_t>(capacity), L'\0');
        const int copied = ::GetWindowTextW(window, text.data(), capacity);
        if (copied <= 0) return {};
        if (copied < capacity - 1 || capacity >= kLimit) {
            text.resize(static_cast<std::size_t>(copied));
            return text;
        }
        capacity *= 2;
    }
}

namespace {

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<TopLevelWindow> Win32Services::TopLevelWindows() {
    // Collect the handles first: reading a title of one of our own windows
    // sends it a message, which should not happen inside the enumeration.
    std::vector<HWND> handles;
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&handles));
    std::vector<TopLevelWindow> windows;
    windows.reserve(handles.size());
    for (HWND h : handles) windows.push_back({FromHwnd(h), Narrow(WholeWindowText(h))});
    return windows;
}

WindowHandle Win32Services::FindWindowByTitle(std::string_view title) {
    return FromHwnd(::FindWindowW(nullptr, Widen(title).c_str()));
}

Status Win32Services::PostCloseRequest(WindowHandle window) {
    // A null window would post the request to this program's own thread.
    if (window == 0) return Status::Fail("There is no window to ask to close");
    if (!::PostMessageW(ToHwnd(window), WM_CLOSE, 0, 0)) return Failure("Cannot ask the window to close", ::GetLastError());
    return Status::Ok();
}

}  // namespace platform::win32
