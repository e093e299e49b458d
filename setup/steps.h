#pragma once
// Changes to the game folder made one step at a time, each with the step
// that takes it back. When a step fails, the steps already taken are taken
// back, latest first, so the folder is as it was before the first.

#include <functional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace setup {

class Steps {
public:
    using Action = std::function<platform::Status()>;

    // Runs `action`; on success remembers `undo` for a later RollBack.
    platform::Status Take(const Action& action, Action undo);

    // Takes every remembered step back, latest first, and forgets them.
    // Answers the failures of those that could not be taken back, in plain
    // words, one a line; empty when the folder is as it was.
    std::string RollBack();

private:
    std::vector<Action> undo_;
};

}  // namespace setup
