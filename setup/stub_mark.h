#pragma once
// How setup tells its own stub from any other program, whatever the file is
// called: Brennic.exe carries a fixed text in its resources (UTF-16, as
// resource texts are stored), which no version changes. The stub of the
// first release, made before that text existed, is known by its file
// description instead. Both are searched for as UTF-16, so the ASCII copies
// of them inside setup's own programs never match.

#include <string>
#include <string_view>

namespace setup {

inline constexpr std::string_view kStubMark = "Vantrel launch stub: Brennic starts Brennic_Original.exe";
inline constexpr std::string_view kFirstStubDescription = "Brennic - starts The Conquerors 1.0c or 1.0e";

// `text` (ASCII) as UTF-16LE bytes.
std::string Utf16Bytes(std::string_view text);

bool IsOurStub(std::string_view fileBytes);

}  // namespace setup
