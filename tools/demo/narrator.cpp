#include "tools/demo/narrator.h"

#include <utility>

namespace demo {

Narrator::Narrator(std::ostream& out, std::vector<std::string> steps) : out_(out), ledger_(std::move(steps)) {}

void Narrator::Begin(const std::string& title) {
    stepHolds_ = true;
    out_ << "\nStep " << ledger_.NextNumber() << " of " << ledger_.planned() << ": " << title << std::endl;
}

void Narrator::Say(const std::string& text) { out_ << "  " << text << std::endl; }

bool Narrator::Expect(bool ok, const std::string& otherwise) {
    if (!ok) {
        stepHolds_ = false;
        out_ << "  NOT AS IT SHOULD BE: " << otherwise << std::endl;
    }
    return ok;
}

bool Narrator::End() {
    const std::string name = ledger_.NextName();
    const bool held = ledger_.Record(stepHolds_);
    out_ << "  -> " << (held ? "held" : "did NOT hold") << ": " << name << std::endl;
    stepHolds_ = true;
    return held;
}

}  // namespace demo
