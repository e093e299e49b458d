// Installing and removing a service of our own, as setup does it: the
// service, its settings and its event source.

#include <windows.h>
#include <sddl.h>

#include "platform/win32/service_handle.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_services.h"

namespace platform::win32 {

namespace {

constexpr DWORD kStopWaitMs = 20000;

std::wstring EventSourceKey(std::string_view name) {
    return L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\" + Widen(name);
}

// Asks a running service to stop and waits until it has.
Status StopAndWait(SC_HANDLE service, std::string_view name) {
    SERVICE_STATUS status{};
    if (!::ControlService(service, SERVICE_CONTROL_STOP, &status)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SERVICE_NOT_ACTIVE) return Status::Ok();
        // Starting or stopping already: the wait below sees it through.
        if (error != ERROR_SERVICE_CANNOT_ACCEPT_CTRL) return Failure("Cannot stop the service " + Quoted(name), error);
    }
    for (DWORD waited = 0; waited < kStopWaitMs; waited += 100) {
        if (!::QueryServiceStatus(service, &status)) {
            const DWORD error = ::GetLastError();
            return Failure("Cannot ask the service " + Quoted(name) + " how it is", error);
        }
        if (status.dwCurrentState == SERVICE_STOPPED) return Status::Ok();
        if (status.dwCurrentState == SERVICE_RUNNING) ::ControlService(service, SERVICE_CONTROL_STOP, &status);
        ::Sleep(100);
    }
    return Status::Fail("The service " + Quoted(name) + " did not stop within " +
                        Narrow(Decimal(kStopWaitMs / 1000)) + " seconds");
}

// Settings made through ChangeServiceConfig2. Windows before Vista, and
// Wine, lack some: ERROR_INVALID_LEVEL says so, and what the service then
// runs without is noted rather than failing setup.
Status Configure(SC_HANDLE service, DWORD level, void* info, std::string_view what, std::string& notes) {
    if (::ChangeServiceConfig2W(service, level, info)) return Status::Ok();
    const DWORD error = ::GetLastError();
    if (error == ERROR_INVALID_LEVEL) {
        notes += "This system cannot give the service " + std::string(what) + " (" + SystemReason(error) +
                 "); it runs without.\n";
        return Status::Ok();
    }
    return Failure("Cannot give the service " + std::string(what), error);
}

Status AddEventSource(std::string_view name, std::string_view program) {
    UniqueKey key;
    LSTATUS rc = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, EventSourceKey(name).c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, key.receive(), nullptr);
    const std::wstring file = Widen(program);
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    if (rc == ERROR_SUCCESS)
        rc = ::RegSetValueExW(key.get(), L"EventMessageFile", 0, REG_EXPAND_SZ,
                              reinterpret_cast<const BYTE*>(file.c_str()),
                              static_cast<DWORD>((file.size() + 1) * sizeof(wchar_t)));
    if (rc == ERROR_SUCCESS)
        rc = ::RegSetValueExW(key.get(), L"TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types),
                              sizeof types);
    if (rc != ERROR_SUCCESS)
        return Failure("Cannot register " + Quoted(name) + " as a source of the Application event log",
                       static_cast<DWORD>(rc));
    return Status::Ok();
}

}  // namespace

Result<std::string> Win32SetupServices::InstallService(const ServiceConfig& config) {
    UniqueService manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot reach the service control manager", error);
    }
    const std::wstring name = Widen(config.name), display = Widen(config.displayName);
    const std::wstring command = L"\"" + Widen(config.program) + L"\"";
    const std::wstring account = Widen(config.account);
    UniqueService service(::CreateServiceW(manager.get(), name.c_str(), display.c_str(), SERVICE_ALL_ACCESS,
                                           SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                           command.c_str(), nullptr, nullptr, nullptr, account.c_str(), L""));
    if (!service) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_SERVICE_EXISTS) return Failure("Cannot install the service " + Quoted(config.name), error);
        // An earlier setup's: brought to this one's settings.
        service.reset(::OpenServiceW(manager.get(), name.c_str(), SERVICE_ALL_ACCESS));
        if (!service ||
            !::ChangeServiceConfigW(service.get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                    SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr,
                                    account.c_str(), L"", display.c_str())) {
            const DWORD changeError = ::GetLastError();
            return Failure("Cannot change the service " + Quoted(config.name), changeError);
        }
    }

    std::string notes;
    std::wstring description = Widen(config.description);
    SERVICE_DESCRIPTIONW describe{description.data()};
    if (Status s = Configure(service.get(), SERVICE_CONFIG_DESCRIPTION, &describe, "its description", notes); !s)
        return s;
    SERVICE_SID_INFO sid{static_cast<DWORD>(config.ownSid ? SERVICE_SID_TYPE_UNRESTRICTED : SERVICE_SID_TYPE_NONE)};
    if (Status s = Configure(service.get(), SERVICE_CONFIG_SERVICE_SID_INFO, &sid, "a SID of its own", notes); !s)
        return s;
    // A list of names, each ended by a null, the whole by one more.
    std::wstring privileges;
    for (const auto& privilege : config.privileges) privileges += Widen(privilege) + L'\0';
    privileges += L'\0';
    SERVICE_REQUIRED_PRIVILEGES_INFOW required{privileges.data()};
    if (!config.privileges.empty())
        if (Status s = Configure(service.get(), SERVICE_CONFIG_REQUIRED_PRIVILEGES_INFO, &required,
                                 "only the privileges it needs", notes);
            !s)
            return s;

    PSECURITY_DESCRIPTOR made = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(Widen(config.security).c_str(), SDDL_REVISION_1, &made,
                                                                nullptr)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot build the permissions of the service " + Quoted(config.name), error);
    }
    UniqueLocalMemory descriptor(made);
    if (!::SetServiceObjectSecurity(service.get(), DACL_SECURITY_INFORMATION, made)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot set who may use the service " + Quoted(config.name), error);
    }
    if (config.eventSource)
        if (Status s = AddEventSource(config.name, config.program); !s) return s;
    return notes;
}

Status Win32SetupServices::StopService(std::string_view name) {
    UniqueService service;
    bool missing = false;
    if (Status s = OpenNamedService(name, SERVICE_STOP | SERVICE_QUERY_STATUS, service, &missing); !s) return s;
    return missing ? Status::Ok() : StopAndWait(service.get(), name);
}

Status Win32SetupServices::RemoveService(std::string_view name) {
    UniqueService service;
    bool missing = false;
    if (Status s = OpenNamedService(name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE, service, &missing); !s)
        return s;
    if (!missing) {
        if (Status s = StopAndWait(service.get(), name); !s) return s;
        // ERROR_SERVICE_MARKED_FOR_DELETE: a run cut off after this call.
        if (!::DeleteService(service.get())) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_SERVICE_MARKED_FOR_DELETE)
                return Failure("Cannot remove the service " + Quoted(name), error);
        }
    }
    const LSTATUS rc = ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, EventSourceKey(name).c_str(), KEY_WOW64_64KEY, 0);
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        return Failure("Cannot remove the event source " + Quoted(name), static_cast<DWORD>(rc));
    return Status::Ok();
}

}  // namespace platform::win32
