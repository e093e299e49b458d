#pragma once
// Reads the stand-in game's record file (tools/standin_game.cpp): fields
// "<name> <byte count>\n<bytes>\n", one record ending with the field "end".
// The byte counts matter: an argument text may itself hold a line that looks
// like a field.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace bench {

using StandinFields = std::map<std::string, std::string>;

// The fields of the first complete record in `text`, without "end". Nothing
// when no record is complete yet (the file is still being written) or the
// text is not a record.
std::optional<StandinFields> FirstStandinRecord(std::string_view text);

// What the launch benchmark needs of a record.
struct StandinStart {
    unsigned long long startedAt = 0;  // FILETIME, 100 ns units
    unsigned long processId = 0;
    std::string program;    // the stand-in's own full path
    std::string arguments;  // its argument text
};

// Nothing when "started" or "pid" is missing or not a plain decimal that
// fits (a FILETIME; a 32-bit process id).
std::optional<StandinStart> StandinStartOf(const StandinFields& fields);

// Whether the last component of a Windows path is `name`, ignoring ASCII
// case as the file system does.
bool HasFileName(std::string_view path, std::string_view name);

}  // namespace bench
