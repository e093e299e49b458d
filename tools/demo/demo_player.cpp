// The demo's player: takes the user's part in a typical launch on a running
// Vantrel.exe and a prepared game installation, tells each step as it
// happens and checks that the programs did what they should. Its command
// line is described in player_settings.h.
//
// The narration goes to standard output. Its last line is "verdict " and the
// one line that says whether every step held. Exit code: 0 when every step
// held, 1 when one did not, 2 for a command line it does not understand.

#include <windows.h>

#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/registry.h"
#include "tests/win32/support/standin_record.h"
#include "tests/win32/support/text.h"
#include "tools/demo/narrator.h"
#include "tools/demo/player_settings.h"
#include "tools/demo/readings.h"
#include "tools/demo/screenshots.h"
#include "tools/demo/vantrel_remote.h"

namespace demo {
namespace {

using e2e::Utf8;
using e2e::Wide;

const std::wstring kAppCaption = L"Team Chat";
const std::wstring kLaunchingBox = L"Ask me to switch 1.0e when 'Host is launching game'";
const std::wstring kProgramBox = L"End selected aplications when The Conquerors is runned";
const std::wstring kQuestion = L"Do you want to swtich 1.0e?\r\nOK for 1.0e\r\nCancel for 1.0c";
const std::wstring kExitQuestion = L"Do you really want to exit Vantrel?";
const std::wstring kStubCaption = L"Vantrel v2.1";
const std::wstring kStubClass = L"Brennic";
const std::wstring kGameTitle = L"Age Of Empires II Expansion";
// What a lobby passes to the game, with a quoted part to show that it
// travels unchanged.
const std::wstring kGameArguments = L"NOSTARTUP NORMALMOUSE -lobby \"Saturday 2v2\"";
// The host starts the game 3 s after its window appears: time for the
// player to answer the question first, as a real player would.
const std::wstring kHostTiming = L"/launch:3000 /close:5000";

Area AreaOf(HWND window) {
    RECT r = e2e::WindowRectOnScreen(window);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// A window is on the screen some moments before its controls are drawn:
// have its thread paint everything now, then wait for one more trip through
// its message queue, which Wine's drawing reaches the screen on.
void FinishPainting(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &ignored);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &ignored);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
std::string Quoted(const std::wstring& text) { return Quoted(Utf8(text)); }

class Demo {
public:
    Demo(PlayerSettings settings, Photographer& photographer)
        : s_(std::move(settings)),
          photographer_(photographer),
          narrator_(std::cout, {"Vantrel in the tray at 1.0c", "options set", "the 1.0e question",
                                "1.0e current", "Brennic's window", "the game started as launched",
                                "the log line", "the game's window", "the application closed",
                                "Vantrel exited"}) {}

    int Run() {
        using Step = bool (Demo::*)();
        // Without Vantrel in the tray with its options set, and the question
        // answered, the later steps cannot happen at all: the run stops there.
        const struct {
            Step step;
            bool needed;
        } steps[] = {{&Demo::StartInTray, false},    {&Demo::SetOptions, true},
                     {&Demo::AnswerQuestion, true},  {&Demo::CheckNowE, false},
                     {&Demo::WatchStub, false},      {&Demo::CheckGameStart, false},
                     {&Demo::CheckLogLine, false},   {&Demo::CheckGameWindow, false},
                     {&Demo::CheckAppClosed, false}, {&Demo::ExitVantrel, false}};
        for (const auto& s : steps)
            if (!(this->*s.step)() && s.needed) break;
        CleanUp();
        std::cout << "verdict " << narrator_.ledger().Verdict() << std::endl;
        return narrator_.ledger().AllHeld() ? 0 : 1;
    }

private:
    std::wstring Marker() const { return s_.game + L"\\on.ini"; }
    std::wstring Stub() const { return s_.game + L"\\Brennic.exe"; }
    std::wstring Original() const { return s_.game + L"\\Brennic_Original.exe"; }
    std::wstring Log() const { return s_.game + L"\\WriteCommandTxt.ini"; }

    // A screenshot of the step's window; one that cannot be saved spoils the
    // step, since showing it is the demo's job.
    void Shoot(const std::string& name, HWND window) {
        if (!photographer_.enabled()) return;
        FinishPainting(window);
        Shot shot = photographer_.Take(name, AreaOf(window));
        if (narrator_.Expect(shot.saved, "no screenshot: " + shot.detail)) narrator_.Say("Screenshot: " + shot.detail);
    }

    bool CurrentIs(const std::string& build, std::optional<std::string>& caption) {
        caption = vantrel_->CurrentVersionCaption();
        return caption && BuildNamedBy(*caption) == build;
    }

