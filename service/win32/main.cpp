// VantrelSwitch.exe: the build switch service. Windows starts it on demand
// (Vantrel and Brennic start it when they need it), it carries out the
// requests it is sent, and it ends itself once none has come for half a
// minute, so nothing of it runs while nobody switches builds.

#include <windows.h>

#include "platform/win32/system_library.h"
#include "service/win32/switch_system.h"

namespace {

constexpr wchar_t kServiceName[] = L"VantrelSwitch";
constexpr DWORD kIdleStopMs = 30000;

// What the control handler needs to find: the service runs once per process.
struct Running {
    SERVICE_STATUS_HANDLE status = nullptr;
    HANDLE stop = nullptr;     // set by a stop from an administrator or by shutdown
    HANDLE request = nullptr;  // set by each request: the idle time starts again
    HANDLE eventLog = nullptr;
} running;

void ReportState(DWORD state, DWORD exitCode = NO_ERROR) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    // Its own controls (128 to 255) reach it whatever it accepts here, but
    // only while it runs.
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    status.dwWin32ExitCode = exitCode;
    status.dwWaitHint = state == SERVICE_STOP_PENDING ? 5000 : 0;
    ::SetServiceStatus(running.status, &status);
}

// Runs on the dispatcher's thread, one control at a time. A request is a
// few file calls, done here: the sender's ControlService returns once it is.
DWORD WINAPI HandleControl(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        ::SetEvent(running.stop);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        if (control < 128 || control > 255) return ERROR_CALL_NOT_IMPLEMENTED;
        {
            service::win32::SwitchSystem system(running.eventLog);
            service::CarryOut(system, control);
        }
        ::SetEvent(running.request);
        return NO_ERROR;
    }
}

void WINAPI ServiceMain(DWORD, wchar_t**) {
    running.status = ::RegisterServiceCtrlHandlerExW(kServiceName, HandleControl, nullptr);
    if (!running.status) return;
    running.stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    running.request = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!running.stop || !running.request) {
        ReportState(SERVICE_STOPPED, ::GetLastError());
        return;
    }
    ReportState(SERVICE_RUNNING);
    HANDLE events[] = {running.stop, running.request};
    while (::WaitForMultipleObjects(2, events, FALSE, kIdleStopMs) == WAIT_OBJECT_0 + 1) {
    }
    // From here on the control manager sends no more requests.
    ReportState(SERVICE_STOP_PENDING);
    ReportState(SERVICE_STOPPED);
}

void Say(const char* text) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(::lstrlenA(text)), &written, nullptr);
}

}  // namespace

int wmain() {
    platform::win32::LimitLibrarySearchToSystemFolder();
    // Opened once for the life of the process; with no source the service
    // still works, unheard.
    running.eventLog = ::RegisterEventSourceW(nullptr, kServiceName);
    SERVICE_TABLE_ENTRYW table[] = {{const_cast<wchar_t*>(kServiceName), ServiceMain}, {nullptr, nullptr}};
    const BOOL dispatched = ::StartServiceCtrlDispatcherW(table);
    const DWORD error = ::GetLastError();
    if (running.eventLog) ::DeregisterEventSource(running.eventLog);
    if (dispatched) return 0;
    if (error == ERROR_FAILED_SERVICE_CONTROLLER_CONNECT)
        Say("VantrelSwitch.exe is the Vantrel build switch service: Windows starts it when a player switches "
            "builds. Send it 128 to make 1.0e current or 129 for 1.0c: sc control VantrelSwitch 128\r\n");
    return 1;
}
