// "Launching" at any other number: a beep, the window with the two builds,
// and the timer that starts the game after a second.

#include <chrono>

#include "tests/win32/stub/stub_install.h"
#include "tests/win32/support/icon_images.h"
#include "tests/win32/support/open_menu.h"
#include "tests/win32/support/shown_windows.h"

namespace stub_e2e {
namespace {

class StubWindow : public StubTest {
protected:
    void SetUp() override {
        StubTest::SetUp();
        SetLaunching(L"1");
    }
};

unsigned long long NowFileTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    return gui.hwndFocus;
}

TEST_F(StubWindow, LooksAsDesigned) {
    // Without the game the tick only opens a message box, and the window
    // stays to be looked at for as long as it takes.
    LayOut(L"Age2_x1", false);
    auto stub = StartStub();
    HWND window = WaitForStubWindow(*stub);
    ASSERT_TRUE(window);

    EXPECT_TRUE(WaitUntil([&] { return FocusOf(window) == Build10cButton(window); }, 500ms));

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    // 161 x 74 pixels at the DPI of the screen, centred on it.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT client = ClientRectOnScreen(window);
    EXPECT_EQ(client.right - client.left, MulDiv(161, dpi, 96));
    EXPECT_EQ(client.bottom - client.top, MulDiv(74, dpi, 96));
    RECT frame = WindowRectOnScreen(window);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    HWND c1 = Build10cButton(window), c2 = Build10eButton(window);
    ASSERT_TRUE(c1 && c2);
    EXPECT_EQ(WindowText(c1), L"The Conquerors 1.0c");
    EXPECT_EQ(WindowText(c2), L"The Conquerors 1.0e");
    RECT r1 = ClientRectOnScreen(c1), r2 = ClientRectOnScreen(c2);
    EXPECT_EQ(r1.left - client.left, MulDiv(8, dpi, 96));
    EXPECT_EQ(r1.top - client.top, MulDiv(8, dpi, 96));
    EXPECT_EQ(r1.right - r1.left, MulDiv(145, dpi, 96));
    EXPECT_EQ(r1.bottom - r1.top, MulDiv(25, dpi, 96));
    EXPECT_EQ(r2.top - client.top, MulDiv(40, dpi, 96));
    EXPECT_TRUE(GetWindowLongW(c1, GWL_STYLE) & WS_TABSTOP);
    // The focused button looks like the default, as in a dialog box.
    EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongW(c1, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }, 500ms));
    EXPECT_EQ(GetWindowLongW(c2, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0), MAKELRESULT(102, DC_HASDEFID));

    // The captions fit at this DPI and after a change to 144 (150 %).
    OpenMenuReader measurer(GetWindowThreadProcessId(window, nullptr));
    for (UINT change : {0u, 144u}) EXPECT_EQ(measurer.CaptionsThatDoNotFit(window, change), L"done");


    RequestClose(window);
    if (!stub->WaitForExit(500ms)) {
        // The tick came first: its message box holds the close back.
        if (HWND box = WaitForMessageBox(kMessageTitle, stub->id())) AnswerMessageBox(box);
    }
    EXPECT_TRUE(stub->WaitForExit());
}

