#include "tests/win32/support/open_menu.h"

#include <stdexcept>

#include "tests/win32/support/text.h"

#ifndef MENU_HOOK_DLL
#error "Whatever compiles this names the hook DLL in MENU_HOOK_DLL"
#endif

namespace e2e {

namespace {

constexpr wchar_t kRequestName[] = L"VantrelTests.ReadOpenMenu";
constexpr wchar_t kMeasureName[] = L"VantrelTests.MeasureCaptions";
constexpr ULONG_PTR kMenuText = 0x4D454E55;
constexpr wchar_t kReceiverClass[] = L"VantrelTests.MenuReceiver";

std::wstring HookDllPath() {
    std::wstring path = Wide(MENU_HOOK_DLL);
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

HWND OpenMenuOf(DWORD threadId) {
    for (HWND w = FindWindowW(L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == threadId) return w;
    return nullptr;
}

}  // namespace

OpenMenuReader::OpenMenuReader(DWORD threadId) : threadId_(threadId) {
    const std::wstring path = HookDllPath();
    dll_ = LoadLibraryW(path.c_str());
    if (!dll_) throw std::runtime_error("cannot load " + Utf8(path) + " (error " + std::to_string(GetLastError()) + ")");
    // Through void*: FARPROC and HOOKPROC differ in their arguments.
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll_, "ReadMenuHook")));
    if (hook) hook_ = SetWindowsHookExW(WH_GETMESSAGE, hook, dll_, threadId);
    if (!hook_) {
        const DWORD error = GetLastError();
        FreeLibrary(dll_);
        throw std::runtime_error("cannot hook thread " + std::to_string(threadId) + " (error " + std::to_string(error) + ")");
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = Receive;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kReceiverClass;
    RegisterClassW(&wc);  // a second reader finds it registered
    receiver_ = CreateWindowExW(0, kReceiverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(receiver_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

OpenMenuReader::~OpenMenuReader() {
    if (receiver_) DestroyWindow(receiver_);
    UnhookWindowsHookEx(hook_);
    FreeLibrary(dll_);
}

LRESULT CALLBACK OpenMenuReader::Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OpenMenuReader*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData == kMenuText) {
            self->answer_.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
            while (!self->answer_.empty() && self->answer_.back() == L'\0') self->answer_.pop_back();
            self->answered_ = true;
            return TRUE;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring OpenMenuReader::Read(Milliseconds timeout) {
    HWND menu = OpenMenuOf(threadId_);
    return menu ? Ask(menu, kRequestName, 0, timeout) : std::wstring();
}

std::wstring OpenMenuReader::CaptionsThatDoNotFit(HWND window, UINT dpi, Milliseconds timeout) {
    return Ask(window, kMeasureName, static_cast<LPARAM>(dpi), timeout);
}

std::wstring OpenMenuReader::Ask(HWND target, const wchar_t* request, LPARAM argument, Milliseconds timeout) {
    if (!receiver_) return {};
    answered_ = false;
    answer_.clear();
    PostMessageW(target, RegisterWindowMessageW(request), reinterpret_cast<WPARAM>(receiver_), argument);
    // The answer is sent to our window, so it arrives only while this thread
    // takes messages.
    WaitUntil([&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        return answered_;
    }, timeout);
    return answered_ ? answer_ : std::wstring();
}

}  // namespace e2e
