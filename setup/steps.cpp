#include "setup/steps.h"

namespace setup {

platform::Status Steps::Take(const Action& action, Action undo) {
    platform::Status s = action();
    if (s) undo_.push_back(std::move(undo));
    return s;
}

std::string Steps::RollBack() {
    std::string failures;
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it)
        if (platform::Status s = (*it)(); !s) failures += s.message() + "\n";
    undo_.clear();
    return failures;
}

}  // namespace setup