TEST_F(StubWindow, ProgramFileCarriesIconVersionAndManifest) {
    EXPECT_EQ(IconImages(Path(L"Brennic.exe")), kIconImages);
    HMODULE file = LoadLibraryExW(Path(L"Brennic.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(file);
    EXPECT_TRUE(FindResourceW(file, MAKEINTRESOURCEW(1), RT_MANIFEST));
    EXPECT_TRUE(FindResourceW(file, MAKEINTRESOURCEW(1), RT_VERSION));
    HRSRC manifest = FindResourceW(file, MAKEINTRESOURCEW(1), RT_MANIFEST);
    std::string text(static_cast<const char*>(LockResource(LoadResource(file, manifest))),
                     SizeofResource(file, manifest));
    for (const char* needed : {"Microsoft.Windows.Common-Controls", "PerMonitorV2", "asInvoker"})
        EXPECT_NE(text.find(needed), std::string::npos) << needed;
    FreeLibrary(file);
}

TEST_F(StubWindow, TimerStartsTheGameWithTheBuildCurrentThen) {
    const auto before = NowFileTime();
    auto stub = StartStub(L"-timer");
    HWND window = WaitForStubWindow(*stub);
    ASSERT_TRUE(window);
    ASSERT_TRUE(Records().empty());
    // Another program switches the build while the window waits.
    ASSERT_TRUE(WriteFileBytes(Marker(), ""));

    EXPECT_EQ(stub->WaitForExit(), 0u);
    auto runs = WaitForGame();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].marker, "present");
    EXPECT_EQ(runs[0].arguments, "-timer");
    const double waited = static_cast<double>(runs[0].startedAt - before) / 1e7;
    EXPECT_GE(waited, 0.95);
    EXPECT_LT(waited, 3.0);
    EXPECT_TRUE(FileExists(Marker()));
    EXPECT_EQ(LogBytes(), "\"-timer\"\r\n");
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(StubWindow, AnyOtherNumberShowsTheWindow) {
    for (const wchar_t* launching : {L"2", L"-1", L" 1 "}) {
        SCOPED_TRACE(Utf8(launching));
        SetLaunching(launching);
        auto stub = StartStub();
        HWND window = WaitForStubWindow(*stub);
        EXPECT_TRUE(window);
        if (window) RequestClose(window);
        EXPECT_EQ(stub->WaitForExit(), 0u);
    }
    EXPECT_TRUE(Records().empty());
}

TEST_F(StubWindow, Command1RemovesThePlainMarkerBeforeTheGameStarts) {
    ASSERT_TRUE(WriteFileBytes(Marker(), ""));
    auto stub = StartStub(L"-c");
    HWND window = WaitForStubWindow(*stub);
    ASSERT_TRUE(window);
    Click(Build10cButton(window));
    EXPECT_EQ(stub->WaitForExit(), 0u);
    auto runs = WaitForGame();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].marker, "absent");
    EXPECT_FALSE(FileExists(Marker()));
    EXPECT_EQ(LogBytes(), "\"-c\"\r\n");
}

TEST_F(StubWindow, Command2CreatesAnEmptyMarkerBeforeTheGameStarts) {
    auto stub = StartStub(L"-e");
    HWND window = WaitForStubWindow(*stub);
    ASSERT_TRUE(window);
    Click(Build10eButton(window));
    EXPECT_EQ(stub->WaitForExit(), 0u);
    auto runs = WaitForGame();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].marker, "present");
    EXPECT_EQ(ReadFileBytes(Marker()), "");
    EXPECT_EQ(LogBytes(), "\"-e\"\r\n");
}

TEST_F(StubWindow, ButtonsLeaveAMarkerAloneThatIsAlreadyRight) {
    {
        SCOPED_TRACE("1.0e with the marker present");
        ASSERT_TRUE(WriteFileBytes(Marker(), "content"));
        const auto before = Stamp(Marker());
        auto stub = StartStub();
        HWND window = WaitForStubWindow(*stub);
        ASSERT_TRUE(window);
        Click(Build10eButton(window));
        EXPECT_EQ(stub->WaitForExit(), 0u);
        EXPECT_EQ(ReadFileBytes(Marker()), "content");
        EXPECT_TRUE(Stamp(Marker()) == before);
        ASSERT_EQ(WaitForGame().size(), 1u);  // it has looked at the marker
    }
    {
        SCOPED_TRACE("1.0c with a hidden marker, which counts as absent");
        ASSERT_TRUE(SetAttributes(Marker(), FILE_ATTRIBUTE_HIDDEN));
        auto stub = StartStub();
        HWND window = WaitForStubWindow(*stub);
        ASSERT_TRUE(window);
        Click(Build10cButton(window));
        EXPECT_EQ(stub->WaitForExit(), 0u);
        EXPECT_EQ(ReadFileBytes(Marker()), "content");
        EXPECT_TRUE(Attributes(Marker()) & FILE_ATTRIBUTE_HIDDEN);
    }
    ASSERT_TRUE(WaitUntil([&] { return Records().size() == 2; }));
    EXPECT_EQ(Records()[0].marker, "present");
    EXPECT_EQ(Records()[1].marker, "hidden");
    EXPECT_EQ(LogBytes(), "\"\"\r\n\"\"\r\n");
}