    bool StartInTray() {
        narrator_.Begin("Vantrel.exe starts in the tray; which build is current");
        try {
            vantrel_ = std::make_unique<VantrelRemote>(s_.vantrel);
        } catch (const std::runtime_error& e) {
            narrator_.Expect(false, e.what());
            return narrator_.End();
        }
        narrator_.Say("Started " + Utf8(s_.vantrel) + ".");
        resident_ = vantrel_->WaitUntilResident(15000ms);
        if (!narrator_.Expect(resident_, "its tray icon did not answer within 15 s")) return narrator_.End();
        narrator_.Say("Its icon is in the notification area and opens the menu; the options window is hidden.");
        std::optional<std::string> caption;
        const bool menuSaysC = CurrentIs("1.0c", caption);
        const bool marker = e2e::FileExists(Marker());
        narrator_.Say("The menu says " + Quoted(caption.value_or("(unreadable)")) + "; " + Utf8(s_.game) +
                      (marker ? " holds on.ini." : " has no on.ini."));
        narrator_.Expect(menuSaysC && !marker, "1.0c should be current at the start, and the menu should say so");
        return narrator_.End();
    }

    bool SetOptions() {
        narrator_.Begin("the user opens the options, checks two boxes and picks an application to close");
        if (!narrator_.Expect(resident_, "Vantrel is not in the tray")) return narrator_.End();
        try {
            app_ = std::make_unique<e2e::Process>(s_.app, L"\"" + kAppCaption + L"\"");
        } catch (const std::runtime_error& e) {
            narrator_.Expect(false, e.what());
            return narrator_.End();
        }
        if (!narrator_.Expect(e2e::WaitForWindow({kAppCaption, L"", app_->id()}, 5000ms) != nullptr,
                              "the stand-in application's window did not appear"))
            return narrator_.End();
        narrator_.Say("A stand-in application is open: the window " + Quoted(kAppCaption) + ".");

        if (!narrator_.Expect(vantrel_->ShowOptions(), "\"Show Options\" did not show the options window"))
            return narrator_.End();
        narrator_.Say("Tray menu, \"Show Options\": the window \"Vantrel v2.1\" is shown.");

        for (const std::wstring& box : {kLaunchingBox, kProgramBox}) {
            // Stored as "1" by an earlier run, a box is checked already; the
            // list is then filled from the windows there were at start-up,
            // so the user unchecks and checks it to fill it anew.
            if (vantrel_->Checked(box)) {
                e2e::Click(vantrel_->Control(box));
                e2e::WaitUntil([&] { return !vantrel_->Checked(box); });
                narrator_.Say("Unchecked " + Quoted(box) + ", which was checked already.");
            }
            e2e::Click(vantrel_->Control(box));
            if (!narrator_.Expect(e2e::WaitUntil([&] { return vantrel_->Checked(box); }),
                                  "the box " + Quoted(box) + " could not be checked"))
                return narrator_.End();
            narrator_.Say("Checked " + Quoted(box) + ".");
        }
        int entry = -1;
        e2e::WaitUntil([&] { return (entry = vantrel_->EntryIndex(kAppCaption)) >= 0; }, 3000ms);
        if (!narrator_.Expect(entry >= 0, "the list of windows does not hold " + Quoted(kAppCaption)))
            return narrator_.End();
        vantrel_->ClickEntry(entry);
        if (!narrator_.Expect(e2e::WaitUntil([&] { return vantrel_->EntrySelected(entry); }),
                              "the entry " + Quoted(kAppCaption) + " could not be selected"))
            return narrator_.End();
        narrator_.Say("The list shows the open windows' titles; selected " + Quoted(kAppCaption) + ".");
        Shoot("options", vantrel_->options());

        // The boxes store their options at once; Brennic reads "Launching".
        auto stored = [](const wchar_t* name) {
            return e2e::ReadValue(e2e::Root::CurrentUser, e2e::kControlKey, name).value_or(L"(none)");
        };
        const std::wstring launching = stored(L"Launching"), program = stored(L"Program");
        narrator_.Say("Stored options: Launching = " + Quoted(launching) + ", Program = " + Quoted(program) + ".");
        narrator_.Expect(launching == L"1" && program == L"1", "both options should be stored as \"1\"");

        e2e::Click(vantrel_->Control(L"OK"));
        narrator_.Expect(e2e::WaitUntil([&] { return !vantrel_->OptionsVisible(); }),
                         "OK did not hide the options window");
        narrator_.Say("Clicked OK: the window is hidden; Vantrel stays in the tray.");
        return narrator_.End();
    }

