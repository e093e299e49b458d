#include "switcher/switcher.h"

#include "switcher/about.h"
#include "switcher/game.h"
#include "switcher/options.h"
#include "switcher/texts.h"

namespace switcher {

using platform::Answer;
using platform::MessageStyle;

int MenuLevel(MenuItem item) { return item == MenuItem::mnuc || item == MenuItem::mnue ? 2 : 1; }
bool IsSeparator(MenuItem item) { return item == MenuItem::sep1 || item == MenuItem::sep2; }
bool IsGreyed(MenuItem item) { return item == MenuItem::mnucurrent; }

Switcher::Switcher(platform::Services& os, View& view)
    : os_(os), view_(view), messages_(os), currentCaption_(kVersionUnknownCaption) {}

// --- start-up and shut-down ---

bool Switcher::Load() {
    if (os_.AnotherInstanceRunning()) return false;
    lifetime_.Loaded(ProgramWindow::Config);
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
    configVisible_ = false;
    view_.SetConfigVisible(false);
    view_.Refresh();
}

void Switcher::RemoveTray() {
    if (!trayInstalled_) return;
    trayInstalled_ = false;
    view_.RemoveTrayIcon();
}

void Switcher::Unload() {
    if (!lifetime_.IsLoaded(ProgramWindow::Config)) return;
    RemoveTray();
    configVisible_ = false;
    (void)lifetime_.Unloaded(ProgramWindow::Config);
}

void Switcher::TaskbarCreated() {
    if (trayInstalled_) (void)view_.AddTrayIcon();
}

// --- the tray icon and its menu ---

bool Switcher::TrayMouseMessage(std::uint32_t mouseMessage) {
    if (mouseMessage != kLeftButtonUp && mouseMessage != kRightButtonUp) return false;
    if (!trayInstalled_ || menuOpen_ || messages_.Open()) return false;
    menuOpen_ = true;
    return true;
}

void Switcher::MenuClosed() { menuOpen_ = false; }

void Switcher::Command(MenuItem item) {
    if (!lifetime_.IsLoaded(ProgramWindow::Config)) return;
    switch (item) {
        case MenuItem::mnuc: SwitchBuild(false); break;
        case MenuItem::mnue: SwitchBuild(true); break;
        case MenuItem::mnusavegame: OpenSaveGame(); break;
        case MenuItem::mnuconquerors: StartConquerors(); break;
        case MenuItem::mnuoptions: ClickOk(); break;
        case MenuItem::mnuabout: view_.ShowAbout(); break;
        case MenuItem::mnuexit: Exit(); break;
        default: break;  // Version, the separators, mnucurrent and Close Menu do nothing
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
        messages_.ShowError("Explorer cannot be started to show " + *folder + ": " + s.message());
}

void Switcher::StartConquerors() {
    const auto folder = GameFolder(os_);
    if (!folder) return messages_.ShowError(folder.message());
    if (const auto s = RunInFolder(os_, *folder, "Brennic.exe", platform::WindowStyle::Normal); !s)
        messages_.ShowError(s.message());
}

void Switcher::Exit() {
    if (messages_.Ask(kExitQuestion, MessageStyle::OkCancelWarning) != Answer::Ok) return;
    // The window may have gone while the question was open.
    if (!lifetime_.IsLoaded(ProgramWindow::Config)) return;
    RemoveTray();
    view_.UnloadConfig();
}

void Switcher::ClickOk() {
    configVisible_ = !configVisible_;
    view_.SetConfigVisible(configVisible_);
    view_.Refresh();
}

// --- the About window ---

void Switcher::AboutLoaded() { lifetime_.Loaded(ProgramWindow::About); }

void Switcher::AboutUnloaded() { (void)lifetime_.Unloaded(ProgramWindow::About); }

void Switcher::AboutOk() { view_.UnloadAbout(); }

void Switcher::AboutVisitHomePage() {
    if (const auto s = os_.StartProgram("explorer.exe", kHomePage, platform::WindowStyle::Maximized); !s)
        return messages_.ShowError("Explorer cannot be started to open " + std::string(kHomePage) +
                                   ": " + s.message());
    view_.UnloadAbout();
}

// --- state for drawing ---

bool Switcher::Checked(CheckBox box) const {
    switch (box) {
        case CheckBox::Launching: return launching_;
        case CheckBox::Starting: return starting_;
        case CheckBox::Program: break;
    }
    return program_;
}

const std::vector<ApplicationEntry>& Switcher::Applications() const { return applications_.Entries(); }

std::string Switcher::Caption(MenuItem item) const {
    switch (item) {
        case MenuItem::mnuversion: return "Version";
        case MenuItem::mnuc: return "The Conquerors 1.0c";
        case MenuItem::mnue: return "The Conquerors 1.0e";
        case MenuItem::mnusavegame: return "SaveGame";
        case MenuItem::mnuconquerors: return "The Conquerors";
        case MenuItem::sep1:
        case MenuItem::sep2: return "-";
        case MenuItem::mnucurrent: return currentCaption_;
        case MenuItem::mnuoptions: return std::string(configVisible_ ? kHideOptions : kShowOptions);
        case MenuItem::mnuabout: return "About";
        case MenuItem::mnuclose: return "Close Menu";
        case MenuItem::mnuexit: return "Exit";
    }
    return {};
}

bool Switcher::ConfigVisible() const { return configVisible_; }
bool Switcher::Asked() const { return asked_; }

}  // namespace switcher
