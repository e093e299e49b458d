#pragma once
// SHA-256 (FIPS 180-4), to tell byte for byte whether the game's executable
// is still the one setup moved aside.

#include <string>
#include <string_view>

namespace setup {

// The digest of `bytes` as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace setup
