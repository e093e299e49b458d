#include "switcher/tray_retry.h"

#include <algorithm>

namespace switcher {

void TrayRetry::Refused() {
    ticksLeft_ = wait_;
    wait_ = std::min(wait_ * 2, kLongestWaitTicks);
}

void TrayRetry::Reset() {
    wait_ = kFirstWaitTicks;
    ticksLeft_ = 0;
}

bool TrayRetry::Tick() { return ticksLeft_ > 0 && --ticksLeft_ == 0; }

}  // namespace switcher
