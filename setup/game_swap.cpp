#include "setup/game_swap.h"

#include <algorithm>
#include <optional>

#include "setup/sha256.h"
#include "setup/steps.h"
#include "setup/stub_mark.h"

namespace setup {

using platform::Result;
using platform::Status;

namespace {

// What setup wrote down when it moved the game's executable aside.
struct Record {
    GameFiles game;
    std::string size;    // decimal byte count
    std::string sha256;  // lower-case hexadecimal
};

constexpr std::string_view kRecordNames[] = {"GameFolder", "GameExecutable", "GameSize", "GameSHA256"};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return lower;
}

bool SameName(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Sentence(std::string text) {
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

// A record with any value missing counts as none.
std::optional<Record> ReadRecord(platform::Services& os) {
    std::string values[4];
    for (int i = 0; i < 4; ++i) {
        auto value = os.ReadRegistry(RecordValue(kRecordNames[i]));
        if (!value || value->empty()) return std::nullopt;
        values[i] = *value;
    }
    return Record{{values[0], values[1]}, values[2], values[3]};
}

// Writes the record; a failure takes back the values already written.
Status WriteRecord(platform::Services& os, const Record& record) {
    const std::string values[4] = {record.game.folder, record.game.executable, record.size, record.sha256};
    for (int i = 0; i < 4; ++i) {
        if (Status s = os.WriteRegistry(RecordValue(kRecordNames[i]), values[i]); !s) {
            for (int j = 0; j < i; ++j) (void)os.DeleteRegistry(RecordValue(kRecordNames[j]));
            return Status::Fail("Cannot record what setup did in the registry: " + s.message());
        }
    }
    return Status::Ok();
}

Status DeleteRecord(platform::Services& os) {
    Status result = Status::Ok();
    for (auto name : kRecordNames)
        if (Status s = os.DeleteRegistry(RecordValue(name)); !s) result = s;
    return result;
}

Record RecordOf(const GameFiles& game, std::string_view original) {
    return {game, std::to_string(original.size()), Sha256Hex(original)};
}

bool SameGame(const GameFiles& a, const GameFiles& b) {
    return SameName(a.folder, b.folder) && SameName(a.executable, b.executable);
}

bool Matches(const Record& record, std::string_view bytes) {
    return std::to_string(bytes.size()) == record.size && Sha256Hex(bytes) == record.sha256;
}

bool GameRunning(platform::Services& os) { return os.FindWindowByTitle(kGameWindowTitle) != 0; }

std::string GameRunningText(std::string_view doing) {
    return "The game is running: its window " + Quote(kGameWindowTitle) + " is open. Close the game, then " +
           std::string(doing) + " again. Nothing was changed.";
}

// What is at a path. A file that cannot be read (held by a scan or a backup,
// say) is never taken for absent or for different: nothing can be decided
// about it.
struct Found {
    enum Kind { Absent, File, Unreadable } kind = Absent;
    std::string bytes;  // File
    std::string why;    // Unreadable
    bool Stub() const { return kind == File && IsOurStub(bytes); }
};

Found Look(platform::Services& os, const std::string& path) {
    if (os.FolderExists(path)) return {Found::Unreadable, {}, "a folder " + path + " is in the way"};
    if (!os.PlainFileExists(path)) return {};
    auto bytes = os.ReadFileBytes(path);
    if (!bytes) return {Found::Unreadable, {}, Sentence(bytes.message())};
    return {Found::File, *bytes, {}};
}

// The files setup and the uninstaller decide by, in the game folder.
struct FolderState {
    Found current;  // under the game's name
    Found kept;     // Brennic_Original.exe
    Found copied;   // Brennic.exe
    Found left;     // what a cut-off run left under the stub's temporary name
    const Found* Unreadable() const {
        for (const Found* f : {&current, &kept, &copied, &left})
            if (f->kind == Found::Unreadable) return f;
        return nullptr;
    }
};

FolderState LookAt(platform::Services& os, const GameFiles& game) {
    return {Look(os, game.ExecutablePath()), Look(os, game.Path(kOriginalName)), Look(os, game.Path(kStubName)),
            Look(os, game.Path(kNewStubName))};
}

// Puts `stub` at `path`, replacing our own older stub there. The new stub is
// complete on disk under the temporary name before the old one goes, so the
// game's name never holds part of a program.
Status WriteStub(platform::Services& os, Steps& steps, const GameFiles& game, const std::string& path,
                 std::string_view stub) {
    const Found there = Look(os, path);
    if (there.kind == Found::Unreadable) return Status::Fail(there.why);
    if (there.kind == Found::File && there.bytes == stub) return Status::Ok();
    const std::string fresh = game.Path(kNewStubName);
    if (Status s = steps.Take([&] { return os.WriteNewFile(fresh, stub); },
                              [&os, fresh] { return os.RemoveFile(fresh); });
        !s)
        return s;
    if (there.kind == Found::File) {
        const std::string old = there.bytes;
        if (Status s = steps.Take([&] { return os.RemoveFile(path); },
                                  [&os, path, old] { return os.WriteNewFile(path, old); });
            !s)
            return s;
    }
    return steps.Take([&] { return os.RenameFile(fresh, path); },
                      [&os, fresh, path] { return os.RenameFile(path, fresh); });
}

// Removes our stub at `path`, found as `found`, as a step that can be taken back.
Status RemoveStub(platform::Services& os, Steps& steps, const std::string& path, const Found& found) {
    if (!found.Stub()) return Status::Ok();
    const std::string bytes = found.bytes;
    return steps.Take([&] { return os.RemoveFile(path); },
                      [&os, path, bytes] { return os.WriteNewFile(path, bytes); });
}

// The report of a step that failed: everything is put back, or what is not.
Report Failed(Steps& steps, const Status& failure, const GameFiles& game) {
    const std::string notBack = steps.RollBack();
    if (notBack.empty())
        return {Outcome::PutBack, Sentence(failure.message()) + "\nEverything changed in the game folder " +
                                      game.folder + " before that was put back as it was."};
    return {Outcome::Broken, Sentence(failure.message()) + "\nPutting the game folder " + game.folder +
                                 " back as it was failed too:\n" + notBack + "What to do by hand: " +
                                 game.Path(kOriginalName) + " is the game's executable. If " +
                                 game.ExecutablePath() + " is missing, rename " + std::string(kOriginalName) +
                                 " back to " + game.executable + "; then run setup or the uninstaller again."};
}

Report Refuse(const std::string& why) {
    return {Outcome::Refused, Sentence(why) + "\nNothing was changed in the game folder."};
}

// An interrupted run left the game's executable only under the original's
// name, and nothing says it is the game: a person has to decide.
Report RefuseUnrecorded(const GameFiles& game) {
    return Refuse(game.ExecutablePath() + " is missing and " + game.Path(kOriginalName) +
                  " is there, but setup has no record of moving it. If " + std::string(kOriginalName) +
                  " is the game's executable, rename it back to " + game.executable + " and run setup again");
}

Report CannotRead(const std::string& why, std::string_view doing) {
    return {Outcome::Refused, Sentence(why) + "\nWithout reading it, it is not safe to " + std::string(doing) +
                                  ". Nothing was changed; when the file is free (a virus scan or a backup may "
                                  "hold it), " + std::string(doing) + " again."};
}

}  // namespace

int ExitCode(Outcome outcome) {
    switch (outcome) {
    case Outcome::Done: return 0;
    case Outcome::Updated:
    case Outcome::Skipped: return 1;
    case Outcome::Refused:
    case Outcome::PutBack: return 2;
    case Outcome::Broken: break;
    }
    return 3;
}

Result<GameFiles> FindGame(platform::Services& os, std::string_view chosen) {
    GameFiles game;
    if (!chosen.empty()) {
        const auto slash = chosen.find_last_of("\\/");
        if (slash == std::string_view::npos || slash + 1 == chosen.size())
            return Result<GameFiles>::Fail("The game's executable " + Quote(chosen) + " is not a full path.");
        game = {std::string(chosen.substr(0, slash)), std::string(chosen.substr(slash + 1))};
    } else {
        const std::string path = std::string(kGameKey) + "Path";
        const std::string file = std::string(kGameKey) + "File";
        auto folder = os.ReadRegistry(path);
        if (!folder || folder->empty())
            return Result<GameFiles>::Fail("The game is not registered: the registry value " + path +
                                           " is missing or empty.");
        auto executable = os.ReadRegistry(file);
        if (!executable || executable->empty())
            return Result<GameFiles>::Fail("The game's registration names no executable: the registry value " +
                                           file + " is missing or empty.");
        game = {*folder, *executable};
    }
    while (game.folder.size() > 3 && (game.folder.back() == '\\' || game.folder.back() == '/')) game.folder.pop_back();
    if (game.executable.find_first_of("\\/:") != std::string::npos || SameName(game.executable, kStubName) ||
        SameName(game.executable, kOriginalName))
        return Result<GameFiles>::Fail(Quote(game.executable) + " cannot be the game's executable.");
    if (!os.FolderExists(game.folder))
        return Result<GameFiles>::Fail("The game folder " + game.folder + " does not exist.");
    if (!os.PlainFileExists(game.ExecutablePath()) && !os.PlainFileExists(game.Path(kOriginalName)))
        return Result<GameFiles>::Fail("The game's executable " + game.ExecutablePath() + " does not exist.");
    return game;
}

Report PutStubInFront(platform::Services& os, const GameFiles& game, std::string_view stub) {
    if (GameRunning(os)) return {Outcome::Refused, GameRunningText("run setup")};
    if (!IsOurStub(stub)) return Refuse("The stub to install does not carry Brennic's mark");

    const std::string executable = game.ExecutablePath();
    const std::string original = game.Path(kOriginalName);
    const std::string copy = game.Path(kStubName);
    const std::string fresh = game.Path(kNewStubName);
    const auto record = ReadRecord(os);
    if (record && !SameGame(record->game, game))
        return Refuse("Setup has put Brennic in front of the game in " + record->game.ExecutablePath() +
                      " already. Uninstall Vantrel first to give that one back");
    const FolderState state = LookAt(os, game);
    if (const Found* f = state.Unreadable()) return CannotRead(f->why, "run setup");
    const auto& [current, kept, copied, left] = state;
    if (copied.kind == Found::File && !copied.Stub())
        return Refuse("The file " + copy + " is not Brennic, so setup does not replace it");
    if (left.kind == Found::File && !left.Stub())
        return Refuse("The file " + fresh + " is not Brennic, so setup does not replace it");

    Steps steps;
    auto putStubs = [&]() -> Status {
        // A stub an interrupted run left under the temporary name goes first.
        if (Status s = RemoveStub(os, steps, fresh, left); !s) return s;
        if (Status s = WriteStub(os, steps, game, executable, stub); !s) return s;
        return WriteStub(os, steps, game, copy, stub);
    };
    // The record comes before the first change: whatever cuts setup off
    // later, a new run of setup or of the uninstaller knows what was moved.
    auto recordFirst = [&](const std::string& bytes) -> Status {
        if (record) return Status::Ok();
        return steps.Take([&] { return WriteRecord(os, RecordOf(game, bytes)); }, [&] { return DeleteRecord(os); });
    };
    const std::string inFront = "Brennic is in front of the game now: " + executable + " was renamed " +
                                std::string(kOriginalName) + ", and Brennic was copied under its name and as " +
                                std::string(kStubName) + ".";

    if (current.kind == Found::Absent) {
        // Setup or the uninstaller was cut off after the rename: finish.
        if (!record) return RefuseUnrecorded(game);
        if (!Matches(*record, kept.bytes))
            return Refuse(executable + " is missing, and " + original +
                          " is not the game's executable that setup recorded");
        if (Status s = putStubs(); !s) return Failed(steps, s, game);
        return {Outcome::Done, inFront};
    }

    if (current.Stub()) {
        // A second setup, or one over an older version: the stubs are
        // updated, and the original beside them is never touched.
        if (kept.kind == Found::Absent)
            return Refuse(executable + " is Brennic, but " + original +
                          " is missing, so there is no game executable to put back or start");
        // Brennic put there by hand: from now on the uninstaller can give
        // back what it found.
        if (Status s = recordFirst(kept.bytes); !s) return Failed(steps, s, game);
        if (Status s = putStubs(); !s) return Failed(steps, s, game);
        return {Outcome::Updated, "Brennic was in front of the game in " + game.folder + " already; it is up to date now."};
    }

    if (record && !Matches(*record, current.bytes))
        return Refuse(executable + " is neither the game's executable that setup recorded nor Brennic");
    if (kept.kind != Found::Absent)
        return Refuse(original + " exists already, while " + executable +
                      " is not Brennic. Setup does not know which of them is the game");
    if (Status s = recordFirst(current.bytes); !s) return Failed(steps, s, game);
    if (Status s = steps.Take([&] { return os.RenameFile(executable, original); },
                              [&] { return os.RenameFile(original, executable); });
        !s)
        return Failed(steps, s, game);
    if (Status s = putStubs(); !s) return Failed(steps, s, game);
    return {Outcome::Done, inFront};
}

Report GiveGameBack(platform::Services& os) {
    const auto record = ReadRecord(os);
    if (!record) {
        // What a run cut off while removing the record left of it.
        (void)DeleteRecord(os);
        return {Outcome::Skipped, "Setup did not put Brennic in front of the game, so there is nothing to give back."};
    }
    const GameFiles& game = record->game;
    if (GameRunning(os)) return {Outcome::Refused, GameRunningText("uninstall")};
    // The game was removed: nothing is left to give back. Should its drive
    // only be away, a later setup adopts the stub it finds there again.
    if (!os.FolderExists(game.folder))
        return {Outcome::Skipped, "The game folder " + game.folder + " no longer exists, so there is nothing to give back."};

    const std::string executable = game.ExecutablePath();
    const std::string original = game.Path(kOriginalName);
    const std::string copy = game.Path(kStubName);
    const std::string fresh = game.Path(kNewStubName);
    const FolderState state = LookAt(os, game);
    if (const Found* f = state.Unreadable()) return CannotRead(f->why, "uninstall");
    const auto& [current, kept, copied, left] = state;

    // Only a file that is there and is something else is left as it is.
    auto leave = [&](const std::string& why) -> Report {
        return {Outcome::Skipped, "The game folder " + game.folder + " was left as it is: " + why +
                                      " (a patch of the game may have replaced it since setup)."};
    };
    const bool gameInPlace = current.kind == Found::File && Matches(*record, current.bytes);
    const bool originalKept = kept.kind == Found::File && Matches(*record, kept.bytes);
    if (current.kind == Found::File && !current.Stub() && !gameInPlace)
        return leave(executable + " is no longer Brennic");
    if (current.Stub() && kept.kind == Found::File && !originalKept)
        return leave(original + " is no longer the game's executable that setup moved aside");
    if (!gameInPlace && !originalKept) {
        const std::string missing = kept.kind == Found::Absent ? original + " is missing"
                                                               : original + " is not the game's executable that setup recorded";
        return {Outcome::Refused, "The game's executable cannot be given back: " + missing + ", and " + executable +
                                      (current.kind == Found::Absent ? " is missing too" : " is Brennic") +
                                      ". Nothing was changed. Put the game's executable back as " + original +
                                      " (from the game's disc or a backup), then uninstall again."};
    }

    Steps steps;
    std::string note;
    if (copied.kind == Found::File && !copied.Stub()) note = "\n" + copy + " is not Brennic, so it was left there.";
    if (Status s = RemoveStub(os, steps, fresh, left); !s) return Failed(steps, s, game);
    if (Status s = RemoveStub(os, steps, copy, copied); !s) return Failed(steps, s, game);
    if (!gameInPlace) {
        if (Status s = RemoveStub(os, steps, executable, current); !s) return Failed(steps, s, game);
        if (Status s = steps.Take([&] { return os.RenameFile(original, executable); },
                                  [&] { return os.RenameFile(executable, original); });
            !s)
            return Failed(steps, s, game);
    }
    // Removed last: until then a new run knows what to finish.
    if (Status s = DeleteRecord(os); !s) note += "\nSetup's record could not be removed: " + Sentence(s.message());
    return {Outcome::Done, "The game's executable " + executable + " is back as it was, and Brennic was removed from " +
                               game.folder + "." + note};
}

}  // namespace setup
