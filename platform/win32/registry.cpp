#include "platform/win32/win32_services.h"

#include <windows.h>

#include "platform/win32/registry.h"

#include <cstring>
#include <vector>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

namespace platform::win32 {

namespace {

// The programs are 32-bit and the game registers itself in the 32-bit view;
// asking for it explicitly gives the same answer when this code is ever built
// for 64 bits.
constexpr REGSAM kView = KEY_WOW64_32KEY;

struct RegistryPath {
    HKEY root = nullptr;
    std::wstring key;    // below the root
    std::wstring value;  // empty: the key's default value
    bool namesKey = false;  // ended with a backslash
};

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

Result<RegistryPath> Parse(std::string_view path) {
    auto invalid = [&](const char* why) {
        return Result<RegistryPath>::Fail("The registry path " + Quoted(path) + " " + why);
    };
    const auto rootEnd = path.find('\\');
    if (rootEnd == std::string_view::npos) return invalid("names no key");
    const std::string_view rootName = path.substr(0, rootEnd);

    RegistryPath parsed;
    if (SameLetters(rootName, "HKEY_LOCAL_MACHINE") || SameLetters(rootName, "HKLM"))
        parsed.root = HKEY_LOCAL_MACHINE;
    else if (SameLetters(rootName, "HKEY_CURRENT_USER") || SameLetters(rootName, "HKCU"))
        parsed.root = HKEY_CURRENT_USER;
    else
        return invalid("does not begin with HKEY_LOCAL_MACHINE, HKLM, HKEY_CURRENT_USER or HKCU");

    const std::string_view rest = path.substr(rootEnd + 1);
    const auto valueStart = rest.rfind('\\');
    if (valueStart == std::string_view::npos) {
        // A value directly below the root: no key of ours lives there.
        return invalid("names no key below its root");
    }
    parsed.key = Widen(rest.substr(0, valueStart));
    parsed.value = Widen(rest.substr(valueStart + 1));
    parsed.namesKey = valueStart + 1 == rest.size();
    if (parsed.key.empty()) return invalid("names no key below its root");
    return parsed;
}

// Registry text values may lack their terminating null; take the characters
// up to the first null or the end of the data.
std::wstring TextOf(const std::vector<BYTE>& data, DWORD size) {
    const auto* chars = reinterpret_cast<const wchar_t*>(data.data());
    std::size_t count = size / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < count && chars[length] != L'\0') ++length;
    return std::wstring(chars, length);
}

std::wstring Expanded(const std::wstring& text) {
    DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    while (size != 0) {
        std::wstring result(size, L'\0');
        const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), result.data(), size);
        if (needed == 0) break;
        if (needed <= size) {
            result.resize(needed - 1);
            return result;
        }
        size = needed;
    }
    return text;
}

// What a read found: the text, or a system error code (ERROR_FILE_NOT_FOUND
// for a missing key or value, ERROR_UNSUPPORTED_TYPE for data that is not
// text or a number).
struct Found {
    std::wstring text;
    LSTATUS error = ERROR_SUCCESS;
};

Found Query(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, REGSAM view = kView) {
    UniqueKey key;
    LSTATUS rc = ::RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, key.receive());
    if (rc != ERROR_SUCCESS) return {{}, rc};

    std::vector<BYTE> data(256);
    DWORD type = 0;
    DWORD size = 0;
    for (;;) {
        size = static_cast<DWORD>(data.size());
        rc = ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data.data(), &size);
        if (rc != ERROR_MORE_DATA) break;
        // The value may grow between the calls; ask again with its new size.
        data.resize(size + sizeof(wchar_t));
    }
    if (rc != ERROR_SUCCESS) return {{}, rc};

    switch (type) {
        case REG_SZ:
            return {TextOf(data, size)};
        case REG_EXPAND_SZ:
            return {Expanded(TextOf(data, size))};
        case REG_DWORD:
            if (size == sizeof(DWORD)) {
                DWORD number = 0;
                std::memcpy(&number, data.data(), sizeof number);
                return {Decimal(number)};
            }
            break;
        default:
            break;
    }
    return {{}, ERROR_UNSUPPORTED_TYPE};
}

LSTATUS SetText(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                const std::wstring& data, REGSAM view = kView) {
    UniqueKey key;
    LSTATUS rc = ::RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE | view, nullptr, key.receive(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes);
}

// Where the settings of both programs live: a key per section under
// HKEY_CURRENT_USER.
constexpr std::string_view kSettingsKey = "Software\\Vantrel\\";

std::wstring SectionKey(std::string_view section) { return Widen(std::string(kSettingsKey) + std::string(section)); }

// A setting as messages name it.
std::string SettingName(std::string_view section, std::string_view key) {
    return Quoted("HKEY_CURRENT_USER\\" + std::string(kSettingsKey) + std::string(section) + "\\" + std::string(key));
}

bool Missing(LSTATUS rc) { return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND; }

// Settings Windows reads for every program, compatibility layers among them,
// live in the system's own view; on 32-bit Windows the flag is ignored.
constexpr REGSAM kSystemView = KEY_WOW64_64KEY;

// A key as "HKCU\..." or "HKLM\..." with a value name, for Parse and for messages.
std::string ValuePath(std::string_view key, std::string_view name) {
    return std::string(key) + "\\" + std::string(name);
}

}  // namespace

