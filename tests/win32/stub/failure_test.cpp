// What the stub does when a step fails: a game that cannot start, a marker
// that cannot change, a log that cannot be written; and that nothing starts
// the game twice, not even while one of its message boxes is open.

#include "tests/win32/stub/stub_install.h"
#include "tests/win32/support/shown_windows.h"

namespace stub_e2e {
namespace {

class StubFailure : public StubTest {};

// A file held open without delete sharing cannot be deleted by anyone else.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring& path)
        : h_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

TEST_F(StubFailure, MissingGameIsNamedInAMessageAndNotLogged) {
    LayOut(L"Age of Empires II\\Age2_x1", false);
    const std::string game = Utf8(Path(L"Brennic_Original.exe"));
    {
        SCOPED_TRACE("immediate start");
        SetLaunching(L"0");
        auto stub = StartStub(L"-x");
        HWND box = WaitForMessageBox(kMessageTitle, stub->id());
        ASSERT_TRUE(box);
        const std::string text = Utf8(MessageBoxText(box));
        EXPECT_NE(text.find(game), std::string::npos) << text;
        EXPECT_NE(text.find(SystemReason(ERROR_FILE_NOT_FOUND)), std::string::npos) << text;
        EXPECT_TRUE(FindWindows(WindowQuery{kCaption, kWindowClass, stub->id(), true}).empty());
        AnswerMessageBox(box);
        EXPECT_EQ(stub->WaitForExit(), 1u);
    }
    {
        SCOPED_TRACE("1.0e: the switch stays made");
        SetLaunching(L"1");
        auto stub = StartStub(L"-x");
        HWND window = WaitForStubWindow(*stub);
        ASSERT_TRUE(window);
        Click(Build10eButton(window));
        HWND box = WaitForMessageBox(kMessageTitle, stub->id());
        ASSERT_TRUE(box);
        EXPECT_NE(Utf8(MessageBoxText(box)).find(game), std::string::npos);
        AnswerMessageBox(box);
        EXPECT_EQ(stub->WaitForExit(), 1u);
        EXPECT_EQ(ReadFileBytes(Marker()), "");
    }
    EXPECT_FALSE(FileExists(Log()));
}

TEST_F(StubFailure, MarkerThatCannotBeCreatedKeepsTheWindowAndNothingElseStarts) {
    SetLaunching(L"1");
    ASSERT_TRUE(MakeFolder(Marker()));  // a folder in the marker's place
    auto stub = StartStub(L"-e");
    HWND window = WaitForStubWindow(*stub);
    ASSERT_TRUE(window);
    Click(Build10eButton(window));
    HWND box = WaitForMessageBox(kMessageTitle, stub->id());
    ASSERT_TRUE(box);
    const std::string text = Utf8(MessageBoxText(box));
    EXPECT_NE(text.find("Cannot switch to 1.0e"), std::string::npos) << text;
    EXPECT_NE(text.find(Utf8(Marker())), std::string::npos) << text;

    // While the box is open: the timer's second has passed, and clicks come.
    Click(Build10cButton(window));
    Click(Build10eButton(window));
    Sleep(1200);
    EXPECT_TRUE(Records().empty());
    AnswerMessageBox(box);

    // The window stays, its timer stopped: still no game a second later.
    ASSERT_TRUE(WaitForWindowGone(box));
    EXPECT_FALSE(stub->WaitForExit(1200ms));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(Records().empty());
    EXPECT_FALSE(FileExists(Log()));

    // The player chooses again.
    Click(Build10cButton(window));
    EXPECT_EQ(stub->WaitForExit(), 0u);
    auto runs = WaitForGame();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].marker, "folder");
    EXPECT_EQ(LogBytes(), "\"-e\"\r\n");
}

TEST_F(StubFailure, MarkerThatCannotBeDeletedLetsThePlayerClose) {
    SetLaunching(L"1");
    ASSERT_TRUE(WriteFileBytes(Marker(), ""));
    HeldOpen inUse(Marker());
    ASSERT_TRUE(inUse.ok());
    auto stub = StartStub();
    HWND window = WaitForStubWindow(*stub);
    ASSERT_TRUE(window);
    Click(Build10cButton(window));
    HWND box = WaitForMessageBox(kMessageTitle, stub->id());
    ASSERT_TRUE(box);
    EXPECT_NE(Utf8(MessageBoxText(box)).find("Cannot switch to 1.0c"), std::string::npos);
    // Closing while the box is open takes effect once it is answered.
    RequestClose(window);
    EXPECT_FALSE(stub->WaitForExit(300ms));
    AnswerMessageBox(box);
    EXPECT_EQ(stub->WaitForExit(), 0u);
    EXPECT_TRUE(Records().empty());
    EXPECT_FALSE(FileExists(Log()));
    EXPECT_TRUE(FileExists(Marker()));
}

TEST_F(StubFailure, LogThatCannotBeWrittenEndsQuietlyAfterTheGameStarted) {
    SetLaunching(L"0");
    const std::string earlier = "\"earlier\"\r\n";
    ASSERT_TRUE(WriteFileBytes(Log(), earlier));
    auto runExpectingNoLine = [&](const char* why) {
        SCOPED_TRACE(why);
        const std::size_t games = Records().size();
        ShownWindowWatch watch;
        auto stub = StartStub(L"-unwritten");
        ASSERT_TRUE(watch.PumpUntilExit(stub->handle()));
        EXPECT_EQ(stub->WaitForExit(), 2u);
        EXPECT_TRUE(watch.ShownByThread(stub->mainThreadId()).empty()) << "the stub showed something";
        EXPECT_TRUE(WaitUntil([&] { return Records().size() == games + 1; }));
    };
    {
        // In use by a program that lets nobody else write it.
        HANDLE writer = CreateFileW(Log().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(writer, INVALID_HANDLE_VALUE);
        runExpectingNoLine("log in use");
        CloseHandle(writer);
    }
    EXPECT_EQ(ReadFileBytes(Log()), earlier);

    // Read-only: Wine lets a process running as root write such a file,
    // so this part runs only where the attribute holds.
    ASSERT_TRUE(SetAttributes(Log(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = CreateFileW(Log().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        runExpectingNoLine("read-only log");
        EXPECT_EQ(ReadFileBytes(Log()), earlier);
    } else {
        CloseHandle(probe);
    }
}

TEST_F(StubFailure, LogHeldOpenByAReaderStillGetsItsLine) {
    SetLaunching(L"0");
    ASSERT_TRUE(WriteFileBytes(Log(), "\"earlier\"\r\n"));
    HeldOpen reader(Log());
    ASSERT_TRUE(reader.ok());
    EXPECT_EQ(RunStub(L"-shared"), 0u);
    EXPECT_EQ(LogBytes(), "\"earlier\"\r\n\"-shared\"\r\n");
}

TEST_F(StubFailure, HiddenLogIsAppendedTo) {
    SetLaunching(L"0");
    ASSERT_TRUE(WriteFileBytes(Log(), "\"earlier\"\r\n"));
    ASSERT_TRUE(SetAttributes(Log(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(RunStub(L"-hidden"), 0u);
    EXPECT_EQ(LogBytes(), "\"earlier\"\r\n\"-hidden\"\r\n");
}

}  // namespace
}  // namespace stub_e2e
