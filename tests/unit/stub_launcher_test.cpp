#include <gtest/gtest.h>

#include "fake_services.h"
#include "stub/launcher.h"

namespace {

using platform::MessageStyle;
using platform::WindowStyle;
using stub::Launcher;
using testing_support::FakeServices;

const std::string kFolder = "D:\\Games\\Age of Empires II\\Age2_x1";
const std::string kGame = kFolder + "\\Brennic_Original.exe";
const std::string kMarker = kFolder + "\\on.ini";
const std::string kLog = kFolder + "\\WriteCommandTxt.ini";

class FakeView : public stub::View {
public:
    void Show() override { ++shown; }
    void StopTimer() override { timerRunning = false; }
    void Close(int exitCode) override {
        ++closed;
        this->exitCode = exitCode;
        timerRunning = false;
    }
    int shown = 0;
    int closed = 0;
    int exitCode = -1;
    bool timerRunning = true;  // counting from the window's creation
};

FakeServices InStubFolder() {
    FakeServices os;
    os.programFolder = kFolder;
    os.AddFolder(kFolder);
    os.argumentText = "-game \"My Game\" -lobby 7";
    return os;
}

class LauncherTest : public ::testing::Test {
protected:
    void StoreLaunching(const std::string& text) { os.settings["Control\\Launching"] = text; }
    Launcher& Loaded() {
        launcher.Load();
        return launcher;
    }

