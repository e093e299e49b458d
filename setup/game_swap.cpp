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

std::string RecordValue(std::string_view name) { return std::string(kRecordKey) + std::string(name); }

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

bool GameRunning(platform::Services& os) { return os.FindWindowByTitle(kGameWindowTitle) != 0; }

std::string GameRunningText(std::string_view doing) {
    return "The game is running: its window " + Quote(kGameWindowTitle) + " is open. Close the game, then " +
           std::string(doing) + " again. Nothing was changed.";
}

// Replaces our own stub at `path` (or writes it where there is none) with
// `stub`, as steps that can be taken back.
Status WriteStub(platform::Services& os, Steps& steps, const std::string& path, std::string_view stub) {
    if (os.PlainFileExists(path)) {
        auto old = os.ReadFileBytes(path);
        if (!old) return old.status();
        if (*old == stub) return Status::Ok();
        std::string oldBytes = *old;
        if (Status s = steps.Take([&] { return os.RemoveFile(path); },
                                  [&os, path, oldBytes] { return os.WriteNewFile(path, oldBytes); });
            !s)
            return s;
    }
    return steps.Take([&] { return os.WriteNewFile(path, stub); }, [&os, path] { return os.RemoveFile(path); });
}

// The report of a step that failed: everything is put back, or what is not.
Report Failed(Steps& steps, const Status& failure, std::string_view folder) {
    const std::string notBack = steps.RollBack();
    if (notBack.empty())
        return {Outcome::PutBack, Sentence(failure.message()) + "\nEverything changed in the game folder " +
                                      std::string(folder) + " before that was put back as it was."};
    return {Outcome::Broken, Sentence(failure.message()) + "\nPutting the game folder " + std::string(folder) +
                                 " back as it was failed too:\n" + notBack +
                                 "Brennic_Original.exe is the game's executable; rename it back by hand."};
}

// When a file exists at `path` that is not our stub, the reason to refuse.
std::optional<std::string> ForeignFileAt(platform::Services& os, const std::string& path) {
    if (os.FolderExists(path)) return "a folder " + path + " is in the way";
    if (!os.PlainFileExists(path)) return std::nullopt;
    auto bytes = os.ReadFileBytes(path);
    if (!bytes) return Sentence(bytes.message());
    if (!IsOurStub(*bytes)) return "the file " + path + " is not Brennic, so setup does not replace it";
    return std::nullopt;
}

Report Refuse(const std::string& why) {
    return {Outcome::Refused, Sentence(why) + "\nNothing was changed in the game folder."};
}

}  // namespace

int ExitCode(Outcome outcome) { return static_cast<int>(outcome); }

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
    if (!os.PlainFileExists(game.ExecutablePath()))
        return Result<GameFiles>::Fail("The game's executable " + game.ExecutablePath() + " does not exist.");
    return game;
}

