#include "tests/win32/support/desktop.h"

namespace e2e {

namespace {

struct Search {
    const WindowQuery* query;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    const WindowQuery& q = *search.query;
    if (q.visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (q.processId) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != q.processId) return TRUE;
    }
    if (WindowText(window) != q.caption) return TRUE;
    if (!q.className.empty() && ClassName(window) != q.className) return TRUE;
    search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::wstring WindowText(HWND window) {
    int n = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    n = GetWindowTextW(window, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(n < 0 ? 0 : n));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256];
    int n = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(n < 0 ? 0 : n));
}

std::vector<HWND> FindWindows(const WindowQuery& query) {
    Search search{&query, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const WindowQuery& query, Milliseconds timeout) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            auto found = FindWindows(query);
            if (found.empty()) return false;
            window = found.front();
            return true;
        },
        timeout);
    return window;
}

bool WaitForWindowGone(HWND window, Milliseconds timeout) {
    return WaitUntil([&] { return !IsWindow(window); }, timeout);
}

HWND WaitForMessageBox(const std::wstring& title, DWORD processId, Milliseconds timeout) {
    return WaitForWindow(WindowQuery{title, L"#32770", processId, true}, timeout);
}

std::wstring MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void AnswerMessageBox(HWND box, int button) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

HWND Child(HWND parent, int id) { return GetDlgItem(parent, id); }

HWND ChildByText(HWND parent, const std::wstring& className, const std::wstring& text) {
    return FindWindowExW(parent, nullptr, className.c_str(), text.c_str());
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void RequestClose(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

void ClickListEntry(HWND list, int index) {
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    LPARAM at = MAKELPARAM(4, static_cast<int>((index - top) * height + height / 2));
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    // The click has been handled once the list answers again.
    SendMessageW(list, LB_GETCOUNT, 0, 0);
}

int TrayIcons() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray || !IsWindowVisible(tray)) return 0;
    int icons = 0;
    for (HWND icon = FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr); icon;
         icon = FindWindowExW(tray, icon, L"__winex11_tray_icon", nullptr))
        if (IsWindowVisible(icon)) ++icons;
    return icons;
}

RECT ClientRectOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT WindowRectOnScreen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

}  // namespace e2e
