#pragma once
// The About window: the program's description in a frame, "OK"
// and the home-page button. Loaded on demand, independent of the options window; while
// it is loaded it keeps the program alive.

#include "switcher/switcher.h"
#include "platform/win32/controls.h"
#include "switcher/win32/icons.h"
#include "platform/win32/window.h"

namespace switcher::win32 {

class AboutWindow final : public platform::win32::Window {
public:
    static constexpr const wchar_t* kClassName = L"Vantrel.AboutForm";

    explicit AboutWindow(const Icons& icons) : icons_(icons) {}
    ~AboutWindow() override { Destroy(); }
    void Attach(Switcher& model) { model_ = &model; }

    // Loads the window when it is not loaded, then brings it to the front.
    // False when the system refuses the window.
    bool Show();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;
    void OnDpiChanged(UINT dpi, const RECT& suggested) override;

private:
    const Icons& icons_;
    Switcher* model_ = nullptr;
    bool loaded_ = false;  // the model was told
    platform::win32::FormLayout layout_;
    CaptionIcon captionIcon_;
};

}  // namespace switcher::win32
