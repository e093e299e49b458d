#pragma once
// Putting Brennic in front of the game and giving the game back.
//
// In front: the game's executable is renamed Brennic_Original.exe and the
// stub is written under the executable's name and as Brennic.exe; the
// original's size and SHA-256 are recorded beside the uninstall entry.
// Given back: only while the file under the game's name is still our stub
// and Brennic_Original.exe is still, byte for byte, what was recorded.
// Neither ever replaces or deletes a file it did not write, and a step that
// fails takes back the ones before it.
//
// Either may be cut off at any point (a power cut, a killed process). The
// record is written, and flushed to the disk, before the first change, and
// removed after the last. The game's name never stands empty: the game gets
// its second name first (a hard link, or a whole copy where the disk has no
// links), and a stub, written whole under a temporary name and flushed,
// replaces the file under the game's name in one move; giving the game back
// is one move of it over the stub. What an undo needs is kept aside before
// the change, so every undo is a move as well. A later run of either finds
// one of a few known states and finishes or undoes the work from there.

#include <optional>
#include <string>
#include <string_view>

#include "platform/services.h"

namespace setup {

inline constexpr std::string_view kGameKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\DirectPlay\\Applications\\"
    "Age of Empires II - The Conquerors Expansion\\";
inline constexpr std::string_view kRecordKey =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel\\";
// The registry path of one value setup records beside its uninstall entry.
inline std::string RecordValue(std::string_view name) { return std::string(kRecordKey) + std::string(name); }
// `text` ended by a full stop: the reports are made of the system's words
// put into sentences.
inline std::string Sentence(std::string text) {
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}
inline constexpr std::string_view kGameWindowTitle = "Age Of Empires II Expansion";
inline constexpr std::string_view kOriginalName = "Brennic_Original.exe";
inline constexpr std::string_view kStubName = "Brennic.exe";
// Where a stub is written whole before it is moved into place.
inline constexpr std::string_view kNewStubName = "Brennic_Setup.tmp";
// Where a run keeps, until it ends, what it replaced (the file under the
// game's name, and Brennic.exe), so that taking a step back is one move.
inline constexpr std::string_view kAsideNames[] = {"Brennic_Setup_1.tmp", "Brennic_Setup_2.tmp"};

struct GameFiles {
    std::string folder;      // no trailing separator
    std::string executable;  // file name only, "age2_x1.exe"
    std::string Path(std::string_view name) const { return folder + "\\" + std::string(name); }
    std::string ExecutablePath() const { return Path(executable); }
};

enum class Outcome {
    Done,     // changed what was asked; setup: Brennic is in front by this run
    Updated,  // setup: Brennic was in front already and is up to date now
    Skipped,  // changed nothing, as designed: nothing to do, or not ours to do
    Refused,  // changed nothing: the folder is not in a state it can work on
    PutBack,  // a step failed; everything changed before it was put back
    Broken,   // a step failed and not everything could be put back
};

struct Report {
    Outcome outcome;
    std::string message;  // plain words, for the user
};

// What setup wrote down beside its uninstall entry when it put Brennic in
// front: the game's executable, by size and SHA-256. Missing values count as
// no record.
struct Record {
    GameFiles game;
    std::string size;    // decimal byte count
    std::string sha256;  // lower-case hexadecimal
};
std::optional<Record> ReadRecord(platform::Services& os);
// Whether `bytes` are the recorded executable's.
bool Matches(const Record& record, std::string_view bytes);

// 0 Done; 1 Updated or Skipped (nothing a later failure must undo);
// 2 Refused or PutBack (the game folder is as it was); 3 Broken.
int ExitCode(Outcome outcome);

// The game's folder and executable: from `chosen`, the executable's full
// path, when it is not empty, else from the game's registration (its Path
// and File values). Fails naming what is missing. An executable missing
// while Brennic_Original.exe is beside it counts as found: an interrupted
// run left it so, and PutStubInFront decides what to do.
platform::Result<GameFiles> FindGame(platform::Services& os, std::string_view chosen);

// Puts `stub` (the bytes of Brennic.exe) in front of the game, or brings an
// earlier stub there up to date.
Report PutStubInFront(platform::Services& os, const GameFiles& game, std::string_view stub);

// Gives the recorded game executable back and removes the stubs.
Report GiveGameBack(platform::Services& os);

}  // namespace setup
