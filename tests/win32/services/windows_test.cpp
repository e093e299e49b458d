// Top-level windows: listing in Z order with whole wide titles, lookup by
// title and close requests. The windows are this test's own, hidden.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win32/text.h"
#include "platform/win32/top_level_windows.h"
#include "platform/win32/win32_services.h"

namespace {

using platform::WindowHandle;
using platform::win32::FromHwnd;
using platform::win32::Widen;
using platform::win32::Win32Services;

int g_closeRequests = 0;

LRESULT CALLBACK CountCloses(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++g_closeRequests;
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

struct WindowDeleter {
    void operator()(HWND window) const { ::DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

UniqueWindow MakeWindow(const std::wstring& title) {
    static const ATOM kClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = CountCloses;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VantrelServicesTestWindow";
        return ::RegisterClassW(&wc);
    }();
    return UniqueWindow(::CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(kClass)),
                                          title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr));
}

std::ptrdiff_t IndexOf(const std::vector<platform::TopLevelWindow>& windows, HWND window) {
    auto it = std::find_if(windows.begin(), windows.end(),
                           [&](const auto& w) { return w.handle == FromHwnd(window); });
    return it == windows.end() ? -1 : it - windows.begin();
}

TEST(TopLevelWindows, WholeTitlesInZOrderTopFirst) {
    const std::wstring longTitle = std::wstring(70000, L'x') + L"Ω end";
    auto lower = MakeWindow(L"  Ω ж 日本 blanks  ");
    auto upper = MakeWindow(longTitle);
    auto untitled = MakeWindow(L"");
    ASSERT_TRUE(lower && upper && untitled);
    ::SetWindowPos(upper.get(), lower.get(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(upper.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    Win32Services os;
    const auto windows = os.TopLevelWindows();
    const auto lowerAt = IndexOf(windows, lower.get());
    const auto upperAt = IndexOf(windows, upper.get());
    const auto untitledAt = IndexOf(windows, untitled.get());
    ASSERT_GE(lowerAt, 0);
    ASSERT_GE(upperAt, 0);
    ASSERT_GE(untitledAt, 0) << "hidden and untitled windows are listed too";
    EXPECT_LT(upperAt, lowerAt);
    EXPECT_EQ(windows[lowerAt].title, "  Ω ж 日本 blanks  ");
    EXPECT_EQ(windows[upperAt].title, platform::win32::Narrow(longTitle));
    EXPECT_EQ(windows[untitledAt].title, "");
}

TEST(FindWindowByTitle, MatchesTheWholeWideTitleOnly) {
    auto window = MakeWindow(L"Vantrel test Ω ж 日本");
    ASSERT_TRUE(window);
    Win32Services os;
    EXPECT_EQ(os.FindWindowByTitle("Vantrel test Ω ж 日本"), FromHwnd(window.get()));
    EXPECT_EQ(os.FindWindowByTitle("Vantrel test Ω"), WindowHandle{0});
    EXPECT_EQ(os.FindWindowByTitle("Vantrel test ? ? ??"), WindowHandle{0});
}

TEST(PostCloseRequest, QueuesCloseAndReportsAWindowThatIsGone) {
    auto window = MakeWindow(L"Vantrel close test");
    ASSERT_TRUE(window);
    Win32Services os;
    g_closeRequests = 0;
    ASSERT_TRUE(os.PostCloseRequest(FromHwnd(window.get())).ok());
    EXPECT_EQ(g_closeRequests, 0) << "queued, not sent";
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    EXPECT_EQ(g_closeRequests, 1);

    const WindowHandle gone = FromHwnd(window.get());
    window.reset();
    EXPECT_FALSE(os.PostCloseRequest(gone).ok());
    EXPECT_FALSE(os.PostCloseRequest(0).ok());
}

}  // namespace
