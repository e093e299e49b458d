#include "tools/demo/ledger.h"

#include <utility>

namespace demo {

namespace {

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) {
        if (!text.empty()) text += ", ";
        text += name;
    }
    return text;
}

}  // namespace

Ledger::Ledger(std::vector<std::string> steps) : steps_(std::move(steps)) {}

bool Ledger::Record(bool held) {
    if (outcomes_.size() < steps_.size()) outcomes_.push_back(held);
    return held;
}

std::string Ledger::NextName() const {
    return outcomes_.size() < steps_.size() ? steps_[outcomes_.size()] : std::string();
}

bool Ledger::AllHeld() const {
    if (outcomes_.size() != steps_.size()) return false;
    for (bool held : outcomes_)
        if (!held) return false;
    return true;
}

std::string Ledger::Verdict() const {
    const std::string plural = steps_.size() == 1 ? " step" : " steps";
    if (AllHeld()) return "Demo: all " + std::to_string(steps_.size()) + plural + " held.";

    std::vector<std::string> failed, untried;
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        if (i >= outcomes_.size())
            untried.push_back(steps_[i]);
        else if (!outcomes_[i])
            failed.push_back(steps_[i]);
    }
    std::string why;
    if (!failed.empty()) why = "failed: " + Joined(failed);
    if (!untried.empty()) why += (why.empty() ? "" : "; ") + std::string("not tried: ") + Joined(untried);
    return "Demo: FAILED: " + std::to_string(failed.size() + untried.size()) + " of " +
           std::to_string(steps_.size()) + plural + " did not hold (" + why + ").";
}

}  // namespace demo
