#include "setup/switch_service.h"

#include <vector>

#include "common/build_marker.h"
#include "setup/service_sid.h"
#include "setup/steps.h"

namespace setup {

using platform::AccessEntry;
using platform::Inheritance;
using platform::Status;

namespace {

// Values beside the uninstall entry: the path each set of entries was added
// to, and the service's name.
constexpr std::string_view kLogRecord = "UsersMayAppendTo";
constexpr std::string_view kMarkerRecord = "ServiceMayDelete";
constexpr std::string_view kServiceRecord = "SwitchService";

// The entries a record stands for.
std::vector<AccessEntry> EntriesOf(std::string_view record) {
    const std::string service = ServiceSid(common::kSwitchServiceName);
    const std::string users(kUsersSid);
    if (record == kOldFolderRecord) return {{users, kCreateFiles}};
    if (record == kLogRecord) return {{users, kAppendData}};
    if (record == kServiceFolderRecord)
        return {{service, kCreateFiles}, {service, kDeleteFile, Inheritance::NewFiles}};
    return {{service, kDeleteFile}};  // kMarkerRecord
}

std::string Recorded(platform::Services& os, std::string_view record) {
    auto value = os.ReadRegistry(RecordValue(record));
    return value ? *value : "";
}

// Removes the entries a record stands for from the path it names, then the
// record. A path that is gone took its entries along; a hidden file is there.
Status TakeBack(platform::Services& os, platform::SetupServices& system, std::string_view record) {
    const std::string path = Recorded(os, record);
    if (!path.empty() && (os.FolderExists(path) || os.PlainFileExists(path) || system.UsersRights(path)))
        for (const auto& entry : EntriesOf(record))
            if (Status s = system.RemoveAccess(path, entry); !s) return s;
    return os.DeleteRegistry(RecordValue(record));
}

// Writes a record as a step, and flushes it to the disk: written lazily, it
// could reach the disk after the change it describes, which a power cut in
// between would leave with no record for the uninstaller to take back.
Status RecordFirst(platform::Services& os, Steps& steps, std::string_view record, const std::string& value,
                   Steps::Action undo) {
    if (Status s = steps.Take([&] { return os.WriteRegistry(RecordValue(record), value); }, std::move(undo)); !s)
        return s;
    return os.FlushRegistry(kRecordKey);
}

// Records `path`, then adds the entries. Recorded already for this path, an
// earlier setup added them: they are made sure of, and a failure later in
// this run leaves them to that setup's uninstaller.
Status Grant(platform::Services& os, platform::SetupServices& system, Steps& steps, std::string_view record,
             const std::string& path) {
    const std::string recorded = Recorded(os, record);
    const bool earlier = recorded == path;
    if (!earlier) {
        if (!recorded.empty())
            if (Status s = TakeBack(os, system, record); !s) return s;
        if (Status s = RecordFirst(os, steps, record, path,
                                   [&os, record] { return os.DeleteRegistry(RecordValue(record)); });
            !s)
            return s;
    }
    for (const auto& entry : EntriesOf(record))
        if (Status s = steps.Take([&] { return system.AddAccess(path, entry); },
                                  [&system, path, entry, earlier] {
                                      return earlier ? Status::Ok() : system.RemoveAccess(path, entry);
                                  });
            !s)
            return s;
    return Status::Ok();
}

// What lets someone change a program: write, delete, change permissions or
// take ownership.
constexpr std::uint32_t kChangeRights = 0x2 | 0x4 | 0x10000 | 0x40000 | 0x80000;

}  // namespace

platform::ServiceConfig SwitchServiceConfig(std::string_view program) {
    platform::ServiceConfig config;
    config.name = common::kSwitchServiceName;
    config.displayName = "Vantrel build switch";
    config.description =
        "Lets every player of this PC switch Age of Empires II - The Conquerors between its builds 1.0c and 1.0e: "
        "creates or deletes on.ini in the game folder that Vantrel's setup recorded, when Vantrel or Brennic asks, "
        "and does nothing else. It stops 30 seconds after the last request.";
    config.program = program;
    config.account = "NT AUTHORITY\\LocalService";
    // The system and administrators: all. Users: start it (RP), ask how it
    // is (LC) and send it its controls (CR); no stop, no change of its
    // settings or of these permissions.
    config.security =
        "D:(A;;CCDCLCSWRPWPDTLOCRSDRCWDWO;;;SY)(A;;CCDCLCSWRPWPDTLOCRSDRCWDWO;;;BA)(A;;RPLCCR;;;BU)";
    config.ownSid = true;
    // LocalService's others (impersonation among them) it never needs.
    config.privileges = {"SeChangeNotifyPrivilege"};
    config.eventSource = true;
    return config;
}

Report LetPlayersSwitch(platform::Services& os, platform::SetupServices& system, const GameFiles& game,
                        std::string_view program) {
    // The service runs its program with rights in the game folder: where
    // others could replace the program, they would run as the service.
    const std::string programFolder(program.substr(0, program.find_last_of('\\')));
    auto folderSecurity = system.ReadFolderSecurity(programFolder);
    auto programRights = system.UsersRights(program);
    if (!folderSecurity || !programRights)
        return {Outcome::Refused, Sentence(folderSecurity ? programRights.message() : folderSecurity.message()) +
                                      "\nThe build switch service was not installed."};
    const platform::FolderSecurity& folder = *folderSecurity;
    if ((folder.permissionsKept && (folder.link || folder.othersMayAlterIt || folder.othersMayRemoveItems ||
                                    folder.othersMayAddOrWrite)) ||
        (*programRights & kChangeRights))
        return {Outcome::Skipped, "The build switch service was not installed: others than administrators may "
                                  "change " + std::string(program) + " or its folder, and the service would run "
                                  "what they put there. Install Vantrel into a folder of its own to let players "
                                  "switch builds."};
    std::string said;
    if (!Recorded(os, kOldFolderRecord).empty()) {
        if (Status s = TakeBack(os, system, kOldFolderRecord); !s)
            return {Outcome::Refused, "The right of the users of this PC to create files in the game folder, "
                                      "which an earlier setup granted, could not be taken back: " +
                                          Sentence(s.message()) + "\nNothing else was changed."};
        said += "The users of this PC may no longer create files in " + game.folder + ".\n";
    }

    Steps steps;
    const std::string log = game.Path(kLogName);
    const std::string marker = game.Path(common::kMarkerFileName);
    const std::string service(common::kSwitchServiceName);
    const bool earlierService = !Recorded(os, kServiceRecord).empty();
    auto letSwitch = [&]() -> Status {
        // The stub's log needs no right to create files: it is made here. A
        // folder of that name gets nothing: there the right to append is the
        // right to create subfolders.
        if (!os.FolderExists(log)) {
            // A hidden log is still the log: only a missing one is made.
            auto logRights = system.UsersRights(log);
            if (!logRights) {
                if (Status s = steps.Take([&] { return os.WriteNewFile(log, ""); },
                                          [&os, log] { return os.RemoveFile(log); });
                    !s)
                    return s;
                logRights = system.UsersRights(log);
                if (!logRights) return logRights.status();
            }
            if ((*logRights & kAppendData) != kAppendData)
                if (Status s = Grant(os, system, steps, kLogRecord, log); !s) return s;
        }
        if (Status s = Grant(os, system, steps, kServiceFolderRecord, game.folder); !s) return s;
        // One made before the entry that lets the service delete new files.
        if (os.PlainFileExists(marker))
            if (Status s = Grant(os, system, steps, kMarkerRecord, marker); !s) return s;
        // The record's undo removes the service: an install that fails part
        // way may have made it.
        if (!earlierService)
            if (Status s = RecordFirst(os, steps, kServiceRecord, service,
                                       [&os, &system, service] {
                                           if (Status removed = system.RemoveService(service); !removed)
                                               return removed;
                                           return os.DeleteRegistry(RecordValue(kServiceRecord));
                                       });
                !s)
                return s;
        auto notes = system.InstallService(SwitchServiceConfig(program));
        if (!notes) return notes.status();
        said += *notes;
        return Status::Ok();
    };
    if (Status s = letSwitch(); !s) {
        const std::string notBack = steps.RollBack();
        return {notBack.empty() ? Outcome::PutBack : Outcome::Broken,
                said + "Players cannot switch builds through the build switch service: " + Sentence(s.message()) +
                    (notBack.empty() ? "\nWhat this step had changed was put back."
                                     : "\nTaking back what it had changed failed too:\n" + notBack +
                                           "Run the uninstaller to try once more.")};
    }
    said += "Players may switch builds: the service \"" + std::string(common::kSwitchServiceName) +
            "\" creates and deletes " + marker + " when they ask, and they may add to " + log + ".";
    return {earlierService ? Outcome::Updated : Outcome::Done, said};
}

std::string TakeBackPlayersSwitch(platform::Services& os, platform::SetupServices& system) {
    std::string failures;
    // The service first: it must not act while its rights go.
    if (!Recorded(os, kServiceRecord).empty()) {
        Status s = system.RemoveService(common::kSwitchServiceName);
        if (s) s = os.DeleteRegistry(RecordValue(kServiceRecord));
        if (!s) failures += s.message() + "\n";
    }
    for (std::string_view record : {kMarkerRecord, kServiceFolderRecord, kLogRecord, kOldFolderRecord})
        if (Status s = TakeBack(os, system, record); !s) failures += s.message() + "\n";
    return failures;
}

}  // namespace setup
