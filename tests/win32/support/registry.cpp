#include "tests/win32/support/registry.h"

#include <windows.h>

#include <vector>

namespace e2e {

namespace {

class Key {
public:
    Key(Root root, const std::wstring& path, bool create) {
        const HKEY parent = root == Root::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        const REGSAM access = KEY_READ | KEY_WRITE | KEY_WOW64_32KEY;
        LONG r = create ? RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, access, nullptr, &key_, nullptr)
                        : RegOpenKeyExW(parent, path.c_str(), 0, access, &key_);
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

bool SetValue(Root root, const std::wstring& key, const std::wstring& name, const std::wstring& data) {
    Key k(root, key, true);
    if (!k.get()) return false;
    return RegSetValueExW(k.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool DeleteValue(Root root, const std::wstring& key, const std::wstring& name) {
    Key k(root, key, false);
    if (!k.get()) return true;
    LONG r = RegDeleteValueW(k.get(), name.c_str());
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

std::optional<std::wstring> ReadValue(Root root, const std::wstring& key, const std::wstring& name) {
    Key k(root, key, false);
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

ScopedValue::ScopedValue(Root root, std::wstring key, std::wstring name, std::optional<std::wstring> data)
    : root_(root), key_(std::move(key)), name_(std::move(name)), previous_(ReadValue(root_, key_, name_)) {
    if (data)
        SetValue(root_, key_, name_, *data);
    else
        DeleteValue(root_, key_, name_);
}

ScopedValue::~ScopedValue() {
    if (previous_)
        SetValue(root_, key_, name_, *previous_);
    else
        DeleteValue(root_, key_, name_);
}

}  // namespace e2e
