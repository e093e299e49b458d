#include "setup/steps.h"

namespace setup {

platform::Status Steps::Take(const Action& action, Action undo) {
    platform::Status s = action();
    if (s) undo_.push_back(std::move(undo));
    if (check_) {
        if (platform::Status checked = check_(); !checked) {
            stopped_ = checked.message();
            return checked;
        }
    }
    return s;
}

std::string Steps::RollBack() {
    if (!stopped_.empty()) return stopped_ + "\n";
    while (!undo_.empty()) {
        if (platform::Status s = undo_.back()(); !s) return s.message() + "\n";
        undo_.pop_back();
    }
    return "";
}

}  // namespace setup
