#include "switcher/options.h"

#include <algorithm>

namespace switcher {

using platform::Status;

bool StoredOptionIsOn(std::string_view stored) {
    // A plain decimal number, blanks around it allowed; "1", "01" and "1.0"
    // are one, anything else (empty text included) is off.
    const auto first = stored.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    std::string_view number = stored.substr(first, stored.find_last_not_of(' ') - first + 1);
    if (number.front() == '+') number.remove_prefix(1);
    const auto dot = number.find('.');
    std::string_view whole = number.substr(0, dot);
    std::string_view fraction = dot == std::string_view::npos ? std::string_view() : number.substr(dot + 1);
    const auto digits = [](std::string_view t) { return t.find_first_not_of("0123456789") == std::string_view::npos; };
    if (whole.empty() || !digits(whole) || !digits(fraction)) return false;
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    return whole == "1" && fraction.find_first_not_of('0') == std::string_view::npos;
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
        if (const Status s = os.DeleteRegistry(value); !s)
            failures += "\n" + std::string(value) + " (" + s.message() + ")";
    }
    if (failures.empty()) return Status::Ok();
    return Status::Fail("Vantrel cannot remove itself from Startup, so it will still start at log-on. "
                        "It could not delete:" + failures);
}

}  // namespace switcher
