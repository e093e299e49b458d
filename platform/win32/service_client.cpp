// Asking a service of the system to act: its state, starting it and sending
// it a control of its own, with only the rights a user has on it.

#include <windows.h>

#include "platform/win32/service_handle.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_services.h"

namespace platform::win32 {

Status OpenNamedService(std::string_view name, DWORD access, UniqueService& service, bool* missing) {
    UniqueService manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot reach the service control manager", error);
    }
    service.reset(::OpenServiceW(manager.get(), Widen(name).c_str(), access));
    if (service) return Status::Ok();
    const DWORD error = ::GetLastError();
    if (error == ERROR_SERVICE_DOES_NOT_EXIST && missing) {
        *missing = true;
        return Status::Ok();
    }
    return Failure("Cannot open the service " + Quoted(name), error);
}

Result<ServiceState> Win32Services::ServiceStatus(std::string_view name) {
    UniqueService service;
    bool missing = false;
    if (Status s = OpenNamedService(name, SERVICE_QUERY_STATUS, service, &missing); !s) return s;
    if (missing) return ServiceState::Missing;
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(service.get(), &status)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot ask the service " + Quoted(name) + " how it is", error);
    }
    switch (status.dwCurrentState) {
    case SERVICE_STOPPED: return ServiceState::Stopped;
    case SERVICE_START_PENDING: return ServiceState::Starting;
    case SERVICE_RUNNING: return ServiceState::Running;
    default: return ServiceState::Stopping;  // stopping, or pausing: neither takes a control now
    }
}

Status Win32Services::LaunchService(std::string_view name) {
    UniqueService service;
    if (Status s = OpenNamedService(name, SERVICE_START, service); !s) return s;
    if (::StartServiceW(service.get(), 0, nullptr)) return Status::Ok();
    const DWORD error = ::GetLastError();
    if (error == ERROR_SERVICE_ALREADY_RUNNING) return Status::Ok();
    return Failure("Cannot start the service " + Quoted(name), error);
}

Status Win32Services::SendServiceControl(std::string_view name, unsigned control) {
    UniqueService service;
    if (Status s = OpenNamedService(name, SERVICE_USER_DEFINED_CONTROL, service); !s) return s;
    SERVICE_STATUS status{};
    if (::ControlService(service.get(), control, &status)) return Status::Ok();
    const DWORD error = ::GetLastError();
    return Failure("Cannot send the request " + Narrow(Decimal(control)) + " to the service " + Quoted(name), error);
}

void Win32Services::Wait(unsigned milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform::win32
