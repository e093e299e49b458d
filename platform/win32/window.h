#pragma once
// A top-level window that owns its handle, for both programs' windows. Each
// message goes to one small virtual handler; a subclass overrides the ones it
// cares about. Like a dialog box, it gives the focus back to the control
// that had it when it is activated again.

#include <windows.h>

namespace platform::win32 {

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // Subclasses destroy their window in their own destructor, while their
    // handlers still exist; this one only catches what is left.
    virtual ~Window();

    HWND Handle() const { return hwnd_; }
    bool Loaded() const { return hwnd_ != nullptr; }
    // Destroys the window; harmless when it is not loaded.
    void Destroy();
    // For the message loop: Tab, Enter, Space and the arrows between the
    // controls, as in a dialog box. True when the message was used.
    bool DialogKey(MSG& message);

protected:
    Window() = default;

    struct ClassInfo {
        const wchar_t* name;
        HICON icon;       // large (title bar, Alt+Tab)
        HICON smallIcon;  // the caption's own
    };
    // Registers the class on first use and creates the window, hidden, at the
    // top left of the primary monitor; OnCreate runs inside. False when the
    // system refused.
    bool Create(const ClassInfo& info, DWORD style, DWORD exStyle, const wchar_t* title);

    // Everything not handled below goes to DefWindowProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // False refuses the creation: Create then answers false.
    virtual bool OnCreate() { return true; }
    virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
    virtual void OnTimer(UINT_PTR /*id*/) {}
    // Default: destroy the window.
    virtual void OnClose() { Destroy(); }
    virtual void OnDestroy() {}
    virtual void OnDpiChanged(UINT /*dpi*/, const RECT& /*suggested*/) {}
    // The window is gone: the handle is already cleared. Runs last; the
    // object may be reused but must not be deleted from here.
    virtual void OnGone() {}

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    // The control to give the focus to at the next activation.
    void RememberFocus(HWND control) { lastFocus_ = control; }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr;
};

}  // namespace platform::win32
