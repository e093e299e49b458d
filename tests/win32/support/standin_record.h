#pragma once
// What the stand-in game (tools/standin_game) recorded about each of its
// runs. It appends one record per start to "standin_game.record" in its own
// folder (or to the file named by VANTREL_STANDIN_RECORD), so a test sees
// how often it was started as well as how.
//
// Environment variables the stand-in reads (its arguments belong to the
// caller and are never interpreted):
//   VANTREL_STANDIN_RECORD     full path of the record file
//   VANTREL_STANDIN_WINDOW_MS  show a window for this many milliseconds (or
//                              until it is asked to close); none by default
//   VANTREL_STANDIN_TITLE      that window's caption; default
//                              "Age Of Empires II Expansion"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

inline const std::wstring kStandinRecordName = L"standin_game.record";
inline const std::wstring kGameWindowTitle = L"Age Of Empires II Expansion";

struct StandinRecord {
    std::string arguments;    // UTF-8: the command line after the program path and its blanks
    std::string commandLine;  // UTF-8: the whole command line as received
    std::string program;      // UTF-8: the stand-in's own full path
    std::string workingFolder;  // UTF-8, as GetCurrentDirectory reports it
    // on.ini in the stand-in's folder at its start: "absent", "present",
    // "hidden" (hidden or system attribute) or "folder".
    std::string marker;
    // STARTUPINFO's wShowWindow when the starter set one, else -1.
    int showWindow = -1;
    unsigned long long startedAt = 0;  // FILETIME of its start, in 100 ns units
    unsigned long processId = 0;
};

// The complete records in `bytes`, oldest first. A record still being
// written at the end is left out: a reader may see any part of it. Text that
// is not a record, or a number field that is not a whole decimal that fits,
// throws std::runtime_error.
std::vector<StandinRecord> ParseStandinRecords(std::string_view bytes);

// The records in the file, oldest first; empty when there is no file.
std::vector<StandinRecord> ReadStandinRecords(const std::wstring& recordFile);

// Same, for the record file in `folder`.
inline std::vector<StandinRecord> ReadStandinRecordsIn(const std::wstring& folder) {
    return ReadStandinRecords(folder + L"\\" + kStandinRecordName);
}

}  // namespace e2e
