#include "switcher/switcher.h"

#include "switcher/about.h"
#include "switcher/game.h"
#include "switcher/options.h"
#include "switcher/texts.h"

namespace switcher {

using platform::Answer;
using platform::MessageStyle;

int MenuLevel(MenuItem item) { return item == MenuItem::Build10c || item == MenuItem::Build10e ? 2 : 1; }
bool IsSeparator(MenuItem item) { return item == MenuItem::GameSeparator || item == MenuItem::ExitSeparator; }
bool IsGreyed(MenuItem item) { return item == MenuItem::CurrentBuild; }

Switcher::Switcher(platform::Services& os, View& view)
    : os_(os), view_(view), messages_(os), currentCaption_(kVersionUnknownCaption) {}

// --- start-up and shut-down ---

bool Switcher::Load() {
    if (os_.AnotherInstanceRunning()) return false;
    lifetime_.Loaded(ProgramWindow::Options);
    InstallTray();
    return true;
}

void Switcher::InstallTray() {
    // When Explorer is not up yet (a start at log-on) the icon is refused;
    // its "TaskbarCreated" then brings it.
    (void)view_.AddTrayIcon();
    trayInstalled_ = true;
    RefreshVersionCaption();
    LoadOptions();
    optionsVisible_ = false;
    view_.SetOptionsVisible(false);
    view_.Refresh();
}

void Switcher::RemoveTray() {
    if (!trayInstalled_) return;
    trayInstalled_ = false;
    view_.RemoveTrayIcon();
}

void Switcher::Unload() {
    if (!lifetime_.IsLoaded(ProgramWindow::Options)) return;
    RemoveTray();
    optionsVisible_ = false;
    (void)lifetime_.Unloaded(ProgramWindow::Options);
}

void Switcher::TaskbarCreated() {
    if (trayInstalled_) (void)view_.AddTrayIcon();
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
    if (const auto s = os_.StartProgram("explorer.exe", argument, platform::WindowStyle::Normal); !s)
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
    view_.SetOptionsVisible(optionsVisible_);
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
    if (const auto s = os_.StartProgram("explorer.exe", kHomePage, platform::WindowStyle::Maximized); !s)
        return messages_.ShowError("Cannot open " + std::string(kHomePage) + ": " + s.message());
    view_.UnloadAbout();
}

// --- state for drawing ---

bool Switcher::Checked(CheckBox box) const {
    switch (box) {
        case CheckBox::AskToSwitch: return askToSwitch_;
        case CheckBox::StartWithWindows: return startWithWindows_;
        case CheckBox::CloseApplications: break;
    }
    return closeApplications_;
}

const std::vector<ApplicationEntry>& Switcher::Applications() const { return applications_.Entries(); }

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
bool Switcher::Asked() const { return asked_; }

}  // namespace switcher
