// The game watcher: the watch timer's ticks.
#include "switcher/game.h"
#include "switcher/switcher.h"
#include "switcher/texts.h"

namespace switcher {

void Switcher::Tick() {
    if (!lifetime_.IsLoaded(ProgramWindow::Options)) return;
    // Ticks keep arriving inside a message box's own loop. Acting on one then
    // would ask the question again or switch the build under an open answer.
    // Inside the popup menu's loop a question would pop up under the menu,
    // whose command then runs after the answer; the next tick after the menu
    // closes comes soon enough.
    if (messages_.Open() || menuOpen_) return;

    if (os_.FindWindowByTitle(kGameWindowTitle) != 0) {
        asked_ = false;
        if (closeApplications_ && !applications_.Empty()) {
            const std::vector<bool> shown = view_.ShownSelection();
            for (std::size_t i = 0; i < applications_.Entries().size(); ++i)
                applications_.SetSelected(i, i < shown.size() && shown[i]);
            applications_.CloseSelected(os_);
            view_.Refresh();
        }
        return;
    }

    if (os_.FindWindowByTitle(kHostWindowTitle) == 0 || !askToSwitch_ || asked_) return;

    const bool toE = messages_.Ask(kSwitchQuestion, platform::MessageStyle::OkCancelWarning) ==
                     platform::Answer::Ok;
    // Answered: a failing switch must not bring the question back every tick.
    asked_ = true;
    SwitchBuild(toE);
}

}  // namespace switcher
