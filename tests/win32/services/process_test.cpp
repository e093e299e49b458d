// Starting programs and what a started program learns about itself: its
// argument text and whether another copy of it runs. The started programs
// are copies of this test program that report and end at once.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "platform/win32/program_facts.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_services.h"
#include "tests/win32/services/services_test_support.h"

namespace {

using platform::WindowStyle;
using platform::win32::ArgumentTextOf;
using platform::win32::Widen;
using platform::win32::Win32Services;
using namespace services_test;

bool SamePath(const std::string& a, const std::string& b) {
    return ::CompareStringOrdinal(Widen(a).c_str(), -1, Widen(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST(StartProgram, PathWithBlanksRunsThatProgramNotTheDecoyAtTheCutPath) {
    ScratchFolder scratch;
    const std::string program = scratch.Make("vt test\\sub dir\\child.exe");
    const std::string decoy = scratch.path() + "\\vt.exe";
    ASSERT_TRUE(CopyTestProgram(program));
    ASSERT_TRUE(CopyTestProgram(decoy));
    const std::string report = scratch.path() + "\\report.txt";
    ChildReporting reporting(report);

    // The trap is real: the same path unquoted in a command line runs the decoy.
    ASSERT_TRUE(StartRaw(Widen(program + " x")));
    auto trapped = AwaitReport(report);
    ASSERT_TRUE(trapped);
    EXPECT_TRUE(SamePath(trapped->program, decoy)) << trapped->program;

    Win32Services os;
    ASSERT_TRUE(os.StartProgram(program, "x", WindowStyle::Normal).ok());
    auto started = AwaitReport(report);
    ASSERT_TRUE(started);
    EXPECT_TRUE(SamePath(started->program, program)) << started->program;
    EXPECT_EQ(started->showWindow, SW_SHOWNORMAL);
}

TEST(StartProgram, ProgramReceivesItsArgumentTextUnchanged) {
    ScratchFolder scratch;
    const std::string program = scratch.Make("with blank\\child.exe");
    ASSERT_TRUE(CopyTestProgram(program));
    const std::string report = scratch.path() + "\\report.txt";
    ChildReporting reporting(report);
    Win32Services os;

    const std::string cases[] = {
        "-multiplayer",
        "say \"hi there\" \"\" \\\"x\\\" \"unclosed",
        "Ω ж 日本 é",
        "\"C:\\Games\\Age of Empires II\\Brennic.exe\" tail blanks  ",
        "",
    };
    for (const std::string& arguments : cases) {
        ASSERT_TRUE(os.StartProgram(program, arguments, WindowStyle::Maximized).ok()) << arguments;
        auto started = AwaitReport(report);
        ASSERT_TRUE(started) << arguments;
        EXPECT_EQ(started->arguments, arguments);
        EXPECT_EQ(started->showWindow, SW_SHOWMAXIMIZED);
    }
}

TEST(ArgumentText, SameWhetherTheProgramPathWasQuotedOrNot) {
    ScratchFolder scratch;
    const std::string plain = scratch.Make("plain\\child.exe");
    const std::string blank = scratch.Make("with blank\\child.exe");
    if (plain.find(' ') != std::string::npos) GTEST_SKIP() << "the temporary folder has a blank in its path";
    ASSERT_TRUE(CopyTestProgram(plain));
    ASSERT_TRUE(CopyTestProgram(blank));
    const std::string report = scratch.path() + "\\report.txt";
    ChildReporting reporting(report);

    struct Case {
        std::string commandLine;
        std::string arguments;
    } cases[] = {
        {plain + "  a  \"b c\"", "a  \"b c\""},
        {"\"" + plain + "\" a", "a"},
        {"\"" + blank + "\"\t \t\"quoted\" rest", "\"quoted\" rest"},
        {plain, ""},
        {"\"" + blank + "\"   ", ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(StartRaw(Widen(c.commandLine))) << c.commandLine;
        auto started = AwaitReport(report);
        ASSERT_TRUE(started) << c.commandLine;
        EXPECT_EQ(started->arguments, c.arguments) << c.commandLine;
    }
}

TEST(ArgumentText, PathEndsWhereTheRuntimeEndsItsFirstArgument) {
    EXPECT_EQ(ArgumentTextOf(L"x.exe"), L"");
    EXPECT_EQ(ArgumentTextOf(L""), L"");
    EXPECT_EQ(ArgumentTextOf(L"C:\\g\\x.exe a b "), L"a b ");
    EXPECT_EQ(ArgumentTextOf(L"\"C:\\my games\\x.exe\"a"), L"a");
    // A quote counts only where it opens the path.
    EXPECT_EQ(ArgumentTextOf(L"C:\\my\"x y.exe -a"), L"y.exe -a");
    EXPECT_EQ(ArgumentTextOf(L"\"C:\\unclosed x.exe -a"), L"");
}

TEST(AnotherInstance, SeenFromAnotherProcessWhileTheFirstHoldsItsClaim) {
    ScratchFolder scratch;
    const std::string report = scratch.path() + "\\report.txt";
    ChildReporting reporting(report);
    {
        Win32Services first;
        EXPECT_FALSE(first.AnotherInstanceRunning());
        ASSERT_TRUE(first.StartProgram(TestProgram(), "", WindowStyle::Normal).ok());
        auto second = AwaitReport(report);
        ASSERT_TRUE(second);
        EXPECT_TRUE(second->anotherInstance);
    }
    // The claim ends with the program that made it.
    Win32Services os;
    ASSERT_TRUE(os.StartProgram(TestProgram(), "", WindowStyle::Normal).ok());
    auto later = AwaitReport(report);
    ASSERT_TRUE(later);
    EXPECT_FALSE(later->anotherInstance);
}

TEST(AnotherInstance, LaterCallsRepeatTheFirstAnswer) {
    auto first = std::make_unique<Win32Services>();
    ASSERT_FALSE(first->AnotherInstanceRunning());
    Win32Services second;
    EXPECT_TRUE(second.AnotherInstanceRunning());
    first.reset();
    EXPECT_TRUE(second.AnotherInstanceRunning());
    EXPECT_EQ(platform::win32::InstanceMutexName(L"D:\\Games\\Vantrel.EXE"), L"Local\\Vantrel.Instance.vantrel");
}

TEST(StartProgram, BareNameIsFoundLikeACommandPromptFindsIt) {
    ScratchFolder scratch;
    const std::string name = "vtexplore" + std::to_string(::GetCurrentProcessId());
    std::string folder = scratch.Make(name + "\\");
    folder.pop_back();
    Win32Services os;
    ASSERT_TRUE(os.StartProgram("explorer.exe", folder, WindowStyle::Normal).ok());

    HWND window = nullptr;
    for (int i = 0; i < 250 && !window; ++i) {
        window = ::FindWindowW(L"ExplorerWClass", Widen(name).c_str());
        if (!window) ::Sleep(20);
    }
    EXPECT_NE(window, nullptr) << "no Explorer window shows " << folder;
    if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST(StartProgram, FailureNamesTheProgram) {
    ScratchFolder scratch;
    const std::string missing = scratch.path() + "\\no such.exe";
    Win32Services os;
    const auto status = os.StartProgram(missing, "", WindowStyle::Normal);
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.message().find(missing), std::string::npos) << status.message();
}

}  // namespace
