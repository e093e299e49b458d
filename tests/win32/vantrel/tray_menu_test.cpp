// Vantrel.exe resident in the tray: start-up, the popup menu and each of its
// commands, Exit, the About window and when the program ends.

#include <windows.h>
#include <shellapi.h>

#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/standin_record.h"
#include "tests/win32/support/text.h"
#include "tests/win32/vantrel/vantrel_test.h"

namespace e2e {
namespace {

using TrayMenu = VantrelTest;

TEST_F(TrayMenu, SecondInstanceEndsAtOnceAndLeavesTheFirstAlone) {
    Start();
    Process second(BuiltProgram(L"Vantrel.exe"), L"");
    auto code = second.WaitForExit(3000ms);
    ASSERT_TRUE(code.has_value()) << "the second instance kept running";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(FindWindows({kOptionsTitle, kOptionsClass, second.id(), false}).empty());
    EXPECT_EQ(FindWindows({kOptionsTitle, kOptionsClass, 0, false}).size(), 1u);
    EXPECT_TRUE(vantrel().Running());
    EXPECT_EQ(TrayIcons(), trayIconsBefore() + 1) << "one icon, the first instance's";
    Choose("x");  // the menu opens
}

TEST_F(TrayMenu, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
    Start();
    ASSERT_EQ(TrayIcons(), trayIconsBefore() + 1);
    // What an Explorer restart does to the icon: it is gone.
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = config();
    icon.uID = 0;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    ASSERT_TRUE(WaitUntil([&] { return TrayIcons() == trayIconsBefore(); }));
    PostMessageW(config(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return TrayIcons() == trayIconsBefore() + 1; })) << "the icon was not added again";
    Choose("x");  // the menu opens
}

TEST_F(TrayMenu, ButtonReleasesOpenTheMenuWithEveryItemInOrder) {
    Start();
    const std::vector<std::wstring> expected = {
        L"1|enabled|Version",
        L"2|enabled|The Conquerors 1.0c",
        L"2|enabled|The Conquerors 1.0e",
        L"1|enabled|SaveGame",
        L"1|enabled|The Conquerors",
        L"1|separator|",
        L"1|greyed|Current version is 1.0c",
        L"1|enabled|Show Options",
        L"1|enabled|About",
        L"1|separator|",
        L"1|enabled|Close Menu",
        L"1|enabled|Exit",
    };
    EXPECT_EQ(Menu(), expected);

    // The left button opens it too; presses, double-clicks and moves do not.
    ASSERT_TRUE(OpenMenu(WM_LBUTTONUP));
    // A second click while it is open opens no second menu.
    PostMessageW(config(), 1400, 0, WM_RBUTTONUP);
    Sleep(200);
    int menus = 0;
    for (HWND w = FindWindowW(L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr))
        if (IsWindowVisible(w)) ++menus;
    EXPECT_EQ(menus, 1);
    Choose("x");
    for (UINT other : {WM_RBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_MBUTTONUP}) {
        PostMessageW(config(), 1400, 0, other);
        EXPECT_TRUE(StillTrueAfter([] { return !MenuOpen(); }, 150ms)) << "mouse message " << other;
    }

    // "Close Menu", the greyed current version and "Version" itself start
    // nothing and ask nothing.
    Choose(kToCloseMenu);
    Choose(kToCurrent);
    if (MenuOpen()) Choose("x");
    Choose("de");
    if (MenuOpen()) Choose("xx");
    EXPECT_TRUE(StillTrueAfter([&] { return OpenMessageBoxes() == 0 && !MenuOpen(); }, 300ms));
    EXPECT_FALSE(FileExists(marker_));
    EXPECT_TRUE(vantrel().Running());
}

TEST_F(TrayMenu, VersionItemsSwitchTheMarkerAndTheCaptionFollows) {
    Start();
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0c");

    Choose(kToE);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(marker_); }));
    EXPECT_EQ(ReadFileBytes(marker_).value_or("missing"), "");
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0e");

    Choose(kToE);  // already current: nothing changes, the caption stays right
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0e");
    EXPECT_TRUE(FileExists(marker_));

    Choose(kToC);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(marker_); }));
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0c");

    // A marker made by someone else is seen at the next switch.
    WriteFileBytes(marker_, "");
    Choose(kToC);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(marker_); }));
    EXPECT_EQ(OpenMessageBoxes(), 0);
}

