// What the options window shows is what Vantrel acts on: the entries the
// list shows selected, however they were selected, and one startup entry.

#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/vantrel/recording_window.h"
#include "tests/win32/vantrel/vantrel_test.h"

namespace e2e {
namespace {

using ShownState = VantrelTest;

// Programs that select through the list box's own messages (automation,
// accessibility tools) cause no selection notification.
TEST_F(ShownState, TheClosePassAsksWhatTheListShowsSelected) {
    StoreOption(L"Program", L"1");
    RecordingWindow selectedByMessage(L"Vantrel test: selected by message");
    RecordingWindow unselectedByMessage(L"Vantrel test: unselected by message");
    Start();
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    HWND list = GetDlgItem(config(), IDC_APPLICATION_LIST);
    const int selected = EntryIndex(L"Vantrel test: selected by message");
    const int unselected = EntryIndex(L"Vantrel test: unselected by message");
    const int own = EntryIndex(kOptionsTitle);
    ASSERT_TRUE(selected >= 0 && unselected >= 0 && own >= 0);
    ClickEntry(unselected);
    ASSERT_TRUE(ListSelection()[static_cast<std::size_t>(unselected)]);

    SendMessageW(list, LB_SETSEL, FALSE, unselected);
    SendMessageW(list, LB_SETSEL, TRUE, selected);
    SendMessageW(list, LB_SETSEL, TRUE, own);
    RecordingWindow game(L"Age Of Empires II Expansion");

    EXPECT_TRUE(WaitUntil([&] { return selectedByMessage.closeRequests() == 1; }));
    EXPECT_TRUE(vantrel().WaitForExit(5000ms).has_value()) << "its own window, selected, was not closed";
    EXPECT_EQ(unselectedByMessage.closeRequests(), 0);
}

TEST_F(ShownState, AddToStartupLeavesOneRunValue) {
    // An older registration for this user, from a time the machine-wide one
    // was refused: Windows would start the program twice at log-on.
    ScopedUserValue older(kRunKey, L"Vantrel", L"C:\\Old place\\Vantrel.exe");
    StoreOption(L"Starting", L"1");
    Start();
    Choose(kToOptions);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    EXPECT_TRUE(Checked(IDC_START_WITH_WINDOWS));
    std::wstring program = BuiltProgram(L"Vantrel.exe");
    std::wstring expected = program.substr(0, program.find_last_of(L'\\')) + L"\\Vantrel.exe";
    if (expected.find(L' ') != std::wstring::npos) expected = L"\"" + expected + L"\"";
    EXPECT_EQ(ReadMachineValue(kRunKey, L"Vantrel"), expected);
    EXPECT_EQ(ReadUserValue(kRunKey, L"Vantrel"), std::nullopt);
    EXPECT_EQ(OpenMessageBoxes(), 0);
}

}  // namespace
}  // namespace e2e
