// How the windows of Vantrel.exe place their controls: inside a client area
// sized for the screen's DPI, over no other, in reading order, buttons at the
// bottom; and their frames, captions and tab order.

#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/support/icon_images.h"
#include "tests/win32/support/registry.h"
#include "tests/win32/support/text.h"
#include "tests/win32/vantrel/vantrel_test.h"

namespace e2e {
namespace {

RECT Place(HWND window, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(window, id), &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Within(const RECT& inner, const RECT& outer) {
    RECT common{};
    return IntersectRect(&common, &inner, &outer) && EqualRect(&common, &inner);
}

// Centred in the work area; children in creation order, which is the tab
// order, each in the client area and over no other but the group box that
// holds it. The client area is 2 to 4 inches each way whatever the DPI:
// twips unscaled, or scaled twice, leave that far behind.
void ExpectLaidOut(HWND window, const std::vector<int>& tabOrder, int groupBox = 0) {
    RECT frame{}, area{}, client{};
    GetWindowRect(window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((frame.left + frame.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, (area.top + area.bottom) / 2, 1);
    std::vector<int> order;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        order.push_back(GetDlgCtrlID(child));
    EXPECT_EQ(order, tabOrder);
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    const double dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (double inches : {client.right / dpi, client.bottom / dpi}) EXPECT_TRUE(inches > 2 && inches < 4) << inches;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const RECT a = Place(window, order[i]);
        EXPECT_TRUE(Within(a, client)) << "control " << order[i] << " is outside the client area";
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            const RECT b = Place(window, order[j]);
            RECT both{};
            EXPECT_TRUE(order[i] == groupBox ? Within(b, a) : !IntersectRect(&both, &a, &b))
                << "controls " << order[i] << " and " << order[j] << " overlap";
        }
    }
}

LONG Style(HWND window, int id) { return GetWindowLongW(GetDlgItem(window, id), GWL_STYLE); }

using Layout = VantrelTest;

TEST(ProgramFile, IconHoldsEverySizeTheSystemDraws) {
    EXPECT_EQ(IconImages(BuiltProgram(L"Vantrel.exe")), kIconImages);
}

TEST_F(Layout, OptionsWindowAndAboutWindowHaveTheirControlsInPlace) {
    Start();
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    EXPECT_EQ(WindowText(config()), kOptionsTitle);
    LONG style = GetWindowLongW(config(), GWL_STYLE);
    EXPECT_TRUE((style & WS_CAPTION) && (style & WS_SYSMENU));
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongW(config(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "shown in the taskbar";
    ExpectLaidOut(config(), {IDC_ASK_TO_SWITCH, IDC_START_WITH_WINDOWS, IDC_CLOSE_APPLICATIONS, IDC_OPTIONS_OK,
                             IDC_APPLICATION_LIST, IDC_REPLY_HINT});
    for (const auto& [id, caption] : std::vector<std::pair<int, std::wstring>>{
             {IDC_ASK_TO_SWITCH, L"Ask me to switch 1.0e when 'Host is launching game'"},
             {IDC_START_WITH_WINDOWS, L"Add to 'Startup'"},
             {IDC_CLOSE_APPLICATIONS, L"End selected aplications when The Conquerors is runned"},
             {IDC_OPTIONS_OK, L"OK"},
             {IDC_REPLY_HINT, L"Reply in 2 seconds."}})
        EXPECT_EQ(WindowText(GetDlgItem(config(), id)), caption);
    // Top to bottom the three boxes, the list and OK; the boxes flush left
    // with the list, OK flush right under it, the hint indented under the
    // first box.
    const RECT ask = Place(config(), IDC_ASK_TO_SWITCH), start = Place(config(), IDC_START_WITH_WINDOWS),
               close = Place(config(), IDC_CLOSE_APPLICATIONS), list = Place(config(), IDC_APPLICATION_LIST),
               ok = Place(config(), IDC_OPTIONS_OK), hint = Place(config(), IDC_REPLY_HINT);
    EXPECT_TRUE(ask.bottom <= hint.top && hint.bottom <= start.top && start.bottom <= close.top &&
                close.bottom <= list.top && list.bottom <= ok.top);
    EXPECT_TRUE(ask.left == start.left && start.left == close.left && close.left == list.left && hint.left > ask.left);
    EXPECT_EQ(ok.right, list.right);
    for (int box : {IDC_ASK_TO_SWITCH, IDC_START_WITH_WINDOWS, IDC_CLOSE_APPLICATIONS})
        EXPECT_EQ(Style(config(), box) & BS_TYPEMASK, BS_CHECKBOX);
    EXPECT_EQ(Style(config(), IDC_OPTIONS_OK) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(Style(config(), IDC_APPLICATION_LIST) & LBS_MULTIPLESEL);
    EXPECT_FALSE(Style(config(), IDC_APPLICATION_LIST) & LBS_SORT);

    Choose(kToAbout);
    HWND about = WaitForWindow({kAboutTitle, kAboutClass, vantrel().id()});
    ASSERT_NE(about, nullptr);
    style = GetWindowLongW(about, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, static_cast<LONG>(WS_OVERLAPPEDWINDOW)) << "sizable, with min and max";
    ExpectLaidOut(about, {IDC_ABOUT_OK, IDC_HOME_PAGE, IDC_ABOUT_FRAME, IDC_ABOUT_TEXT}, IDC_ABOUT_FRAME);
    EXPECT_TRUE(WindowText(GetDlgItem(about, IDC_ABOUT_OK)) == L"OK" && WindowText(GetDlgItem(about, IDC_ABOUT_FRAME)) == L"About");
    // Under the frame one row: the home page flush left, OK flush right.
    const RECT frame = Place(about, IDC_ABOUT_FRAME), home = Place(about, IDC_HOME_PAGE),
               aboutOk = Place(about, IDC_ABOUT_OK);
    EXPECT_TRUE(frame.bottom <= home.top && home.top == aboutOk.top && home.bottom == aboutOk.bottom);
    EXPECT_TRUE(home.left == frame.left && home.right < aboutOk.left && aboutOk.right == frame.right);
    EXPECT_EQ(Style(about, IDC_ABOUT_OK) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

// At the screen's DPI and after a change to 144 DPI (150 %), as on a
// second monitor: each window lays itself out again for the new DPI.
TEST_F(Layout, EveryCaptionFitsItsControlAt96And144Dpi) {
    Start();
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    Choose(kToAbout);
    HWND about = WaitForWindow({kAboutTitle, kAboutClass, vantrel().id()});
    ASSERT_NE(about, nullptr);
    for (HWND window : {config(), about}) {
        for (UINT change : {0u, 144u}) EXPECT_EQ(CaptionsThatDoNotFit(window, change), L"done") << "DPI change to " << change;
    }
}

// The scale of its monitor may change while the window is hidden: shown
// again, it is laid out for the DPI it is shown at.
TEST_F(Layout, TheOptionsWindowShownAfterADpiChangeIsLaidOutAnew) {
    Start();
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(config()); }));
    // Hidden, it is laid out for 144 DPI while the screen stays at its own.
    EXPECT_EQ(CaptionsThatDoNotFit(config(), 144), L"done");
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    ExpectLaidOut(config(), {IDC_ASK_TO_SWITCH, IDC_START_WITH_WINDOWS, IDC_CLOSE_APPLICATIONS, IDC_OPTIONS_OK,
                             IDC_APPLICATION_LIST, IDC_REPLY_HINT});
}

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
    Choose(kToOptions);
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
    Choose(kToAbout);
    HWND about = WaitForWindow({kAboutTitle, kAboutClass, vantrel().id()});
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == GetDlgItem(about, IDC_ABOUT_OK); }));
    Press(about, VK_RETURN);
    EXPECT_TRUE(WaitForWindowGone(about)) << "Enter did not close the About window";
    EXPECT_TRUE(vantrel().Running());
}

}  // namespace
}  // namespace e2e
