#pragma once
// A game folder of a test's own: Brennic.exe, the stand-in game as
// Brennic_Original.exe, and whatever else the test puts there; the option
// "Launching" set for the test and put back after it.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "stub/win32/resource.h"
#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/registry.h"
#include "tests/win32/support/scratch_folder.h"
#include "tests/win32/support/standin_record.h"
#include "tests/win32/support/text.h"

namespace stub_e2e {

using namespace e2e;

inline const std::wstring kCaption = L"Vantrel v2.1";
inline const std::wstring kMessageTitle = L"Brennic";
inline const std::wstring kWindowClass = L"Brennic";

class StubTest : public ::testing::Test {
protected:
    // Lays out the game folder below a new scratch folder; `folder` may be a
    // relative path of several levels, with blanks in it.
    void LayOut(const std::wstring& folder = L"Age2_x1", bool withGame = true) {
        scratch_ = std::make_unique<ScratchFolder>(L"stub");
        game_ = scratch_->MakeSubfolder(folder);
        ASSERT_TRUE(CopyFileTo(BuiltProgram(L"Brennic.exe"), Path(L"Brennic.exe")));
        if (withGame) {
            ASSERT_TRUE(CopyFileTo(BuiltProgram(L"standin_game.exe"), Path(L"Brennic_Original.exe")));
        }
    }
    void SetUp() override { LayOut(); }

    // nothing: never stored.
    void SetLaunching(std::optional<std::wstring> text) {
        launching_.reset();
        launching_ = std::make_unique<ScopedControlValue>(L"Launching", std::move(text));
    }

    std::unique_ptr<Process> StartStub(const std::wstring& arguments = L"") {
        return std::make_unique<Process>(Path(L"Brennic.exe"), arguments, scratch_->path());
    }

    // Starts the stub and waits for it to end; answers its exit code.
    std::optional<DWORD> RunStub(const std::wstring& arguments = L"", Milliseconds timeout = 5000ms) {
        auto stub = StartStub(arguments);
        return stub->WaitForExit(timeout);
    }

    // The stub's window, once it is shown.
    HWND WaitForStubWindow(const Process& stub, Milliseconds timeout = 5000ms) {
        return WaitForWindow(WindowQuery{kCaption, kWindowClass, stub.id(), true}, timeout);
    }
    HWND Build10cButton(HWND window) { return Child(window, IDC_BUILD_10C); }
    HWND Build10eButton(HWND window) { return Child(window, IDC_BUILD_10E); }

    std::wstring Path(const std::wstring& name) const { return game_ + L"\\" + name; }
    std::wstring Marker() const { return Path(L"on.ini"); }
    std::wstring Log() const { return Path(L"WriteCommandTxt.ini"); }
    std::vector<StandinRecord> Records() const { return ReadStandinRecordsIn(game_); }
    // Waits for the game's first start; answers all records then.
    std::vector<StandinRecord> WaitForGame(Milliseconds timeout = 5000ms) const {
        WaitUntil([&] { return !Records().empty(); }, timeout);
        return Records();
    }
    std::optional<std::string> LogBytes() const { return ReadFileBytes(Log()); }

    // The system's own words for an error code, as messages quote them.
    static std::string SystemReason(DWORD code) {
        wchar_t* buffer = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
        std::wstring text = buffer ? buffer : L"";
        if (buffer) LocalFree(buffer);
        while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'.'))
            text.pop_back();
        return Utf8(text);
    }

    std::unique_ptr<ScratchFolder> scratch_;
    std::wstring game_;
    std::unique_ptr<ScopedControlValue> launching_;
};

}  // namespace stub_e2e
