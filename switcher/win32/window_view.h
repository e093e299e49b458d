#pragma once
// What the model asks of its windows, done by the two windows of the program.

#include "switcher/view.h"
#include "switcher/win32/about_window.h"
#include "switcher/win32/config_window.h"
#include "switcher/win32/icons.h"

namespace switcher::win32 {

class WindowView final : public View {
public:
    WindowView() : icons_(Icons::Load()), config_(icons_), about_(icons_) {}

    void Attach(Switcher& model) {
        config_.Attach(model);
        about_.Attach(model);
    }
    ConfigWindow& Config() { return config_; }

    // Passes the keys that move between controls to the window they are for.
    bool DialogKey(MSG& message) { return config_.DialogKey(message) || about_.DialogKey(message); }
    // Before the model goes away.
    void DestroyAll() {
        about_.Destroy();
        config_.Destroy();
    }

    bool AddTrayIcon() override { return config_.AddTrayIcon(); }
    void RemoveTrayIcon() override { config_.RemoveTrayIcon(); }
    void SetConfigVisible(bool visible) override { config_.SetVisible(visible); }
    void UnloadConfig() override { config_.Destroy(); }
    void ShowAbout() override { about_.Show(); }
    void UnloadAbout() override { about_.Destroy(); }
    void Refresh() override { config_.Refresh(); }

private:
    Icons icons_;
    ConfigWindow config_;
    AboutWindow about_;
};

}  // namespace switcher::win32
