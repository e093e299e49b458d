#include "switcher/options.h"

#include <cerrno>
#include <cstdlib>

namespace switcher {

using platform::Status;

bool StoredOptionIsOn(std::string_view stored) {
    const auto first = stored.find_first_not_of(" \t");
    if (first == std::string_view::npos) return false;
    const auto last = stored.find_last_not_of(" \t");
    const std::string number(stored.substr(first, last - first + 1));
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || errno != 0) return false;
    return value == 1.0;
}

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
        // Only a value that is there is deleted: without elevation the
        // machine-wide key cannot even be opened to delete a missing value.
        if (!os.ReadRegistry(value)) continue;
        if (const Status s = os.DeleteRegistry(value); !s)
            failures += "\n" + std::string(value) + " (" + s.message() + ")";
    }
    if (failures.empty()) return Status::Ok();
    return Status::Fail("Vantrel cannot remove itself from Startup, so it will still start at log-on. "
                        "It could not delete:" + failures);
}

}  // namespace switcher
