#include "tests/win32/support/registry.h"

#include <windows.h>

#include <vector>

namespace e2e {

namespace {

class Key {
public:
    Key(const std::wstring& path, bool create) {
        const REGSAM access = KEY_READ | KEY_WRITE | KEY_WOW64_32KEY;
        LONG r = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, access,
                                          nullptr, &key_, nullptr)
                        : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_);
        if (r != ERROR_SUCCESS) key_ = nullptr;
    }
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

bool SetUserValue(const std::wstring& key, const std::wstring& name, const std::wstring& data) {
    Key k(key, true);
    if (!k.get()) return false;
    return RegSetValueExW(k.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool DeleteUserValue(const std::wstring& key, const std::wstring& name) {
    Key k(key, false);
    if (!k.get()) return true;
    LONG r = RegDeleteValueW(k.get(), name.c_str());
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

std::optional<std::wstring> ReadUserValue(const std::wstring& key, const std::wstring& name) {
    Key k(key, false);
    if (!k.get()) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(k.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(k.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer.data());
}

ScopedUserValue::ScopedUserValue(std::wstring key, std::wstring name, std::optional<std::wstring> data)
    : key_(std::move(key)), name_(std::move(name)), previous_(ReadUserValue(key_, name_)) {
    if (data)
        SetUserValue(key_, name_, *data);
    else
        DeleteUserValue(key_, name_);
}

ScopedUserValue::~ScopedUserValue() {
    if (previous_)
        SetUserValue(key_, name_, *previous_);
    else
        DeleteUserValue(key_, name_);
}

}  // namespace e2e
