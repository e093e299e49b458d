#pragma once
// When the shell refuses the tray icon or its new image (at log-on, while it
// is starting or busy), it is asked again later: one second after the
// first refusal, then two, four ... up to half a minute between tries, so
// that a shell that stays busy is not held up by a blocking call of ours
// every second. A success, or a new shell ("TaskbarCreated"), starts from
// one second again.

#include "switcher/watcher.h"

namespace switcher {

class TrayRetry {
public:
    // The shell refused: a try falls due after the current wait, which then
    // doubles.
    void Refused();
    // Taken, or a new shell: nothing is due, and the next wait is one second.
    void Reset();
    // One watch tick has gone by: true when the try falls due now.
    bool Tick();

private:
    static constexpr int kFirstWaitTicks = 1000 / kWatchIntervalMs;
    static constexpr int kLongestWaitTicks = 30000 / kWatchIntervalMs;
    int wait_ = kFirstWaitTicks;
    int ticksLeft_ = 0;  // until the try that is due; 0: none is
};

}  // namespace switcher
