#include "switcher/switcher.h"

#include "switcher/about.h"
#include "switcher/game.h"
#include "switcher/texts.h"

namespace switcher {

using platform::Answer;
using platform::MessageStyle;

namespace {

// The shell's Explorer by its full path: found by name, a 32-bit program
// would meet Windows' 32-bit copy in SysWOW64 first.
platform::Status StartExplorer(platform::Services& os, std::string_view argument, platform::WindowStyle style) {
    const auto windows = os.WindowsFolder();
    if (!windows) return windows.status();
    return os.StartProgram(*windows + "\\explorer.exe", argument, style);
}

}  // namespace

int MenuLevel(MenuItem item) { return item == MenuItem::Build10c || item == MenuItem::Build10e ? 2 : 1; }
bool IsSeparator(MenuItem item) { return item == MenuItem::GameSeparator || item == MenuItem::ExitSeparator; }
bool IsGreyed(MenuItem item) { return item == MenuItem::CurrentBuild; }

Switcher::Switcher(platform::Services& os, View& view)
    : os_(os),
      view_(view),
      messages_(os),
      options_(os, view, messages_),
      watcher_(os, view, messages_, options_),
      currentCaption_(kVersionUnknownCaption) {}

// --- start-up and shut-down ---

bool Switcher::Load() {
    if (os_.AnotherInstanceRunning()) return false;
    lifetime_.Loaded(ProgramWindow::Options);
    InstallTray();
    return true;
}

void Switcher::InstallTray() {
    trayInstalled_ = true;
    AddTrayIcon();
    RefreshVersionCaption();
    options_.Load();
    optionsVisible_ = false;
    (void)view_.SetOptionsVisible(false);
    view_.Refresh();
}

void Switcher::RemoveTray() {
    if (!trayInstalled_) return;
    trayInstalled_ = false;
    trayShown_ = false;
    view_.RemoveTrayIcon();
}

void Switcher::Unload() {
    if (!lifetime_.IsLoaded(ProgramWindow::Options)) return;
    RemoveTray();
    optionsVisible_ = false;
    (void)lifetime_.Unloaded(ProgramWindow::Options);
}

void Switcher::TaskbarCreated() {
    if (!trayInstalled_) return;
    trayRetry_.Reset();
    AddTrayIcon();
}

// The shell refuses icons while it is starting or busy (a log-on), and its
// "TaskbarCreated" may have gone out before this program started: without
// asking again the program could not be reached at all.
void Switcher::AddTrayIcon() {
    trayShown_ = view_.AddTrayIcon();
    traySizeRefused_ = false;  // an icon added takes the size of the moment
    if (trayShown_) trayRetry_.Reset();
    else trayRetry_.Refused();
}

void Switcher::ResizeTrayIcon() {
    traySizeRefused_ = !view_.ResizeTrayIcon();
    if (traySizeRefused_) trayRetry_.Refused();
    else trayRetry_.Reset();
}

void Switcher::TrayIconSizeMayHaveChanged() {
    // An icon still to be added takes the size of its moment then.
    if (trayInstalled_ && trayShown_) ResizeTrayIcon();
}

void Switcher::RetryTrayIcon() {
    if (!trayInstalled_ || (trayShown_ && !traySizeRefused_) || !trayRetry_.Tick()) return;
    if (trayShown_) ResizeTrayIcon();
    else AddTrayIcon();
}

// --- the tray icon and its menu ---

bool Switcher::TrayClicked(TrayClick /*button*/) {
    if (!trayInstalled_ || menuOpen_) return false;
    if (messages_.Open()) {
        // The question may be hidden behind a full-screen window: an icon
        // that does nothing then looks dead.
        os_.BringMessageToFront();
        return false;
    }
    menuOpen_ = true;
    return true;
}

void Switcher::MenuClosed() { menuOpen_ = false; }

void Switcher::Command(MenuItem item) {
    if (!lifetime_.IsLoaded(ProgramWindow::Options)) return;
    switch (item) {
        case MenuItem::Build10c: SwitchBuild(false); break;
        case MenuItem::Build10e: SwitchBuild(true); break;
        case MenuItem::SaveGame: OpenSaveGame(); break;
        case MenuItem::StartGame: StartGame(); break;
        case MenuItem::ToggleOptions: ClickOk(); break;
        case MenuItem::About: ShowAbout(); break;
        case MenuItem::Exit: Exit(); break;
        default: break;  // Version, the separators, CurrentBuild and Close Menu do nothing
    }
}

void Switcher::Tick() {
    if (!lifetime_.IsLoaded(ProgramWindow::Options)) return;
    RetryTrayIcon();
    // Ticks keep arriving inside a message box's own loop. Acting on one then
    // would ask the question again or switch the build under an open answer.
    // Inside the popup menu's loop a question would pop up under the menu,
    // whose command then runs after the answer; the next tick after the menu
    // closes comes soon enough.
    if (messages_.Open() || menuOpen_) return;
    if (const auto toE = watcher_.Tick()) SwitchBuild(*toE);
}

void Switcher::SwitchBuild(bool toE) {
    const platform::Status switched = toE ? SwitchToE(os_) : SwitchToC(os_);
    if (!switched) messages_.ShowError(switched.message());
    RefreshVersionCaption();
    view_.Refresh();
}

void Switcher::RefreshVersionCaption() {
    // When the build cannot be read the caption says so rather than keep a
    // build that may no longer be on disk.
    const auto version = GetVersion(os_);
    currentCaption_ = version ? std::string(kCurrentVersionPrefix) + *version
                              : std::string(kVersionUnknownCaption);
}

void Switcher::OpenSaveGame() {
    const auto folder = SaveGameFolder(os_);
    if (!folder) return messages_.ShowError(folder.message());
    if (!os_.FolderExists(*folder))
        return messages_.ShowError("The save folder " + *folder + " does not exist.");
    const std::string argument =
        folder->find(' ') == std::string::npos ? *folder : '"' + *folder + '"';
    if (const auto s = StartExplorer(os_, argument, platform::WindowStyle::Normal); !s)
        messages_.ShowError("Cannot show the save folder " + *folder + ": " + s.message());
}

void Switcher::StartGame() {
    const auto folder = GameFolder(os_);
    if (!folder) return messages_.ShowError(folder.message());
    if (const auto s = RunInFolder(os_, *folder, "Brennic.exe", platform::WindowStyle::Normal); !s)
        messages_.ShowError(s.message());
}

void Switcher::Exit() {
    if (messages_.Ask(kExitQuestion, MessageStyle::OkCancelWarning) != Answer::Ok) return;
    // The window may have gone while the question was open.
    if (!lifetime_.IsLoaded(ProgramWindow::Options)) return;
    RemoveTray();
    view_.CloseOptions();
}

void Switcher::ClickOk() {
    optionsVisible_ = !optionsVisible_;
    if (!view_.SetOptionsVisible(optionsVisible_)) {
        optionsVisible_ = false;
        messages_.ShowError(kOptionsRefused);
    }
    view_.Refresh();
}

// --- the About window ---

void Switcher::ShowAbout() {
    if (!view_.ShowAbout()) messages_.ShowError(kAboutRefused);
}

void Switcher::AboutLoaded() { lifetime_.Loaded(ProgramWindow::About); }

void Switcher::AboutUnloaded() { (void)lifetime_.Unloaded(ProgramWindow::About); }

void Switcher::AboutOk() { view_.UnloadAbout(); }

void Switcher::AboutVisitHomePage() {
    if (const auto s = StartExplorer(os_, kHomePage, platform::WindowStyle::Maximized); !s)
        return messages_.ShowError("Cannot open " + std::string(kHomePage) + ": " + s.message());
    view_.UnloadAbout();
}

// --- state for drawing ---

std::string Switcher::Caption(MenuItem item) const {
    switch (item) {
        case MenuItem::Versions: return "Version";
        case MenuItem::Build10c: return "The Conquerors 1.0c";
        case MenuItem::Build10e: return "The Conquerors 1.0e";
        case MenuItem::SaveGame: return "SaveGame";
        case MenuItem::StartGame: return "The Conquerors";
        case MenuItem::GameSeparator:
        case MenuItem::ExitSeparator: return "-";
        case MenuItem::CurrentBuild: return currentCaption_;
        case MenuItem::ToggleOptions: return std::string(optionsVisible_ ? kHideOptions : kShowOptions);
        case MenuItem::About: return "About";
        case MenuItem::CloseMenu: return "Close Menu";
        case MenuItem::Exit: return "Exit";
    }
    return {};
}

bool Switcher::OptionsVisible() const { return optionsVisible_; }

}  // namespace switcher
