// A stand-in for an application the player wants out of the way while the
// game runs (a chat program, say): one top-level window whose caption is the
// argument text ("Team Chat" without one). It closes when asked to with
// WM_CLOSE, as a well-behaved application does, and only then ends with exit
// code 0, so whoever started it can tell that a close request reached it.
//
//   standin_app.exe [caption]
//
// Exit code: 0 after a close request, 1 when the window cannot be made.

#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kClassName[] = L"Vantrel.StandinApp";
constexpr wchar_t kDefaultCaption[] = L"Team Chat";

// The argument text: everything after our own path, one pair of enclosing
// quotes taken off.
std::wstring Caption() {
    std::wstring line = GetCommandLineW();
    std::size_t i = 0;
    if (i < line.size() && line[i] == L'"') {
        std::size_t close = line.find(L'"', 1);
        i = close == std::wstring::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
    }
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
    std::wstring text = line.substr(i);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.pop_back();
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = text.substr(1, text.size() - 2);
    return text.empty() ? kDefaultCaption : text;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, L"A stand-in application.\nVantrel closes it when the game starts.", -1, &client,
                  DT_CENTER | DT_NOPREFIX);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        // WM_CLOSE included: the default destroys the window.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc)) return 1;
    HWND window = CreateWindowExW(0, kClassName, Caption().c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 360, 120,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