TEST_F(TrayMenu, StartsWithTheBuildOnDiskAndSaysWhenTheRegistrationIsGone) {
    WriteFileBytes(marker_, "");
    Start();
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0e");

    // The registration disappears while the program runs.
    ScopedMachineValue gone(kDirectPlayKey, L"Path", std::nullopt);
    Choose(kToC);
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr) << "no message about the missing registration";
    EXPECT_NE(MessageBoxText(box), L"");
    AnswerMessageBox(box, IDOK);
    EXPECT_TRUE(WaitForWindowGone(box));
    EXPECT_TRUE(FileExists(marker_));
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0?");
    EXPECT_TRUE(vantrel().Running());
}

TEST_F(TrayMenu, SaveGameOpensExplorerOnTheSaveFolder) {
    Start();
    Choose(kToSaveGame);
    HWND explorer = WaitForWindow({L"SaveGame", L"ExplorerWClass"});
    ASSERT_NE(explorer, nullptr) << "no Explorer window on the save folder";
    PostMessageW(explorer, WM_CLOSE, 0, 0);
    EXPECT_EQ(OpenMessageBoxes(), 0);
    // Gone before the second choice, whose check for no such window it would fail.
    ASSERT_TRUE(WaitForWindowGone(explorer));

    // Without the folder it says so instead.
    RemoveTree(saveFolder_);
    Choose(kToSaveGame);
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find(L"SaveGame"), std::wstring::npos) << Utf8(MessageBoxText(box));
    AnswerMessageBox(box, IDOK);
    EXPECT_TRUE(StillTrueAfter([] { return FindWindows({L"SaveGame", L"ExplorerWClass"}).empty(); }, 500ms));
}

TEST_F(TrayMenu, TheConquerorsStartsTheStubFromTheGameFolder) {
    ASSERT_TRUE(CopyFileTo(BuiltProgram(L"standin_game.exe"), gameFolder_ + L"\\Brennic.exe"));
    Start();
    Choose(kToConquerors);
    ASSERT_TRUE(WaitUntil([&] { return ReadStandinRecordsIn(gameFolder_).size() == 1; }));
    StandinRecord run = ReadStandinRecordsIn(gameFolder_).front();
    EXPECT_EQ(Wide(run.program), gameFolder_ + L"\\Brennic.exe");
    EXPECT_EQ(Wide(run.workingFolder), gameFolder_);
    EXPECT_EQ(run.arguments, "");
    EXPECT_EQ(run.showWindow, SW_SHOWNORMAL);
    EXPECT_TRUE(StillTrueAfter([&] { return ReadStandinRecordsIn(gameFolder_).size() == 1; }, 300ms));

    // Idle again after a start and a menu refresh, Vantrel holds nothing in
    // the game folder: a patcher can move it.
    EXPECT_EQ(CurrentVersionCaption(), L"Current version is 1.0c");
    const std::wstring moved = gameFolder_ + L" moved";
    ASSERT_TRUE(MoveFileW(gameFolder_.c_str(), moved.c_str())) << "error " << GetLastError();
    EXPECT_TRUE(MoveFileW(moved.c_str(), gameFolder_.c_str()));
}

TEST_F(TrayMenu, OptionsItemAndOkShowAndHideTheWindow) {
    Start();
    EXPECT_FALSE(IsWindowVisible(config()));
    EXPECT_EQ(OptionsCaption(), L"Show Options");

    Choose(kToOptions);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    EXPECT_EQ(OptionsCaption(), L"Hide Options");

    Click(GetDlgItem(config(), IDC_OPTIONS_OK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(config()); }));
    EXPECT_EQ(OptionsCaption(), L"Show Options");

    Choose(kToOptions);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    // Enter presses the default button, OK.
    SetForegroundWindow(config());
    PostMessageW(GetDlgItem(config(), IDC_ASK_TO_SWITCH), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(GetDlgItem(config(), IDC_ASK_TO_SWITCH), WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(config()); }));
    EXPECT_EQ(OptionsCaption(), L"Show Options");
    EXPECT_FALSE(Checked(IDC_ASK_TO_SWITCH));
}

