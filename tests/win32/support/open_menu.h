#pragma once
// Reading the popup menu that a program under test has open. Under Wine a
// menu's items cannot be read from another process, so the hook DLL of the
// tests (tests/win32/menu_hook) is loaded into the thread that owns the
// menu, reads it there and sends the items back. The same hook measures a
// window's captions in its controls' own fonts, which no other process can
// select.

#include <windows.h>

#include <string>

#include "tests/win32/support/wait.h"

namespace e2e {

class OpenMenuReader {
public:
    // Hooks the message retrieval of `threadId`, the thread whose menus are
    // to be read. Throws std::runtime_error with the reason when it cannot.
    explicit OpenMenuReader(DWORD threadId);
    ~OpenMenuReader();
    OpenMenuReader(const OpenMenuReader&) = delete;
    OpenMenuReader& operator=(const OpenMenuReader&) = delete;

    // The items of that thread's open popup menu, depth first, a line each:
    // level, kind (separator, greyed or enabled) and caption, a tab between
    // them. Empty when no menu is open or it did not answer in time.
    std::wstring Read(Milliseconds timeout = 2000ms);

    // Whether the captions of `window`, one of that thread's, fit their
    // controls, measured in the controls' own fonts: a line for each that
    // does not, then "done". With a `dpi`, the window is first told that
    // its DPI changed to it.
    std::wstring CaptionsThatDoNotFit(HWND window, UINT dpi = 0, Milliseconds timeout = 2000ms);

private:
    std::wstring Ask(HWND target, const wchar_t* request, LPARAM argument, Milliseconds timeout);
    static LRESULT CALLBACK Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    DWORD threadId_;
    HMODULE dll_ = nullptr;
    HHOOK hook_ = nullptr;
    HWND receiver_ = nullptr;
    bool answered_ = false;
    std::wstring answer_;
};

}  // namespace e2e
