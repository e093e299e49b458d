#pragma once
// The demo's account of its steps. Every step is checked, not only shown,
// and the run ends with one line that says whether all of them held; a step
// that was never reached because an earlier one failed counts as not held.

#include <cstddef>
#include <string>
#include <vector>

namespace demo {

class Ledger {
public:
    // The steps the run means to take, in order, by short names that the
    // verdict can list ("the 1.0e question").
    explicit Ledger(std::vector<std::string> steps);

    // The outcome of the next step; answers `held`. Outcomes past the planned
    // steps are ignored rather than miscounted.
    bool Record(bool held);

    std::size_t planned() const { return steps_.size(); }
    std::size_t recorded() const { return outcomes_.size(); }
    // 1-based number and name of the step about to be recorded, for the
    // narration; the name is empty once every step is recorded.
    std::size_t NextNumber() const { return outcomes_.size() + 1; }
    std::string NextName() const;

    // Every planned step recorded, and each one held.
    bool AllHeld() const;
    // "Demo: all 10 steps held." or "Demo: FAILED: 2 of 10 steps did not
    // hold (...)", naming the failed steps and those never tried.
    std::string Verdict() const;

private:
    std::vector<std::string> steps_;
    std::vector<bool> outcomes_;
};

}  // namespace demo
