#include "setup/game_swap.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "setup/sha256.h"
#include "setup/steps.h"
#include "setup/stub_mark.h"

namespace setup {

using platform::Result;
using platform::Status;

namespace {

constexpr std::string_view kRecordNames[] = {"GameFolder", "GameExecutable", "GameSize", "GameSHA256"};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return lower;
}

bool SameName(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Writes the record, a value a step, and flushes it to the disk, so that no
// change it describes can reach the disk before it.
Status WriteRecord(platform::Services& os, Steps& steps, const Record& record) {
    const std::string values[4] = {record.game.folder, record.game.executable, record.size, record.sha256};
    Status s = Status::Ok();
    for (int i = 0; i < 4 && s; ++i) {
        const std::string path = RecordValue(kRecordNames[i]);
        s = steps.Take([&] { return os.WriteRegistry(path, values[i]); }, [&os, path] { return os.DeleteRegistry(path); });
    }
    if (s) s = steps.Take([&] { return os.FlushRegistry(kRecordKey); }, [] { return Status::Ok(); });
    if (s) return s;
    return Status::Fail("Cannot record what setup does in the registry: " + s.message());
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
    Found temporary[3];  // setup's own names: the new stub's, then the asides'
    const Found* Unreadable() const {
        for (const Found* f : {&current, &kept, &copied, &temporary[0], &temporary[1], &temporary[2]})
            if (f->kind == Found::Unreadable) return f;
        return nullptr;
    }
};

std::string TemporaryName(int i) { return std::string(i == 0 ? kNewStubName : kAsideNames[i - 1]); }

FolderState LookAt(platform::Services& os, const GameFiles& game) {
    FolderState state{Look(os, game.ExecutablePath()), Look(os, game.Path(kOriginalName)),
                      Look(os, game.Path(kStubName)), {}};
    for (int i = 0; i < 3; ++i) state.temporary[i] = Look(os, game.Path(TemporaryName(i)));
    return state;
}

// A file of one name (no link to another) that an administrator made: what
// a write of setup's that was cut off part way leaves.
bool CutOffWrite(platform::Services& os, const std::string& path) {
    auto facts = os.FactsOf(path);
    return facts && facts->plain && facts->links == 1 && facts->ownedByAdministrators;
}

// Whether a file under one of setup's own names is what an interrupted run
// of setup left: a stub, or, while setup's record says a run was under way,
// a write cut off. Anybody else's file stays.
bool LeftBySetup(platform::Services& os, const std::string& path, const Found& found, bool recorded) {
    if (found.Stub()) return true;
    return recorded && found.kind == Found::File && CutOffWrite(os, path);
}

Status RemoveIfThere(platform::Services& os, const std::string& path) {
    return os.PlainFileExists(path) ? os.RemoveFile(path) : Status::Ok();
}

using Accepts = bool (*)(std::string_view, const Record*);
bool Brennic(std::string_view bytes, const Record*) { return IsOurStub(bytes); }
bool TheGame(std::string_view bytes, const Record* record) { return Matches(*record, bytes); }

// Fails unless the file at `path` is, right now, what `accepts` takes.
Status Still(platform::Services& os, const std::string& path, Accepts accepts, const Record* record) {
    auto bytes = os.ReadFileBytes(path);
    if (!bytes) return bytes.status();
    if (!accepts(*bytes, record))
        return Status::Fail(path + " changed while setup worked: it is no longer " +
                            (accepts == Brennic ? "Brennic" : "the game's executable that setup recorded"));
    return Status::Ok();
}

// Moves `from` over `to`, right after checking that `to` is still ours.
Status MoveOver(platform::Services& os, const std::string& from, const std::string& to, Accepts accepts,
                const Record* record) {
    if (Status s = Still(os, to, accepts, record); !s) return s;
    return os.MoveFileOver(from, to);
}

// A second name for the file at `path`, or, where the disk has no hard
// links, a whole copy of it: either way a whole program under `name`.
Status SecondName(platform::Services& os, const std::string& path, const std::string& name, const std::string& bytes) {
    if (os.LinkFile(path, name)) return Status::Ok();
    return os.WriteNewFile(name, bytes);
}

// One run's changes in the game folder.
class Change {
public:
    Change(platform::Services& os, const GameFiles& game, const Record& record)
        : os_(os), game_(game), record_(record), steps_([&os, folder = game.folder] { return os.CheckHeldFolder(folder); }) {}

    Steps& steps() { return steps_; }
    std::string Path(std::string_view name) const { return game_.Path(name); }

    // Puts `stub` at `path` in place of `there` (nothing, or our stub):
    // written whole under the temporary name, then moved there in one step.
    // A whole copy of an older stub is kept aside until the run ends: a
    // copy, not a second name, which a program holding the stub open would
    // keep from being removed again.
    Status PlaceStub(const std::string& path, const Found& there, int aside, std::string_view stub) {
        if (there.kind == Found::File && there.bytes == stub) return Status::Ok();
        const std::string kept = Path(kAsideNames[aside]);
        if (there.kind == Found::File)
            if (Status s = Take([&] { return os_.WriteNewFile(kept, there.bytes); }, Remove(kept)); !s) return s;
        if (Status s = WriteFresh(stub); !s) return s;
        const std::string fresh = Path(kNewStubName);
        auto& os = os_;
        if (there.kind == Found::Absent)
            return Take([&] { return os.RenameFile(fresh, path); },
                        [&os, fresh, path] {
                            Status s = Still(os, path, Brennic, nullptr);
                            return s ? os.RenameFile(path, fresh) : s;
                        });
        return Take([&] { return MoveOver(os, fresh, path, Brennic, nullptr); },
                    [&os, kept, path] { return MoveOver(os, kept, path, Brennic, nullptr); });
    }

    // The stub replaces the game under its name, which keeps it as
    // Brennic_Original.exe (made by KeepOriginal) meanwhile.
    Status StubOverGame(std::string_view stub) {
        if (Status s = WriteFresh(stub); !s) return s;
        const std::string fresh = Path(kNewStubName), executable = game_.ExecutablePath(),
                          original = Path(kOriginalName);
        auto& os = os_;
        const Record* record = &record_;
        return Take(
            [&] {
                Status s = Still(os, original, TheGame, record);
                return s ? MoveOver(os, fresh, executable, TheGame, record) : s;
            },
            [&os, original, executable] { return MoveOver(os, original, executable, Brennic, nullptr); });
    }

    Status KeepOriginal(const std::string& bytes) {
        const std::string original = Path(kOriginalName);
        return Take([&] { return SecondName(os_, game_.ExecutablePath(), original, bytes); }, Remove(original));
    }

    // The game goes back under its name in one move over our stub, a copy
    // of which is kept aside until the run ends; then it is flushed to the
    // disk, before the record goes. Taken back, the game gets its second
    // name again before the stub returns.
    Status GameOverStub(const std::string& stubBytes, const std::string& gameBytes) {
        const std::string executable = game_.ExecutablePath(), original = Path(kOriginalName),
                          kept = Path(kAsideNames[0]);
        if (Status s = Take([&] { return os_.WriteNewFile(kept, stubBytes); }, Remove(kept)); !s) return s;
        auto& os = os_;
        const Record* record = &record_;
        if (Status s = Take(
                [&] {
                    Status s = Still(os, original, TheGame, record);
                    return s ? MoveOver(os, original, executable, Brennic, nullptr) : s;
                },
                [&os, record, executable, original, kept, gameBytes] {
                    Status s = Still(os, executable, TheGame, record);
                    if (s) s = SecondName(os, executable, original, gameBytes);
                    return s ? MoveOver(os, kept, executable, TheGame, record) : s;
                });
            !s)
            return s;
        return Take([&] { return os.FlushFile(executable); }, [] { return Status::Ok(); });
    }

    // Brennic.exe goes aside until the run ends.
    Status RemoveCopy() {
        const std::string copy = Path(kStubName), kept = Path(kAsideNames[1]);
        auto& os = os_;
        return Take(
            [&] {
                Status s = Still(os, copy, Brennic, nullptr);
                return s ? os.RenameFile(copy, kept) : s;
            },
            [&os, copy, kept] { return os.RenameFile(kept, copy); });
    }

    // The asides go once the run has done all it was to do. One left behind
    // (a virus scan may hold a program just written) is only a spare copy of
    // Brennic: said, not failed.
    std::string RemoveAsides() {
        std::string note;
        for (auto name : kAsideNames)
            if (Status s = RemoveIfThere(os_, Path(name)); !s)
                note += "\n" + Sentence(s.message()) + " It is a spare copy of Brennic, which you may delete; the "
                        "next run of setup removes it too.";
        return note;
    }

private:
    Status Take(const Steps::Action& action, Steps::Action undo) { return steps_.Take(action, std::move(undo)); }
    Steps::Action Remove(const std::string& path) {
        return [&os = os_, path] { return RemoveIfThere(os, path); };
    }
    Status WriteFresh(std::string_view stub) {
        const std::string fresh = Path(kNewStubName);
        return Take([&] { return os_.WriteNewFile(fresh, stub); }, Remove(fresh));
    }

    platform::Services& os_;
    const GameFiles& game_;
    const Record& record_;
    Steps steps_;
};

// The report of a step that failed: everything is put back, or what is not.
Report Failed(Steps& steps, const Status& failure, const GameFiles& game) {
    const std::string notBack = steps.RollBack();
    if (notBack.empty())
        return {Outcome::PutBack, Sentence(failure.message()) + "\nEverything this run changed in the game folder " +
                                      game.folder + " before that was put back as it was."};
    return {Outcome::Broken, Sentence(failure.message()) + "\nPutting the game folder " + game.folder +
                                 " back as it was failed too, and stopped there:\n" + notBack +
                                 "Setup's record of what it did stays, so running setup again finishes the work, "
                                 "and running the uninstaller gives the game back. Should neither succeed: " +
                                 game.Path(kOriginalName) + ", when it is there, is the game's executable; rename "
                                 "it to " + game.executable + " in place of Brennic."};
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

// Removes what an interrupted run left: the files `LeftBySetup` knows, and
// Brennic_Original.exe when it is a second name (or copy) of the recorded
// game that is under the game's name too. Answers the paths it cannot tell
// are setup's, which stay.
struct Leftovers {
    std::vector<std::string> ours, foreign;
};

Leftovers FindLeftovers(platform::Services& os, const GameFiles& game, const FolderState& state,
                        const std::optional<Record>& record) {
    Leftovers found;
    for (int i = 0; i < 3; ++i) {
        const std::string path = game.Path(TemporaryName(i));
        if (state.temporary[i].kind == Found::Absent) continue;
        (LeftBySetup(os, path, state.temporary[i], record.has_value()) ? found.ours : found.foreign).push_back(path);
    }
    // With the recorded game under its name, Brennic_Original.exe is a second
    // name of it, or a copy, begun by a run that was cut off.
    const std::string original = game.Path(kOriginalName);
    if (record && state.current.kind == Found::File && Matches(*record, state.current.bytes) &&
        state.kept.kind == Found::File && !state.kept.Stub() &&
        (Matches(*record, state.kept.bytes) || CutOffWrite(os, original)))
        found.ours.push_back(original);
    return found;
}

Status RemoveAll(platform::Services& os, const std::vector<std::string>& paths) {
    for (const auto& path : paths)
        if (Status s = os.RemoveFile(path); !s) return s;
    return Status::Ok();
}

}  // namespace

std::optional<Record> ReadRecord(platform::Services& os) {
    std::string values[4];
    for (int i = 0; i < 4; ++i) {
        auto value = os.ReadRegistry(RecordValue(kRecordNames[i]));
        if (!value || value->empty()) return std::nullopt;
        values[i] = *value;
    }
    return Record{{values[0], values[1]}, values[2], values[3]};
}

bool Matches(const Record& record, std::string_view bytes) {
    return std::to_string(bytes.size()) == record.size && Sha256Hex(bytes) == record.sha256;
}

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
    const auto record = ReadRecord(os);
    if (record && !SameGame(record->game, game))
        return Refuse("Setup has put Brennic in front of the game in " + record->game.ExecutablePath() +
                      " already. Uninstall Vantrel first to give that one back");
    if (Status s = os.HoldFolder(game.folder); !s) return Refuse(s.message());
    const FolderState state = LookAt(os, game);
    if (const Found* f = state.Unreadable()) return CannotRead(f->why, "run setup");
    const auto& [current, kept, copied, temporary] = state;
    if (copied.kind == Found::File && !copied.Stub())
        return Refuse("The file " + copy + " is not Brennic, so setup does not replace it");
    const Leftovers leftovers = FindLeftovers(os, game, state, record);
    if (!leftovers.foreign.empty())
        return Refuse("The file " + leftovers.foreign.front() + " is not Brennic, so setup does not replace it");

    // What this run will do, decided before anything changes.
    enum { FinishCutOff, UpdateStubs, FirstTime } plan;
    const bool originalLeftOver =
        std::find(leftovers.ours.begin(), leftovers.ours.end(), original) != leftovers.ours.end();
    if (current.kind == Found::Absent) {
        // An older setup or uninstaller was cut off after renaming: finish.
        if (!record) return RefuseUnrecorded(game);
        if (!Matches(*record, kept.bytes))
            return Refuse(executable + " is missing, and " + original +
                          " is not the game's executable that setup recorded");
        plan = FinishCutOff;
    } else if (current.Stub()) {
        // A second setup, or one over an older version: the stubs are
        // updated, and the original beside them is never touched.
        if (kept.kind == Found::Absent)
            return Refuse(executable + " is Brennic, but " + original +
                          " is missing, so there is no game executable to put back or start");
        plan = UpdateStubs;
    } else {
        if (record && !Matches(*record, current.bytes))
            return Refuse(executable + " is neither the game's executable that setup recorded nor Brennic");
        if (kept.kind != Found::Absent && !originalLeftOver)
            return Refuse(original + " exists already, while " + executable +
                          " is not Brennic. Setup does not know which of them is the game");
        plan = FirstTime;
    }

    // Brennic put there by hand is adopted with what it stands in front of;
    // from now on the uninstaller can give that back.
    const Record target = record ? *record : RecordOf(game, plan == UpdateStubs ? kept.bytes : current.bytes);
    Change change(os, game, target);
    Steps& steps = change.steps();
    std::string note;
    if (!leftovers.ours.empty()) {
        if (Status s = RemoveAll(os, leftovers.ours); !s)
            return {Outcome::Refused, "What an interrupted run left in the game folder cannot be removed: " +
                                          Sentence(s.message()) + "\nNothing else was changed."};
        note = "\nWhat an interrupted run left was removed.";
    }
    // The record comes before the first change: whatever cuts setup off
    // later, a new run of setup or of the uninstaller knows what was moved.
    if (!record)
        if (Status s = WriteRecord(os, steps, target); !s) return Failed(steps, s, game);
    Status s = Status::Ok();
    if (plan == FinishCutOff) s = change.PlaceStub(executable, current, 0, stub);
    if (plan == UpdateStubs) s = change.PlaceStub(executable, current, 0, stub);
    if (plan == FirstTime) {
        s = change.KeepOriginal(current.bytes);
        if (s) s = change.StubOverGame(stub);
    }
    if (s) s = change.PlaceStub(copy, copied, 1, stub);
    if (!s) return Failed(steps, s, game);
    note += change.RemoveAsides();
    if (plan == UpdateStubs)
        return {Outcome::Updated,
                "Brennic was in front of the game in " + game.folder + " already; it is up to date now." + note};
    return {Outcome::Done, "Brennic is in front of the game now: " + executable + " was renamed " +
                               std::string(kOriginalName) + ", and Brennic was copied under its name and as " +
                               std::string(kStubName) + "." + note};
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
    if (Status s = os.HoldFolder(game.folder); !s) return Refuse(s.message());

    const std::string executable = game.ExecutablePath();
    const std::string original = game.Path(kOriginalName);
    const std::string copy = game.Path(kStubName);
    const FolderState state = LookAt(os, game);
    if (const Found* f = state.Unreadable()) return CannotRead(f->why, "uninstall");
    const auto& [current, kept, copied, temporary] = state;

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

    Change change(os, game, *record);
    Steps& steps = change.steps();
    std::string note;
    if (copied.kind == Found::File && !copied.Stub()) note = "\n" + copy + " is not Brennic, so it was left there.";
    // Somebody else's file under one of setup's own names stays, as any.
    const Leftovers leftovers = FindLeftovers(os, game, state, record);
    if (Status s = RemoveAll(os, leftovers.ours); !s)
        return {Outcome::Refused, "What an interrupted run left in the game folder cannot be removed: " +
                                      Sentence(s.message()) + "\nNothing else was changed."};
    Status s = Status::Ok();
    if (copied.Stub()) s = change.RemoveCopy();
    if (s && current.kind == Found::Absent) {
        // An older run was cut off with the game's name empty.
        s = steps.Take([&] { return os.RenameFile(original, executable); },
                       [&] { return os.RenameFile(executable, original); });
        if (s) s = steps.Take([&] { return os.FlushFile(executable); }, [] { return Status::Ok(); });
    } else if (s && !gameInPlace) {
        s = change.GameOverStub(current.bytes, kept.bytes);
    }
    if (!s) return Failed(steps, s, game);
    note += change.RemoveAsides();
    // Removed last, and flushed: until the game is back on the disk, a new
    // run knows what to finish.
    Status removed = DeleteRecord(os);
    if (removed) removed = os.FlushRegistry(kRecordKey);
    if (!removed) note += "\nSetup's record could not be removed: " + Sentence(removed.message());
    return {Outcome::Done, "The game's executable " + executable + " is back as it was, and Brennic was removed from " +
                               game.folder + "." + note};
}

}  // namespace setup
