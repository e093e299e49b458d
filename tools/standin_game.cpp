// A stand-in for the game's executable, copied into test folders as
// Brennic_Original.exe. It appends to a record file what a launcher gave it
// (argument text, working folder, window style) and whether the build marker
// was there when it started; on request it shows the game's window.
//
// Its arguments belong to whoever starts it and are never interpreted; it is
// steered by environment variables only:
//   VANTREL_STANDIN_RECORD     full path of the record file; default
//                              "standin_game.record" beside the program
//   VANTREL_STANDIN_WINDOW_MS  show a window for this many milliseconds, or
//                              until it is asked to close
//   VANTREL_STANDIN_TITLE      that window's caption; default
//                              "Age Of Empires II Expansion"
//
// Record format (UTF-8), one record per start, appended in one write: fields
// "<name> <byte count>\n<bytes>\n", ending with the field "end".

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring Environment(const wchar_t* name) {
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return {};
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(name, value.data(), n);
    value.resize(n);
    return value;
}

std::wstring OwnPath() {
    std::wstring path(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return path;
}

std::wstring FolderOf(const std::wstring& path) {
    auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The command line less the program path and the blanks after it, by the
// rule Windows programs use for their first token: up to the closing quote
// when it starts with one, else up to the first blank.
std::wstring ArgumentsOf(const std::wstring& commandLine) {
    std::size_t i = 0;
    if (i < commandLine.size() && commandLine[i] == L'"') {
        auto close = commandLine.find(L'"', 1);
        i = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t') ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
    return commandLine.substr(i);
}

std::string MarkerState(const std::wstring& folder) {
    DWORD a = GetFileAttributesW((folder + L"\\on.ini").c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return "absent";
    if (a & FILE_ATTRIBUTE_DIRECTORY) return "folder";
    if (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return "hidden";
    return "present";
}

std::wstring CurrentFolder() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(n, L'\0');
    n = GetCurrentDirectoryW(n, folder.data());
    folder.resize(n);
    return folder;
}

void AddField(std::string& record, const char* name, const std::string& value) {
    record += name;
    record += ' ';
    record += std::to_string(value.size());
    record += '\n';
    record += value;
    record += '\n';
}

bool AppendRecord(const std::wstring& file, const std::string& record) {
    HANDLE h = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
              written == record.size();
    CloseHandle(h);
    return ok;
}

LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int ShowGameWindow(HINSTANCE instance, const std::wstring& title, UINT milliseconds) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = GameWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"VantrelStandinGame";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    ShowWindow(window, SW_SHOWNORMAL);
    SetTimer(window, 1, milliseconds, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long started =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;

    const std::wstring self = OwnPath();
    const std::wstring commandLine = GetCommandLineW();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);

    std::string record;
    AddField(record, "arguments", Utf8(ArgumentsOf(commandLine)));
    AddField(record, "commandline", Utf8(commandLine));
    AddField(record, "program", Utf8(self));
    AddField(record, "folder", Utf8(CurrentFolder()));
    AddField(record, "marker", MarkerState(FolderOf(self)));
    AddField(record, "show", std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1));
    AddField(record, "started", std::to_string(started));
    AddField(record, "pid", std::to_string(GetCurrentProcessId()));
    AddField(record, "end", "");

    std::wstring recordFile = Environment(L"VANTREL_STANDIN_RECORD");
    if (recordFile.empty()) recordFile = FolderOf(self) + L"\\standin_game.record";
    if (!AppendRecord(recordFile, record)) return 2;

    const std::wstring windowMs = Environment(L"VANTREL_STANDIN_WINDOW_MS");
    if (windowMs.empty()) return 0;
    std::wstring title = Environment(L"VANTREL_STANDIN_TITLE");
    if (title.empty()) title = L"Age Of Empires II Expansion";
    return ShowGameWindow(instance, title, static_cast<UINT>(std::wcstoul(windowMs.c_str(), nullptr, 10)));
}
