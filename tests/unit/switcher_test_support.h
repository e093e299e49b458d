#pragma once
// A Vantrel model wired to the in-memory system and to a window stand-in that
// behaves as the real windows do: unloading a window reports its unload back.

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "switcher/game.h"
#include "switcher/switcher.h"
#include "tests/unit/fake_services.h"

namespace testing_support {

class FakeView : public switcher::View {
public:
    bool trayRefused = false;
    bool iconShown = false;
    int iconAdds = 0;
    bool optionsVisible = true;  // a new window before start-up hides it
    bool optionsLoaded = true;
    bool aboutLoaded = false;
    bool aboutRefused = false;  // the system refuses the About window
    int aboutShows = 0;
    int refreshes = 0;
    std::function<std::vector<bool>()> shownSelection;
    std::function<void()> onConfigUnloaded;
    std::function<void()> onAboutLoaded;
    std::function<void()> onAboutUnloaded;

    bool AddTrayIcon() override {
        ++iconAdds;
        if (trayRefused) return false;
        iconShown = true;
        return true;
    }
    bool traySizeRefused = false;
    int iconResizes = 0;
    bool ResizeTrayIcon() override {
        ++iconResizes;
        return !traySizeRefused;
    }
    void RemoveTrayIcon() override { iconShown = false; }
    bool optionsRefused = false;  // the system refuses the window's controls
    bool SetOptionsVisible(bool visible) override {
        if (visible && optionsRefused) return false;
        optionsVisible = visible;
        return true;
    }
    void CloseOptions() override {
        if (!optionsLoaded) return;
        optionsLoaded = false;
        optionsVisible = false;
        if (onConfigUnloaded) onConfigUnloaded();
    }
    bool ShowAbout() override {
        ++aboutShows;
        if (aboutRefused) return false;
        if (aboutLoaded) return true;
        aboutLoaded = true;
        if (onAboutLoaded) onAboutLoaded();
        return true;
    }
    void UnloadAbout() override {
        if (!aboutLoaded) return;
        aboutLoaded = false;
        if (onAboutUnloaded) onAboutUnloaded();
    }
    std::vector<bool> ShownSelection() override { return shownSelection ? shownSelection() : std::vector<bool>{}; }
    void Refresh() override { ++refreshes; }
};

inline const std::string kGameFolder = "D:\\Games\\Empires\\Gamebin";
inline const std::string kMarker = kGameFolder + "\\on.ini";
inline const std::string kSaveFolder = "D:\\Games\\Empires\\SaveGame";

// A registered game and a model whose view reports loads and unloads back,
// not yet started.
class SwitcherTest : public ::testing::Test {
protected:
    FakeServices os;
    FakeView view;
    switcher::Switcher app{os, view};
    switcher::Options& options = app.options();

    SwitcherTest() {
        os.SetRegistry(std::string(switcher::kGamePathValue), kGameFolder);
        os.AddFolder(kGameFolder);
        view.onConfigUnloaded = [this] { app.Unload(); };
        view.onAboutLoaded = [this] { app.AboutLoaded(); };
        view.onAboutUnloaded = [this] { app.AboutUnloaded(); };
        // The list shows what the user selected.
        view.shownSelection = [this] {
            std::vector<bool> shown;
            for (const auto& entry : app.options().Applications()) shown.push_back(entry.selected);
            return shown;
        };
    }

    void Store(const std::string& key, const std::string& value) { os.settings["Control\\" + key] = value; }
    std::string Stored(const std::string& key) const {
        auto it = os.settings.find("Control\\" + key);
        return it == os.settings.end() ? "(never stored)" : it->second;
    }
    void Start() { ASSERT_TRUE(app.Load()); }
};

}  // namespace testing_support
