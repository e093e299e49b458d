#include "switcher/messages.h"

#include <string>

#include "switcher/texts.h"

namespace switcher {

platform::Answer Messages::Ask(std::string_view text, platform::MessageStyle style) {
    struct Open {
        int& count;
        explicit Open(int& c) : count(c) { ++count; }
        ~Open() { --count; }
    } open(open_);
    return os_.ShowMessage(text, kProgramTitle, style);
}

void Messages::ShowError(std::string_view text) {
    // The services' reasons come without their full stop.
    std::string sentence(text);
    if (!sentence.empty() && sentence.back() != '.') sentence += '.';
    (void)Ask(sentence, platform::MessageStyle::OkError);
}

}  // namespace switcher
