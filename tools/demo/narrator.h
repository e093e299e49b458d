#pragma once
// Tells the demo's steps as they happen and keeps their account: each step
// is begun, narrated, checked (any failed expectation spoils it) and ended,
// and the ledger learns whether it held.

#include <ostream>
#include <string>
#include <vector>

#include "tools/demo/ledger.h"

namespace demo {

class Narrator {
public:
    Narrator(std::ostream& out, std::vector<std::string> steps);

    // "Step 3 of 10: <title>".
    void Begin(const std::string& title);
    // One line of what happened, indented under its step.
    void Say(const std::string& text);
    // Answers `ok`; when it is false, says what went wrong and spoils the
    // step.
    bool Expect(bool ok, const std::string& otherwise);
    // Records the step in the ledger and says how it ended; answers whether
    // it held.
    bool End();

    const Ledger& ledger() const { return ledger_; }

private:
    std::ostream& out_;
    Ledger ledger_;
    bool stepHolds_ = true;
};

}  // namespace demo
