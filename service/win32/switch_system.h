#pragma once
// The switch service's view of the system, on Win32: setup's record in the
// registry, the game folder and on.ini opened as themselves (never through
// a link), and the Application event log.

#include <windows.h>

#include "platform/win32/unique_handle.h"
#include "service/switch_request.h"

namespace service::win32 {

class SwitchSystem final : public System {
public:
    // `eventLog`: the event source, or null when it could not be opened.
    explicit SwitchSystem(HANDLE eventLog) : eventLog_(eventLog) {}

    platform::Result<std::string> RecordedGameFolder() override;
    platform::Result<Entry> HoldFolder(std::string_view path) override;
    platform::Result<Entry> OpenForDeleting(std::string_view path) override;
    platform::Status DeleteHeld() override;
    platform::Result<Entry> Look(std::string_view path) override;
    platform::Status CreateNew(std::string_view path) override;
    void Log(Severity severity, std::string_view text) override;

private:
    HANDLE eventLog_;
    platform::win32::UniqueHandle folder_, marker_;
};

}  // namespace service::win32
