// The setup program as a player runs it: the wizard's pages in turn, each
// driven through its own controls, and what Finish leaves running.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include <windows.h>
#include <commctrl.h>

#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/registry.h"
#include "tests/win32/support/scratch_folder.h"
#include "tests/win32/support/text.h"

#include "common/version.h"

namespace {

using namespace e2e;

const std::wstring kGameKey = L"SOFTWARE\\Microsoft\\DirectPlay\\Applications\\Age of Empires II - The Conquerors Expansion";
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel";
const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The Modern UI's controls: the header's title on the wizard, the list and
// the description on the components page.
constexpr int kHeaderTitle = 1037, kComponentList = 1032, kDescription = 1043;

// Text of a control of another process, which only the control itself knows.
std::wstring ControlText(HWND control) {
    wchar_t text[1024] = L"";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

HWND VantrelWindow() {
    auto found = FindWindows(WindowQuery{L"" VANTREL_NAME_AND_VERSION, L"Vantrel.Config", 0, false});
    return found.empty() ? nullptr : found.front();
}

class Wizard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(ReadValue(Root::LocalMachine, kUninstallKey, L"DisplayName"))
            << "Vantrel is installed in this prefix already";
        ASSERT_FALSE(VantrelWindow()) << "Vantrel runs already";
        game_ = scratch_.MakeSubfolder(L"Age of Empires II\\age2_x1") + L"\\age2_x1.exe";
        ASSERT_TRUE(CopyFileTo(BuiltProgram(L"standin_game.exe"), game_));
        ASSERT_TRUE(SetValue(Root::LocalMachine, kGameKey, L"Path", game_.substr(0, game_.rfind(L'\\'))));
        ASSERT_TRUE(SetValue(Root::LocalMachine, kGameKey, L"File", L"age2_x1.exe"));
        installDir_ = scratch_ / L"Program Files\\Vantrel";
        trayIcons_ = TrayIcons();
        // Not silent: /D= only fills the folder page in.
        setup_.emplace(BuiltSetupProgram(), L"/D=" + installDir_);
        ASSERT_TRUE(window_ = FindSetupWindow()) << "no setup window";
        // "Vantrel 2.1.0 Setup": the pages' titles name the same.
        const std::wstring caption = WindowText(window_);
        name_ = caption.substr(0, caption.rfind(L" Setup"));
    }
    void TearDown() override {
        if (HWND vantrel = VantrelWindow()) RequestClose(vantrel);
        if (setup_) setup_->WaitForExit(5000ms);
        if (ReadValue(Root::LocalMachine, kUninstallKey, L"DisplayName")) {
            Process uninstall(installDir_ + L"\\uninstall.exe", L"/S _?=" + installDir_);
            uninstall.WaitForExit(60000ms);
        }
        RemoveTree(installDir_);
    }

