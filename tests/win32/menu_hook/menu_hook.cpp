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

// Tells the window, laid out for the screen's DPI, that its DPI changed, as
// the system does when it moves to a monitor of another scale, suggesting
// the same client area scaled.
void ChangeDpi(HWND window, UINT from, UINT to) {
    RECT place{}, client{};
    GetWindowRect(window, &place);
    GetClientRect(window, &client);
    RECT outer{0, 0, MulDiv(client.right, to, from), MulDiv(client.bottom, to, from)};
    AdjustWindowRectEx(&outer, GetWindowLongW(window, GWL_STYLE), FALSE, GetWindowLongW(window, GWL_EXSTYLE));
    RECT suggested{place.left, place.top, place.left + outer.right - outer.left, place.top + outer.bottom - outer.top};
    SendMessageW(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
}

// One line per child window: id, class, style, then the control's width and
// height, its caption's extent on one line, the font's line height, the
// width and height of the caption wrapped at the control's width, and the
// width of the digit 0 (buttons set their check glyph half of it apart),
// the font's face.
void Measure(const MSG& request) {
    HDC screen = GetDC(nullptr);
    const UINT from = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY)), to = static_cast<UINT>(request.lParam);
    ReleaseDC(nullptr, screen);
    if (to && to != from) ChangeDpi(request.hwnd, from, to);
    Text& text = Fresh();
    for (HWND child = GetWindow(request.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t caption[1024] = L"", kind[64] = L"", line[256];
        GetWindowTextW(child, caption, 1024);
        GetClassNameW(child, kind, 64);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        RECT size{}, wrapped{};
        GetClientRect(child, &size);
        wrapped.right = size.right;
        HDC dc = GetDC(child);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        DrawTextW(dc, caption, -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        INT zero = 0;
        GetCharWidth32W(dc, L'0', L'0', &zero);
        wchar_t face[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        wsprintfW(line, L"%d\t%s\t%lu\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\n", GetDlgCtrlID(child), kind,
                  static_cast<unsigned long>(style), size.right, size.bottom, extent.cx, metrics.tmHeight,
                  wrapped.right, wrapped.bottom, zero, face);
        text.Add(line);
    }
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
