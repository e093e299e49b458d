#include "service/switch_request.h"

#include "common/build_marker.h"
#include "setup/game_swap.h"
#include "setup/switch_service.h"

namespace service {

using platform::Status;

namespace {

// Why what is at `path` is not a plain file with one name; empty when it is.
std::string NotPlain(const std::string& path, const Entry& entry) {
    if (entry.link) return path + " is a link to somewhere else";
    if (entry.folder) return path + " is a folder";
    if (entry.hiddenOrSystem) return path + " is hidden or a system file, so it does not count as the marker";
    if (entry.names != 1) return path + " has other names too (hard links), which may lie in any folder";
    return "";
}

class Request {
public:
    Request(System& system, unsigned control) : system_(system), control_(control) {}

    Outcome Refuse(const std::string& why) {
        system_.Log(Severity::Warning, Asked() + " refused: " + why + ". Nothing was changed.");
        return Outcome::Refused;
    }
    Outcome Fail(const Status& why) {
        system_.Log(Severity::Error, Asked() + " failed: " + why.message() + ".");
        return Outcome::Failed;
    }
    Outcome Changed(const std::string& what) {
        system_.Log(Severity::Information, Asked() + ": " + what + ".");
        return Outcome::Changed;
    }

private:
    std::string Asked() const {
        const char* build = control_ == common::kMake10eCurrentControl ? "1.0e" : "1.0c";
        return "Request " + std::to_string(control_) + " (make " + build + " current)";
    }
    System& system_;
    unsigned control_;
};

Outcome Make10eCurrent(System& system, Request& request, const std::string& marker) {
    auto there = system.Look(marker);
    if (!there) return request.Fail(there.status());
    if (there->exists) {
        const std::string why = NotPlain(marker, *there);
        return why.empty() ? Outcome::AlreadyCurrent : request.Refuse(why);
    }
    if (Status s = system.CreateNew(marker); !s) return request.Fail(s);
    return request.Changed("created " + marker);
}

Outcome Make10cCurrent(System& system, Request& request, const std::string& marker) {
    // Checked on the handle it is deleted through: what is checked is
    // what goes, whatever is put at the name meanwhile.
    auto held = system.OpenForDeleting(marker);
    if (!held) return request.Fail(held.status());
    if (!held->exists) return Outcome::AlreadyCurrent;
    if (const std::string why = NotPlain(marker, *held); !why.empty()) return request.Refuse(why);
    if (Status s = system.DeleteHeld(); !s) return request.Fail(s);
    return request.Changed("deleted " + marker);
}

}  // namespace

Outcome CarryOut(System& system, unsigned control) {
    Request request(system, control);
    if (control != common::kMake10eCurrentControl && control != common::kMake10cCurrentControl) {
        system.Log(Severity::Warning, "Request " + std::to_string(control) +
                                          " refused: the service knows only 128 (make 1.0e current) and 129 "
                                          "(make 1.0c current). Nothing was changed.");
        return Outcome::Refused;
    }
    auto folder = system.RecordedGameFolder();
    if (!folder)
        return request.Refuse("setup has recorded no game folder (" +
                              setup::RecordValue(setup::kServiceFolderRecord) + "): " + folder.message());
    if (folder->empty()) return request.Refuse("setup's record of the game folder is empty");
    auto held = system.HoldFolder(*folder);
    if (!held) return request.Fail(held.status());
    if (!held->exists || !held->folder) return request.Refuse("the game folder " + *folder + " does not exist");
    if (held->link)
        return request.Refuse("the game folder " + *folder +
                              " is a link to another folder (a junction or a symbolic link)");
    const std::string marker = common::MarkerPath(*folder);
    return control == common::kMake10eCurrentControl ? Make10eCurrent(system, request, marker)
                                                     : Make10cCurrent(system, request, marker);
}

}  // namespace service
