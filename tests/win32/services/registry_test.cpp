// Registry values by full path and the settings store, checked against what
// the registry itself holds afterwards.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/win32/text.h"
#include "platform/win32/win32_services.h"

namespace {

using platform::win32::Widen;
using platform::win32::Win32Services;

// A key of this test's own, removed with everything below it at the end.
class RegistryScratch : public ::testing::Test {
protected:
    const std::string name = "VantrelServicesTest" + std::to_string(::GetCurrentProcessId());
    const std::wstring key = L"Software\\" + Widen(name);
    const std::string hkcu = "HKEY_CURRENT_USER\\Software\\" + name;

    ~RegistryScratch() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Vantrel\\" + Widen(name)).c_str());
    }

    // What the registry holds, read without the code under test.
    static std::wstring Raw(HKEY root, const std::wstring& subkey, const std::wstring& value,
                            DWORD* type = nullptr) {
        HKEY k = nullptr;
        if (::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &k) != ERROR_SUCCESS)
            return L"<missing>";
        wchar_t data[256] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        DWORD found = 0;
        const LSTATUS rc = ::RegQueryValueExW(k, value.c_str(), nullptr, &found, reinterpret_cast<BYTE*>(data), &size);
        ::RegCloseKey(k);
        if (rc != ERROR_SUCCESS) return L"<missing>";
        if (type) *type = found;
        return data;
    }
    static void SetRaw(HKEY root, const std::wstring& subkey, const std::wstring& value, DWORD type,
                       const std::wstring& data) {
        HKEY k = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                                    &k, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(k, value.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(k);
    }

    Win32Services os;
};

TEST_F(RegistryScratch, RoundTripUnderEitherSpellingOfTheRoot) {
    const std::string value = hkcu + "\\New\\Deeper\\Path";
    const std::string shortForm = "hkcu\\Software\\" + name + "\\New\\Deeper\\Path";

    ASSERT_TRUE(os.WriteRegistry(value, "C:\\Games\\Ω ж 日本").ok());
    DWORD type = 0;
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, key + L"\\New\\Deeper", L"Path", &type), L"C:\\Games\\Ω ж 日本");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(os.ReadRegistry(shortForm).value(), "C:\\Games\\Ω ж 日本");

    ASSERT_TRUE(os.WriteRegistry(shortForm, "").ok());
    EXPECT_EQ(os.ReadRegistry(value).value(), "");

    ASSERT_TRUE(os.DeleteRegistry(value).ok());
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, key + L"\\New\\Deeper", L"Path"), L"<missing>");
    EXPECT_TRUE(os.DeleteRegistry(value).ok()) << "a value already gone";
    EXPECT_TRUE(os.DeleteRegistry(hkcu + "\\No such key\\Path").ok()) << "a key that never was";

    const auto missing = os.ReadRegistry(value);
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find(value), std::string::npos) << missing.message();
}

TEST_F(RegistryScratch, ReadsTheThirtyTwoBitViewAsOthersWriteIt) {
    // The game's installer, a 32-bit program, writes the machine-wide value
    // in the 32-bit view; on a 64-bit system that is Wow6432Node.
    SetRaw(HKEY_LOCAL_MACHINE, key + L"\\Game", L"Path", REG_SZ, L"D:\\Games\\Empires\\Gamebin");
    EXPECT_EQ(os.ReadRegistry("HKLM\\Software\\" + name + "\\Game\\Path").value(), "D:\\Games\\Empires\\Gamebin");
    EXPECT_EQ(os.ReadRegistry("HKEY_LOCAL_MACHINE\\Software\\" + name + "\\Game\\Path").value(),
              "D:\\Games\\Empires\\Gamebin");

    SetRaw(HKEY_CURRENT_USER, key, L"Expanding", REG_EXPAND_SZ, L"%SystemRoot%\\x");
    const auto expanded = os.ReadRegistry(hkcu + "\\Expanding");
    ASSERT_TRUE(expanded.ok()) << expanded.message();
    EXPECT_EQ(expanded->find('%'), std::string::npos) << *expanded;
    EXPECT_GT(expanded->size(), 3u);
}

TEST_F(RegistryScratch, PathsItCannotUseAreNamedInTheError) {
    for (const std::string& path : {std::string("HKEY_CLASSES_ROOT\\x\\y"), std::string("HKCU"),
                                   std::string("HKCU\\OnlyAValue")}) {
        const auto read = os.ReadRegistry(path);
        ASSERT_FALSE(read.ok()) << path;
        EXPECT_NE(read.message().find(path), std::string::npos) << read.message();
        EXPECT_FALSE(os.WriteRegistry(path, "x").ok()) << path;
    }
}

TEST_F(RegistryScratch, SettingsLiveUnderTheUsersVantrelKey) {
    EXPECT_EQ(os.ReadSetting(name, "Starting").value(), "") << "never written";
    ASSERT_TRUE(os.WriteSetting(name, "Starting", "1").ok());
    ASSERT_TRUE(os.WriteSetting(name, "Program", "0").ok());
    ASSERT_TRUE(os.WriteSetting(name, "Starting", "0").ok());

    const std::wstring section = L"Software\\Vantrel\\" + Widen(name);
    DWORD type = 0;
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, section, L"Starting", &type), L"0");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, section, L"Program"), L"0");

    SetRaw(HKEY_CURRENT_USER, section, L"Launching", REG_SZ, L"1");
    EXPECT_EQ(os.ReadSetting(name, "Launching").value(), "1");
    EXPECT_EQ(os.ReadRegistry("HKCU\\Software\\Vantrel\\" + name + "\\Starting").value(), "0");
}

}  // namespace
