#include "common/build_marker.h"

namespace common {

using platform::ServiceState;
using platform::Status;

namespace {

constexpr unsigned kPollMs = 50;
// A service that starts on demand is ready within a second on Windows; the
// rest is for a busy machine.
constexpr unsigned kServiceReadyMs = 5000;
// The service has made the change when its handler returns; the wait only
// covers a file system slow to show it.
constexpr unsigned kMarkerChangeMs = 2000;

// The change was refused for want of rights: the switch service, which may
// create and delete on.ini in the game folder for any player, is asked to
// make it instead. `refused` says why the change itself failed.
Status AskSwitchService(platform::Services& os, const std::string& marker, bool wanted, std::string_view build,
                        unsigned control, const Status& refused) {
    const std::string cannot = "Cannot switch to " + std::string(build) + ": " + refused.message();
    auto fail = [&](const std::string& why) { return Status::Fail(cannot + ". " + why); };
    const std::string service(kSwitchServiceName);
    auto state = os.ServiceStatus(service);
    if (!state) return fail("The build switch service could not be asked either: " + state.message() + ".");
    if (*state == ServiceState::Missing)
        return fail("Only an administrator may change the game folder. To let every player switch builds, run "
                    "Vantrel's setup again with \"" + std::string(kSwitchServiceComponent) + "\" ticked.");

    // Stopped after its idle time, most likely: started, then given a
    // moment to be ready for requests.
    for (unsigned waited = 0; *state != ServiceState::Running; waited += kPollMs) {
        if (*state == ServiceState::Stopped)
            if (Status s = os.LaunchService(service); !s)
                return fail("The build switch service could not be started: " + s.message() + ".");
        if (waited >= kServiceReadyMs) return fail("The build switch service did not start in time.");
        os.Wait(kPollMs);
        state = os.ServiceStatus(service);
        if (!state) return fail("The build switch service could not be asked: " + state.message() + ".");
        if (*state == ServiceState::Missing) return fail("The build switch service was removed meanwhile.");
    }
    if (Status s = os.SendServiceControl(service, control); !s)
        return fail("The build switch service could not be asked: " + s.message() + ".");
    for (unsigned waited = 0; os.PlainFileExists(marker) != wanted; waited += kPollMs) {
        if (waited >= kMarkerChangeMs)
            return fail("The build switch service did not make the change either; the Windows event log "
                        "(Application, source " + service + ") says why.");
        os.Wait(kPollMs);
    }
    return Status::Ok();
}

}  // namespace

std::string MarkerPath(std::string_view gameFolder) {
    return std::string(gameFolder) + "\\" + std::string(kMarkerFileName);
}

std::string_view CurrentBuild(platform::Services& os, std::string_view gameFolder) {
    return os.PlainFileExists(MarkerPath(gameFolder)) ? kBuild10e : kBuild10c;
}

Status MakeBuild10cCurrent(platform::Services& os, std::string_view gameFolder) {
    const std::string marker = MarkerPath(gameFolder);
    if (!os.PlainFileExists(marker)) return Status::Ok();
    if (Status s = os.RemoveFile(marker); !s) {
        if (s.accessDenied()) return AskSwitchService(os, marker, false, kBuild10c, kMake10cCurrentControl, s);
        return Status::Fail("Cannot switch to 1.0c: " + s.message() + ".");
    }
    return Status::Ok();
}

Status MakeBuild10eCurrent(platform::Services& os, std::string_view gameFolder) {
    const std::string marker = MarkerPath(gameFolder);
    if (os.PlainFileExists(marker)) return Status::Ok();
    if (Status s = os.CreateEmptyFile(marker); !s) {
        if (s.accessDenied()) return AskSwitchService(os, marker, true, kBuild10e, kMake10eCurrentControl, s);
        return Status::Fail("Cannot switch to 1.0e: " + s.message() + ".");
    }
    if (!os.PlainFileExists(marker))
        return Status::Fail("Cannot switch to 1.0e: the file " + marker +
                            " is hidden or a system file, so it does not count.");
    return Status::Ok();
}

}  // namespace common
