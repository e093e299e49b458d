#include "tests/win32/vantrel/vantrel_test.h"

#include <sstream>

#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/text.h"
#include "tests/win32/support/wait.h"

namespace e2e {

bool MenuOpen() { return FindWindowW(L"#32768", nullptr) != nullptr; }

bool WaitForMenuClosed() {
    return WaitUntil([] { return !MenuOpen(); }, 2000ms);
}

namespace {

void PressKey(WORD key) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu) return;
    PostMessageW(menu, WM_KEYDOWN, key, 0);
    PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
    Sleep(40);
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wstringstream in(text);
    std::wstring line;
    while (std::getline(in, line)) {
        for (auto& c : line)
            if (c == L'\t') c = L'|';
        lines.push_back(line);
    }
    return lines;
}

std::wstring CaptionOf(const std::vector<std::wstring>& menu, std::size_t index) {
    if (index >= menu.size()) return L"(no item " + std::to_wstring(index) + L")";
    return menu[index].substr(menu[index].find_last_of(L'|') + 1);
}

}  // namespace

VantrelTest::VantrelTest() {
    gameFolder_ = scratch_.MakeSubfolder(L"Games\\Age2_x1");
    saveFolder_ = scratch_.MakeSubfolder(L"Games\\SaveGame");
    marker_ = gameFolder_ + L"\\on.ini";
    gamePath_.emplace(kDirectPlayKey, L"Path", gameFolder_);
    machineRun_.emplace(kRunKey, L"Vantrel", std::nullopt);
    userRun_.emplace(kRunKey, L"Vantrel", std::nullopt);
    launching_.emplace(L"Launching", L"0");
    starting_.emplace(L"Starting", L"0");
    program_.emplace(L"Program", L"0");
}

VantrelTest::~VantrelTest() {
    if (vantrel_ && vantrel_->Running()) {
        // The way a user ends it without a question, so the icon goes too.
        if (IsWindow(config_)) PostMessageW(config_, WM_CLOSE, 0, 0);
        for (HWND box : FindWindows({L"Vantrel", L"#32770", vantrel_->id()}))
            AnswerMessageBox(box, IDCANCEL);
        if (HWND about = FindWindowW(kAboutClass.c_str(), nullptr)) PostMessageW(about, WM_CLOSE, 0, 0);
        vantrel_->WaitForExit(3000ms);
    }
    menuReader_.reset();
    vantrel_.reset();
    // Explorer windows a test opened.
    for (HWND explorer : FindWindows({L"SaveGame", L"ExplorerWClass"})) PostMessageW(explorer, WM_CLOSE, 0, 0);
}

void VantrelTest::StoreOption(const std::wstring& name, std::optional<std::wstring> text) {
    auto& slot = name == L"Launching" ? launching_ : name == L"Starting" ? starting_ : program_;
    slot.reset();
    slot.emplace(name, std::move(text));
}

int VantrelTest::TrayIcons() { return e2e::TrayIcons(); }

void VantrelTest::Start() {
    trayIconsBefore_ = TrayIcons();
    vantrel_ = std::make_unique<Process>(BuiltProgram(L"Vantrel.exe"), L"");
    WaitForInputIdle(vantrel_->handle(), 5000);
    menuReader_ = std::make_unique<OpenMenuReader>(vantrel_->mainThreadId());
    config_ = WaitForWindow({kOptionsTitle, kOptionsClass, vantrel_->id(), false});
    ASSERT_NE(config_, nullptr) << "Vantrel's options window did not appear";
    // The icon answers once start-up is over.
    ASSERT_TRUE(WaitUntil([&] {
        if (!OpenMenu()) return false;
        PressKey(VK_ESCAPE);
        return WaitForMenuClosed();
    })) << "the tray menu never opened";
}

bool VantrelTest::OpenMenu(UINT mouseMessage) {
    PostMessageW(config_, 1400, 0, mouseMessage);
    return WaitUntil(MenuOpen, 500ms);
}

void VantrelTest::Choose(const std::string& keys) {
    // A window of ours that is still coming to the front (the About window
    // just opened, say) or going (the options window just hidden) moves the
    // focus and with it closes a menu that opened meanwhile, sometimes before
    // it could be seen: open it again once things have settled.
    bool open = false;
    for (int attempt = 0; attempt < 5 && !open; ++attempt)
        open = OpenMenu() && StillTrueAfter(MenuOpen, 100ms);
    ASSERT_TRUE(open) << "the tray menu did not open, or kept closing";
    for (char key : keys) {
        switch (key) {
        case 'd': PressKey(VK_DOWN); break;
        case 'u': PressKey(VK_UP); break;
        case 'r': PressKey(VK_RIGHT); break;
        case 'e': PressKey(VK_RETURN); break;
        case 'x': PressKey(VK_ESCAPE); break;
        default: FAIL() << "no key " << key;
        }
    }
    if (!keys.empty() && (keys.back() == 'e' || keys.back() == 'x'))
        WaitForMenuClosed();
}

std::vector<std::wstring> VantrelTest::Menu() {
    Choose("");
    std::vector<std::wstring> items = Lines(menuReader_->Read());
    PressKey(VK_ESCAPE);
    WaitForMenuClosed();
    return items;
}

std::wstring VantrelTest::CurrentVersionCaption() { return CaptionOf(Menu(), 6); }
std::wstring VantrelTest::OptionsCaption() { return CaptionOf(Menu(), 7); }

HWND VantrelTest::WaitForQuestion(std::chrono::milliseconds timeout) {
    return WaitForMessageBox(L"Vantrel", vantrel_->id(), timeout);
}

int VantrelTest::OpenMessageBoxes() {
    return static_cast<int>(FindWindows({L"Vantrel", L"#32770", vantrel_->id()}).size());
}

bool VantrelTest::Checked(int box) { return SendMessageW(GetDlgItem(config_, box), BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<std::wstring> VantrelTest::ListEntries() {
    HWND list = GetDlgItem(config_, IDC_APPLICATION_LIST);
    std::vector<std::wstring> entries;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
        LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
        entries.push_back(text);
    }
    return entries;
}

std::vector<bool> VantrelTest::ListSelection() {
    HWND list = GetDlgItem(config_, IDC_APPLICATION_LIST);
    std::vector<bool> selected;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) selected.push_back(SendMessageW(list, LB_GETSEL, i, 0) > 0);
    return selected;
}

void VantrelTest::ClickEntry(int index) { ClickListEntry(GetDlgItem(config_, IDC_APPLICATION_LIST), index); }

int VantrelTest::EntryIndex(const std::wstring& title) {
    auto entries = ListEntries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == title) return static_cast<int>(i);
    return -1;
}

bool VantrelTest::EndByCloseButton() {
    PostMessageW(config_, WM_CLOSE, 0, 0);
    return vantrel_->WaitForExit(5000ms).has_value();
}

}  // namespace e2e
