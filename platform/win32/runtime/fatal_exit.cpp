// How Vantrel.exe and Brennic.exe end when the C++ library cannot go on.
// They are built without exceptions, so a failed allocation or a broken
// precondition inside the library has nowhere to go: the program says so in
// a message box and ends at once instead of running on in a bad state.
//
// Our definitions of these library hooks also keep the library's own ones
// out of the programs, and with them what those pull in: the exception
// classes and their copy-on-write strings, the unwinder, the name demangler
// of the default terminate handler, printf. Linked into the two programs
// only; the test programs keep the library's hooks and their exceptions.

#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <exception>
#include <new>
#include <stdexcept>

#include "platform/first_failure.h"
#include "platform/win32/system_library.h"

namespace {

// As abort() ends a program.
constexpr UINT kFatalExitCode = 3;
constexpr wchar_t kOutOfMemory[] = L"There is not enough memory to go on. The program ends now.";
constexpr wchar_t kInternalError[] = L"The program met an internal error it cannot recover from, and ends now.";

// The program's file name without ".exe", as the message's title: no
// allocation, which may be what failed.
const wchar_t* ProgramName() {
    static wchar_t name[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, name, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return L"Error";
    wchar_t* start = name;
    for (wchar_t* at = name; *at; ++at)
        if (*at == L'\\') start = at + 1;
    if (wchar_t* dot = std::wcsrchr(start, L'.')) *dot = L'\0';
    return start;
}

// USER32's functions for the message, looked up by hand: Brennic loads
// USER32 only on first use, and a failed delay-load would end the program
// without a word.
using MessageBoxFunction = int(WINAPI*)(HWND, const wchar_t*, const wchar_t*, UINT);
using SetHookFunction = HHOOK(WINAPI*)(int, HOOKPROC, HINSTANCE, DWORD);
using CallNextHookFunction = LRESULT(WINAPI*)(HHOOK, int, WPARAM, LPARAM);

struct User32 {
    MessageBoxFunction box = nullptr;
    SetHookFunction setHook = nullptr;
    CallNextHookFunction callNextHook = nullptr;
};

struct Message {
    User32 user32;
    const wchar_t* text;
};

// Filled by the one failure that shows the message, read by its hook.
constinit Message message{};
constinit platform::FirstFailure firstFailure;

template <typename Function>
Function Find(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

DWORD WINAPI ShowMessage(void*) {
    // Topmost: it must not open under a topmost window of the program's,
    // such as the watcher's question.
    message.user32.box(nullptr, message.text, ProgramName(),
                       MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
    return 0;
}

// The box's loop offers each message to this hook before it dispatches it:
// the timers of the thread that failed are dropped, not run.
LRESULT CALLBACK DropTimers(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && reinterpret_cast<const MSG*>(lParam)->message == WM_TIMER) return TRUE;
    return message.user32.callNextHook(nullptr, code, wParam, lParam);
}

// A message box runs a message loop on its thread, which would go on
// dispatching that thread's timers and window messages: the program's own
// work, in a program that has just said it cannot go on. So the box gets a
// thread of its own, and this one waits for it without dispatching anything.
void ShowOnItsOwnThread() {
    HANDLE thread = ::CreateThread(nullptr, 0, &ShowMessage, nullptr, 0, nullptr);
    if (thread) {
        ::WaitForSingleObject(thread, INFINITE);
        ::CloseHandle(thread);
        return;
    }
    // Too little left even for a thread: said from here, with this thread's
    // timers held back while the box is up. Were they not, the program would
    // rather end without a word than run on.
    if (message.user32.setHook && message.user32.callNextHook &&
        message.user32.setHook(WH_MSGFILTER, &DropTimers, nullptr, ::GetCurrentThreadId()))
        ShowMessage(nullptr);
}

[[noreturn]] void EndProgram(const wchar_t* why) {
    // One message per process. A failure while it is up, on another thread
    // or inside the box, ends the program at once with the same code.
    if (firstFailure.Claim()) {
        if (HMODULE user32 = platform::win32::LoadSystemLibrary(L"user32.dll")) {
            message.user32 = {Find<MessageBoxFunction>(user32, "MessageBoxW"),
                              Find<SetHookFunction>(user32, "SetWindowsHookExW"),
                              Find<CallNextHookFunction>(user32, "CallNextHookEx")};
            message.text = why;
            if (message.user32.box) ShowOnItsOwnThread();
        }
    }
    // No destructor or exit handler runs: the program's state is not to be
    // trusted any more.
    ::TerminateProcess(::GetCurrentProcess(), kFatalExitCode);
    __builtin_unreachable();
}

void* Allocate(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    EndProgram(kOutOfMemory);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace __gnu_cxx {
void __verbose_terminate_handler() { EndProgram(kInternalError); }
}  // namespace __gnu_cxx

// Every one of the library's throw helpers: were one left to the library,
// its object would come back with all the others.
namespace std {
void __throw_bad_exception() { EndProgram(kInternalError); }
void __throw_bad_alloc() { EndProgram(kOutOfMemory); }
void __throw_bad_array_new_length() { EndProgram(kOutOfMemory); }
void __throw_bad_cast() { EndProgram(kInternalError); }
void __throw_bad_typeid() { EndProgram(kInternalError); }
void __throw_logic_error(const char*) { EndProgram(kInternalError); }
void __throw_domain_error(const char*) { EndProgram(kInternalError); }
void __throw_invalid_argument(const char*) { EndProgram(kInternalError); }
void __throw_length_error(const char*) { EndProgram(kOutOfMemory); }
void __throw_out_of_range(const char*) { EndProgram(kInternalError); }
void __throw_out_of_range_fmt(const char*, ...) { EndProgram(kInternalError); }
void __throw_runtime_error(const char*) { EndProgram(kInternalError); }
void __throw_range_error(const char*) { EndProgram(kInternalError); }
void __throw_overflow_error(const char*) { EndProgram(kInternalError); }
void __throw_underflow_error(const char*) { EndProgram(kInternalError); }
void __throw_system_error(int) { EndProgram(kInternalError); }
void __throw_future_error(int) { EndProgram(kInternalError); }
void __throw_bad_function_call() { EndProgram(kInternalError); }
}  // namespace std
