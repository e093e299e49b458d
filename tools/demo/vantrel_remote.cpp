#include "tools/demo/vantrel_remote.h"

#include "tests/win32/support/desktop.h"
#include "tests/win32/support/text.h"
#include "tools/demo/readings.h"

namespace demo {

namespace {

// The tray icon's callback message and the class of Vantrel's main window.
constexpr UINT kTrayCallback = 1400;
const std::wstring kOptionsClass = L"Vantrel.Config";
const std::wstring kOptionsCaption = L"Vantrel v2.1";

// Keys from a fresh opening of the menu: the greyed item counts, the
// separators do not.
constexpr char kToShowOptions[] = "ddddde";
constexpr char kToExit[] = "dddddddde";

HWND OpenMenuWindow() { return FindWindowW(L"#32768", nullptr); }

void PressKey(WORD key) {
    HWND menu = OpenMenuWindow();
    if (!menu) return;
    PostMessageW(menu, WM_KEYDOWN, key, 0);
    PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
    // One key at a time: the menu handles them in its own loop.
    Sleep(40);
}

}  // namespace

VantrelRemote::VantrelRemote(const std::wstring& program)
    : process_(program, L""), menu_(process_.mainThreadId()) {}

bool VantrelRemote::WaitUntilResident(Milliseconds timeout) {
    options_ = e2e::WaitForWindow({kOptionsCaption, kOptionsClass, process_.id(), false}, timeout);
    if (!options_) return false;
    // The icon answers once start-up is over.
    return e2e::WaitUntil([&] { return Choose("x"); }, timeout, 100ms);
}

bool VantrelRemote::Choose(const std::string& keys) {
    // A window that is still coming to the front takes the focus and with it
    // closes a menu that opened meanwhile: open it again once that settled.
    bool open = false;
    for (int attempt = 0; attempt < 5 && !open; ++attempt) {
        PostMessageW(options_, kTrayCallback, 0, WM_RBUTTONUP);
        if (!e2e::WaitUntil([] { return OpenMenuWindow() != nullptr; }, 1000ms)) continue;
        open = e2e::StillTrueAfter([] { return OpenMenuWindow() != nullptr; }, 100ms);
    }
    if (!open) return false;
    for (char key : keys) {
        switch (key) {
        case 'd': PressKey(VK_DOWN); break;
        case 'e': PressKey(VK_RETURN); break;
        case 'x': PressKey(VK_ESCAPE); break;
        default: return false;
        }
    }
    if (!keys.empty() && (keys.back() == 'e' || keys.back() == 'x'))
        return e2e::WaitUntil([] { return OpenMenuWindow() == nullptr; }, 2000ms);
    return true;
}

std::optional<std::string> VantrelRemote::CurrentVersionCaption() {
    if (!Choose("")) return std::nullopt;
    const std::wstring items = menu_.Read();
    PressKey(VK_ESCAPE);
    if (!e2e::WaitUntil([] { return OpenMenuWindow() == nullptr; }, 2000ms)) return std::nullopt;
    return demo::CurrentVersionCaption(e2e::Utf8(items));
}

bool VantrelRemote::ShowOptions() {
    return Choose(kToShowOptions) && e2e::WaitUntil([&] { return OptionsVisible(); });
}

HWND VantrelRemote::AskToExit() { return Choose(kToExit) ? WaitForMessageBox(3000ms) : nullptr; }

HWND VantrelRemote::Control(const std::wstring& caption) const {
    return e2e::ChildByText(options_, L"Button", caption);
}

bool VantrelRemote::Checked(const std::wstring& boxCaption) const {
    HWND box = Control(boxCaption);
    return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND VantrelRemote::List() const { return FindWindowExW(options_, nullptr, L"ListBox", nullptr); }

int VantrelRemote::EntryIndex(const std::wstring& text) const {
    HWND list = List();
    if (!list) return -1;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0) continue;
        std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
        if (entry == text) return static_cast<int>(i);
    }
    return -1;
}

void VantrelRemote::ClickEntry(int index) {
    if (HWND list = List()) e2e::ClickListEntry(list, index);
}

bool VantrelRemote::EntrySelected(int index) const {
    HWND list = List();
    return list && SendMessageW(list, LB_GETSEL, index, 0) > 0;
}

HWND VantrelRemote::WaitForMessageBox(Milliseconds timeout) const {
    return e2e::WaitForMessageBox(L"Vantrel", process_.id(), timeout);
}

}  // namespace demo
