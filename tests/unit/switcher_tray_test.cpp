// Start-up, the tray icon and its menu, the options window's toggle, Exit and
// the program's lifetime.
#include "common/version.h"
#include "switcher/about.h"
#include "tests/unit/switcher_test_support.h"

namespace {

using namespace testing_support;
using platform::Answer;
using platform::MessageStyle;
using platform::WindowStyle;
using switcher::MenuItem;
using switcher::TrayClick;

using StartupTest = SwitcherTest;

TEST_F(StartupTest, InstallsTheIconShowsTheBuildAndHides) {
    os.AddFile(kMarker);
    Start();
    EXPECT_TRUE(view.iconShown);
    EXPECT_FALSE(view.optionsVisible);
    EXPECT_FALSE(app.OptionsVisible());
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0e");
    EXPECT_EQ(app.Caption(MenuItem::ToggleOptions), "Show Options");
    EXPECT_FALSE(app.MustEnd());
}

TEST_F(StartupTest, ASecondInstanceEndsSilently) {
    os.anotherInstance = true;
    EXPECT_FALSE(app.Load());
    EXPECT_EQ(view.iconAdds, 0);
    EXPECT_TRUE(os.messages.empty());
    EXPECT_TRUE(os.settings.empty());
}

TEST_F(StartupTest, AnUnregisteredGameStartsWithAnUnknownBuildAndNoBox) {
    os.registry.clear();
    Start();
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0?");
    EXPECT_TRUE(os.messages.empty());
}

TEST_F(StartupTest, ARefusedIconComesBackWithTheTaskbar) {
    view.trayRefused = true;
    Start();
    EXPECT_FALSE(view.iconShown);
    view.trayRefused = false;
    app.TaskbarCreated();
    EXPECT_TRUE(view.iconShown);
}

TEST_F(StartupTest, TaskbarRestartReaddsTheIconOnlyWhileInstalled) {
    Start();
    view.iconShown = false;  // Explorer died with it
    app.TaskbarCreated();
    EXPECT_TRUE(view.iconShown);
    app.Unload();  // the options window is gone
    const int adds = view.iconAdds;
    app.TaskbarCreated();
    EXPECT_EQ(view.iconAdds, adds);
}

// Watch ticks (250 ms) until the next call `count` counts, up to a minute.
int TicksUntilNext(switcher::Switcher& app, const int& count) {
    const int before = count;
    int ticks = 0;
    while (count == before && ticks < 240) {
        app.Tick();
        ++ticks;
    }
    return ticks;
}

TEST_F(StartupTest, ARefusedIconIsAskedForAfter1_2_4SecondsUpTo30AndFrom1AgainWithANewTaskbar) {
    view.trayRefused = true;
    Start();
    for (int ticks : {4, 8, 16, 32, 64, 120, 120}) EXPECT_EQ(TicksUntilNext(app, view.iconAdds), ticks);
    app.TaskbarCreated();
    EXPECT_EQ(TicksUntilNext(app, view.iconAdds), 4);
    view.trayRefused = false;
    EXPECT_EQ(TicksUntilNext(app, view.iconAdds), 8);
    EXPECT_TRUE(view.iconShown);
    EXPECT_EQ(TicksUntilNext(app, view.iconAdds), 240) << "asked again once taken";
}

TEST_F(StartupTest, ARefusedIconSizeIsAskedForAgainByTheSameRetry) {
    Start();
    view.traySizeRefused = true;
    app.TrayIconSizeMayHaveChanged();
    EXPECT_EQ(view.iconResizes, 1);
    for (int ticks : {4, 8}) EXPECT_EQ(TicksUntilNext(app, view.iconResizes), ticks);
    view.traySizeRefused = false;
    EXPECT_EQ(TicksUntilNext(app, view.iconResizes), 16);
    EXPECT_EQ(TicksUntilNext(app, view.iconResizes), 240) << "asked again once taken";
    // A new icon takes the size of its moment: no resize is due for it.
    view.traySizeRefused = true;
    app.TrayIconSizeMayHaveChanged();
    app.TaskbarCreated();
    EXPECT_EQ(TicksUntilNext(app, view.iconResizes), 240);
    EXPECT_EQ(view.iconAdds, 2);
}

TEST(MenuLayout, CaptionsInOrder) {
    FakeServices os;
    FakeView view;
    switcher::Switcher app(os, view);
    const std::vector<std::string> expected = {
        "Version", "The Conquerors 1.0c", "The Conquerors 1.0e", "SaveGame", "The Conquerors", "-",
        "Current version is 1.0?", "Show Options", "About", "-", "Close Menu", "Exit"};
    for (int i = 0; i <= static_cast<int>(MenuItem::Exit); ++i)
        EXPECT_EQ(app.Caption(static_cast<MenuItem>(i)), expected[i]);
}

using TrayClickTest = SwitcherTest;

TEST_F(TrayClickTest, EitherButtonOpensTheMenuAndOnlyOneAtATime) {
    Start();
    EXPECT_TRUE(app.TrayClicked(TrayClick::Right));
    EXPECT_FALSE(app.TrayClicked(TrayClick::Left));  // menu already open
    app.MenuClosed();
    EXPECT_TRUE(app.TrayClicked(TrayClick::Left));
    app.MenuClosed();
}

TEST_F(TrayClickTest, NoMenuWhileAMessageBoxOfOursIsOpen) {
    Start();
    bool opened = true;
    os.whileMessageOpen = [&] { opened = app.TrayClicked(TrayClick::Right); };
    app.Command(MenuItem::Exit);  // answered Cancel
    EXPECT_FALSE(opened);
    EXPECT_TRUE(app.TrayClicked(TrayClick::Right));
}

using MenuCommandTest = SwitcherTest;

TEST_F(MenuCommandTest, SwitchingRefreshesTheCaptionEvenWhenNothingChanged) {
    Start();
    app.Command(MenuItem::Build10e);
    EXPECT_TRUE(os.HasFile(kMarker));
    EXPECT_EQ(os.Content(kMarker), "");
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0e");
    app.Command(MenuItem::Build10e);
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0e");
    os.RemoveFile(kMarker).ok();  // changed behind our back (the stub, say)
    app.Command(MenuItem::Build10c);
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0c");
    EXPECT_TRUE(os.messages.empty());
}

TEST_F(MenuCommandTest, AMarkerThatCannotChangeIsReportedAndTheCaptionTellsTheTruth) {
    Start();
    os.readOnlyFolders.insert(FakeServices::Key(kGameFolder));
    app.Command(MenuItem::Build10e);
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_EQ(os.messages[0].title, "Vantrel");
    EXPECT_NE(os.messages[0].text.find("on.ini"), std::string::npos);
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0c");
    EXPECT_TRUE(view.iconShown);
}

TEST_F(MenuCommandTest, AMissingRegistrationIsReportedByEveryGameCommand) {
    os.AddFile(kMarker);
    Start();
    os.registry.clear();
    for (MenuItem item : {MenuItem::Build10c, MenuItem::Build10e, MenuItem::SaveGame, MenuItem::StartGame})
        app.Command(item);
    EXPECT_EQ(os.messages.size(), 4u);
    for (const auto& m : os.messages) {
        EXPECT_EQ(m.title, "Vantrel");
        EXPECT_NE(m.text.find("not registered"), std::string::npos) << m.text;
    }
    EXPECT_TRUE(os.started.empty());
    EXPECT_TRUE(os.HasFile(kMarker));
    EXPECT_EQ(app.Caption(MenuItem::CurrentBuild), "Current version is 1.0?");
}

TEST_F(MenuCommandTest, SaveGameOpensExplorerAndLeavesTheWorkingFolder) {
    os.AddFolder(kSaveFolder);
    Start();
    os.currentFolder = "C:\\Elsewhere";
    app.Command(MenuItem::SaveGame);
    ASSERT_EQ(os.started.size(), 1u);
    EXPECT_EQ(os.started[0].program, "C:\\Windows\\explorer.exe");
    EXPECT_EQ(os.started[0].arguments, kSaveFolder);
    EXPECT_EQ(os.started[0].style, WindowStyle::Normal);
    EXPECT_EQ(os.currentFolder, "C:\\Elsewhere");
}

TEST_F(MenuCommandTest, SaveGameQuotesAFolderWithABlank) {
    os.SetRegistry(std::string(switcher::kGamePathValue), "D:\\My Games\\Age2_x1");
    os.AddFolder("D:\\My Games\\Age2_x1");
    os.AddFolder("D:\\My Games\\SaveGame");
    Start();
    app.Command(MenuItem::SaveGame);
    ASSERT_EQ(os.started.size(), 1u);
    EXPECT_EQ(os.started[0].arguments, "\"D:\\My Games\\SaveGame\"");
}

TEST_F(MenuCommandTest, SaveGameSaysSoWhenTheFolderOrExplorerIsMissing) {
    Start();
    app.Command(MenuItem::SaveGame);
    EXPECT_TRUE(os.started.empty());
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_NE(os.messages[0].text.find(kSaveFolder), std::string::npos);
    os.AddFolder(kSaveFolder);
    os.unstartable.insert(FakeServices::Key("C:\\Windows\\explorer.exe"));
    app.Command(MenuItem::SaveGame);
    EXPECT_EQ(os.messages.size(), 2u);
}

TEST_F(MenuCommandTest, TheConquerorsStartsTheStubFromTheGameFolder) {
    Start();
    app.Command(MenuItem::StartGame);
    ASSERT_EQ(os.started.size(), 1u);
    EXPECT_EQ(os.started[0].program, kGameFolder + "\\Brennic.exe");
    EXPECT_EQ(os.started[0].style, WindowStyle::Normal);
    EXPECT_EQ(os.started[0].currentFolder, kGameFolder);
    os.unstartable.insert(FakeServices::Key(kGameFolder + "\\Brennic.exe"));
    app.Command(MenuItem::StartGame);
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_NE(os.messages[0].text.find("Brennic.exe"), std::string::npos);
}

TEST_F(MenuCommandTest, ItemsWithoutACommandDoNothing) {
    os.AddFolder(kSaveFolder);
    Start();
    for (MenuItem item : {MenuItem::Versions, MenuItem::GameSeparator, MenuItem::CurrentBuild, MenuItem::ExitSeparator,
                          MenuItem::CloseMenu})
        app.Command(item);
    EXPECT_TRUE(os.started.empty());
    EXPECT_TRUE(os.messages.empty());
    EXPECT_FALSE(view.optionsVisible);
    EXPECT_EQ(view.aboutShows, 0);
}

TEST_F(MenuCommandTest, OptionsAndOkToggleTheWindowAndTheCaption) {
    Start();
    app.Command(MenuItem::ToggleOptions);
    EXPECT_TRUE(view.optionsVisible);
    EXPECT_EQ(app.Caption(MenuItem::ToggleOptions), "Hide Options");
    app.ClickOk();
    EXPECT_FALSE(view.optionsVisible);
    EXPECT_EQ(app.Caption(MenuItem::ToggleOptions), "Show Options");
    app.ClickOk();
    app.Command(MenuItem::ToggleOptions);
    EXPECT_FALSE(view.optionsVisible);
    EXPECT_EQ(app.Caption(MenuItem::ToggleOptions), "Show Options");

    // Controls the system refuses at the first showing: said, and still hidden.
    view.optionsRefused = true;
    app.ClickOk();
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_EQ(os.messages[0].text, "Vantrel cannot show its options window.");
    EXPECT_EQ(app.Caption(MenuItem::ToggleOptions), "Show Options");
}

using ExitTest = SwitcherTest;

TEST_F(ExitTest, CancelChangesNothing) {
    Start();
    app.Command(MenuItem::Exit);
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_EQ(os.messages[0].text, "Do you really want to exit Vantrel?");
    EXPECT_EQ(os.messages[0].title, "Vantrel");
    EXPECT_EQ(os.messages[0].style, MessageStyle::OkCancelWarning);
    EXPECT_TRUE(view.iconShown);
    EXPECT_TRUE(view.optionsLoaded);
    EXPECT_FALSE(app.MustEnd());
}

TEST_F(ExitTest, OkRemovesTheIconAndEnds) {
    Start();
    os.answers.push_back(Answer::Ok);
    app.Command(MenuItem::Exit);
    EXPECT_FALSE(view.iconShown);
    EXPECT_FALSE(view.optionsLoaded);
    EXPECT_TRUE(app.MustEnd());
}

TEST_F(ExitTest, ClosingTheWindowEndsWithoutAQuestion) {
    Start();
    app.Command(MenuItem::ToggleOptions);
    view.CloseOptions();  // its close button
    EXPECT_TRUE(os.messages.empty());
    EXPECT_FALSE(view.iconShown);
    EXPECT_TRUE(app.MustEnd());
    app.Unload();  // a second unload is harmless
    EXPECT_TRUE(app.MustEnd());
}

TEST_F(ExitTest, AnOpenAboutWindowKeepsTheProgramAliveUntilClosed) {
    Start();
    app.Command(MenuItem::About);
    os.answers.push_back(Answer::Ok);
    app.Command(MenuItem::Exit);
    EXPECT_FALSE(view.iconShown);
    EXPECT_FALSE(view.optionsLoaded);
    EXPECT_FALSE(app.MustEnd());
    app.Tick();  // no timer once the options window is gone; and no crash
    app.AboutOk();
    EXPECT_TRUE(app.MustEnd());
}

TEST_F(ExitTest, ClosingTheWindowDuringTheExitQuestionEndsOnce) {
    Start();
    os.answers.push_back(Answer::Ok);
    os.whileMessageOpen = [&] { view.CloseOptions(); };
    app.Command(MenuItem::Exit);
    EXPECT_TRUE(app.MustEnd());
    EXPECT_FALSE(view.iconShown);
}

using AboutTest = SwitcherTest;

TEST(AboutText, NineLinesTheFirstVerbatimTheFifthEmpty) {
    const std::string text = switcher::AboutText();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], VANTREL_NAME_AND_VERSION " lets you to switch AoC between 1.0c and 1.0e");
    EXPECT_EQ(lines[4], "");
    for (std::size_t i = 0; i < 9; ++i) {
        if (i != 4) {
            EXPECT_FALSE(lines[i].empty()) << i;
        }
        EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos);
    }
    EXPECT_NE(lines[1].find("Holvane"), std::string::npos);
    EXPECT_NE(lines[2].find('@'), std::string::npos);
    EXPECT_EQ(switcher::AboutText(), text);  // built anew, never accumulated
}

