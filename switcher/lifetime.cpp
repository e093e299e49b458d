#include "switcher/lifetime.h"

namespace switcher {

void Lifetime::Loaded(ProgramWindow window) { Flag(window) = true; }

bool Lifetime::Unloaded(ProgramWindow window) {
    bool& loaded = Flag(window);
    if (!loaded) return false;
    loaded = false;
    return !AnyLoaded();
}

bool Lifetime::IsLoaded(ProgramWindow window) const {
    return window == ProgramWindow::Options ? options_ : about_;
}

}  // namespace switcher
