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
#include <exception>
#include <new>
#include <stdexcept>

namespace {

constexpr wchar_t kOutOfMemory[] = L"There is not enough memory to go on. The program ends now.";
constexpr wchar_t kInternalError[] = L"The program met an internal error it cannot recover from, and ends now.";

[[noreturn]] void EndProgram(const wchar_t* why) {
    // Shows the text and ends the process; it returns only where no message
    // can be shown, and then the process ends all the same.
    ::FatalAppExitW(0, why);
    ::TerminateProcess(::GetCurrentProcess(), 3);
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
