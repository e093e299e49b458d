#pragma once
// What the launch stub's behaviour asks of its window. The window
// code implements this and otherwise only forwards events to Launcher.

namespace stub {

class View {
public:
    virtual ~View() = default;

    // Makes the window visible, with the focus on the 1.0c button; the first
    // call creates it and starts the wait for a choice.
    virtual void Show() = 0;
    // Stops the wait for a choice; no tick arrives after this.
    virtual void StopTimer() = 0;
    // Destroys the window (its timer with it). It is the program's only
    // window, so the program then ends with `exitCode`.
    virtual void Close(int exitCode) = 0;
};

}  // namespace stub
