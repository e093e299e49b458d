// "Launching" at 0 (or never stored, or not a number): the game starts at
// once, and the stub shows nothing.

#include "tests/win32/stub/stub_install.h"
#include "tests/win32/support/shown_windows.h"

namespace stub_e2e {
namespace {

class ImmediateStart : public StubTest {};

TEST_F(ImmediateStart, StartsTheGameOnceLogsAndShowsNoWindow) {
    for (auto launching : std::vector<std::optional<std::wstring>>{L"0", L" 0.0 ", std::nullopt, L"", L"off"}) {
        SCOPED_TRACE(launching ? Utf8(L"Launching=\"" + *launching + L"\"") : "Launching never stored");
        LayOut();
        SetLaunching(launching);
        ShownWindowWatch watch;
        auto stub = StartStub(L"-multiplayer 1");
        ASSERT_TRUE(watch.PumpUntilExit(stub->handle()));
        EXPECT_EQ(stub->WaitForExit(), 0u);
        EXPECT_TRUE(watch.ShownByThread(stub->mainThreadId()).empty()) << "the stub showed a window";

        auto runs = WaitForGame();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].arguments, "-multiplayer 1");
        EXPECT_EQ(runs[0].program, Utf8(Path(L"Brennic_Original.exe")));
        EXPECT_EQ(runs[0].showWindow, SW_SHOWNORMAL);
        EXPECT_EQ(runs[0].workingFolder, Utf8(scratch_->path()));  // the stub's, left as it was
        EXPECT_EQ(runs[0].marker, "absent");
        EXPECT_EQ(LogBytes(), "\"-multiplayer 1\"\r\n");
        EXPECT_FALSE(FileExists(Marker()));
    }
}

// The watch used above does see the window when there is one.
TEST_F(ImmediateStart, WatchSeesTheWindowOfAStubThatAsks) {
    SetLaunching(L"1");
    ShownWindowWatch watch;
    auto stub = StartStub();
    ASSERT_TRUE(watch.PumpUntilExit(stub->handle()));
    auto shown = watch.ShownByThread(stub->mainThreadId());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].caption, kCaption);
}

TEST_F(ImmediateStart, LeavesThePresentMarkerAndAppendsToTheLog) {
    SetLaunching(L"0");
    ASSERT_TRUE(WriteFileBytes(Marker(), "keep"));
    const auto before = Stamp(Marker());
    const std::string earlier = "\"first\"\r\nlast line without an end";
    ASSERT_TRUE(WriteFileBytes(Log(), earlier));

    EXPECT_EQ(RunStub(L"second"), 0u);
    ASSERT_EQ(WaitForGame().size(), 1u);
    EXPECT_EQ(Records()[0].marker, "present");
    EXPECT_EQ(ReadFileBytes(Marker()), "keep");
    EXPECT_TRUE(Stamp(Marker()) == before);
    EXPECT_EQ(LogBytes(), earlier + "\"second\"\r\n");

    EXPECT_EQ(RunStub(L""), 0u);
    EXPECT_EQ(LogBytes(), earlier + "\"second\"\r\n\"\"\r\n");
    EXPECT_TRUE(WaitUntil([&] { return Records().size() == 2; }));
}

// The argument text reaches the game unchanged and the log as it is, in the
// ANSI code page.
TEST_F(ImmediateStart, ArgumentTextPassesUnchanged) {
    SetLaunching(L"0");
    const std::wstring nonAnsi = L"-name \"Jos\u00e9 \u20ac\" \u65e5\u672c \u0416 end";
    const std::wstring longText = L"-x " + std::wstring(29997, L'a');
    ASSERT_EQ(longText.size(), 30000u);
    const std::vector<std::wstring> texts = {
        L"",
        L"\"quoted\" \"\" a\"b \\\"escaped\\\" \"unbalanced",
        L"  -lead and trail  ",
        nonAnsi,
        longText,
    };
    std::string expectedLog;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE("argument text " + std::to_string(i));
        ASSERT_EQ(RunStub(texts[i]), 0u);
        auto runs = WaitForGame();
        ASSERT_TRUE(WaitUntil([&] { return Records().size() == i + 1; }));
        runs = Records();
        // Blanks after the program path separate it from the arguments.
        std::wstring received = texts[i];
        received.erase(0, received.find_first_not_of(L' ') == std::wstring::npos ? received.size()
                                                                                 : received.find_first_not_of(L' '));
        EXPECT_EQ(runs.back().arguments, Utf8(received));
        expectedLog += "\"" + Ansi(received) + "\"\r\n";
        EXPECT_EQ(LogBytes(), expectedLog);
    }
    if (GetACP() == 1252) {
        EXPECT_NE(LogBytes()->find("-name \"Jos\xe9 \x80\" ?? ? end"), std::string::npos);
    }
}

TEST_F(ImmediateStart, FolderWithBlanksAndDecoysRunsOnlyItsOwnGame) {
    LayOut(L"Age of Empires II \u0416\\Age2_x1");
    SetLaunching(L"0");
    // Programs a command line split at a blank would run instead.
    for (const wchar_t* decoy : {L"Age.exe", L"Age of.exe", L"Age of Empires.exe", L"Age of Empires II.exe"})
        ASSERT_TRUE(CopyFileTo(BuiltProgram(L"standin_game.exe"), *scratch_ / decoy));

    EXPECT_EQ(RunStub(L"-a b"), 0u);
    auto runs = WaitForGame();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].program, Utf8(Path(L"Brennic_Original.exe")));
    EXPECT_EQ(runs[0].arguments, "-a b");
    EXPECT_FALSE(FileExists(*scratch_ / kStandinRecordName)) << "a decoy ran";
    EXPECT_EQ(LogBytes(), "\"-a b\"\r\n");
    // The working folder, where the stub was started from, gets nothing.
    EXPECT_FALSE(FileExists(*scratch_ / L"WriteCommandTxt.ini"));
    EXPECT_FALSE(FileExists(*scratch_ / L"on.ini"));
}

}  // namespace
}  // namespace stub_e2e
