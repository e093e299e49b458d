// Runs inside the program under test, on the thread the test hooked. When a
// request to read the menu comes through that thread's queue, it reads the
// popup menu the request was posted to and sends its items to the window
// named in the request. Nothing here allocates: the program's own heap and
// runtime are not ours to disturb.

#include <windows.h>

#include <cstddef>

namespace {

constexpr wchar_t kRequestName[] = L"VantrelTests.ReadOpenMenu";
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

void Answer(const MSG& request) {
    static Text text;  // the hook runs on one thread only
    text = Text();
    auto menu = reinterpret_cast<HMENU>(SendMessageW(request.hwnd, MN_GETHMENU, 0, 0));
    if (menu) Describe(menu, 1, text);
    COPYDATASTRUCT data{kMenuText, static_cast<DWORD>(text.bytes()), const_cast<wchar_t*>(text.chars())};
    SendMessageTimeoutW(reinterpret_cast<HWND>(request.wParam), WM_COPYDATA,
                        reinterpret_cast<WPARAM>(request.hwnd), reinterpret_cast<LPARAM>(&data),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ReadMenuHook(int code, WPARAM removed, LPARAM message) {
    // A request looked at without being taken is seen again when it is taken.
    if (code == HC_ACTION && (removed & PM_REMOVE)) {
        const MSG& msg = *reinterpret_cast<const MSG*>(message);
        if (msg.message >= 0xC000 && msg.message == RegisterWindowMessageW(kRequestName)) Answer(msg);
    }
    return CallNextHookEx(nullptr, code, removed, message);
}
