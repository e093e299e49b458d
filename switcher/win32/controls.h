#pragma once
// The child controls of a window, laid out in twips from a table. The order
// of the table is the tab order.

#include <windows.h>

#include <span>
#include <string_view>

namespace switcher::win32 {

struct ControlSpec {
    int id;
    const wchar_t* className;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;
    std::string_view caption;  // UTF-8
    int left, top, width, height;  // twips, in the parent's client area
};

// Creates the controls at their places for the DPI. False when one could
// not be created.
bool CreateControls(HWND parent, std::span<const ControlSpec> controls, UINT dpi);
// Moves and sizes them again, after the DPI has changed.
void PlaceControls(HWND parent, std::span<const ControlSpec> controls, UINT dpi);

void SetControlText(HWND parent, int id, std::string_view utf8);

}  // namespace switcher::win32
