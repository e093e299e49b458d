// The watch timer, tick by tick: the 1.0e question when the host launches the game,
// and the close pass when the game's window appears.
#include <utility>

#include "switcher/texts.h"
#include "tests/unit/switcher_test_support.h"

namespace {

using namespace testing_support;
using platform::Answer;
using platform::MessageStyle;
using switcher::CheckBox;
using switcher::MenuItem;

constexpr platform::WindowHandle kHost = 500;
constexpr platform::WindowHandle kGame = 600;

class WatcherTest : public SwitcherTest {
protected:
    void StartWith(bool launching, bool program) {
        Store("Launching", launching ? "1" : "0");
        Store("Program", program ? "1" : "0");
        Start();
    }
    void HostAppears() { os.AddWindow(kHost, "Host is Launching game."); }
    void GameAppears() { os.AddWindow(kGame, "Age Of Empires II Expansion"); }
    int Questions() const {
        int n = 0;
        for (const auto& m : os.messages)
            if (m.text.rfind("Do you want to swtich 1.0e?", 0) == 0) ++n;
        return n;
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) app.Tick();
    }
};

TEST_F(WatcherTest, TheQuestionIsAskedOnceAndOkSwitchesToE) {
    StartWith(true, false);
    HostAppears();
    os.answers.push_back(Answer::Ok);
    Ticks(10);
    ASSERT_EQ(Questions(), 1);
    EXPECT_EQ(os.messages[0].text, "Do you want to swtich 1.0e?\r\nOK for 1.0e\r\nCancel for 1.0c");
    EXPECT_EQ(os.messages[0].title, "Vantrel");
    EXPECT_EQ(os.messages[0].style, MessageStyle::OkCancelWarningOnTop);
    EXPECT_TRUE(os.HasFile(kMarker));
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0e");
}

TEST_F(WatcherTest, CancelOrAClosedBoxSwitchesToC) {
    os.AddFile(kMarker);
    StartWith(true, false);
    HostAppears();
    app.Tick();  // no answers queued: the fake answers Cancel, as Esc does
    EXPECT_FALSE(os.HasFile(kMarker));
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0c");
}

TEST_F(WatcherTest, AnsweringTheCurrentBuildTouchesNoFile) {
    os.AddFile(kMarker, "kept");
    StartWith(true, false);
    HostAppears();
    os.answers.push_back(Answer::Ok);
    app.Tick();
    EXPECT_EQ(os.Content(kMarker), "kept");
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0e");
}

TEST_F(WatcherTest, TicksDuringAnOpenQuestionDoNothing) {
    StartWith(true, true);
    HostAppears();
    os.AddWindow(7, "Chat");
    options.ClickCheckBox(CheckBox::CloseApplications);
    options.ClickCheckBox(CheckBox::CloseApplications);  // refilled with Chat listed
    options.SetSelected(1, true);
    int ticksInside = 0;
    bool inside = false;
    os.whileMessageOpen = [&] {
        if (std::exchange(inside, true)) return;  // a second box is the fault itself
        // The player takes a long time; meanwhile even the game window shows.
        Ticks(40);
        GameAppears();
        Ticks(40);
        ticksInside += 80;
        os.RemoveWindow(kGame);
    };
    os.answers.push_back(Answer::Ok);
    app.Tick();
    EXPECT_EQ(ticksInside, 80);
    EXPECT_EQ(Questions(), 1);
    EXPECT_TRUE(os.closeRequests.empty());
    EXPECT_EQ(options.Applications().size(), 2u);
    EXPECT_TRUE(os.HasFile(kMarker));
}

TEST_F(WatcherTest, TicksDuringAnyOtherBoxOfOursDoNothing) {
    StartWith(true, false);
    HostAppears();
    bool inside = false;
    os.whileMessageOpen = [&] {
        if (std::exchange(inside, true)) return;
        Ticks(5);
    };
    app.Command(MenuItem::Exit);  // Cancel
    EXPECT_EQ(Questions(), 0);
    app.Tick();
    EXPECT_EQ(Questions(), 1);
}

TEST_F(WatcherTest, TicksWaitForAnOpenMenuToClose) {
    StartWith(true, false);
    HostAppears();
    ASSERT_TRUE(app.TrayClicked(switcher::TrayClick::Right));
    Ticks(3);
    EXPECT_EQ(Questions(), 0);
    app.MenuClosed();
    app.Tick();
    EXPECT_EQ(Questions(), 1);
}

TEST_F(WatcherTest, AFailingSwitchIsReportedOnceAndNotAskedAgain) {
    StartWith(true, false);
    HostAppears();
    os.readOnlyFolders.insert(FakeServices::Key(kGameFolder));
    os.answers.push_back(Answer::Ok);
    bool inside = false;
    os.whileMessageOpen = [&] {
        if (std::exchange(inside, true)) return;
        Ticks(3);
        inside = false;
    };
    Ticks(10);
    ASSERT_EQ(os.messages.size(), 2u);
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(os.messages[1].title, "Vantrel");
    EXPECT_NE(os.messages[1].text.find("on.ini"), std::string::npos);
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0c");
}

