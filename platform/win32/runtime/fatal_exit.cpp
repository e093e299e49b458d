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

using MessageBoxFunction = int(WINAPI*)(HWND, const wchar_t*, const wchar_t*, UINT);

struct Message {
    MessageBoxFunction box;
    const wchar_t* text;
};

DWORD WINAPI ShowMessage(void* parameter) {
    const auto* message = static_cast<const Message*>(parameter);
    message->box(nullptr, message->text, ProgramName(), MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    return 0;
}

// A message box runs a message loop on its thread, which would go on
// dispatching that thread's timers and window messages: the program's own
// work, in a program that has just said it cannot go on. So the box gets a
// thread of its own, and this one waits for it without dispatching anything.
void ShowOnItsOwnThread(Message& message) {
    HANDLE thread = ::CreateThread(nullptr, 0, &ShowMessage, &message, 0, nullptr);
    if (!thread) {
        // Too little left even for a thread: better said from here than not
        // at all.
        ShowMessage(&message);
        return;
    }
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
}

[[noreturn]] void EndProgram(const wchar_t* why) {
    // USER32 is looked up by hand: Brennic loads it only on first use, and
    // a failed delay-load would end the program without a word.
    if (HMODULE user32 = platform::win32::LoadSystemLibrary(L"user32.dll")) {
        if (auto box = reinterpret_cast<MessageBoxFunction>(
                reinterpret_cast<void*>(::GetProcAddress(user32, "MessageBoxW")))) {
            Message message{box, why};
            ShowOnItsOwnThread(message);
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
