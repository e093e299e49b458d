#include "tests/win32/vantrel/standin_tray.h"

#include <cstddef>

namespace e2e {

namespace {

// What Wine's Shell_NotifyIconW sends its tray in WM_COPYDATA: the record in
// a fixed form, then the icon's size and bits.
struct WineNotifyData {
    LONG hWnd;
    UINT uID, uFlags, uCallbackMessage;
    WCHAR szTip[128];
    DWORD dwState, dwStateMask;
    WCHAR szInfo[256];
    UINT uTimeout;
    WCHAR szInfoTitle[64];
    DWORD dwInfoFlags;
    GUID guidItem;
    UINT width, height, planes, bpp;
};

}  // namespace

StandInTray::StandInTray() : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this] { Run(); });
    WaitForSingleObject(ready_, 5000);
}

StandInTray::~StandInTray() {
    if (HWND window = window_.exchange(nullptr)) PostMessageW(window, WM_CLOSE, 0, 0);
    if (thread_.joinable()) thread_.join();
    CloseHandle(ready_);
}

std::vector<StandInTray::Request> StandInTray::RequestsFrom(HWND owner) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Request> found;
    for (const Request& r : requests_)
        if (r.owner == owner) found.push_back(r);
    return found;
}

LRESULT CALLBACK StandInTray::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<StandInTray*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self) {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (copy->cbData < sizeof(WineNotifyData)) return FALSE;
        const auto* data = static_cast<const WineNotifyData*>(copy->lpData);
        const bool icon = (data->uFlags & NIF_ICON) != 0;
        Request r{static_cast<DWORD>(copy->dwData), reinterpret_cast<HWND>(static_cast<LONG_PTR>(data->hWnd)),
                  icon ? static_cast<int>(data->width) : 0, icon ? static_cast<int>(data->height) : 0,
                  self->accepting_.load()};
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->requests_.push_back(r);
        return r.accepted;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

void StandInTray::Run() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&wc);
    // Topmost: ahead of Wine's own tray window in the search.
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, nullptr, WS_POPUP, 0, 0, 1,
                                  1, nullptr, nullptr, wc.hInstance, nullptr);
    if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = window;
    SetEvent(ready_);
    if (!window) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

}  // namespace e2e