Result<std::string> Win32SetupServices::ReadSystemValue(std::string_view key, std::string_view name) {
    auto parsed = Parse(std::string(key) + "\\");
    if (!parsed) return parsed.status();
    const Found found = Query(parsed->root, parsed->key, Widen(name), kSystemView);
    if (found.error == ERROR_SUCCESS) return Narrow(found.text);
    if (Missing(found.error))
        return Result<std::string>::Fail("The registry value " + Quoted(ValuePath(key, name)) + " does not exist");
    return Failure("Cannot read the registry value " + Quoted(ValuePath(key, name)), static_cast<DWORD>(found.error));
}

Status Win32SetupServices::WriteSystemValue(std::string_view key, std::string_view name, std::string_view data) {
    auto parsed = Parse(std::string(key) + "\\");
    if (!parsed) return parsed.status();
    const LSTATUS rc = SetText(parsed->root, parsed->key, Widen(name), Widen(data), kSystemView);
    if (rc != ERROR_SUCCESS)
        return Failure("Cannot write the registry value " + Quoted(ValuePath(key, name)), static_cast<DWORD>(rc));
    return Status::Ok();
}

Status Win32SetupServices::DeleteSystemValue(std::string_view key, std::string_view name) {
    auto parsed = Parse(std::string(key) + "\\");
    if (!parsed) return parsed.status();
    UniqueKey opened;
    LSTATUS rc = ::RegOpenKeyExW(parsed->root, parsed->key.c_str(), 0, KEY_SET_VALUE | kSystemView, opened.receive());
    if (rc == ERROR_SUCCESS) rc = ::RegDeleteValueW(opened.get(), Widen(name).c_str());
    if (rc == ERROR_SUCCESS || Missing(rc)) return Status::Ok();
    return Failure("Cannot delete the registry value " + Quoted(ValuePath(key, name)), static_cast<DWORD>(rc));
}

Result<std::string> Win32Services::ReadRegistry(std::string_view path) { return ReadRegistryText(path); }

Result<std::string> ReadRegistryText(std::string_view path) {
    auto parsed = Parse(path);
    if (!parsed) return parsed.status();
    const Found found = Query(parsed->root, parsed->key, parsed->value);
    if (found.error == ERROR_SUCCESS) return Narrow(found.text);
    if (Missing(found.error))
        return Result<std::string>::Fail("The registry value " + Quoted(path) + " does not exist");
    if (found.error == ERROR_UNSUPPORTED_TYPE)
        return Result<std::string>::Fail("The registry value " + Quoted(path) + " does not hold text");
    return Failure("Cannot read the registry value " + Quoted(path), static_cast<DWORD>(found.error));
}

Status Win32Services::WriteRegistry(std::string_view path, std::string_view data) {
    auto parsed = Parse(path);
    if (!parsed) return parsed.status();
    const LSTATUS rc = SetText(parsed->root, parsed->key, parsed->value, Widen(data));
    if (rc != ERROR_SUCCESS)
        return Failure("Cannot write the registry value " + Quoted(path), static_cast<DWORD>(rc));
    return Status::Ok();
}

Status Win32Services::DeleteRegistry(std::string_view path) {
    auto parsed = Parse(path);
    if (!parsed) return parsed.status();
    LSTATUS rc;
    if (parsed->namesKey) {
        rc = ::RegDeleteKeyExW(parsed->root, parsed->key.c_str(), kView, 0);
    } else {
        UniqueKey key;
        rc = ::RegOpenKeyExW(parsed->root, parsed->key.c_str(), 0, KEY_SET_VALUE | kView, key.receive());
        if (rc == ERROR_SUCCESS) {
            rc = ::RegDeleteValueW(key.get(), parsed->value.c_str());
        } else if (rc == ERROR_ACCESS_DENIED && Missing(Query(parsed->root, parsed->key, parsed->value).error)) {
            // A user who is not elevated cannot open the machine-wide keys for
            // writing at all; a value that is not there is still not there.
            rc = ERROR_SUCCESS;
        }
    }
    if (rc == ERROR_SUCCESS || Missing(rc)) return Status::Ok();
    return Failure(std::string("Cannot delete the registry ") + (parsed->namesKey ? "key " : "value ") +
                       Quoted(path),
                   static_cast<DWORD>(rc));
}

Status Win32Services::FlushRegistry(std::string_view key) {
    auto parsed = Parse(key);
    if (!parsed) return parsed.status();
    UniqueKey opened;
    LSTATUS rc = ::RegOpenKeyExW(parsed->root, parsed->key.c_str(), 0, KEY_QUERY_VALUE | kView, opened.receive());
    // Without it the system writes the key's changes out when it likes,
    // seconds later, in no order with the file changes made meanwhile.
    if (rc == ERROR_SUCCESS) rc = ::RegFlushKey(opened.get());
    if (rc != ERROR_SUCCESS)
        return Failure("Cannot write the registry key " + Quoted(key) + " through to the disk", static_cast<DWORD>(rc));
    return Status::Ok();
}

Result<std::string> Win32Services::ReadSetting(std::string_view section, std::string_view key) {
    const Found found = Query(HKEY_CURRENT_USER, SectionKey(section), Widen(key));
    if (found.error == ERROR_SUCCESS) return Narrow(found.text);
    if (Missing(found.error)) return std::string();
    if (found.error == ERROR_UNSUPPORTED_TYPE)
        return Result<std::string>::Fail("The setting " + SettingName(section, key) + " does not hold text");
    return Failure("Cannot read the setting " + SettingName(section, key), static_cast<DWORD>(found.error));
}

Status Win32Services::WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
    const LSTATUS rc = SetText(HKEY_CURRENT_USER, SectionKey(section), Widen(key), Widen(value));
    if (rc != ERROR_SUCCESS)
        return Failure("Cannot store the setting " + SettingName(section, key), static_cast<DWORD>(rc));
    return Status::Ok();
}

}  // namespace platform::win32
