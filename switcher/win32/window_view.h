#pragma once
// What the model asks of its windows, done by the two windows of the program.

#include "switcher/view.h"
#include "switcher/win32/about_window.h"
#include "switcher/win32/options_window.h"
#include "switcher/win32/icons.h"

namespace switcher::win32 {

class WindowView final : public View {
public:
    WindowView() : icons_(Icons::Load()), options_(icons_), about_(icons_) {}

    void Attach(Switcher& model) {
        options_.Attach(model);
        about_.Attach(model);
    }
    OptionsWindow& Options() { return options_; }

    // Passes the keys that move between controls to the window they are for.
    bool DialogKey(MSG& message) { return options_.DialogKey(message) || about_.DialogKey(message); }
    // Before the model goes away.
    void DestroyAll() {
        about_.Destroy();
        options_.Destroy();
    }

    bool AddTrayIcon() override { return options_.AddTrayIcon(); }
    bool ResizeTrayIcon() override { return options_.ResizeTrayIcon(); }
    void RemoveTrayIcon() override { options_.RemoveTrayIcon(); }
    bool SetOptionsVisible(bool visible) override { return options_.SetVisible(visible); }
    void CloseOptions() override { options_.Destroy(); }
    bool ShowAbout() override { return about_.Show(); }
    std::vector<bool> ShownSelection() override { return options_.ShownSelection(); }
    void UnloadAbout() override { about_.Destroy(); }
    void Refresh() override { options_.Refresh(); }

private:
    Icons icons_;
    OptionsWindow options_;
    AboutWindow about_;
};

}  // namespace switcher::win32
