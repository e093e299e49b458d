#include "tests/win32/vantrel/recording_window.h"

namespace e2e {

namespace {

constexpr wchar_t kClassName[] = L"VantrelTests.RecordingWindow";
constexpr UINT kDestroyNow = WM_APP + 1;
constexpr UINT kFreeze = WM_APP + 2;

}  // namespace

RecordingWindow::RecordingWindow(const std::wstring& title) : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, title] { Run(title); });
    WaitForSingleObject(ready_, 5000);
}

RecordingWindow::~RecordingWindow() {
    Destroy();
    if (thread_.joinable()) thread_.join();
    CloseHandle(ready_);
}

void RecordingWindow::Freeze(DWORD milliseconds) { PostMessageW(window_, kFreeze, milliseconds, 0); }

void RecordingWindow::Destroy() {
    if (HWND window = window_.exchange(nullptr)) PostMessageW(window, kDestroyNow, 0, 0);
}

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CLOSE:
        if (self) ++self->closeRequests_;
        return 0;
    case kFreeze:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case kDestroyNow:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RecordingWindow::Run(std::wstring title) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when another window registered it
    HWND window = CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 240, 80,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (window) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    window_ = window;
    SetEvent(ready_);
    if (!window) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

}  // namespace e2e
