#pragma once
// The program lives while any of its windows is loaded: unloading the
// options window ends it at once unless the About window is still open, in
// which case closing that window ends it.

namespace switcher {

enum class ProgramWindow { Options, About };

class Lifetime {
public:
    void Loaded(ProgramWindow window);
    // True when this unload left no window loaded: the program must end now.
    // Unloading a window that is not loaded changes nothing.
    bool Unloaded(ProgramWindow window);
    bool IsLoaded(ProgramWindow window) const;
    bool AnyLoaded() const { return options_ || about_; }

private:
    bool& Flag(ProgramWindow window) { return window == ProgramWindow::Options ? options_ : about_; }
    bool options_ = false;
    bool about_ = false;
};

}  // namespace switcher
