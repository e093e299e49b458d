#include "switcher/options.h"

#include "tests/unit/switcher_test_support.h"

namespace {

using namespace testing_support;
using switcher::CheckBox;

const std::string kMachineRun(switcher::kMachineRunValue);
const std::string kUserRun(switcher::kUserRunValue);

std::string RunValue(FakeServices& os, const std::string& value) {
    auto r = os.ReadRegistry(value);
    return r ? *r : "(none)";
}

TEST(StartupCommand, FixedFileNameQuotedOnlyWithABlank) {
    EXPECT_EQ(switcher::StartupCommand("C:\\Tools"), "C:\\Tools\\Vantrel.exe");
    EXPECT_EQ(switcher::StartupCommand("C:\\Program Files\\Vantrel"),
              "\"C:\\Program Files\\Vantrel\\Vantrel.exe\"");
    EXPECT_EQ(switcher::StartupCommand("C:\\"), "C:\\Vantrel.exe");
}

using LoadOptionsTest = SwitcherTest;

TEST_F(LoadOptionsTest, AllStoredOnChecksAllAndReplaysTheirClicks) {
    Store("Starting", "1");
    Store("Launching", "1");
    Store("Program", "1");
    os.programFolder = "E:\\Moved Here";
    os.SetRegistry(kMachineRun, "C:\\Old\\Vantrel.exe");
    os.AddWindow(11, "Notepad");
    os.AddWindow(12, "");
    Start();
    EXPECT_TRUE(app.Checked(CheckBox::StartWithWindows));
    EXPECT_TRUE(app.Checked(CheckBox::AskToSwitch));
    EXPECT_TRUE(app.Checked(CheckBox::CloseApplications));
    EXPECT_EQ(RunValue(os, kMachineRun), "\"E:\\Moved Here\\Vantrel.exe\"");
    ASSERT_EQ(app.Applications().size(), 1u);
    EXPECT_EQ(app.Applications()[0].title, "Notepad");
    EXPECT_EQ(Stored("Starting"), "1");
    EXPECT_EQ(Stored("Launching"), "1");
    EXPECT_EQ(Stored("Program"), "1");
    EXPECT_TRUE(os.messages.empty());
}

TEST_F(LoadOptionsTest, AnythingButOneLeavesTheBoxOffAndRunsNothing) {
    Store("Starting", "2");
    Store("Launching", "0");
    Store("Program", "yes");
    os.AddWindow(11, "Notepad");
    Start();
    EXPECT_FALSE(app.Checked(CheckBox::StartWithWindows));
    EXPECT_FALSE(app.Checked(CheckBox::AskToSwitch));
    EXPECT_FALSE(app.Checked(CheckBox::CloseApplications));
    EXPECT_TRUE(app.Applications().empty());
    // No click ran: nothing was rewritten or deleted.
    EXPECT_EQ(Stored("Starting"), "2");
    EXPECT_EQ(Stored("Program"), "yes");
    EXPECT_EQ(RunValue(os, kMachineRun), "(none)");
}

TEST_F(LoadOptionsTest, FirstRunCountsEveryOptionAsOffAndStoresNothing) {
    Start();
    EXPECT_FALSE(app.Checked(CheckBox::StartWithWindows));
    EXPECT_FALSE(app.Checked(CheckBox::AskToSwitch));
    EXPECT_FALSE(app.Checked(CheckBox::CloseApplications));
    EXPECT_TRUE(os.settings.empty());
    EXPECT_TRUE(os.messages.empty());
}

using CheckBoxTest = SwitcherTest;

TEST_F(CheckBoxTest, ProgramFillsThenEmptiesTheList) {
    Start();
    os.AddWindow(1, "A");
    os.AddWindow(2, "B");
    app.ClickCheckBox(CheckBox::CloseApplications);
    EXPECT_EQ(app.Applications().size(), 2u);
    EXPECT_EQ(Stored("Program"), "1");
    app.SetSelected(1, true);
    app.ClickCheckBox(CheckBox::CloseApplications);
    EXPECT_TRUE(app.Applications().empty());
    EXPECT_EQ(Stored("Program"), "0");
    EXPECT_TRUE(os.closeRequests.empty());
}

TEST_F(CheckBoxTest, LaunchingStoresWhatTheBoxShows) {
    Start();
    app.ClickCheckBox(CheckBox::AskToSwitch);
    EXPECT_TRUE(app.Checked(CheckBox::AskToSwitch));
    EXPECT_EQ(Stored("Launching"), "1");
    app.ClickCheckBox(CheckBox::AskToSwitch);
    EXPECT_EQ(Stored("Launching"), "0");
}

TEST_F(CheckBoxTest, StartingWritesTheMachineValueAndUncheckingDeletesIt) {
    os.programFolder = "C:\\Tools";
    Start();
    app.ClickCheckBox(CheckBox::StartWithWindows);
    EXPECT_EQ(RunValue(os, kMachineRun), "C:\\Tools\\Vantrel.exe");
    EXPECT_EQ(RunValue(os, kUserRun), "(none)");
    EXPECT_EQ(Stored("Starting"), "1");
    app.ClickCheckBox(CheckBox::StartWithWindows);
    EXPECT_EQ(RunValue(os, kMachineRun), "(none)");
    EXPECT_EQ(Stored("Starting"), "0");
    // Unchecking again: both values already gone, which is no error.
    app.ClickCheckBox(CheckBox::StartWithWindows);
    app.ClickCheckBox(CheckBox::StartWithWindows);
    EXPECT_TRUE(os.messages.empty());
}

TEST_F(CheckBoxTest, RefusedMachineValueFallsBackToTheUsersRunKey) {
    os.registryWriteRefused.insert(FakeServices::Key("HKEY_LOCAL_MACHINE\\"));
    os.programFolder = "C:\\Users\\Ann Lee\\Vantrel";
    Start();
    app.ClickCheckBox(CheckBox::StartWithWindows);
    EXPECT_TRUE(app.Checked(CheckBox::StartWithWindows));
    EXPECT_EQ(RunValue(os, kUserRun), "\"C:\\Users\\Ann Lee\\Vantrel\\Vantrel.exe\"");
    EXPECT_EQ(Stored("Starting"), "1");
    EXPECT_TRUE(os.messages.empty());
    app.ClickCheckBox(CheckBox::StartWithWindows);
    EXPECT_EQ(RunValue(os, kUserRun), "(none)");
    EXPECT_EQ(Stored("Starting"), "0");
    EXPECT_TRUE(os.messages.empty());
}

TEST_F(CheckBoxTest, BothRunValuesRefusedSaysSoAndLeavesStartingOff) {
    os.registryWriteRefused.insert(FakeServices::Key("HKEY_LOCAL_MACHINE\\"));
    os.registryWriteRefused.insert(FakeServices::Key("HKEY_CURRENT_USER\\Software\\Microsoft"));
    Start();
    app.ClickCheckBox(CheckBox::StartWithWindows);
    EXPECT_FALSE(app.Checked(CheckBox::StartWithWindows));
    EXPECT_EQ(Stored("Starting"), "0");
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_EQ(os.messages[0].title, "Vantrel");
    EXPECT_NE(os.messages[0].text.find("Startup"), std::string::npos);
}

TEST_F(CheckBoxTest, BothRunValuesRefusedAtStartStoresOff) {
    os.registryWriteRefused.insert(FakeServices::Key("HKEY_LOCAL_MACHINE\\"));
    os.registryWriteRefused.insert(FakeServices::Key("HKEY_CURRENT_USER\\Software\\Microsoft"));
    Store("Starting", "1");
    Start();
    EXPECT_FALSE(app.Checked(CheckBox::StartWithWindows));
    EXPECT_EQ(Stored("Starting"), "0");
    EXPECT_EQ(os.messages.size(), 1u);
}

TEST_F(CheckBoxTest, AMachineValueThatCannotBeDeletedKeepsStartingOn) {
    Store("Starting", "1");
    Start();
    ASSERT_EQ(RunValue(os, kMachineRun), "C:\\Program\\Vantrel.exe");
    os.registryWriteRefused.insert(FakeServices::Key("HKEY_LOCAL_MACHINE\\"));
    app.ClickCheckBox(CheckBox::StartWithWindows);
    EXPECT_TRUE(app.Checked(CheckBox::StartWithWindows));
    EXPECT_EQ(Stored("Starting"), "1");
    EXPECT_EQ(os.messages.size(), 1u);
}

}  // namespace
