// GameSwap.exe: the part of setup and of the uninstaller that touches the
// game folder. The installer runs it from its own temporary folder and shows
// what it prints.
//
//   GameSwap.exe [/log=<file>] install <Brennic.exe to put in front> [<game executable>]
//   GameSwap.exe [/log=<file>] uninstall
//   GameSwap.exe [/log=<file>] service <VantrelSwitch.exe> [<game executable>]
//                                                            let players switch builds through the
//                                                            switch service, installed from there
//   GameSwap.exe [/log=<file>] stopservice                   stop it, so its program can be replaced
//   GameSwap.exe [/log=<file>] unservice                     take back what service did
//   GameSwap.exe [/log=<file>] folder <install folder>       is it safe for Vantrel? 0: yes, 1: its
//                                                            subfolder Vantrel (made) is, 2: neither
//   GameSwap.exe [/log=<file>] samefolder <earlier> <chosen> 0: one folder, 1: two, 2: cannot tell
//
// install also carries the game executable's compatibility layers and
// firewall rules over to Brennic_Original.exe; uninstall removes them and
// takes back what service did.
//
// The exit code is setup::ExitCode of the outcome, or 64 for a command line
// it does not understand. With /log= it also adds what it printed, whole and
// dated, to that file: the installer can show only the first kilobyte, and a
// silent run shows nothing.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "common/build_marker.h"
#include "platform/win32/setup_log.h"
#include "platform/win32/system_library.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_services.h"
#include "setup/game_swap.h"
#include "setup/install_folder.h"
#include "setup/path_settings.h"
#include "setup/switch_service.h"

namespace {

constexpr int kUsage = 64;

std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR* list = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; list && i < count; ++i) arguments.push_back(platform::win32::Narrow(list[i]));
    if (list) ::LocalFree(list);
    return arguments;
}

// In the console's code page when there is a console, else in the ANSI code
// page, which is how the installer reads a program's output.
void Print(const std::string& text) {
    const std::wstring wide = platform::win32::Widen(text + "\n");
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)) return;
    const std::string ansi = platform::win32::ToAnsi(wide);
    ::WriteFile(out, ansi.data(), static_cast<DWORD>(ansi.size()), &written, nullptr);
}

std::string TwoDigits(unsigned number) { return std::string(1, char('0' + number / 10 % 10)) + char('0' + number % 10); }

// "2026-12-07 17:40:02 (UTC)"
std::string Now() {
    SYSTEMTIME t{};
    ::GetSystemTime(&t);
    return TwoDigits(t.wYear / 100) + TwoDigits(t.wYear) + "-" + TwoDigits(t.wMonth) + "-" + TwoDigits(t.wDay) + " " +
           TwoDigits(t.wHour) + ":" + TwoDigits(t.wMinute) + ":" + TwoDigits(t.wSecond) + " (UTC)";
}

class Run {
public:
    Run(std::string log, std::string command) : log_(std::move(log)), command_(std::move(command)) {}

    int Finish(const setup::Report& report) {
        const int code = setup::ExitCode(report.outcome);
        Print(report.message);
        if (!log_.empty()) {
            std::string text = report.message;
            for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.replace(at, 1, "\r\n");
            // The words reached the installer already; a log that cannot be
            // written must not turn the outcome into a failure.
            if (platform::Status s = platform::win32::AppendToSetupLog(
                    log_, Now() + "  GameSwap " + command_ + ", exit code " + std::to_string(code) + ":\r\n" + text +
                              "\r\n\r\n");
                !s)
                Print(s.message() + ".");
        }
        return code;
    }

private:
    std::string log_, command_;
};

}  // namespace

