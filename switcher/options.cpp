#include "switcher/options.h"

namespace switcher {

using platform::Status;

std::string StartupCommand(std::string_view programFolder) {
    std::string path(programFolder);
    // A drive root already ends in its separator.
    if (path.empty() || path.back() != '\\') path += '\\';
    path += "Vantrel.exe";
    // Unquoted, a path with blanks lets C:\Program.exe (say) run in our place.
    if (path.find(' ') != std::string::npos) path = '"' + path + '"';
    return path;
}

Status RegisterStartup(platform::Services& os) {
    const std::string command = StartupCommand(os.ProgramFolder());
    const Status machine = os.WriteRegistry(kMachineRunValue, command);
    if (machine) return Status::Ok();
    // Without elevation the machine-wide value is refused; the user's own Run
    // key starts us at this user's log-on, which is what the option is for.
    const Status user = os.WriteRegistry(kUserRunValue, command);
    if (user) return Status::Ok();
    return Status::Fail("Vantrel cannot add itself to Startup. Writing " + std::string(kMachineRunValue) +
                        " failed (" + machine.message() + "), and so did writing " +
                        std::string(kUserRunValue) + " (" + user.message() + ").");
}

Status UnregisterStartup(platform::Services& os) {
    std::string failures;
    for (std::string_view value : {kMachineRunValue, kUserRunValue}) {
        if (const Status s = os.DeleteRegistry(value); !s)
            failures += "\n" + std::string(value) + " (" + s.message() + ")";
    }
    if (failures.empty()) return Status::Ok();
    return Status::Fail("Vantrel cannot remove itself from Startup, so it will still start at log-on. "
                        "It could not delete:" + failures);
}

}  // namespace switcher
