// bench_launch_floor: the least a launch stub can do, the floor its cost is
// measured against: start Brennic_Original.exe from its own folder with its
// own argument text, and end. Nothing is read, logged or shown, and nothing
// but KERNEL32 is called.

#include <windows.h>

namespace {

// The command line after the program's name, as the started game gets it.
const wchar_t* ArgumentsOf(const wchar_t* commandLine) {
    const wchar_t* at = commandLine;
    if (*at == L'"') {
        for (++at; *at && *at != L'"'; ++at) {}
        if (*at) ++at;
    } else {
        while (*at && *at != L' ' && *at != L'\t') ++at;
    }
    while (*at == L' ' || *at == L'\t') ++at;
    return at;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    constexpr wchar_t kGame[] = L"Brennic_Original.exe";
    wchar_t program[MAX_PATH + 64];
    const DWORD length = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    DWORD folderEnd = length;
    while (folderEnd > 0 && program[folderEnd - 1] != L'\\') --folderEnd;
    ::lstrcpyW(program + folderEnd, kGame);

    // "<program>" <arguments>: CreateProcessW may write into it.
    static wchar_t commandLine[32768];
    commandLine[0] = L'"';
    ::lstrcpyW(commandLine + 1, program);
    ::lstrcatW(commandLine, L"\" ");
    const wchar_t* arguments = ArgumentsOf(::GetCommandLineW());
    if (::lstrlenW(commandLine) + ::lstrlenW(arguments) >= 32768) return 1;
    ::lstrcatW(commandLine, arguments);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return 1;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return 0;
}
