#pragma once
// The game watcher: on each tick of the watch timer it looks for the game
// host's window, to ask whether to switch to 1.0e, and for the game's own,
// to close the applications the user picked.

#include <optional>

#include "platform/services.h"
#include "switcher/messages.h"
#include "switcher/options.h"
#include "switcher/view.h"

namespace switcher {

inline constexpr unsigned kWatchIntervalMs = 250;

class Watcher {
public:
    Watcher(platform::Services& os, View& view, Messages& messages, Options& options)
        : os_(os), view_(view), messages_(messages), options_(options) {}

    // One look at the desktop. When the question was answered now, the build
    // to switch to: true for 1.0e.
    std::optional<bool> Tick();

private:
    platform::Services& os_;
    View& view_;
    Messages& messages_;
    Options& options_;
    // Asked for this launch; the game's window re-arms the question.
    bool asked_ = false;
};

}  // namespace switcher
