// Conversions at the system's edge and the wording of system errors.

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/program_facts.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text.h"

namespace {

using namespace platform::win32;

TEST(Text, Utf8AndUtf16RoundTripOutsideTheAnsiCodePage) {
    const std::string text = "Ω ж 日本 \"é\" 😀";
    EXPECT_EQ(Widen(text), L"Ω ж 日本 \"é\" 😀");
    EXPECT_EQ(Narrow(Widen(text)), text);
    EXPECT_EQ(Widen(std::string("a\0b", 3)).size(), 3u) << "embedded nulls travel";
    EXPECT_EQ(Narrow(L""), "");
}

TEST(Text, DecimalFromZeroToTheLargestNumber) {
    EXPECT_EQ(Decimal(0), L"0");
    EXPECT_EQ(Decimal(1000), L"1000");
    EXPECT_EQ(Decimal(18446744073709551615ull), L"18446744073709551615");
}

TEST(SystemError, ReasonReadsAsPlainWordsWithoutItsEnding) {
    for (DWORD code : {DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_SHARING_VIOLATION}}) {
        const std::string reason = SystemReason(code);
        ASSERT_FALSE(reason.empty());
        EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
        EXPECT_NE(reason.back(), '.') << reason;
    }
    EXPECT_EQ(SystemReason(0x2000FFFF), "System error 536936447");
    EXPECT_EQ(Failure("Cannot delete the file \"x\"", ERROR_ACCESS_DENIED).message(),
              "Cannot delete the file \"x\": " + SystemReason(ERROR_ACCESS_DENIED));
}

TEST(ProgramFacts, FolderKeepsItsSeparatorOnlyAtADriveRoot) {
    EXPECT_EQ(FolderOf(L"C:\\Games\\Empires\\Vantrel.exe"), L"C:\\Games\\Empires");
    EXPECT_EQ(FolderOf(L"C:\\Vantrel.exe"), L"C:\\");
    const std::wstring self = ProgramPath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(FolderOf(self), self.substr(0, self.rfind(L'\\')));
}

}  // namespace
