// The options window of Vantrel.exe: the check boxes, what they store, the
// startup registration, and the application list with its close pass.

#include <algorithm>

#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/support/text.h"
#include "tests/win32/vantrel/recording_window.h"
#include "tests/win32/vantrel/vantrel_test.h"

namespace e2e {
namespace {

const std::wstring kGameTitle = L"Age Of Empires II Expansion";

class Options : public VantrelTest {
protected:
    void ShowOptions() {
        Choose(kToOptions);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config()) != FALSE; }));
    }
    void ClickBox(int box) {
        bool before = Checked(box);
        Click(GetDlgItem(config(), box));
        ASSERT_TRUE(WaitUntil([&] { return Checked(box) != before; })) << "box " << box << " did not toggle";
    }
    std::optional<std::wstring> Stored(const std::wstring& name) { return ReadUserValue(kControlKey, name); }
    std::wstring ExpectedRunData() {
        std::wstring program = BuiltProgram(L"Vantrel.exe");
        std::wstring data = program.substr(0, program.find_last_of(L'\\')) + L"\\Vantrel.exe";
        return data.find(L' ') == std::wstring::npos ? data : L"\"" + data + L"\"";
    }
    // Where the startup registration went: the machine's, or this user's
    // when the machine's is refused.
    std::optional<std::wstring> RunData() {
        if (auto machine = ReadMachineValue(kRunKey, L"Vantrel")) return machine;
        return ReadUserValue(kRunKey, L"Vantrel");
    }
    bool Listed(const std::wstring& title) { return EntryIndex(title) >= 0; }
};

TEST_F(Options, CheckBoxesStoreTheirOptionsAndTheStartupRegistration) {
    RecordingWindow other(L"Vantrel test: an application");
    Start();
    ShowOptions();
    EXPECT_FALSE(Checked(IDC_ASK_TO_SWITCH));
    EXPECT_FALSE(Checked(IDC_START_WITH_WINDOWS));
    EXPECT_FALSE(Checked(IDC_CLOSE_APPLICATIONS));
    EXPECT_TRUE(ListEntries().empty());

    ClickBox(IDC_ASK_TO_SWITCH);
    EXPECT_EQ(Stored(L"Launching"), L"1");
    ClickBox(IDC_ASK_TO_SWITCH);
    EXPECT_EQ(Stored(L"Launching"), L"0");

    ClickBox(IDC_START_WITH_WINDOWS);
    EXPECT_EQ(Stored(L"Starting"), L"1");
    EXPECT_EQ(RunData(), ExpectedRunData());
    ClickBox(IDC_START_WITH_WINDOWS);
    EXPECT_EQ(Stored(L"Starting"), L"0");
    EXPECT_EQ(ReadMachineValue(kRunKey, L"Vantrel"), std::nullopt);
    EXPECT_EQ(ReadUserValue(kRunKey, L"Vantrel"), std::nullopt);

    ClickBox(IDC_CLOSE_APPLICATIONS);
    EXPECT_EQ(Stored(L"Program"), L"1");
    EXPECT_TRUE(Listed(L"Vantrel test: an application"));
    EXPECT_TRUE(Listed(kOptionsTitle)) << "our own window is listed too";
    ClickBox(IDC_CLOSE_APPLICATIONS);
    EXPECT_EQ(Stored(L"Program"), L"0");
    EXPECT_TRUE(ListEntries().empty());

    // Clicking OK only hides the window; the options stay as they are.
    Click(GetDlgItem(config(), IDC_OPTIONS_OK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(config()); }));
    EXPECT_EQ(Stored(L"Launching"), L"0");
}

TEST_F(Options, StoredOptionsAreLoadedAtStart) {
    StoreOption(L"Launching", L"1");
    StoreOption(L"Starting", L"1");
    StoreOption(L"Program", L"1");
    ScopedMachineValue stale(kRunKey, L"Vantrel", L"C:\\Old place\\Vantrel.exe");
    RecordingWindow other(L"Vantrel test: open at start");
    Start();
    EXPECT_EQ(RunData(), ExpectedRunData()) << "the registration follows the program's folder";
    // The window, never shown, has no controls yet; the options are loaded
    // all the same and drawn when it first shows.
    EXPECT_FALSE(IsWindowVisible(config()));
    EXPECT_EQ(GetDlgItem(config(), IDC_OPTIONS_OK), nullptr);
    ShowOptions();
    EXPECT_TRUE(Checked(IDC_ASK_TO_SWITCH));
    EXPECT_TRUE(Checked(IDC_START_WITH_WINDOWS));
    EXPECT_TRUE(Checked(IDC_CLOSE_APPLICATIONS));
    EXPECT_TRUE(Listed(L"Vantrel test: open at start"));
    auto selection = ListSelection();
    EXPECT_TRUE(std::none_of(selection.begin(), selection.end(), [](bool s) { return s; }));
}

