#include "switcher/options.h"

namespace switcher {

using platform::Result;
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

Result<std::string_view> RegisterStartup(platform::Services& os) {
    const std::string command = StartupCommand(os.ProgramFolder());
    const Status machine = os.WriteRegistry(kMachineRunValue, command);
    if (machine) return kMachineRunValue;
    // Without elevation the machine-wide value is refused; the user's own Run
    // key starts us at this user's log-on, which is what the option is for.
    const Status user = os.WriteRegistry(kUserRunValue, command);
    if (user) return kUserRunValue;
    return Result<std::string_view>::Fail("Vantrel cannot add itself to Startup.\n" + machine.message() + ".\n" +
                                          user.message() + ".");
}

Status RemoveOtherStartup(platform::Services& os, std::string_view written) {
    const std::string_view other = written == kMachineRunValue ? kUserRunValue : kMachineRunValue;
    if (const Status s = os.DeleteRegistry(other); !s)
        return Status::Fail("Vantrel is in Startup now, but an older entry could not be removed, so Windows may "
                            "start it twice at log-on.\n" + s.message() + ".");
    return Status::Ok();
}

Status UnregisterStartup(platform::Services& os) {
    std::string failures;
    for (std::string_view value : {kMachineRunValue, kUserRunValue}) {
        if (const Status s = os.DeleteRegistry(value); !s)
            failures += "\n" + s.message() + ".";
    }
    if (failures.empty()) return Status::Ok();
    return Status::Fail("Vantrel cannot remove itself from Startup, so it will still start at log-on." + failures);
}

}  // namespace switcher
