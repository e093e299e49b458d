#pragma once
// The options window: three check boxes, the application list, the hint
// label and OK; it owns the tray icon, the popup menu and the watch timer.
// Hidden for most of its life. Every click goes to the model; every change
// comes back through Refresh.

#include <string>
#include <vector>

#include "switcher/switcher.h"
#include "platform/win32/controls.h"
#include "switcher/win32/icons.h"
#include "switcher/win32/tray_icon.h"
#include "switcher/win32/tray_menu.h"
#include "platform/win32/window.h"

namespace switcher::win32 {

class OptionsWindow final : public platform::win32::Window {
public:
    static constexpr const wchar_t* kClassName = L"Vantrel.Config";

    explicit OptionsWindow(const Icons& icons) : icons_(icons) {}
    ~OptionsWindow() override { Destroy(); }
    void Attach(Switcher& model) { model_ = &model; }

    // Creates the window hidden, with its timer; its controls come when it
    // is first shown.
    bool Load();
    // The model's load accepted the window: from now on its destruction is
    // the model's unload.
    void Started() { started_ = true; }

    bool AddTrayIcon();
    bool ResizeTrayIcon();
    void RemoveTrayIcon() { tray_.Remove(); }
    // False when the controls could not be created for a first showing.
    // Shown at another DPI than it was laid out for, it is laid out anew.
    bool SetVisible(bool visible);
    void Refresh();
    // Whether each entry of the application list is shown selected now.
    std::vector<bool> ShownSelection() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    void OnDpiChanged(UINT dpi, const RECT& suggested) override;

private:
    bool HasControls() const;
    bool CreateControls();
    // The check boxes and the list as the model holds them.
    void DrawOptions();
    void TrayWindowProc(LPARAM mouseMessage);
    void SelectionChanged();
    void RefreshList();

    const Icons& icons_;
    Switcher* model_ = nullptr;
    bool started_ = false;
    TrayIcon tray_;
    TrayMenu menu_;
    platform::win32::FormLayout layout_;
    CaptionIcon captionIcon_;
    UINT taskbarCreated_ = 0;
    std::vector<std::string> shownTitles_;
};

}  // namespace switcher::win32