    bool AnswerQuestion() {
        narrator_.Begin("the game's host launches the game; Vantrel asks about 1.0e");
        logBefore_ = e2e::ReadFileBytes(Log()).value_or("");
        // The game keeps its window until the player closes it.
        gameWindow_ = std::make_unique<e2e::ScopedEnvironment>(L"VANTREL_STANDIN_WINDOW_MS", L"60000");
        try {
            host_ = std::make_unique<e2e::Process>(s_.host,
                                                   kHostTiming + L" \"" + Stub() + L"\" " + kGameArguments);
        } catch (const std::runtime_error& e) {
            narrator_.Expect(false, e.what());
            return narrator_.End();
        }
        narrator_.Say("The stand-in host shows \"Host is Launching game.\"; in 3 s it will start");
        narrator_.Say("  " + Utf8(Stub()) + " " + Utf8(kGameArguments));
        HWND box = vantrel_->WaitForMessageBox(3000ms);
        if (!narrator_.Expect(box != nullptr, "Vantrel asked nothing within 3 s")) return narrator_.End();
        const std::wstring text = e2e::MessageBoxText(box);
        narrator_.Say("Vantrel asks (message box \"Vantrel\"):");
        std::string shown = Utf8(text);
        for (std::size_t at = 0; at != std::string::npos;) {
            std::size_t end = shown.find("\r\n", at);
            narrator_.Say("  | " + shown.substr(at, end == std::string::npos ? end : end - at));
            at = end == std::string::npos ? end : end + 2;
        }
        narrator_.Expect(text == kQuestion, "that is not the question expected");
        Shoot("question", box);
        e2e::AnswerMessageBox(box, IDOK);
        narrator_.Say("Answered OK.");
        narrator_.Expect(e2e::WaitForWindowGone(box, 2000ms), "the question stayed open after OK");
        return narrator_.End();
    }

    bool CheckNowE() {
        narrator_.Begin("1.0e is current");
        const bool marker = e2e::WaitUntil([&] { return e2e::FileExists(Marker()); }, 3000ms);
        std::optional<std::string> caption;
        const bool menuSaysE = CurrentIs("1.0e", caption);
        narrator_.Say(Utf8(s_.game) + (marker ? " now holds on.ini" : " still has no on.ini") + "; the menu says " +
                      Quoted(caption.value_or("(unreadable)")) + ".");
        narrator_.Expect(marker && menuSaysE, "after OK, on.ini should exist and the menu should name 1.0e");
        return narrator_.End();
    }

    bool WatchStub() {
        narrator_.Begin("the host starts Brennic.exe, which offers both builds for a second");
        HWND stub = e2e::WaitForWindow({kStubCaption, kStubClass}, 8000ms);
        if (!narrator_.Expect(stub != nullptr, "Brennic's window did not appear")) return narrator_.End();
        const bool buttons = e2e::ChildByText(stub, L"Button", L"The Conquerors 1.0c") &&
                             e2e::ChildByText(stub, L"Button", L"The Conquerors 1.0e");
        narrator_.Say("Brennic.exe (\"Launching\" is 1) shows its window with the buttons");
        narrator_.Say("\"The Conquerors 1.0c\" and \"The Conquerors 1.0e\".");
        narrator_.Expect(buttons, "the window lacks one of its two buttons");
        Shoot("brennic", stub);
        if (photographer_.enabled() && !IsWindow(stub))
            narrator_.Say("(It closed while the screenshot was taken; the picture may miss it.)");
        narrator_.Expect(e2e::WaitForWindowGone(stub, 5000ms), "Brennic's window stayed open");
        narrator_.Say("Nobody pressed a button: Brennic's timer started the game and the window closed.");
        return narrator_.End();
    }

    bool CheckGameStart() {
        narrator_.Begin("the game starts with the host's command line, as 1.0e");
        std::vector<e2e::StandinRecord> records;
        auto read = [&] {
            try {
                records = e2e::ReadStandinRecordsIn(s_.game);
            } catch (const std::runtime_error&) {
                records.clear();  // half written: read again
            }
            return !records.empty();
        };
        if (!narrator_.Expect(e2e::WaitUntil(read, 8000ms), "the stand-in game was not started"))
            return narrator_.End();
        const e2e::StandinRecord& game = records.back();
        narrator_.Say("Started: " + game.program);
        narrator_.Say("Its command line: " + game.commandLine);
        narrator_.Expect(records.size() == 1, "the game was started " + std::to_string(records.size()) + " times");
        narrator_.Expect(_wcsicmp(Wide(game.program).c_str(), Original().c_str()) == 0,
                         "that is not " + Utf8(Original()));
        if (narrator_.Expect(Wide(game.arguments) == kGameArguments,
                             "its arguments are not those the host passed: " + Utf8(kGameArguments)))
            narrator_.Say("Its arguments are exactly those the host passed.");
        if (narrator_.Expect(game.marker == "present",
                             "on.ini was " + game.marker + " when the game started: it did not start as 1.0e"))
            narrator_.Say("on.ini was there when it started: the game runs as 1.0e.");
        return narrator_.End();
    }