TEST_F(TrayMenu, AboutOpensOnceWithItsNineLines) {
    Start();
    Choose(kToAbout);
    HWND about = WaitForWindow({kAboutTitle, kAboutClass, vantrel().id()});
    ASSERT_NE(about, nullptr);
    std::wstring text = WindowText(GetDlgItem(about, IDC_ABOUT_TEXT));
    std::vector<std::wstring> lines;
    for (std::size_t start = 0;;) {
        std::size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::wstring::npos) break;
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 9u) << Utf8(text);
    EXPECT_EQ(lines[0], L"" VANTREL_NAME_AND_VERSION " lets you to switch AoC between 1.0c and 1.0e");
    EXPECT_EQ(lines[4], L"");
    for (std::size_t i : {1, 2, 3, 5, 6, 7, 8}) EXPECT_FALSE(lines[i].empty()) << "line " << i + 1;
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_OK)), L"OK");
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_HOME_PAGE)), L"Visit Holvane Home Page");
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_FRAME)), L"About");

    // Again while it is open: the same window, the same text.
    Choose(kToAbout);
    Sleep(200);
    EXPECT_EQ(FindWindows({kAboutTitle, kAboutClass, vantrel().id()}).size(), 1u);
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_TEXT)), text);

    // OK closes it and nothing else; a new one has the same text.
    Click(GetDlgItem(about, IDC_ABOUT_OK));
    EXPECT_TRUE(WaitForWindowGone(about));
    EXPECT_TRUE(vantrel().Running());
    Choose(kToAbout);
    HWND again = WaitForWindow({kAboutTitle, kAboutClass, vantrel().id()});
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(again, IDC_ABOUT_TEXT)), text);
    PostMessageW(again, WM_CLOSE, 0, 0);  // its close button
    EXPECT_TRUE(WaitForWindowGone(again));
    EXPECT_TRUE(StillTrueAfter([&] { return vantrel().Running(); }, 200ms));
}

TEST_F(TrayMenu, ExitAsksFirstAndEndsOnlyOnOk) {
    Start();
    Choose(kToExit);
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Do you really want to exit Vantrel?");
    AnswerMessageBox(box, IDCANCEL);
    EXPECT_TRUE(WaitForWindowGone(box));
    EXPECT_TRUE(StillTrueAfter([&] { return vantrel().Running(); }, 300ms));
    EXPECT_TRUE(IsWindow(config()));
    EXPECT_EQ(TrayIcons(), trayIconsBefore() + 1);
    Choose("x");  // the icon is still there and opens the menu

    Choose(kToExit);
    box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    AnswerMessageBox(box, IDOK);
    auto code = vantrel().WaitForExit(5000ms);
    ASSERT_TRUE(code.has_value()) << "Vantrel kept running after Exit";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(WaitUntil([&] { return TrayIcons() == trayIconsBefore(); })) << "the icon stayed";
}

TEST_F(TrayMenu, ClosingTheOptionsWindowEndsWithoutAQuestion) {
    Start();
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    PostMessageW(config(), WM_CLOSE, 0, 0);
    auto code = vantrel().WaitForExit(5000ms);
    ASSERT_TRUE(code.has_value()) << "closing the options window did not end Vantrel";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(WaitUntil([&] { return TrayIcons() == trayIconsBefore(); })) << "the icon stayed";
}

TEST_F(TrayMenu, AnOpenAboutWindowKeepsTheProgramAliveAfterExit) {
    Start();
    Choose(kToAbout);
    HWND about = WaitForWindow({kAboutTitle, kAboutClass, vantrel().id()});
    ASSERT_NE(about, nullptr);
    WaitUntil([&] { return GetForegroundWindow() == about; }, 2000ms);
    Choose(kToExit);
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    AnswerMessageBox(box, IDOK);
    EXPECT_TRUE(WaitForWindowGone(config()));
    EXPECT_TRUE(WaitUntil([&] { return TrayIcons() == trayIconsBefore(); })) << "the icon stayed";
    EXPECT_TRUE(StillTrueAfter([&] { return vantrel().Running() && IsWindow(about); }, 500ms));
    Click(GetDlgItem(about, IDC_ABOUT_OK));
    auto code = vantrel().WaitForExit(5000ms);
    ASSERT_TRUE(code.has_value()) << "closing the last window did not end Vantrel";
    EXPECT_EQ(*code, 0u);
}

}  // namespace
}  // namespace e2e
