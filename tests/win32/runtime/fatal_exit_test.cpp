// What the release programs do where the C++ library would have thrown: they
// say so and end, never go on.

#include <gtest/gtest.h>

#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/scratch_folder.h"

namespace {

using namespace e2e;

// "crowded": no thread can be made for the message, which then comes from
// the failing thread's own loop.
TEST(FatalExit, FailedAllocationAndLengthEndTheProgramWithAMessageAndNothingElseRuns) {
    for (const wchar_t* failure : {L"memory", L"length", L"crowded"}) {
        SCOPED_TRACE(Utf8(failure));
        ScratchFolder scratch;
        Process probe(BuildDir() + L"\\tests\\win32\\fatal_exit_probe.exe", failure, scratch.path());
        HWND box = WaitForMessageBox(L"fatal_exit_probe", probe.id());
        ASSERT_TRUE(box);
        EXPECT_NE(MessageBoxText(box).find(L"memory"), std::wstring::npos);
        Sleep(300);
        EXPECT_FALSE(FileExists(scratch / L"fatal_exit_probe.ticked")) << "the program ran on under its message";
        AnswerMessageBox(box);
        EXPECT_EQ(probe.WaitForExit(), 3u);
        EXPECT_FALSE(FileExists(scratch / L"fatal_exit_probe.went_on"));
    }
}

TEST(FatalExit, AFailureWhileTheMessageIsUpEndsTheProgramAtOnce) {
    ScratchFolder scratch;
    Process probe(BuildDir() + L"\\tests\\win32\\fatal_exit_probe.exe", L"twice", scratch.path());
    ASSERT_TRUE(WaitForMessageBox(L"fatal_exit_probe", probe.id()));
    EXPECT_EQ(probe.WaitForExit(), 3u) << "a second message waits for an answer";
    EXPECT_FALSE(FileExists(scratch / L"fatal_exit_probe.went_on"));
}

}  // namespace