int main() {
    // It runs elevated from setup's temporary folder, where anything may lie.
    platform::win32::LimitLibrarySearchToSystemFolder();
    auto arguments = Arguments();
    std::string log;
    if (!arguments.empty() && arguments[0].rfind("/log=", 0) == 0) {
        log = arguments[0].substr(5);
        arguments.erase(arguments.begin());
    }
    platform::win32::Win32Services os;
    platform::win32::Win32SetupServices system;
    const std::string command = arguments.empty() ? "" : arguments[0];
    Run run(log, command);
    auto Finish = [&run](const setup::Report& report) { return run.Finish(report); };
    if (arguments.size() == 1 && (command == "uninstall" || command == "unservice")) {
        setup::Report report = command == "uninstall"
                                   ? setup::GiveGameBack(os)
                                   : setup::Report{setup::Outcome::Done, "Players may not switch builds through "
                                                                         "the build switch service."};
        if (report.outcome != setup::Outcome::Done && report.outcome != setup::Outcome::Skipped) return Finish(report);
        const std::string notBack = (command == "uninstall" ? setup::RemoveCarriedSettings(os, system) : "") +
                                    setup::TakeBackPlayersSwitch(os, system);
        if (!notBack.empty())
            report = {setup::Outcome::Broken, report.message + "\nWhat setup added could not all be taken back:\n" +
                                                  notBack + "Run the uninstaller again to try once more."};
        return Finish(report);
    }
    if (arguments.size() == 2 && command == "folder") {
        const setup::InstallFolder place = setup::ChooseInstallFolder(os, system, arguments[1]);
        return Finish({place.outcome, place.message});
    }
    if (arguments.size() == 3 && command == "samefolder") {
        auto same = setup::SameFolder(os, arguments[1], arguments[2]);
        if (!same) return Finish({setup::Outcome::Refused, same.message()});
        if (*same) return Finish({setup::Outcome::Done, arguments[2] + " is the folder " + arguments[1] + "."});
        return Finish({setup::Outcome::Skipped, arguments[2] + " is another folder than " + arguments[1] + "."});
    }
    if ((arguments.size() == 2 || arguments.size() == 3) && command == "service") {
        auto game = setup::FindGame(os, arguments.size() == 3 ? arguments[2] : "");
        if (!game) return Finish({setup::Outcome::Skipped, game.message()});
        return Finish(setup::LetPlayersSwitch(os, system, *game, arguments[1]));
    }
    if (arguments.size() == 1 && command == "stopservice") {
        if (platform::Status s = system.StopService(common::kSwitchServiceName); !s)
            return Finish({setup::Outcome::Refused, s.message()});
        return Finish({setup::Outcome::Done, "The build switch service is not running."});
    }
    if ((arguments.size() == 2 || arguments.size() == 3) && command == "install") {
        auto stub = os.ReadFileBytes(arguments[1]);
        if (!stub) return Finish({setup::Outcome::Refused, stub.message()});
        const bool chosen = arguments.size() == 3 && !arguments[2].empty();
        auto game = setup::FindGame(os, chosen ? arguments[2] : "");
        if (!game) {
            // A game the user named must be there; a registration that does
            // not lead to one only means there is nothing to put Brennic in
            // front of.
            if (chosen) return Finish({setup::Outcome::Refused, game.message() + "\nNothing was changed."});
            return Finish({setup::Outcome::Skipped, game.message() + "\nBrennic was not put in front of the game."});
        }
        setup::Report report = setup::PutStubInFront(os, *game, *stub);
        if (report.outcome == setup::Outcome::Done || report.outcome == setup::Outcome::Updated) {
            const std::string carried = setup::CarryOverPathSettings(os, system, *game);
            if (!carried.empty()) report.message += "\n" + carried.substr(0, carried.size() - 1);
        }
        return Finish(report);
    }
    Print("Usage: GameSwap.exe [/log=<file>] install <Brennic.exe> [<game executable>] | uninstall | "
          "service <VantrelSwitch.exe> [<game executable>] | stopservice | unservice | "
          "folder <folder> | samefolder <folder> <folder>");
    return kUsage;
}
