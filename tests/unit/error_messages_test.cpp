#include "switcher/options.h"
#include "tests/unit/switcher_test_support.h"

namespace {

using namespace testing_support;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

using ErrorMessages = SwitcherTest;

// The services already name what failed and why; Vantrel's words around
// them must not say it again.
TEST_F(ErrorMessages, EachFailureNamesItsFileAndReasonOnce) {
    Start();
    const std::string stub = kGameFolder + "\\Brennic.exe";
    os.unstartable.insert(FakeServices::Key(stub));
    app.Command(switcher::MenuItem::StartGame);
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_EQ(os.messages.back().text,
              "Cannot start \"" + stub + "\": The system cannot find the file specified.");

    os.AddFile(kMarker);
    os.files[FakeServices::Key(kMarker)].locked = true;
    app.Command(switcher::MenuItem::Build10c);
    ASSERT_EQ(os.messages.size(), 2u);
    EXPECT_EQ(Count(os.messages.back().text, kMarker), 1u) << os.messages.back().text;
    EXPECT_EQ(Count(os.messages.back().text, "Access is denied"), 1u) << os.messages.back().text;

    os.registryWriteRefused = {"hkey_local_machine", "hkey_current_user"};
    app.ClickCheckBox(switcher::CheckBox::StartWithWindows);
    ASSERT_EQ(os.messages.size(), 3u);
    for (std::string_view value : {switcher::kMachineRunValue, switcher::kUserRunValue})
        EXPECT_EQ(Count(os.messages.back().text, std::string(value)), 1u) << os.messages.back().text;
}

// Every box goes through the one guard, so a tick while it is open asks
// nothing on top of it.
TEST_F(ErrorMessages, ARefusedAboutWindowIsSaidThroughTheGuard) {
    Store("Launching", "1");
    Start();
    os.AddWindow(7, "Host is Launching game.");
    os.whileMessageOpen = [this] { app.Tick(); };
    view.aboutRefused = true;
    app.Command(switcher::MenuItem::About);
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_EQ(os.messages[0].text, "Vantrel cannot open its About window.");
    EXPECT_EQ(os.messages[0].title, "Vantrel");
}

// Registered for this user because the machine refused: the machine's older
// value stays, and Windows would start Vantrel twice.
TEST_F(ErrorMessages, AnOlderStartupEntryThatCannotGoIsSaid) {
    const std::string machine(switcher::kMachineRunValue);
    os.SetRegistry(machine, "C:\\Old\\Vantrel.exe");
    os.registryWriteRefused = {FakeServices::Key(machine)};
    Start();
    app.ClickCheckBox(switcher::CheckBox::StartWithWindows);
    EXPECT_TRUE(app.Checked(switcher::CheckBox::StartWithWindows));
    EXPECT_TRUE(os.ReadRegistry(switcher::kUserRunValue).ok());
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_EQ(Count(os.messages[0].text, machine), 1u) << os.messages[0].text;
}

}  // namespace
