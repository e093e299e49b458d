#pragma once
// Registry values for setting up a test, in the 32-bit view the programs
// use: the options both programs share live in
// HKEY_CURRENT_USER\Software\Vantrel\Control; the game's registration and the
// machine-wide Run value under HKEY_LOCAL_MACHINE.

#include <optional>
#include <string>
#include <utility>

namespace e2e {

inline const std::wstring kControlKey = L"Software\\Vantrel\\Control";

enum class Root { CurrentUser, LocalMachine };

// String values. Set creates the key.
bool SetValue(Root root, const std::wstring& key, const std::wstring& name, const std::wstring& data);
// Harmless when the value is not there.
bool DeleteValue(Root root, const std::wstring& key, const std::wstring& name);
// The value's text, or nothing when it does not exist.
std::optional<std::wstring> ReadValue(Root root, const std::wstring& key, const std::wstring& name);

inline bool SetUserValue(const std::wstring& key, const std::wstring& name, const std::wstring& data) {
    return SetValue(Root::CurrentUser, key, name, data);
}
inline bool DeleteUserValue(const std::wstring& key, const std::wstring& name) {
    return DeleteValue(Root::CurrentUser, key, name);
}
inline std::optional<std::wstring> ReadUserValue(const std::wstring& key, const std::wstring& name) {
    return ReadValue(Root::CurrentUser, key, name);
}

// Sets (or, given nothing, deletes) a value for the life of this object and
// puts back what was there before.
class ScopedValue {
public:
    ScopedValue(Root root, std::wstring key, std::wstring name, std::optional<std::wstring> data);
    ~ScopedValue();
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    Root root_;
    std::wstring key_, name_;
    std::optional<std::wstring> previous_;
};

class ScopedUserValue : public ScopedValue {
public:
    ScopedUserValue(std::wstring key, std::wstring name, std::optional<std::wstring> data)
        : ScopedValue(Root::CurrentUser, std::move(key), std::move(name), std::move(data)) {}
};

// One of the shared options in HKCU\Software\Vantrel\Control ("Launching",
// "Starting", "Program"); nothing means never stored.
class ScopedControlValue : public ScopedUserValue {
public:
    ScopedControlValue(const std::wstring& name, std::optional<std::wstring> data)
        : ScopedUserValue(kControlKey, name, std::move(data)) {}
};

}  // namespace e2e
