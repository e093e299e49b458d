// The game watcher: the watch timer's ticks.
#include "switcher/watcher.h"

#include "switcher/texts.h"

namespace switcher {

std::optional<bool> Watcher::Tick() {
    if (os_.FindWindowByTitle(kGameWindowTitle) != 0) {
        asked_ = false;
        if (options_.CloseSelectedApplications()) view_.Refresh();
        return std::nullopt;
    }

    if (os_.FindWindowByTitle(kHostWindowTitle) == 0 || !options_.Checked(CheckBox::AskToSwitch) || asked_)
        return std::nullopt;

    const bool toE = messages_.Ask(kSwitchQuestion, platform::MessageStyle::OkCancelWarningOnTop) ==
                     platform::Answer::Ok;
    // Answered: a failing switch must not bring the question back every tick.
    asked_ = true;
    return toE;
}

}  // namespace switcher
