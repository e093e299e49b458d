#pragma once
// The SID Windows gives a service of its own ("NT SERVICE\<name>"): made
// from the service's name alone, so setup can grant it rights without asking
// the system, which knows it only where service SIDs exist.

#include <string>
#include <string_view>

namespace setup {

// "S-1-5-80-" and the SHA-1 of the name in capitals (UTF-16, little-endian)
// as five 32-bit numbers. `name` is plain ASCII, as service names are.
std::string ServiceSid(std::string_view name);

}  // namespace setup