    bool CheckLogLine() {
        narrator_.Begin("Brennic logs the command line");
        const auto after = e2e::ReadFileBytes(Log());
        const auto added = AppendedText(logBefore_, after.value_or(""));
        if (narrator_.Expect(added.has_value(), "WriteCommandTxt.ini was rewritten, not appended to"))
            narrator_.Say("WriteCommandTxt.ini gained: " + WithoutLineEnd(*added));
        narrator_.Expect(added == CommandLogLine(Utf8(kGameArguments)),
                         "the log should gain exactly the line " +
                             WithoutLineEnd(CommandLogLine(Utf8(kGameArguments))) + " and its CR LF");
        return narrator_.End();
    }

    bool CheckGameWindow() {
        narrator_.Begin("the game's window appears");
        game_ = e2e::WaitForWindow({kGameTitle, L""}, 5000ms);
        if (!narrator_.Expect(game_ != nullptr, "no window " + Quoted(kGameTitle))) return narrator_.End();
        narrator_.Say("The window " + Quoted(kGameTitle) + " is open.");
        Shoot("game", game_);
        return narrator_.End();
    }

    bool CheckAppClosed() {
        narrator_.Begin("Vantrel closes the application picked for closing");
        std::optional<DWORD> code;
        if (app_) code = app_->WaitForExit(5000ms);
        if (narrator_.Expect(code.has_value(), Quoted(kAppCaption) + " is still open 5 s after the game's window"))
            narrator_.Say("Vantrel saw the game's window and asked " + Quoted(kAppCaption) +
                          " to close (WM_CLOSE); it closed.");
        if (code && *code != 0)
            narrator_.Expect(false, "it ended with code " + std::to_string(*code) + ", not by a close request");
        narrator_.Expect(game_ && IsWindow(game_), "the game's own window went too");
        return narrator_.End();
    }

    bool ExitVantrel() {
        narrator_.Begin("the user exits Vantrel from its menu");
        if (game_ && IsWindow(game_)) {
            e2e::RequestClose(game_);
            e2e::WaitForWindowGone(game_, 3000ms);
            narrator_.Say("The game has been played and closed.");
        }
        HWND box = vantrel_->AskToExit();
        if (!narrator_.Expect(box != nullptr, "\"Exit\" brought no question")) return narrator_.End();
        const std::wstring text = e2e::MessageBoxText(box);
        narrator_.Say("Tray menu, \"Exit\": Vantrel asks " + Quoted(text));
        narrator_.Expect(text == kExitQuestion, "that is not the question expected");
        Shoot("exit", box);
        e2e::AnswerMessageBox(box, IDOK);
        narrator_.Say("Answered OK.");
        if (narrator_.Expect(vantrel_->process().WaitForExit(5000ms).has_value(),
                             "Vantrel.exe still runs 5 s after OK"))
            narrator_.Say("Vantrel.exe has ended.");
        narrator_.Expect(e2e::WaitUntil([] { return e2e::TrayIcons() == 0; }, 3000ms), "its tray icon stayed");
        return narrator_.End();
    }

    // Whatever a failed step left running goes, so the next run starts clean.
    void CleanUp() {
        if (game_ && IsWindow(game_)) e2e::RequestClose(game_);
        if (host_) host_->WaitForExit(6000ms);
        host_.reset();
        app_.reset();
        if (vantrel_ && vantrel_->process().Running()) {
            if (vantrel_->options()) PostMessageW(vantrel_->options(), WM_CLOSE, 0, 0);
            vantrel_->process().WaitForExit(3000ms);
        }
        vantrel_.reset();
        gameWindow_.reset();
    }

    PlayerSettings s_;
    Photographer& photographer_;
    Narrator narrator_;
    std::unique_ptr<VantrelRemote> vantrel_;
    std::unique_ptr<e2e::Process> app_, host_;
    std::unique_ptr<e2e::ScopedEnvironment> gameWindow_;
    std::string logBefore_;
    HWND game_ = nullptr;
    bool resident_ = false;
};

}  // namespace
}  // namespace demo

int wmain(int argc, wchar_t** argv) {
    auto settings = demo::ParsePlayerSettings(std::vector<std::wstring>(argv + 1, argv + argc));
    if (!settings) {
        std::cerr << "usage: demo_player /vantrel:PATH /game:FOLDER /host:PATH /app:PATH [/shots]\n";
        return 2;
    }
    demo::Photographer photographer(settings->shots ? &std::cin : nullptr, settings->shots ? &std::cout : nullptr);
    return demo::Demo(std::move(*settings), photographer).Run();
}
