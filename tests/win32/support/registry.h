#pragma once
// Per-user registry values for setting up a test: the options both programs
// share live in HKEY_CURRENT_USER\Software\Vantrel\Control.

#include <optional>
#include <string>

namespace e2e {

inline const std::wstring kControlKey = L"Software\\Vantrel\\Control";

// String values under HKEY_CURRENT_USER (32-bit view). Set creates the key.
bool SetUserValue(const std::wstring& key, const std::wstring& name, const std::wstring& data);
// Harmless when the value is not there.
bool DeleteUserValue(const std::wstring& key, const std::wstring& name);
// The value's text, or nothing when it does not exist.
std::optional<std::wstring> ReadUserValue(const std::wstring& key, const std::wstring& name);

// Sets (or, given nothing, deletes) a value for the life of this object and
// puts back what was there before.
class ScopedUserValue {
public:
    ScopedUserValue(std::wstring key, std::wstring name, std::optional<std::wstring> data);
    ~ScopedUserValue();
    ScopedUserValue(const ScopedUserValue&) = delete;
    ScopedUserValue& operator=(const ScopedUserValue&) = delete;

private:
    std::wstring key_, name_;
    std::optional<std::wstring> previous_;
};

// One of the shared options in HKCU\Software\Vantrel\Control ("Launching",
// "Starting", "Program"); nothing means never stored.
class ScopedControlValue : public ScopedUserValue {
public:
    ScopedControlValue(const std::wstring& name, std::optional<std::wstring> data)
        : ScopedUserValue(kControlKey, name, std::move(data)) {}
};

}  // namespace e2e
