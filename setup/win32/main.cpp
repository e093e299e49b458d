// GameSwap.exe: the part of setup and of the uninstaller that touches the
// game folder. The installer runs it from its own temporary folder and shows
// what it prints.
//
//   GameSwap.exe install <Brennic.exe to put in front> [<game executable>]
//   GameSwap.exe uninstall
//
// The exit code is setup::ExitCode of the outcome, or 64 for a command line
// it does not understand.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win32/text.h"
#include "platform/win32/win32_services.h"
#include "setup/game_swap.h"

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

int Finish(const setup::Report& report) {
    Print(report.message);
    return setup::ExitCode(report.outcome);
}

}  // namespace

int main() {
    const auto arguments = Arguments();
    platform::win32::Win32Services os;
    if (arguments.size() == 1 && arguments[0] == "uninstall") return Finish(setup::GiveGameBack(os));
    if ((arguments.size() == 2 || arguments.size() == 3) && arguments[0] == "install") {
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
        return Finish(setup::PutStubInFront(os, *game, *stub));
    }
    Print("Usage: GameSwap.exe install <Brennic.exe> [<game executable>] | GameSwap.exe uninstall");
    return kUsage;
}