    HWND FindSetupWindow() {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == setup_->id() && IsWindowVisible(w) && WindowText(w).find(L" Setup") != std::wstring::npos)
                    return (found = w) != nullptr;
            }
            return false;
        }, 10000ms);
        return found;
    }
    HWND Page() const { return FindWindowExW(window_, nullptr, L"#32770", nullptr); }
    // The page's title: the header's, or the welcome or finish page's own.
    bool Shows(const std::wstring& title) const {
        HWND header = Child(window_, kHeaderTitle);
        return (IsWindowVisible(header) && WindowText(header) == title) || ChildByText(Page(), L"Static", title);
    }
    bool WaitForPage(const std::wstring& title) {
        return WaitUntil([&] { return Shows(title) && IsWindowEnabled(Child(window_, IDOK)); }, 30000ms);
    }
    // Next on every page before the finish page, which it waits for; `onPage` sees each first.
    void GoToFinishPage(const std::function<void(const std::wstring&)>& onPage = {}) {
        const std::wstring pages[] = {L"Welcome to " + name_ + L" Setup", L"Choose Components",
                                      L"Choose Install Location", L"Choose the Game", L"Installation Complete"};
        for (const auto& title : pages) {
            ASSERT_TRUE(WaitForPage(title)) << "not the next page: " << Utf8(title);
            if (onPage) onPage(title);
            Click(Child(window_, IDOK));
        }
        ASSERT_TRUE(WaitForPage(L"Completing " + name_ + L" Setup"));
    }
    HWND FinishBox(const std::wstring& text) const { return ChildByText(Page(), L"Button", text); }
    void Finish() {
        Click(Child(window_, IDOK));
        EXPECT_EQ(setup_->WaitForExit(30000ms), 0u);
    }

    // What the description shows with the pointer on the list's row `row`,
    // once it shows another component's than before.
    std::wstring DescriptionOf(int row) {
        HWND list = Child(Page(), kComponentList), description = Child(Page(), kDescription);
        const int height = static_cast<int>(SendMessageW(list, TVM_GETITEMHEIGHT, 0, 0));
        const RECT r = ClientRectOnScreen(list);
        const POINT at{3 * height, row * height + height / 2};
        const std::wstring before = WindowText(description);
        // The list asks where the pointer is when it hears that it moved. The
        // description is disabled while it names no component, and emptied
        // before each new text.
        std::wstring text;
        WaitUntil([&] {
            SetCursorPos(r.left + at.x, r.top + at.y);
            PostMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
            text = WindowText(description);
            return IsWindowEnabled(description) && !text.empty() && text != before;
        }, 5000ms, 100ms);
        return text;
    }

    ScratchFolder scratch_{L"wizard"};
    std::wstring game_, installDir_, name_;
    std::optional<Process> setup_;
    HWND window_ = nullptr;
    int trayIcons_ = 0;
    ScopedValue path_{Root::LocalMachine, kGameKey, L"Path", std::nullopt};
    ScopedValue file_{Root::LocalMachine, kGameKey, L"File", std::nullopt};
    ScopedValue userRun_{Root::CurrentUser, kRunKey, L"Vantrel", std::nullopt};
    ScopedValue machineRun_{Root::LocalMachine, kRunKey, L"Vantrel", L"\"C:\\Older\\Vantrel.exe\""};
    ScopedControlValue starting_{L"Starting", std::nullopt};
};

TEST_F(Wizard, PagesComeInOrderAndFinishStartsVantrelInTheTray) {
    GoToFinishPage([&](const std::wstring& title) {
        if (title == L"Choose Components") {
            const std::wstring stub = DescriptionOf(0), players = DescriptionOf(1), startup = DescriptionOf(2);
            EXPECT_NE(stub, players);
            EXPECT_NE(players, startup);
            EXPECT_NE(startup.find(L"Startup"), std::wstring::npos) << Utf8(startup);
            EXPECT_NE(DescriptionOf(0), players) << "pointing back at the first row";
        } else if (title == L"Choose the Game") {
            // The header is set before the page's controls are made.
            auto field = [&] { return ControlText(FindWindowExW(Page(), nullptr, L"Edit", nullptr)); };
            EXPECT_TRUE(WaitUntil([&] { return field() == game_; })) << Utf8(field());
        }
    });
    ASSERT_TRUE(FinishBox(L"Start Vantrel now"));
    EXPECT_EQ(SendMessageW(FinishBox(L"Start Vantrel now"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(FinishBox(L"Show the README"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Finish();
    EXPECT_TRUE(WaitUntil([] { return VantrelWindow() != nullptr; }, 10000ms)) << "Vantrel did not start";
    EXPECT_TRUE(WaitUntil([&] { return TrayIcons() > trayIcons_; }, 10000ms)) << "no icon in the tray";
}

TEST_F(Wizard, UntickedStartsNothingAndStartupIsTheOneRunValue) {
    GoToFinishPage();
    Click(FinishBox(L"Start Vantrel now"));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(FinishBox(L"Start Vantrel now"), BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    Finish();
    EXPECT_TRUE(StillTrueAfter([] { return VantrelWindow() == nullptr; }, 3000ms)) << "Vantrel started";
    EXPECT_EQ(ReadValue(Root::CurrentUser, kRunKey, L"Vantrel"), L"\"" + installDir_ + L"\\Vantrel.exe\"");
    EXPECT_FALSE(ReadValue(Root::LocalMachine, kRunKey, L"Vantrel")) << "the older value is still there";
    EXPECT_EQ(ReadUserValue(kControlKey, L"Starting"), L"1");
}

}  // namespace
