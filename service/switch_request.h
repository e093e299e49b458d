#pragma once
// What the build switch service (VantrelSwitch.exe) does with a request.
// It runs as a service account with rights of its own in the game folder,
// and any user may send it a request, so it trusts nothing but setup's
// record of the game folder: it works only there, only on on.ini, never
// through a link, and says in the event log what it refused and why.
//
//   128  makes 1.0e current: creates an empty on.ini when there is none
//   129  makes 1.0c current: deletes on.ini, a plain file with one name

#include <string>
#include <string_view>

#include "platform/result.h"

namespace service {

// What is at a path, found without following a link there.
struct Entry {
    bool exists = false;
    bool folder = false;
    bool link = false;  // a reparse point: a symbolic link, a junction, a mount point ...
    bool hiddenOrSystem = false;
    unsigned names = 1;  // hard links: a second name may lie in any folder
};

enum class Severity { Information, Warning, Error };

// What the service asks of the system, for one request. What it opens and
// holds it closes when the request is over.
class System {
public:
    virtual ~System() = default;
    // The game folder as setup recorded it, where only administrators may
    // change it.
    virtual platform::Result<std::string> RecordedGameFolder() = 0;
    // Opens the folder itself and holds it, so that it cannot be renamed,
    // removed or replaced while the request lasts.
    virtual platform::Result<Entry> HoldFolder(std::string_view path) = 0;
    // Opens what is at `path` itself, to delete it, and holds it; an Entry
    // that does not exist when nothing is there.
    virtual platform::Result<Entry> OpenForDeleting(std::string_view path) = 0;
    // Deletes what OpenForDeleting holds, through that handle.
    virtual platform::Status DeleteHeld() = 0;
    // What is at `path`, without holding it.
    virtual platform::Result<Entry> Look(std::string_view path) = 0;
    // Creates an empty file; fails when anything is at the path already,
    // a link included, and never follows one.
    virtual platform::Status CreateNew(std::string_view path) = 0;
    // One event in the Application event log.
    virtual void Log(Severity severity, std::string_view text) = 0;
};

enum class Outcome { Changed, AlreadyCurrent, Refused, Failed };

// Carries out one control sent to the service, logging what it changed,
// refused or could not do.
Outcome CarryOut(System& system, unsigned control);

}  // namespace service