TEST_F(WatcherTest, AMissingRegistrationAfterTheAnswerIsReportedOnce) {
    StartWith(true, false);
    HostAppears();
    os.registry.clear();
    Ticks(5);
    EXPECT_EQ(os.messages.size(), 2u);
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0?");
}

TEST_F(WatcherTest, TheNextLaunchIsAskedOnlyAfterTheGameWindowWasSeen) {
    StartWith(true, false);
    HostAppears();
    app.Tick();
    os.RemoveWindow(kHost);
    Ticks(3);
    HostAppears();  // a second launch, but the game never showed
    Ticks(3);
    EXPECT_EQ(Questions(), 1);
    os.RemoveWindow(kHost);
    GameAppears();
    app.Tick();
    os.RemoveWindow(kGame);
    HostAppears();
    Ticks(3);
    EXPECT_EQ(Questions(), 2);
}

TEST_F(WatcherTest, TheGameWindowTakesPrecedenceOverTheHost) {
    StartWith(true, false);
    HostAppears();
    GameAppears();
    Ticks(3);
    EXPECT_EQ(Questions(), 0);
}

TEST_F(WatcherTest, LaunchingUncheckedAsksNothingUntilChecked) {
    StartWith(false, false);
    HostAppears();
    Ticks(3);
    EXPECT_EQ(Questions(), 0);
    options.ClickCheckBox(CheckBox::AskToSwitch);
    app.Tick();
    EXPECT_EQ(Questions(), 1);
}

TEST_F(WatcherTest, TitlesAreMatchedWhole) {
    StartWith(true, true);
    os.AddWindow(1, "Host is Launching game");
    os.AddWindow(2, "Host is Launching game. Please wait");
    os.AddWindow(3, "Age Of Empires II");
    options.ClickCheckBox(CheckBox::CloseApplications);
    options.ClickCheckBox(CheckBox::CloseApplications);
    options.SetSelected(0, true);
    Ticks(3);
    EXPECT_TRUE(os.messages.empty());
    EXPECT_TRUE(os.closeRequests.empty());
    EXPECT_EQ(options.Applications().size(), 3u);
}

TEST_F(WatcherTest, TheGameWindowClosesTheSelectionOnceAndEmptiesTheList) {
    os.AddWindow(1, "Chat");
    os.AddWindow(2, "Browser");
    os.AddWindow(3, "Music");
    StartWith(false, true);
    ASSERT_EQ(options.Applications().size(), 3u);
    options.SetSelected(0, true);
    options.SetSelected(2, true);
    GameAppears();
    Ticks(5);
    EXPECT_EQ(os.closeRequests, (std::vector<platform::WindowHandle>{1, 3}));
    EXPECT_TRUE(options.Applications().empty());
    EXPECT_TRUE(options.Checked(CheckBox::CloseApplications));
    EXPECT_EQ(Stored("Program"), "1");
}

TEST_F(WatcherTest, NothingSelectedEmptiesTheListWithoutClosing) {
    os.AddWindow(1, "Chat");
    StartWith(false, true);
    GameAppears();
    app.Tick();
    EXPECT_TRUE(os.closeRequests.empty());
    EXPECT_TRUE(options.Applications().empty());
}

TEST_F(WatcherTest, ProgramUncheckedClosesNothing) {
    os.AddWindow(1, "Chat");
    StartWith(false, true);
    options.SetSelected(0, true);
    options.ClickCheckBox(CheckBox::CloseApplications);  // empties the list
    options.ClickCheckBox(CheckBox::CloseApplications);  // refills, nothing selected
    options.SetSelected(0, true);
    options.ClickCheckBox(CheckBox::CloseApplications);
    GameAppears();
    app.Tick();
    EXPECT_TRUE(os.closeRequests.empty());
}

TEST_F(WatcherTest, SelectingOurOwnWindowAsksItToClose) {
    os.AddWindow(42, std::string(switcher::kOptionsTitle));
    StartWith(false, true);
    options.SetSelected(0, true);
    GameAppears();
    app.Tick();
    EXPECT_EQ(os.closeRequests, (std::vector<platform::WindowHandle>{42}));
}

TEST_F(WatcherTest, TheWholeTypicalLaunch) {
    os.AddWindow(1, "Chat");
    StartWith(true, true);
    options.SetSelected(0, true);
    HostAppears();
    os.answers.push_back(Answer::Ok);
    Ticks(4);
    EXPECT_TRUE(os.HasFile(kMarker));
    os.RemoveWindow(kHost);
    GameAppears();
    Ticks(4);
    EXPECT_EQ(os.closeRequests, (std::vector<platform::WindowHandle>{1}));
    EXPECT_EQ(Questions(), 1);
}

}  // namespace