// A hidden marker counts as absent, so 1.0e means creating it. Windows
// refuses to replace a hidden file with a plain one; Wine empties it and
// leaves it hidden. Either way 1.0e is not current: the player is told, and
// may choose 1.0c or close.
TEST_F(StubWindow, Command2WithAHiddenMarkerSaysItCannotSwitch) {
    ASSERT_TRUE(WriteFileBytes(Marker(), "hidden"));
    ASSERT_TRUE(SetAttributes(Marker(), FILE_ATTRIBUTE_HIDDEN));
    auto stub = StartStub();
    HWND window = WaitForStubWindow(*stub);
    ASSERT_TRUE(window);
    Click(Build10eButton(window));
    HWND box = WaitForMessageBox(kMessageTitle, stub->id());
    ASSERT_TRUE(box);
    EXPECT_NE(Utf8(MessageBoxText(box)).find("Cannot switch to 1.0e"), std::string::npos);
    AnswerMessageBox(box);
    ASSERT_TRUE(WaitForWindowGone(box));
    RequestClose(window);
    EXPECT_EQ(stub->WaitForExit(), 0u);
    EXPECT_TRUE(Records().empty());
    EXPECT_TRUE(Attributes(Marker()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(StubWindow, KeyboardWorksAsInADialog) {
    {
        SCOPED_TRACE("Enter presses 1.0c, which has the focus");
        ASSERT_TRUE(WriteFileBytes(Marker(), ""));
        auto stub = StartStub();
        HWND window = WaitForStubWindow(*stub);
        ASSERT_TRUE(window);
        PostMessageW(Build10cButton(window), WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(stub->WaitForExit(), 0u);
        EXPECT_FALSE(FileExists(Marker()));
    }
    {
        SCOPED_TRACE("Enter presses 1.0e while no button has the focus");
        auto stub = StartStub();
        HWND window = WaitForStubWindow(*stub);
        ASSERT_TRUE(window);
        // Once Brennic has put the focus on 1.0c, the window itself takes it.
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(window) == Build10cButton(window); }, 500ms));
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        ASSERT_TRUE(AttachThreadInput(GetCurrentThreadId(), thread, TRUE));
        SetFocus(window);
        AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
        PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(stub->WaitForExit(), 0u);
        EXPECT_TRUE(FileExists(Marker()));
    }
    {
        SCOPED_TRACE("Space presses the focused 1.0c button");
        auto stub = StartStub();
        HWND window = WaitForStubWindow(*stub);
        ASSERT_TRUE(window);
        PostMessageW(Build10cButton(window), WM_KEYDOWN, VK_SPACE, 0);
        PostMessageW(Build10cButton(window), WM_KEYUP, VK_SPACE, 0xC0000000);
        EXPECT_EQ(stub->WaitForExit(), 0u);
        EXPECT_FALSE(FileExists(Marker()));
    }
    EXPECT_TRUE(WaitUntil([&] { return Records().size() == 3; }));
}

TEST_F(StubWindow, ClosingBeforeTheTimerStartsNothingAndChangesNothing) {
    ASSERT_TRUE(WriteFileBytes(Marker(), ""));
    const auto before = Stamp(Marker());
    auto stub = StartStub(L"-closed");
    HWND window = WaitForStubWindow(*stub);
    ASSERT_TRUE(window);
    RequestClose(window);
    EXPECT_EQ(stub->WaitForExit(), 0u);
    // Long enough for a timer that survived the close to have fired.
    Sleep(1200);
    EXPECT_TRUE(Records().empty());
    EXPECT_FALSE(FileExists(Log()));
    EXPECT_TRUE(Stamp(Marker()) == before);
}

}  // namespace
}  // namespace stub_e2e
