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

private:
    InstanceClaim instance_;
};

}  // namespace platform::win32