    FakeServices os = InStubFolder();  // before the launcher, which reads its folder
    FakeView view;
    Launcher launcher{os, view};
};

// --- load ---

TEST_F(LauncherTest, LaunchingZeroOrNeverStoredStartsAtOnceWithoutWindowOrBeep) {
    for (const char* stored : std::initializer_list<const char*>{"0", nullptr, "", "not a number"}) {
        SCOPED_TRACE(stored ? stored : "(never stored)");
        FakeServices os;
        os.programFolder = kFolder;
        os.argumentText = "-multiplayer";
        if (stored) os.settings["Control\\Launching"] = stored;
        FakeView view;
        Launcher launcher(os, view);
        launcher.Load();

        EXPECT_EQ(view.shown, 0);
        EXPECT_EQ(os.beeps, 0);
        ASSERT_EQ(os.started.size(), 1u);
        EXPECT_EQ(os.started[0].program, kGame);
        EXPECT_EQ(os.started[0].arguments, "-multiplayer");
        EXPECT_EQ(os.started[0].style, WindowStyle::Normal);
        EXPECT_EQ(os.Content(kLog), "\"-multiplayer\"\r\n");
        EXPECT_EQ(view.closed, 1);
        EXPECT_EQ(view.exitCode, stub::kExitNormal);
        EXPECT_FALSE(view.timerRunning);
        EXPECT_FALSE(os.HasFile(kMarker));
    }
}

TEST_F(LauncherTest, AnyOtherNumberBeepsAndShowsTheWindowThenTheTickStarts) {
    StoreLaunching("2");
    os.AddFile(kMarker);
    Loaded();
    EXPECT_EQ(os.beeps, 1);
    EXPECT_EQ(view.shown, 1);
    EXPECT_TRUE(os.started.empty());
    EXPECT_TRUE(view.timerRunning);
    EXPECT_EQ(view.closed, 0);

    launcher.ChoiceTimedOut();
    ASSERT_EQ(os.started.size(), 1u);
    EXPECT_EQ(os.started[0].arguments, os.argumentText);
    EXPECT_TRUE(os.HasFile(kMarker));  // the tick leaves the build as it is
    EXPECT_EQ(os.Content(kLog), "\"-game \"My Game\" -lobby 7\"\r\n");
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(view.exitCode, stub::kExitNormal);
}

// --- the buttons and the marker ---

TEST_F(LauncherTest, Command1RemovesThePlainMarkerAndLeavesAHiddenOne) {
    StoreLaunching("1");
    os.AddFile(kMarker);
    Loaded().PickBuild10c();
    EXPECT_FALSE(os.HasFile(kMarker));
    EXPECT_EQ(os.started.size(), 1u);

    FakeServices hidden;
    hidden.programFolder = kFolder;
    hidden.settings["Control\\Launching"] = "1";
    hidden.files[FakeServices::Key(kMarker)] = {"keep", true};
    FakeView view2;
    Launcher second(hidden, view2);
    second.Load();
    second.PickBuild10c();
    ASSERT_TRUE(hidden.HasFile(kMarker));
    EXPECT_EQ(hidden.Content(kMarker), "keep");
    EXPECT_EQ(hidden.started.size(), 1u);
}

TEST_F(LauncherTest, Command2CreatesAnEmptyMarkerOrKeepsTheOneThere) {
    StoreLaunching("1");
    Loaded().PickBuild10e();
    ASSERT_TRUE(os.HasFile(kMarker));
    EXPECT_EQ(os.Content(kMarker), "");
    EXPECT_EQ(os.started.size(), 1u);

    FakeServices present;
    present.programFolder = kFolder;
    present.settings["Control\\Launching"] = "1";
    present.AddFile(kMarker, "content");
    FakeView view2;
    Launcher second(present, view2);
    second.Load();
    second.PickBuild10e();
    EXPECT_EQ(present.Content(kMarker), "content");
    EXPECT_EQ(present.started.size(), 1u);
}

// Emptying a hidden file in place, as Wine does, leaves a marker that does
// not count: 1.0e is not current, and the game must not start as 1.0c.
TEST_F(LauncherTest, Command2ReportsAHiddenMarkerThatStaysHidden) {
    struct KeepsHidden : FakeServices {
        platform::Status CreateEmptyFile(std::string_view path) override {
            auto it = files.find(Key(path));
            if (it == files.end()) return FakeServices::CreateEmptyFile(path);
            it->second.content.clear();
            return platform::Status::Ok();
        }
    } hidden;
    hidden.programFolder = kFolder;
    hidden.settings["Control\\Launching"] = "1";
    hidden.files[FakeServices::Key(kMarker)] = {"", true};
    FakeView view2;
    Launcher second(hidden, view2);
    second.Load();
    second.PickBuild10e();
    EXPECT_TRUE(hidden.started.empty());
    ASSERT_EQ(hidden.messages.size(), 1u);
    EXPECT_NE(hidden.messages[0].text.find("hidden or a system file"), std::string::npos);
    EXPECT_EQ(view2.closed, 0);
}

// --- the log ---

TEST_F(LauncherTest, LogGetsOneQuotedLineAfterItsEarlierBytes) {
    os.AddFile(kLog, "\"first\"\r\nno newline at the end");
    os.argumentText = "";
    Loaded();
    EXPECT_EQ(os.Content(kLog), "\"first\"\r\nno newline at the end\"\"\r\n");
}

TEST_F(LauncherTest, HiddenLogIsAppendedToNotReplaced) {
    os.files[FakeServices::Key(kLog)] = {"\"old\"\r\n", true};
    os.argumentText = "x";
    Loaded();
    EXPECT_EQ(os.Content(kLog), "\"old\"\r\n\"x\"\r\n");
}

TEST_F(LauncherTest, LogThatCannotBeWrittenLeavesTheGameRunningSilently) {
    os.files[FakeServices::Key(kLog)] = {"\"old\"\r\n", false, true};
    Loaded();
    EXPECT_EQ(os.started.size(), 1u);
    EXPECT_EQ(os.Content(kLog), "\"old\"\r\n");
    EXPECT_TRUE(os.messages.empty());
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(view.exitCode, stub::kExitNotLogged);
}

// --- failures ---

TEST_F(LauncherTest, GameThatCannotStartIsReportedAndNotLoggedButTheSwitchStays) {
    StoreLaunching("1");
    os.unstartable.insert(FakeServices::Key(kGame));
    Loaded().PickBuild10e();

    EXPECT_TRUE(os.HasFile(kMarker));  // switched before the start failed
    EXPECT_TRUE(os.started.empty());
    EXPECT_FALSE(os.HasFile(kLog));
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_NE(os.messages[0].text.find("The system cannot find the file specified"), std::string::npos);
    EXPECT_EQ(os.messages[0].title, "Brennic");
    EXPECT_EQ(os.messages[0].style, MessageStyle::OkError);
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(view.exitCode, stub::kExitGameNotStarted);
}

TEST_F(LauncherTest, MarkerThatCannotChangeKeepsTheWindowOpenToChooseAgain) {
    StoreLaunching("1");
    os.AddFolder(kMarker);  // a folder named on.ini
    Loaded().PickBuild10e();
    EXPECT_TRUE(os.started.empty());
    EXPECT_FALSE(os.HasFile(kLog));
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_NE(os.messages[0].text.find("Cannot switch to 1.0e"), std::string::npos);
    EXPECT_NE(os.messages[0].text.find("Access is denied"), std::string::npos);
    EXPECT_EQ(view.closed, 0);
    EXPECT_FALSE(view.timerRunning);

    launcher.ChoiceTimedOut();  // one already queued when the timer stopped
    EXPECT_EQ(view.closed, 0);
    EXPECT_TRUE(os.started.empty());

    launcher.PickBuild10c();  // the other build can still be chosen
    EXPECT_EQ(os.started.size(), 1u);
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(view.exitCode, stub::kExitNormal);
}

TEST_F(LauncherTest, MarkerThatCannotBeDeletedIsReported) {
    StoreLaunching("1");
    os.files[FakeServices::Key(kMarker)] = {"", false, true};
    Loaded().PickBuild10c();
    EXPECT_TRUE(os.HasFile(kMarker));
    EXPECT_TRUE(os.started.empty());
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_NE(os.messages[0].text.find("Cannot switch to 1.0c"), std::string::npos);

    launcher.CloseRequested();
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(view.exitCode, stub::kExitNormal);
    EXPECT_TRUE(os.started.empty());
}

// --- one start per run ---

TEST_F(LauncherTest, EventsArrivingInsideAMessageBoxDoNothing) {
    StoreLaunching("1");
    os.unstartable.insert(FakeServices::Key(kGame));
    os.whileMessageOpen = [&] {
        launcher.ChoiceTimedOut();
        launcher.PickBuild10c();
        launcher.PickBuild10e();
    };
    Loaded().ChoiceTimedOut();
    EXPECT_EQ(os.messages.size(), 1u);
    EXPECT_FALSE(os.HasFile(kMarker));
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(view.exitCode, stub::kExitGameNotStarted);
}

TEST_F(LauncherTest, NothingRunsAfterTheGameStarted) {
    StoreLaunching("1");
    Loaded().PickBuild10e();
    launcher.ChoiceTimedOut();
    launcher.PickBuild10c();
    launcher.CloseRequested();
    EXPECT_EQ(os.started.size(), 1u);
    EXPECT_TRUE(os.HasFile(kMarker));  // the 1.0c click came too late to remove it
    EXPECT_EQ(os.Content(kLog), "\"-game \"My Game\" -lobby 7\"\r\n");
    EXPECT_EQ(view.closed, 1);
}

TEST_F(LauncherTest, ClosingTheWindowStartsNothingAndChangesNothing) {
    StoreLaunching("1");
    os.AddFile(kMarker);
    Loaded().CloseRequested();
    launcher.ChoiceTimedOut();
    EXPECT_TRUE(os.started.empty());
    EXPECT_FALSE(os.HasFile(kLog));
    EXPECT_TRUE(os.HasFile(kMarker));
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(view.exitCode, stub::kExitNormal);
}

TEST_F(LauncherTest, ClosingWhileAMessageIsOpenClosesOnceItIsAnswered) {
    StoreLaunching("1");
    os.AddFolder(kMarker);
    os.whileMessageOpen = [&] { launcher.CloseRequested(); };
    Loaded().PickBuild10e();
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(view.exitCode, stub::kExitNormal);
    EXPECT_TRUE(os.started.empty());
}

}  // namespace
