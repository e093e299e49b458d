#include "platform/win32/win32_services.h"

#include <windows.h>

#include "platform/win32/files.h"
#include "platform/win32/process.h"
#include "platform/win32/registry.h"
#include "platform/win32/text.h"
#include "platform/win32/top_level_windows.h"

namespace platform::win32 {

Result<std::string> Win32Services::ReadRegistry(std::string_view path) { return ReadRegistryValue(path); }
Status Win32Services::WriteRegistry(std::string_view path, std::string_view data) {
    return WriteRegistryValue(path, data);
}
Status Win32Services::DeleteRegistry(std::string_view path) { return DeleteRegistryValue(path); }

Result<std::string> Win32Services::ReadSetting(std::string_view section, std::string_view key) {
    return ReadSettingValue(section, key);
}
Status Win32Services::WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
    return WriteSettingValue(section, key, value);
}

Status Win32Services::SelectDrive(std::string_view root) { return win32::SelectDrive(root); }
Status Win32Services::SetCurrentFolder(std::string_view folder) { return win32::SetCurrentFolder(folder); }
Result<std::string> Win32Services::CurrentFolder() { return win32::CurrentFolder(); }

bool Win32Services::PlainFileExists(std::string_view path) { return win32::PlainFileExists(path); }
bool Win32Services::FolderExists(std::string_view path) { return win32::FolderExists(path); }
Status Win32Services::RemoveFile(std::string_view path) { return win32::RemoveFile(path); }
Status Win32Services::CreateEmptyFile(std::string_view path) { return win32::CreateEmptyFile(path); }
Status Win32Services::AppendAnsiText(std::string_view path, std::string_view text) {
    return win32::AppendAnsiText(path, text);
}

Status Win32Services::StartProgram(std::string_view program, std::string_view arguments, WindowStyle style) {
    return win32::StartProgram(program, arguments, style);
}

std::vector<TopLevelWindow> Win32Services::TopLevelWindows() { return ListTopLevelWindows(); }
WindowHandle Win32Services::FindWindowByTitle(std::string_view title) { return FindTopLevelWindow(title); }
Status Win32Services::PostCloseRequest(WindowHandle window) { return PostClose(window); }

Answer Win32Services::ShowMessage(std::string_view text, std::string_view title, MessageStyle style) {
    // Modal to all of this program's windows, as a message box of the
    // program's own would be; their messages and timer ticks still arrive.
    // The box comes to the front even when a tray click or a timer opened it.
    const UINT type = static_cast<UINT>(style) | MB_TASKMODAL | MB_SETFOREGROUND;
    const int answer = ::MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(), type);
    // A box that could not be shown counts as declined.
    return answer == IDOK ? Answer::Ok : Answer::Cancel;
}

void Win32Services::Beep() { ::MessageBeep(MB_OK); }

std::string Win32Services::ProgramFolder() { return Narrow(FolderOf(ProgramPath())); }

std::string Win32Services::ArgumentText() { return Narrow(ArgumentTextOf(::GetCommandLineW())); }

bool Win32Services::AnotherInstanceRunning() { return instance_.AnotherInstanceRunning(); }

}  // namespace platform::win32