Report PutStubInFront(platform::Services& os, const GameFiles& game, std::string_view stub) {
    if (GameRunning(os)) return {Outcome::Refused, GameRunningText("run setup")};
    if (!IsOurStub(stub)) return Refuse("The stub to install does not carry Brennic's mark");

    const std::string executable = game.ExecutablePath();
    const std::string original = game.Path(kOriginalName);
    const std::string copy = game.Path(kStubName);
    auto current = os.ReadFileBytes(executable);
    if (!current) return Refuse(current.message());
    const auto record = ReadRecord(os);
    if (record && !SameGame(record->game, game))
        return Refuse("Setup has put Brennic in front of the game in " + record->game.ExecutablePath() +
                      " already. Uninstall Vantrel first to give that one back");
    if (auto foreign = ForeignFileAt(os, copy)) return Refuse(*foreign);

    Steps steps;
    if (IsOurStub(*current)) {
        // A second setup, or one over an older version: the stubs are
        // updated, and the original beside them is never touched.
        if (!os.PlainFileExists(original))
            return Refuse(executable + " is Brennic, but " + original +
                          " is missing, so there is no game executable to put back or start");
        if (Status s = WriteStub(os, steps, executable, stub); !s) return Failed(steps, s, game.folder);
        if (Status s = WriteStub(os, steps, copy, stub); !s) return Failed(steps, s, game.folder);
        if (!record) {
            // Brennic was put there by hand: from now on the uninstaller can
            // give back what it found.
            auto bytes = os.ReadFileBytes(original);
            if (!bytes) return Failed(steps, bytes.status(), game.folder);
            if (Status s = WriteRecord(os, RecordOf(game, *bytes)); !s) return Failed(steps, s, game.folder);
        }
        return {Outcome::Done, "Brennic was in front of the game in " + game.folder + " already; it is up to date now."};
    }

    if (record && RecordOf(game, *current).sha256 != record->sha256)
        return Refuse(executable + " is neither the game's executable that setup recorded nor Brennic");
    if (os.PlainFileExists(original) || os.FolderExists(original))
        return Refuse(original + " exists already, while " + executable +
                      " is not Brennic. Setup does not know which of them is the game");

    if (Status s = steps.Take([&] { return os.RenameFile(executable, original); },
                              [&] { return os.RenameFile(original, executable); });
        !s)
        return Failed(steps, s, game.folder);
    if (Status s = WriteStub(os, steps, executable, stub); !s) return Failed(steps, s, game.folder);
    if (Status s = WriteStub(os, steps, copy, stub); !s) return Failed(steps, s, game.folder);
    if (!record) {
        if (Status s = steps.Take([&] { return WriteRecord(os, RecordOf(game, *current)); },
                                  [&] { return DeleteRecord(os); });
            !s)
            return Failed(steps, s, game.folder);
    }
    return {Outcome::Done, "Brennic is in front of the game now: " + executable + " was renamed " + kOriginalName.data() +
                               ", and Brennic was copied under its name and as " + kStubName.data() + "."};
}

Report GiveGameBack(platform::Services& os) {
    const auto record = ReadRecord(os);
    if (!record)
        return {Outcome::Skipped, "Setup did not put Brennic in front of the game, so there is nothing to give back."};
    const GameFiles& game = record->game;
    if (GameRunning(os)) return {Outcome::Refused, GameRunningText("uninstall")};

    const std::string executable = game.ExecutablePath();
    const std::string original = game.Path(kOriginalName);
    const std::string copy = game.Path(kStubName);
    auto leave = [&](const std::string& why) -> Report {
        return {Outcome::Skipped, "The game folder " + game.folder + " was left as it is: " + why +
                                      " (a patch of the game may have replaced it since setup)."};
    };

    // The services' own failures name the file and the reason.
    auto current = os.PlainFileExists(executable) ? os.ReadFileBytes(executable)
                                                  : Result<std::string>::Fail(executable + " does not exist");
    if (!current) return leave(current.message());
    if (!IsOurStub(*current)) return leave(executable + " is no longer Brennic");
    auto kept = os.PlainFileExists(original) ? os.ReadFileBytes(original)
                                             : Result<std::string>::Fail(original + " does not exist");
    if (!kept) return leave(kept.message());
    if (std::to_string(kept->size()) != record->size || Sha256Hex(*kept) != record->sha256)
        return leave(original + " is no longer the game's executable that setup moved aside");

    Steps steps;
    std::string note;
    if (os.PlainFileExists(copy)) {
        auto bytes = os.ReadFileBytes(copy);
        if (bytes && IsOurStub(*bytes)) {
            const std::string copyBytes = *bytes;
            if (Status s = steps.Take([&] { return os.RemoveFile(copy); },
                                      [&os, copy, copyBytes] { return os.WriteNewFile(copy, copyBytes); });
                !s)
                return Failed(steps, s, game.folder);
        } else {
            note = "\n" + copy + " is not Brennic, so it was left there.";
        }
    }
    const std::string stubBytes = *current;
    if (Status s = steps.Take([&] { return os.RemoveFile(executable); },
                              [&os, executable, stubBytes] { return os.WriteNewFile(executable, stubBytes); });
        !s)
        return Failed(steps, s, game.folder);
    if (Status s = os.RenameFile(original, executable); !s) return Failed(steps, s, game.folder);
    if (Status s = DeleteRecord(os); !s) note += "\nSetup's record could not be removed: " + Sentence(s.message());
    return {Outcome::Done, "The game's executable " + executable + " is back as it was, and Brennic was removed from " +
                               game.folder + "." + note};
}

}  // namespace setup
