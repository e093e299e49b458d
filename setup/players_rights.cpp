#include "setup/players_rights.h"

#include "setup/steps.h"

namespace setup {

using platform::Status;

namespace {

// What was granted, beside the uninstall entry: the folder and the log.
constexpr std::string_view kFolderRecord = "UsersMayCreateFilesIn";
constexpr std::string_view kLogRecord = "UsersMayAppendTo";

// Records, then grants; a failure takes both back.
Status Grant(platform::Services& os, platform::SetupServices& system, Steps& steps, std::string_view record,
             const std::string& path, std::uint32_t rights) {
    if (Status s = steps.Take([&] { return os.WriteRegistry(RecordValue(record), path); },
                              [&os, record] { return os.DeleteRegistry(RecordValue(record)); });
        !s)
        return s;
    return steps.Take([&] { return system.GrantUsersRights(path, rights); },
                      [&system, path, rights] { return system.RevokeUsersRights(path, rights); });
}

}  // namespace

Report LetPlayersSwitch(platform::Services& os, platform::SetupServices& system, const GameFiles& game) {
    const std::string log = game.Path(kLogName);
    auto folderRights = system.UsersRights(game.folder);
    if (!folderRights) return {Outcome::Refused, folderRights.message()};
    const bool canCreate = (*folderRights & kCreateFiles) == kCreateFiles;
    bool canAppend = true;
    if (os.PlainFileExists(log)) {
        auto logRights = system.UsersRights(log);
        if (!logRights) return {Outcome::Refused, logRights.message()};
        canAppend = (*logRights & kAppendData) == kAppendData;
    }
    if (canCreate && canAppend)
        return {Outcome::Skipped, "The users of this PC may create files in " + game.folder + " already."};

    Steps steps;
    Status s = Status::Ok();
    if (!canCreate) s = Grant(os, system, steps, kFolderRecord, game.folder, kCreateFiles);
    if (s && !canAppend) s = Grant(os, system, steps, kLogRecord, log, kAppendData);
    if (!s) {
        const std::string notBack = steps.RollBack();
        return {notBack.empty() ? Outcome::Refused : Outcome::Broken,
                "The users of this PC could not be allowed to create files in " + game.folder + ": " + s.message() +
                    (notBack.empty() ? "" : "\nTaking back what was granted failed too:\n" + notBack)};
    }
    return {Outcome::Done, "The users of this PC may now create files in " + game.folder +
                               (canAppend ? "" : " and add to " + log) + ", so they can switch builds."};
}

std::string TakeBackPlayersRights(platform::Services& os, platform::SetupServices& system) {
    std::string failures;
    const std::pair<std::string_view, std::uint32_t> grants[] = {{kLogRecord, kAppendData},
                                                                 {kFolderRecord, kCreateFiles}};
    for (auto [record, rights] : grants) {
        auto path = os.ReadRegistry(RecordValue(record));
        if (!path || path->empty()) continue;
        // A log the player deleted took its grant along.
        const bool there = os.PlainFileExists(*path) || os.FolderExists(*path);
        if (Status s = there ? system.RevokeUsersRights(*path, rights) : Status::Ok(); !s) {
            failures += s.message() + "\n";
            continue;
        }
        (void)os.DeleteRegistry(RecordValue(record));
    }
    return failures;
}

}  // namespace setup
