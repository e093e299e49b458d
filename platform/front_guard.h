#pragma once
// A click of our tray icon brings our open message box to the front. For a
// moment after, the foreground can still move: the notification area the
// click went to may let go of it only after the switch, and it then falls
// to the desktop rather than stay with the box. This decides, at each check
// of that moment, whether to take the foreground back for the box.
//
// It takes it back only from the desktop or the taskbar itself. "No window"
// is activation on its way between two windows (Alt+Tab, a launcher handing
// over to its game), and the foreground may then go to any window at all:
// taking it then would steal it from the window it was meant for. The
// user's first input after the click, or the box having been in front,
// ends the moment: whatever the user picks keeps the foreground.
//
// Portable, so that the rules are tested away from Windows; the Windows
// code reads the facts and acts.

#include <cstdint>

namespace platform {

// What holds the foreground at a check.
enum class Foreground {
    Box,    // our message box
    Shell,  // the desktop or the taskbar itself
    None,   // no window: activation is moving
    Other,  // any other window
};

class FrontGuard {
public:
    enum class Step { Wait, TakeBack, Stop };
    static constexpr int kChecks = 20;  // at 50 ms, one second

    // The box was just brought to the front for a click; `lastInput` is the
    // time of the user's latest input then, the click's own.
    void Start(std::uint32_t lastInput) {
        checksLeft_ = kChecks;
        clickInput_ = lastInput;
    }

    // One check; `lastInput` is the time of the user's latest input now.
    // After the first Stop every check answers Stop.
    Step Check(Foreground front, std::uint32_t lastInput) {
        if (checksLeft_ <= 0 || lastInput != clickInput_ || front == Foreground::Box) {
            checksLeft_ = 0;
            return Step::Stop;
        }
        --checksLeft_;
        return front == Foreground::Shell ? Step::TakeBack : Step::Wait;
    }

private:
    int checksLeft_ = 0;
    std::uint32_t clickInput_ = 0;
};

}  // namespace platform
