// Runs inside the program under test, on the thread the test hooked. When a
// request comes through that thread's queue, it reads what only that thread
// can, and sends it to the window named in the request: the items of the
// popup menu the request was posted to, or how the captions of the window
// it was posted to fit their controls in the controls' own fonts. Nothing
// here allocates: the program's own heap and runtime are not ours to
// disturb.

#include <windows.h>

#include <cstddef>

namespace {

constexpr wchar_t kRequestName[] = L"VantrelTests.ReadOpenMenu";
constexpr wchar_t kMeasureName[] = L"VantrelTests.MeasureCaptions";
constexpr ULONG_PTR kMenuText = 0x4D454E55;  // marks the answer among WM_COPYDATA messages
constexpr std::size_t kCapacity = 16384;

class Text {
public:
    void Add(const wchar_t* part) {
        while (*part && used_ + 1 < kCapacity) chars_[used_++] = *part++;
        chars_[used_] = L'\0';
    }
    const wchar_t* chars() const { return chars_; }
    std::size_t bytes() const { return (used_ + 1) * sizeof(wchar_t); }

private:
    wchar_t chars_[kCapacity] = L"";
    std::size_t used_ = 0;
};

// One line per item, depth first: level, kind (separator, greyed or
// enabled) and caption, a tab between them.
void Describe(HMENU menu, int level, Text& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[256] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = caption;
        info.cch = sizeof caption / sizeof caption[0];
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        const wchar_t levelText[] = {static_cast<wchar_t>(L'0' + level), L'\t', L'\0'};
        out.Add(levelText);
        out.Add(separator ? L"separator\t" : (info.fState & MFS_GRAYED) ? L"greyed\t" : L"enabled\t");
        if (!separator) out.Add(caption);
        out.Add(L"\n");
        if (info.hSubMenu) Describe(info.hSubMenu, level + 1, out);
    }
}

Text& Fresh() {
    static Text text;  // the hook runs on one thread only
    text = Text();
    return text;
}

void Send(const MSG& request, const Text& text) {
    COPYDATASTRUCT data{kMenuText, static_cast<DWORD>(text.bytes()), const_cast<wchar_t*>(text.chars())};
    SendMessageTimeoutW(reinterpret_cast<HWND>(request.wParam), WM_COPYDATA,
                        reinterpret_cast<WPARAM>(request.hwnd), reinterpret_cast<LPARAM>(&data),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
}

void Answer(const MSG& request) {
    Text& text = Fresh();
    auto menu = reinterpret_cast<HMENU>(SendMessageW(request.hwnd, MN_GETHMENU, 0, 0));
    if (menu) Describe(menu, 1, text);
    Send(request, text);
}

// How much room a caption needs in its control's font: check boxes the
// check glyph (13 pixels at 96 DPI, scaled), half a "0" after it and the
// focus rectangle; push buttons their edges; group boxes their caption's
// indent; labels their text wrapped at their width, or on one line.
SIZE Needed(HWND child, HDC dc, const wchar_t* caption, UINT dpi, int width) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    wchar_t kind[16] = L"";
    GetClassNameW(child, kind, 16);
    SIZE text{};
    GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &text);
    INT zero = 0;
    GetCharWidth32W(dc, L'0', L'0', &zero);
    const int type = style & BS_TYPEMASK;
    if (lstrcmpiW(kind, L"Static") == 0 && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP) {
        RECT wrapped{0, 0, width, 0};
        DrawTextW(dc, caption, -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return SIZE{wrapped.right, wrapped.bottom};
    }
    if (lstrcmpiW(kind, L"Button") != 0) return text;
    if (type == BS_GROUPBOX) return SIZE{text.cx + MulDiv(16, dpi, 96), text.cy};
    if (type <= BS_DEFPUSHBUTTON) return SIZE{text.cx + MulDiv(6, dpi, 96), text.cy + MulDiv(4, dpi, 96)};
    return SIZE{MulDiv(13, dpi, 96) + zero / 2 + text.cx + 2, text.cy};
}

// With a DPI in the request, first tells the window its DPI changed to it,
// as the system does when it moves to a monitor of another scale. Then
// answers a line for each control whose caption does not fit it, and
// "done".
void Measure(const MSG& request) {
    HDC screen = GetDC(nullptr);
    const UINT from = GetDeviceCaps(screen, LOGPIXELSY), to = static_cast<UINT>(request.lParam);
    ReleaseDC(nullptr, screen);
    if (to && to != from) {
        RECT place{}, client{};
        GetWindowRect(request.hwnd, &place);
        GetClientRect(request.hwnd, &client);
        RECT outer{0, 0, MulDiv(client.right, to, from), MulDiv(client.bottom, to, from)};
        AdjustWindowRectEx(&outer, GetWindowLongW(request.hwnd, GWL_STYLE), FALSE, GetWindowLongW(request.hwnd, GWL_EXSTYLE));
        RECT suggested{place.left, place.top, place.left + outer.right - outer.left, place.top + outer.bottom - outer.top};
        SendMessageW(request.hwnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    }
    Text& text = Fresh();
    for (HWND child = GetWindow(request.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t caption[1024] = L"", face[LF_FACESIZE] = L"", line[256];
        GetWindowTextW(child, caption, 1024);
        RECT size{};
        GetClientRect(child, &size);
        HDC dc = GetDC(child);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0)));
        const SIZE needed = Needed(child, dc, caption, to ? to : from, size.right);
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        if (needed.cx > size.right || needed.cy > size.bottom) {
            wsprintfW(line, L"control %d in %s needs %d x %d, has %d x %d\n", GetDlgCtrlID(child), face, needed.cx,
                      needed.cy, size.right, size.bottom);
            text.Add(line);
        }
    }
    text.Add(L"done");
    Send(request, text);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ReadMenuHook(int code, WPARAM removed, LPARAM message) {
    // A request looked at without being taken is seen again when it is taken.
    if (code == HC_ACTION && (removed & PM_REMOVE)) {
        const MSG& msg = *reinterpret_cast<const MSG*>(message);
        if (msg.message >= 0xC000 && msg.message == RegisterWindowMessageW(kRequestName)) Answer(msg);
        if (msg.message >= 0xC000 && msg.message == RegisterWindowMessageW(kMeasureName)) Measure(msg);
    }
    return CallNextHookEx(nullptr, code, removed, message);
}