TEST_F(AboutTest, AboutTwiceKeepsOneWindow) {
    Start();
    app.Command(MenuItem::About);
    app.Command(MenuItem::About);
    EXPECT_EQ(view.aboutShows, 2);
    EXPECT_TRUE(view.aboutLoaded);
    app.AboutOk();
    EXPECT_FALSE(view.aboutLoaded);
    EXPECT_FALSE(app.MustEnd());
    EXPECT_TRUE(view.iconShown);
}

TEST_F(AboutTest, HomePageOpensExplorerMaximizedThenCloses) {
    Start();
    app.Command(MenuItem::About);
    app.AboutVisitHomePage();
    ASSERT_EQ(os.started.size(), 1u);
    EXPECT_EQ(os.started[0].program, "C:\\Windows\\explorer.exe");
    EXPECT_EQ(os.started[0].arguments, std::string(switcher::kHomePage));
    EXPECT_EQ(os.started[0].style, WindowStyle::Maximized);
    EXPECT_FALSE(view.aboutLoaded);
}

TEST_F(AboutTest, ExplorerThatCannotStartIsReportedAndTheWindowStays) {
    Start();
    app.Command(MenuItem::About);
    os.unstartable.insert(FakeServices::Key("C:\\Windows\\explorer.exe"));
    app.AboutVisitHomePage();
    ASSERT_EQ(os.messages.size(), 1u);
    EXPECT_EQ(os.messages[0].title, "Vantrel");
    EXPECT_TRUE(view.aboutLoaded);
}

TEST(Lifetime, EndsWhenTheLastWindowGoes) {
    switcher::Lifetime life;
    using switcher::ProgramWindow;
    life.Loaded(ProgramWindow::Options);
    life.Loaded(ProgramWindow::About);
    EXPECT_FALSE(life.Unloaded(ProgramWindow::About));
    life.Loaded(ProgramWindow::About);
    EXPECT_FALSE(life.Unloaded(ProgramWindow::Options));
    EXPECT_FALSE(life.Unloaded(ProgramWindow::Options));  // twice: no effect
    EXPECT_TRUE(life.Unloaded(ProgramWindow::About));
    EXPECT_FALSE(life.Unloaded(ProgramWindow::About));
}

}  // namespace
