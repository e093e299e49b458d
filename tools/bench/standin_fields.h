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

}  // namespace bench
