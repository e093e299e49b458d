// The demo's remote control on a real Vantrel.exe: the menu keys must land
// on "Show Options" and "Exit", the build must be read from the menu as it
// is, and the options window must answer clicks as the demo expects.

#include <gtest/gtest.h>

#include <memory>

#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/registry.h"
#include "tests/win32/support/scratch_folder.h"
#include "tests/win32/support/text.h"
#include "tools/demo/vantrel_remote.h"

namespace demo {
namespace {

using e2e::Root;
using e2e::ScopedValue;

const std::wstring kDirectPlayKey =
    L"SOFTWARE\\Microsoft\\DirectPlay\\Applications\\Age of Empires II - The Conquerors Expansion";
const std::wstring kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kLaunchingBox = L"Ask me to switch 1.0e when 'Host is launching game'";
const std::wstring kProgramBox = L"End selected aplications when The Conquerors is runned";

std::wstring Built(const char* unixPath) {
    std::wstring path = e2e::Wide(unixPath);
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

class Remote : public ::testing::Test {
protected:
    ~Remote() override {
        if (!vantrel_ || !vantrel_->process().Running()) return;
        // Its close button ends it without a question, and takes the icon.
        for (HWND box : e2e::FindWindows({L"Vantrel", L"#32770", vantrel_->process().id()}))
            e2e::AnswerMessageBox(box, IDCANCEL);
        PostMessageW(vantrel_->options(), WM_CLOSE, 0, 0);
        vantrel_->process().WaitForExit(3000ms);
    }

    VantrelRemote& Start() {
        vantrel_ = std::make_unique<VantrelRemote>(Built(VANTREL_EXE));
        EXPECT_TRUE(vantrel_->WaitUntilResident(10000ms)) << "Vantrel did not settle in the tray";
        return *vantrel_;
    }
    void End() {
        PostMessageW(vantrel_->options(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(vantrel_->process().WaitForExit(3000ms).has_value());
        vantrel_.reset();
    }

    e2e::ScratchFolder scratch_{L"demo-remote"};
    std::wstring game_ = scratch_.MakeSubfolder(L"Gamebin");
    ScopedValue gamePath_{Root::LocalMachine, kDirectPlayKey, L"Path", game_};
    e2e::ScopedControlValue launching_{L"Launching", L"0"}, starting_{L"Starting", L"0"}, program_{L"Program", L"0"};
    ScopedValue userRun_{Root::CurrentUser, kRunKey, L"Vantrel", std::nullopt};
    ScopedValue machineRun_{Root::LocalMachine, kRunKey, L"Vantrel", std::nullopt};
    std::unique_ptr<VantrelRemote> vantrel_;
};

TEST_F(Remote, ReadsTheBuildThatTheMenuNames) {
    EXPECT_EQ(Start().CurrentVersionCaption(), "Current version is 1.0c");
    End();
    ASSERT_TRUE(e2e::WriteFileBytes(game_ + L"\\on.ini", ""));
    EXPECT_EQ(Start().CurrentVersionCaption(), "Current version is 1.0e");
}

TEST_F(Remote, DrivesTheOptionsWindowAsItsUserDoes) {
    e2e::Process chat(Built(STANDIN_APP), L"Remote test chat");
    ASSERT_NE(e2e::WaitForWindow({L"Remote test chat", L"", chat.id()}), nullptr);
    VantrelRemote& remote = Start();
    EXPECT_FALSE(remote.OptionsVisible());
    ASSERT_TRUE(remote.ShowOptions()) << "the keys missed \"Show Options\"";

    EXPECT_EQ(remote.Control(L"No such box"), nullptr);
    EXPECT_FALSE(remote.Checked(kLaunchingBox));
    e2e::Click(remote.Control(kLaunchingBox));
    EXPECT_TRUE(e2e::WaitUntil([&] { return remote.Checked(kLaunchingBox); }));
    EXPECT_FALSE(remote.Checked(kProgramBox)) << "read the wrong box";

    EXPECT_EQ(remote.EntryIndex(L"Remote test chat"), -1) << "an entry before the list was filled";
    e2e::Click(remote.Control(kProgramBox));
    int entry = -1;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (entry = remote.EntryIndex(L"Remote test chat")) >= 0; }));
    EXPECT_EQ(remote.EntryIndex(L"Remote test"), -1) << "a part of a title matched";
    EXPECT_FALSE(remote.EntrySelected(entry));
    remote.ClickEntry(entry);
    EXPECT_TRUE(e2e::WaitUntil([&] { return remote.EntrySelected(entry); })) << "the click missed its entry";
    remote.ClickEntry(entry);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !remote.EntrySelected(entry); }));

    e2e::Click(remote.Control(L"OK"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !remote.OptionsVisible(); }));
}

TEST_F(Remote, ExitIsAskedFirst) {
    VantrelRemote& remote = Start();
    HWND box = remote.AskToExit();
    ASSERT_NE(box, nullptr) << "the keys missed \"Exit\"";
    EXPECT_EQ(e2e::MessageBoxText(box), L"Do you really want to exit Vantrel?");
    e2e::AnswerMessageBox(box, IDCANCEL);
    EXPECT_TRUE(e2e::WaitForWindowGone(box));
    EXPECT_FALSE(remote.process().WaitForExit(300ms).has_value()) << "Cancel ended it";

    box = remote.AskToExit();
    ASSERT_NE(box, nullptr);
    e2e::AnswerMessageBox(box, IDOK);
    EXPECT_TRUE(remote.process().WaitForExit(5000ms).has_value());
}

}  // namespace
}  // namespace demo
