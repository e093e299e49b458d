// A stand-in for the game's host: it shows the window "Host is Launching
// game." that Vantrel watches for, starts the game after a delay, and closes
// its window a while later, as a real host does around a launch.
//
//   standin_host.exe [/launch:MS] [/close:MS] [program [arguments]]
//
//   /launch:MS  start `program` MS milliseconds after the window appeared
//               (default 1000)
//   /close:MS   close the window MS milliseconds after it appeared (default
//               5000; never before the program has been started)
//   program     full path, quoted when it holds blanks; started from its own
//               folder with the rest of the command line as its argument
//               text, unchanged. Without it the host only shows its window.
//
// Exit code: 0, or 2 for a command line it does not understand, or 3 when
// the program could not be started.

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kTitle[] = L"Host is Launching game.";
constexpr wchar_t kClassName[] = L"Vantrel.StandinHost";
constexpr UINT_PTR kLaunchTimer = 1;
constexpr UINT_PTR kCloseTimer = 2;

struct Plan {
    UINT launchMs = 1000;
    UINT closeMs = 5000;
    std::wstring program;
    std::wstring arguments;
};

struct Run {
    Plan plan;
    bool launched = false;
    int exitCode = 0;
};
Run run;

// Skips the blanks at `i`.
void SkipBlanks(const std::wstring& text, std::size_t& i) {
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
}

// One token by the rule of a program path: up to the closing quote when it
// opens with one, else up to the next blank.
std::wstring Token(const std::wstring& text, std::size_t& i) {
    std::wstring token;
    if (i < text.size() && text[i] == L'"') {
        std::size_t end = text.find(L'"', i + 1);
        if (end == std::wstring::npos) end = text.size();
        token = text.substr(i + 1, end - i - 1);
        i = end < text.size() ? end + 1 : end;
    } else {
        std::size_t end = text.find_first_of(L" \t", i);
        if (end == std::wstring::npos) end = text.size();
        token = text.substr(i, end - i);
        i = end;
    }
    return token;
}

bool Milliseconds(const std::wstring& token, const wchar_t* prefix, UINT& out) {
    std::size_t length = std::wcslen(prefix);
    if (token.compare(0, length, prefix) != 0) return false;
    wchar_t* end = nullptr;
    unsigned long value = std::wcstoul(token.c_str() + length, &end, 10);
    if (end == token.c_str() + length || *end != L'\0') return false;
    out = static_cast<UINT>(value);
    return true;
}

bool ParseCommandLine(Plan& plan) {
    std::wstring line = GetCommandLineW();
    std::size_t i = 0;
    SkipBlanks(line, i);
    Token(line, i);  // our own path
    for (;;) {
        SkipBlanks(line, i);
        if (i >= line.size()) return true;
        if (line[i] != L'/') break;
        std::wstring option = Token(line, i);
        if (!Milliseconds(option, L"/launch:", plan.launchMs) && !Milliseconds(option, L"/close:", plan.closeMs))
            return false;
    }
    plan.program = Token(line, i);
    if (i < line.size()) ++i;  // the one blank between program and arguments
    plan.arguments = line.substr(i);
    return true;
}

bool StartProgram(const Plan& plan) {
    std::wstring folder = plan.program.substr(0, plan.program.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + plan.program + L"\" " + plan.arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(plan.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void Launch() {
    if (run.launched || run.plan.program.empty()) return;
    run.launched = true;
    if (!StartProgram(run.plan)) run.exitCode = 3;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        KillTimer(window, wParam);
        if (wParam == kLaunchTimer) Launch();
        if (wParam == kCloseTimer) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        Launch();  // a host that closes early has still launched the game
        PostQuitMessage(run.exitCode);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (!ParseCommandLine(run.plan)) return 2;

    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc)) return 1;
    HWND window = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetTimer(window, kLaunchTimer, run.plan.launchMs, nullptr);
    SetTimer(window, kCloseTimer, run.plan.closeMs > run.plan.launchMs ? run.plan.closeMs : run.plan.launchMs, nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return run.exitCode;
}
