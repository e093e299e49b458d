// Built as Vantrel.exe and Brennic.exe are, without exceptions and with
// their runtime hooks, it asks for more memory than any process can have,
// then for a string longer than the library allows, as its argument says
// ("memory" or "length"). Each must end it with a message; it writes the
// file fatal_exit_probe.went_on in its working folder only if it went on,
// and fatal_exit_probe.ticked if its timer ran after the failure.

#include <windows.h>

#include <cstddef>
#include <string>

namespace {

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HANDLE ticked = ::CreateFileW(L"fatal_exit_probe.ticked", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(ticked);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    // Falls due while the message is up: a message loop on this thread
    // would run it.
    ::SetTimer(nullptr, 0, 10, &Tick);
    // volatile: the compiler may neither see that the request cannot be met
    // nor drop a block that nothing reads.
    volatile std::size_t huge = static_cast<std::size_t>(-1) / 2;
    static char* volatile block;
    if (std::wstring(arguments) == L"memory") {
        block = new char[huge];
    } else {
        std::string text;
        text.reserve(huge * 2 + 1);
    }
    HANDLE went_on = ::CreateFileW(L"fatal_exit_probe.went_on", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(went_on);
    return 0;
}
