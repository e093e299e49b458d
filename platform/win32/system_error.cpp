#include "platform/win32/system_error.h"

#include "platform/win32/text.h"

namespace platform::win32 {

std::string SystemReason(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) text.assign(buffer, length);
    if (buffer != nullptr) ::LocalFree(buffer);

    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    if (text.empty()) return "System error " + std::to_string(code);
    return Narrow(text);
}

Status Failure(std::string_view what, DWORD code) {
    std::string message = std::string(what) + ": " + SystemReason(code);
    if (code == ERROR_ACCESS_DENIED) return Status::AccessDenied(std::move(message));
    return Status::Fail(std::move(message));
}

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

}  // namespace platform::win32