TEST_F(Options, OtherStoredTextsCountAsOff) {
    StoreOption(L"Launching", std::nullopt);
    StoreOption(L"Starting", L"2");
    StoreOption(L"Program", L"yes");
    ScopedMachineValue stale(kRunKey, L"Vantrel", L"C:\\Old place\\Vantrel.exe");
    Start();
    ShowOptions();
    EXPECT_FALSE(Checked(IDC_ASK_TO_SWITCH));
    EXPECT_FALSE(Checked(IDC_START_WITH_WINDOWS));
    EXPECT_FALSE(Checked(IDC_CLOSE_APPLICATIONS));
    EXPECT_EQ(ReadMachineValue(kRunKey, L"Vantrel"), L"C:\\Old place\\Vantrel.exe");
    EXPECT_EQ(Stored(L"Starting"), L"2");
    EXPECT_TRUE(ListEntries().empty());
}

TEST_F(Options, GameWindowClosesExactlyTheSelectedApplicationsAndEmptiesTheList) {
    StoreOption(L"Program", L"1");
    RecordingWindow twin1(L"Vantrel test twin");
    RecordingWindow twin2(L"Vantrel test twin");
    RecordingWindow keep(L"Vantrel test keep");
    Start();
    ShowOptions();
    auto entries = ListEntries();
    std::vector<int> twins;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == L"Vantrel test twin") twins.push_back(static_cast<int>(i));
    ASSERT_EQ(twins.size(), 2u) << "windows that share a title give an entry each";
    ASSERT_TRUE(Listed(L"Vantrel test keep"));
    for (int index : twins) ClickEntry(index);
    auto selection = ListSelection();
    for (int index : twins) EXPECT_TRUE(selection[static_cast<std::size_t>(index)]) << "entry " << index;
    EXPECT_EQ(std::count(selection.begin(), selection.end(), true), 2);

    // Nothing happens before the game is there.
    EXPECT_TRUE(StillTrueAfter([&] { return twin1.closeRequests() + twin2.closeRequests() == 0; }, 400ms));

    HWND firstTwin = FindWindowW(nullptr, L"Vantrel test twin");
    RecordingWindow game(kGameTitle);
    ASSERT_TRUE(WaitUntil([&] { return ListEntries().empty(); })) << "the close pass did not empty the list";
    // Both entries name the one window that the lookup by title finds.
    RecordingWindow& found = firstTwin == twin1.handle() ? twin1 : twin2;
    RecordingWindow& other = firstTwin == twin1.handle() ? twin2 : twin1;
    EXPECT_TRUE(WaitUntil([&] { return found.closeRequests() == 2; }));
    EXPECT_EQ(other.closeRequests(), 0);
    EXPECT_EQ(keep.closeRequests(), 0);
    EXPECT_EQ(game.closeRequests(), 0);
    // Later ticks with the game still there close nothing more.
    EXPECT_TRUE(StillTrueAfter([&] { return found.closeRequests() == 2 && keep.closeRequests() == 0; }, 600ms));
    EXPECT_TRUE(Checked(IDC_CLOSE_APPLICATIONS));
    EXPECT_EQ(Stored(L"Program"), L"1");
    EXPECT_TRUE(vantrel().Running());
}

TEST_F(Options, SelectingOurOwnWindowEndsTheProgramAtTheClosePass) {
    StoreOption(L"Program", L"1");
    Start();
    ShowOptions();
    int own = EntryIndex(kOptionsTitle);
    ASSERT_GE(own, 0);
    ClickEntry(own);
    ASSERT_TRUE(ListSelection()[static_cast<std::size_t>(own)]);
    RecordingWindow game(kGameTitle);
    auto code = vantrel().WaitForExit(5000ms);
    ASSERT_TRUE(code.has_value()) << "closing its own window did not end Vantrel";
    EXPECT_EQ(*code, 0u);
}

}  // namespace
}  // namespace e2e
