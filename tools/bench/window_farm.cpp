// bench_window_farm <count>: a crowded desktop. Creates <count> hidden,
// titled top-level windows, then its control window (farm_titles.h) to say
// it is ready. The windows ignore WM_CLOSE and only count it, so a close pass
// can be repeated against the same windows. Closing the control window ends
// the farm; its exit code is the number of WM_CLOSE the other windows got.
//
// Hidden, because EnumWindows, GetWindowText and FindWindow treat hidden
// windows as they treat shown ones, while Wine maps every shown window on the
// X screen: 2,000 shown windows took about 20 s to come up, hidden ones 5 s,
// and a fill or a close pass among them took about as long either way.

#include <windows.h>

#include <cstdlib>

#include "tools/bench/farm_titles.h"

namespace {

DWORD closesReceived = 0;

LRESULT CALLBACK FarmWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++closesReceived;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Register(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    return RegisterClassW(&wc) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR arguments, int) {
    const long count = std::wcstol(arguments, nullptr, 10);
    if (count <= 0 || count > 100000) return -1;
    if (!Register(instance, L"VantrelBenchFarmWindow", FarmWindowProc) ||
        !Register(instance, L"VantrelBenchFarmControl", ControlWindowProc))
        return -2;

    const unsigned long id = GetCurrentProcessId();
    for (int i = 0; i < count; ++i) {
        if (!CreateWindowW(L"VantrelBenchFarmWindow", bench::FarmWindowTitle(id, i).c_str(),
                           WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, instance, nullptr))
            return -3;
    }
    if (!CreateWindowW(L"VantrelBenchFarmControl", bench::FarmControlTitle(id).c_str(), WS_OVERLAPPEDWINDOW,
                       0, 0, 200, 100, nullptr, nullptr, instance, nullptr))
        return -3;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return static_cast<int>(closesReceived);
}
