// Built as Vantrel.exe and Brennic.exe are, without exceptions and with
// their runtime hooks, it fails as its argument says:
//   memory   asks for more memory than any process can have;
//   length   asks for a string longer than the library allows;
//   crowded  fails as "memory" does, with no room left for a thread, so that
//            the message comes from the failing thread itself;
//   twice    fails as "memory" does, and a second thread fails again half
//            a second after the message is up.
// Each must end it with one message. It writes the file
// fatal_exit_probe.went_on in its working folder only if it went on, and
// fatal_exit_probe.ticked if its timer ran after the failure.

#include <windows.h>

#include <cstddef>
#include <string>

namespace {

// volatile: the compiler may neither see that the request cannot be met
// nor drop a block that nothing reads.
volatile std::size_t huge = static_cast<std::size_t>(-1) / 2;
char* volatile block;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HANDLE ticked = ::CreateFileW(L"fatal_exit_probe.ticked", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(ticked);
}

// Reserves every free range as large as a thread's stack (this program's
// stack reserve is 2 MB), leaving the smaller ones for the heap. The DLL that
// a message box loads under Wine comes first, while there is room for it.
void LeaveNoRoomForAThread() {
    ::LoadLibraryW(L"ole32.dll");
    for (SIZE_T size = SIZE_T(1) << 30; size >= (SIZE_T(2) << 20); size /= 2)
        while (::VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS)) {
        }
}

DWORD WINAPI FailOnceTheMessageIsUp(void*) {
    while (!::FindWindowW(L"#32770", L"fatal_exit_probe")) ::Sleep(10);
    ::Sleep(500);  // long enough for the test to see the message
    block = new char[huge];
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    // Falls due while the message is up: a message loop on this thread
    // would run it.
    ::SetTimer(nullptr, 0, 10, &Tick);
    const std::wstring failure(arguments);
    if (failure == L"crowded") LeaveNoRoomForAThread();
    if (failure == L"twice") ::CloseHandle(::CreateThread(nullptr, 0, &FailOnceTheMessageIsUp, nullptr, 0, nullptr));
    if (failure == L"length") {
        std::string text;
        text.reserve(huge * 2 + 1);
    } else {
        block = new char[huge];
    }
    HANDLE went_on = ::CreateFileW(L"fatal_exit_probe.went_on", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(went_on);
    return 0;
}
