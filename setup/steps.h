#pragma once
// Changes to the game folder made one step at a time, each with the step
// that takes it back. When a step fails, the steps already taken are taken
// back, latest first, so the folder is as it was before the first.
//
// An undo that fails stops the taking back there: the steps before it stay
// taken, and so does the first of them, which writes the record of what was
// done. The record then still describes what is on the disk, and the next
// run finishes or undoes the work from there.

#include <functional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace setup {

class Steps {
public:
    using Action = std::function<platform::Status()>;

    // `check` runs after every step taken; when it fails, the folder the
    // steps work on is no longer where they work, and nothing more is done
    // there, undos included.
    explicit Steps(Action check = {}) : check_(std::move(check)) {}

    // Runs `action`; on success remembers `undo` for a later RollBack.
    platform::Status Take(const Action& action, Action undo);

    // Takes the remembered steps back, latest first, until one cannot be
    // taken back, and forgets those taken back. Answers, in plain words, why
    // the rest stays; empty when the folder is as it was.
    std::string RollBack();

private:
    Action check_;
    std::vector<Action> undo_;
    std::string stopped_;  // why nothing may be taken back
};

}  // namespace setup
