// Where the windows of Vantrel.exe put their controls, in twips scaled for
// the screen's DPI, and the frames, captions and tab order they have.

#include "tests/win32/support/desktop.h"
#include "tests/win32/support/registry.h"
#include "tests/win32/support/text.h"
#include "tests/win32/vantrel/vantrel_test.h"

namespace e2e {
namespace {

struct Expected {
    int id;
    const wchar_t* caption;  // nullptr: not checked
    int left, top, width, height;  // twips
};

int Dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int Pixels(int twips) { return MulDiv(twips, Dpi(), 1440); }

void ExpectLayout(HWND window, int clientWidth, int clientHeight, const std::vector<Expected>& controls) {
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Pixels(clientWidth));
    EXPECT_EQ(client.bottom, Pixels(clientHeight));
    // Children in creation order, which is the tab order.
    std::vector<int> order;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        order.push_back(GetDlgCtrlID(child));
    std::vector<int> expectedOrder;
    for (const auto& c : controls) expectedOrder.push_back(c.id);
    EXPECT_EQ(order, expectedOrder);
    for (const auto& c : controls) {
        HWND child = GetDlgItem(window, c.id);
        ASSERT_NE(child, nullptr) << "control " << c.id;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, Pixels(c.left)) << "control " << c.id;
        EXPECT_EQ(r.top, Pixels(c.top)) << "control " << c.id;
        EXPECT_EQ(r.right - r.left, Pixels(c.width)) << "control " << c.id;
        EXPECT_EQ(r.bottom - r.top, Pixels(c.height)) << "control " << c.id;
        if (c.caption) {
            EXPECT_EQ(WindowText(child), c.caption) << "control " << c.id;
        }
    }
}

void ExpectCentred(HWND window) {
    RECT frame{}, area{};
    GetWindowRect(window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((frame.left + frame.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, (area.top + area.bottom) / 2, 1);
}

using Layout = VantrelTest;

TEST_F(Layout, OptionsWindowAndAboutWindowHaveTheirControlsInPlace) {
    Start();
    Choose("ddddde");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    EXPECT_EQ(WindowText(config()), L"Vantrel v2.1");
    LONG style = GetWindowLongW(config(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongW(config(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "shown in the taskbar";
    ExpectCentred(config());
    ExpectLayout(config(), 4590, 4620,
                 {
                     {IDC_ASK_TO_SWITCH, L"Ask me to switch 1.0e when 'Host is launching game'", 120, 120, 4215, 195},
                     {IDC_START_WITH_WINDOWS, L"Add to 'Startup'", 120, 840, 1575, 195},
                     {IDC_CLOSE_APPLICATIONS, L"End selected aplications when The Conquerors is runned", 120, 1200, 4455, 195},
                     {IDC_OPTIONS_OK, L"OK", 3600, 4080, 855, 375},
                     {IDC_APPLICATION_LIST, nullptr, 120, 1440, 4335, 2535},
                     {IDC_REPLY_HINT, L"Reply in 2 seconds.", 360, 360, 1455, 255},
                 });
    for (int box : {IDC_ASK_TO_SWITCH, IDC_START_WITH_WINDOWS, IDC_CLOSE_APPLICATIONS})
        EXPECT_EQ(GetWindowLongW(GetDlgItem(config(), box), GWL_STYLE) & BS_TYPEMASK, BS_CHECKBOX);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(config(), IDC_OPTIONS_OK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    LONG list = GetWindowLongW(GetDlgItem(config(), IDC_APPLICATION_LIST), GWL_STYLE);
    EXPECT_TRUE(list & LBS_MULTIPLESEL);
    EXPECT_FALSE(list & LBS_SORT);

    Choose("dddddde");
    HWND about = WaitForWindow({kAboutTitle, kAboutClass, vantrel().id()});
    ASSERT_NE(about, nullptr);
    style = GetWindowLongW(about, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, static_cast<LONG>(WS_OVERLAPPEDWINDOW)) << "sizable, with min and max";
    ExpectCentred(about);
    ExpectLayout(about, 4095, 3165,
                 {
                     {IDC_ABOUT_OK, L"OK", 2880, 2640, 1095, 375},
                     {IDC_HOME_PAGE, L"Visit Holvane Home Page", 120, 2640, 2055, 375},
                     {IDC_ABOUT_FRAME, L"About", 120, 120, 3855, 2415},
                     {IDC_ABOUT_TEXT, nullptr, 120 + 120, 120 + 240, 3615, 2055},
                 });
    EXPECT_EQ(GetWindowLongW(GetDlgItem(about, IDC_ABOUT_OK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void Press(HWND window, WPARAM key) {
    PostMessageW(FocusOf(window), WM_KEYDOWN, key, 1);
    PostMessageW(FocusOf(window), WM_KEYUP, key, 0xC0000001);
}

TEST_F(Layout, KeyboardMovesThroughTheControlsInTabOrder) {
    Start();
    Choose("ddddde");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(config()) == GetDlgItem(config(), IDC_ASK_TO_SWITCH); }));
    for (int next : {IDC_START_WITH_WINDOWS, IDC_CLOSE_APPLICATIONS, IDC_OPTIONS_OK, IDC_APPLICATION_LIST, IDC_ASK_TO_SWITCH}) {
        Press(config(), VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(config()) == GetDlgItem(config(), next); }, 2000ms))
            << "Tab did not reach control " << next;
    }
    // The space bar clicks the box that has the focus.
    Press(config(), VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return Checked(IDC_ASK_TO_SWITCH); }));
    EXPECT_TRUE(WaitUntil([&] { return ReadUserValue(kControlKey, L"Launching") == L"1"; }));

    // In the About window Enter is OK.
    Choose("dddddde");
    HWND about = WaitForWindow({kAboutTitle, kAboutClass, vantrel().id()});
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == GetDlgItem(about, IDC_ABOUT_OK); }));
    Press(about, VK_RETURN);
    EXPECT_TRUE(WaitForWindowGone(about)) << "Enter did not close the About window";
    EXPECT_TRUE(vantrel().Running());
}

}  // namespace
}  // namespace e2e
