#pragma once
// The services as Windows provides them. Each program makes one and keeps it
// for its whole run: the previous-instance claim lives as long as it does.
// The operations are defined by topic: registry.cpp, files.cpp, process.cpp,
// top_level_windows.cpp, and the rest in win32_services.cpp.

#include "platform/services.h"
#include "platform/win32/program_facts.h"

namespace platform::win32 {

class Win32Services final : public Services {
public:
    // Defined in win32_services.cpp, and so its table of virtual functions
    // with it: registry.cpp, which the switch service links for its one
    // read, must not pull that table, and with it USER32, into the service.
    ~Win32Services() override;

    Result<std::string> ReadRegistry(std::string_view path) override;
    Status WriteRegistry(std::string_view path, std::string_view data) override;
    Status DeleteRegistry(std::string_view path) override;

    Result<std::string> ReadSetting(std::string_view section, std::string_view key) override;
    Status WriteSetting(std::string_view section, std::string_view key, std::string_view value) override;

    Status SelectDrive(std::string_view root) override;
    Status SetCurrentFolder(std::string_view folder) override;
    Result<std::string> CurrentFolder() override;

    bool PlainFileExists(std::string_view path) override;
    bool FolderExists(std::string_view path) override;
    Status RemoveFile(std::string_view path) override;
    Status CreateEmptyFile(std::string_view path) override;
    Status AppendAnsiText(std::string_view path, std::string_view text) override;

    Status StartProgram(std::string_view program, std::string_view arguments, WindowStyle style) override;

    std::vector<TopLevelWindow> TopLevelWindows() override;
    WindowHandle FindWindowByTitle(std::string_view title) override;
    Status PostCloseRequest(WindowHandle window) override;

    Answer ShowMessage(std::string_view text, std::string_view title, MessageStyle style) override;
    void BringMessageToFront() override;
    void Beep() override;

    std::string ProgramFolder() override;
    Result<std::string> WindowsFolder() override;
    std::string ArgumentText() override;
    bool AnotherInstanceRunning() override;

    // Defined in whole_files.cpp.
    Result<std::string> ReadFileBytes(std::string_view path) override;
    Status WriteNewFile(std::string_view path, std::string_view bytes) override;
    Status RenameFile(std::string_view from, std::string_view to) override;
    Status MoveFileOver(std::string_view from, std::string_view to) override;
    Status LinkFile(std::string_view existing, std::string_view link) override;
    Status FlushFile(std::string_view path) override;
    Result<FileFacts> FactsOf(std::string_view path) override;
    Status HoldFolder(std::string_view folder) override;
    Status CheckHeldFolder(std::string_view folder) override;
    // Defined in registry.cpp.
    Status FlushRegistry(std::string_view key) override;

    // Defined in service_client.cpp.
    Result<ServiceState> ServiceStatus(std::string_view name) override;
    Status LaunchService(std::string_view name) override;
    Status SendServiceControl(std::string_view name, unsigned control) override;
    void Wait(unsigned milliseconds) override;

private:
    InstanceClaim instance_;
    UniqueHandle heldFolder_;
};

// Setup's own services; only GameSwap makes them.
class Win32SetupServices final : public SetupServices {
public:
    // Defined in access.cpp, and so its table of virtual functions with
    // them: registry.cpp, which every program links, must not pull that
    // table, and with it the firewall's COM libraries, into the programs.
    Result<std::uint32_t> UsersRights(std::string_view path) override;
    Status AddAccess(std::string_view path, const AccessEntry& entry) override;
    Status RemoveAccess(std::string_view path, const AccessEntry& entry) override;
    // Defined in registry.cpp.
    Result<std::string> ReadSystemValue(std::string_view key, std::string_view name) override;
    Status WriteSystemValue(std::string_view key, std::string_view name, std::string_view data) override;
    Status DeleteSystemValue(std::string_view key, std::string_view name) override;
    // Defined in firewall.cpp.
    Result<std::vector<FirewallRule>> FirewallRules(std::string_view program) override;
    Status CopyFirewallRule(std::string_view program, const FirewallRule& rule, std::string_view copyName,
                            std::string_view copyProgram) override;
    Status RemoveFirewallRule(std::string_view program, std::string_view name, std::string_view properties) override;
    // Defined in trust.cpp.
    Result<FolderSecurity> ReadFolderSecurity(std::string_view folder) override;
    Status CreateProtectedFolder(std::string_view folder) override;
    // Defined in service_setup.cpp.
    Result<std::string> InstallService(const ServiceConfig& config) override;
    Status StopService(std::string_view name) override;
    Status RemoveService(std::string_view name) override;
};

}  // namespace platform::win32
