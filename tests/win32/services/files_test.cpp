// Files and the working folder, checked against the file system itself.

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_services.h"
#include "tests/win32/services/services_test_support.h"

namespace {

using platform::win32::UniqueHandle;
using platform::win32::Widen;
using platform::win32::Win32Services;
using namespace services_test;

std::string WithAttributes(const ScratchFolder& scratch, const std::string& name, DWORD attributes) {
    const std::string path = scratch.Make(name);
    EXPECT_TRUE(WriteBytes(path, "x"));
    EXPECT_TRUE(::SetFileAttributesW(Widen(path).c_str(), attributes));
    return path;
}

TEST(PlainFileExists, HiddenSystemFilesAndFoldersCountAsAbsent) {
    ScratchFolder scratch;
    Win32Services os;
    EXPECT_TRUE(os.PlainFileExists(WithAttributes(scratch, "plain.ini", FILE_ATTRIBUTE_NORMAL)));
    EXPECT_TRUE(os.PlainFileExists(WithAttributes(scratch, "read only.ini", FILE_ATTRIBUTE_READONLY)));
    EXPECT_TRUE(os.PlainFileExists(WithAttributes(scratch, "archived Ω.ini", FILE_ATTRIBUTE_ARCHIVE)));
    EXPECT_FALSE(os.PlainFileExists(WithAttributes(scratch, "hidden.ini", FILE_ATTRIBUTE_HIDDEN)));
    EXPECT_FALSE(os.PlainFileExists(WithAttributes(scratch, "system.ini", FILE_ATTRIBUTE_SYSTEM)));
    EXPECT_FALSE(os.PlainFileExists(scratch.Make("on.ini\\")));
    EXPECT_FALSE(os.PlainFileExists(scratch.path() + "\\missing.ini"));
    EXPECT_FALSE(os.PlainFileExists(""));

    EXPECT_TRUE(os.FolderExists(scratch.path() + "\\on.ini"));
    EXPECT_FALSE(os.FolderExists(scratch.path() + "\\plain.ini"));
    EXPECT_FALSE(os.FolderExists(scratch.path() + "\\missing"));
}

TEST(Files, CreateTruncatesAndRemoveReportsWhatItCouldNotDo) {
    ScratchFolder scratch;
    Win32Services os;
    const std::string marker = scratch.path() + "\\on.ini";
    ASSERT_TRUE(WriteBytes(marker, "old content"));
    ASSERT_TRUE(os.CreateEmptyFile(marker).ok());
    EXPECT_EQ(ReadBytes(marker).value(), "");

    ASSERT_TRUE(os.RemoveFile(marker).ok());
    EXPECT_FALSE(ReadBytes(marker).has_value());
    const auto again = os.RemoveFile(marker);
    ASSERT_FALSE(again.ok());
    EXPECT_NE(again.message().find(marker), std::string::npos) << again.message();

    // A folder standing where the file should be.
    const std::string folder = scratch.Make("taken\\");
    const auto created = os.CreateEmptyFile(folder.substr(0, folder.size() - 1));
    ASSERT_FALSE(created.ok());
    EXPECT_NE(created.message().find("taken"), std::string::npos) << created.message();
    // Refused for want of rights, so the callers may ask the switch service;
    // a file that is not there is no such case.
    EXPECT_TRUE(created.accessDenied());
    EXPECT_FALSE(again.accessDenied());
    EXPECT_EQ(*os.ServiceStatus("VantrelSwitchNotInstalled"), platform::ServiceState::Missing);
}

TEST(AppendAnsiText, AddsAtTheEndWhileAReaderHoldsTheFile) {
    ScratchFolder scratch;
    Win32Services os;
    const std::string log = scratch.path() + "\\WriteCommandTxt.ini";

    ASSERT_TRUE(os.AppendAnsiText(log, "\"first\"\r\n").ok()) << "creates the file";
    UniqueHandle reader(::CreateFileW(Widen(log).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);

    const std::string text = "\"-multiplayer é Ω ж\"\r\n";
    const auto appended = os.AppendAnsiText(log, text);
    ASSERT_TRUE(appended.ok()) << appended.message();
    ASSERT_TRUE(os.AppendAnsiText(log, "").ok());

    const std::string ansi = platform::win32::ToAnsi(Widen(text));
    if (::GetACP() != CP_UTF8) {
        EXPECT_EQ(ansi.size(), text.size() - 3) << "é, Ω and ж take one byte each";
    }
    EXPECT_EQ(ReadBytes(log).value(), "\"first\"\r\n" + ansi);

    // The reader sees the same bytes through its handle.
    std::string seen(64, '\0');
    DWORD read = 0;
    ASSERT_TRUE(::ReadFile(reader.get(), seen.data(), static_cast<DWORD>(seen.size()), &read, nullptr));
    seen.resize(read);
    EXPECT_EQ(seen, "\"first\"\r\n" + ansi);
}

// Puts the working folder back for the tests that follow.
class WorkingFolder : public ::testing::Test {
protected:
    WorkingFolder() {
        wchar_t folder[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, folder);
        saved_ = folder;
    }
    ~WorkingFolder() override { ::SetCurrentDirectoryW(saved_.c_str()); }

private:
    std::wstring saved_;
};

TEST_F(WorkingFolder, ReadsBackWithoutTrailingSeparatorExceptAtADriveRoot) {
    Win32Services os;
    {
        ScratchFolder scratch;
        const std::string folder = scratch.Make("Game Folder Ω\\");
        ASSERT_TRUE(os.SelectDrive(folder.substr(0, 3)).ok());
        ASSERT_TRUE(os.SetCurrentFolder(folder).ok());
        EXPECT_EQ(os.CurrentFolder().value(), folder.substr(0, folder.size() - 1));
        ASSERT_TRUE(os.SetCurrentFolder("C:\\").ok());
    }

    EXPECT_EQ(os.CurrentFolder().value(), "C:\\");
    ASSERT_TRUE(os.SelectDrive("z:\\").ok());
    EXPECT_EQ(os.CurrentFolder().value().substr(0, 2), "Z:");
    ASSERT_TRUE(os.SelectDrive("C:\\Games").ok());
    EXPECT_EQ(os.CurrentFolder().value().substr(0, 2), "C:");

    EXPECT_FALSE(os.SelectDrive("\\\\server\\share").ok());
    EXPECT_FALSE(os.SelectDrive("").ok());
    const auto missing = os.SetCurrentFolder("C:\\no such folder");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("C:\\no such folder"), std::string::npos) << missing.message();
    EXPECT_EQ(os.CurrentFolder().value().substr(0, 2), "C:") << "a failed change leaves the folder";
}

}  // namespace
