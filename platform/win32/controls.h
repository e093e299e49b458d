#pragma once
// The child controls of a window, laid out in twips from a table. The order
// of the table is the tab order.

#include <windows.h>

#include <span>
#include <string_view>

#include "platform/win32/dpi.h"

namespace platform::win32 {

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

// Gives the default-button look, and with it Enter, to the push button that
// has the focus, or to the window's own default button when the focus is on
// no push button; the others become plain push buttons. A dialog box does
// this itself; a window that only borrows IsDialogMessage for its keys calls
// it whenever a button gains or loses the focus.
void MarkDefaultButton(HWND parent, HWND focus, int defaultId);

// A window laid out like a form: its client area and controls in twips.
struct Form {
    int clientWidth, clientHeight;  // twips
    DWORD style, exStyle;
    std::span<const ControlSpec> controls;
};

// What a window was laid out with: the form font at its DPI, and that DPI.
struct FormLayout {
    UniqueFont font;
    UINT dpi = 0;
};

// Sizes the window for the form at its monitor's DPI, centres it there and
// creates the controls with the form font. False when a control could not
// be created.
bool LayOut(HWND window, const Form& form, FormLayout& layout);
// The DPI changed: takes the system's suggested place, then scales the font
// and the controls.
void LayOutAgain(HWND window, const Form& form, UINT dpi, const RECT& suggested, FormLayout& layout);
// Before a window is shown again: when its DPI is no longer the one it was
// laid out for (the scale of its monitor changed while it was hidden), it is
// laid out anew as LayOut would, its controls kept.
void LayOutForShowing(HWND window, const Form& form, FormLayout& layout);

}  // namespace platform::win32
