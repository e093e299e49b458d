#include "setup/stub_mark.h"

namespace setup {

std::string Utf16Bytes(std::string_view text) {
    std::string bytes;
    for (char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

bool IsOurStub(std::string_view fileBytes) {
    for (std::string_view sign : {kStubMark, kFirstStubDescription})
        if (fileBytes.find(Utf16Bytes(sign)) != std::string_view::npos) return true;
    return false;
}

}  // namespace setup
