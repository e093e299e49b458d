#pragma once
// Every message box of Vantrel opens here, so that the timer and the tray
// icon can tell that one is open: Windows keeps delivering their messages
// inside the box's own loop, and they must not act on a half-answered state.

#include <string_view>

#include "platform/services.h"

namespace switcher {

class Messages {
public:
    explicit Messages(platform::Services& os) : os_(os) {}

    // A box titled "Vantrel"; blocks until answered.
    platform::Answer Ask(std::string_view text, platform::MessageStyle style);
    // An error in plain words, with an OK button; a full stop ends it.
    void ShowError(std::string_view text);

    bool Open() const { return open_ > 0; }

private:
    platform::Services& os_;
    int open_ = 0;  // boxes can nest: a box opened from a tick inside another
};

}  // namespace switcher
