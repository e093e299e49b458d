#include "switcher/win32/menu_dump.h"

#include <iterator>
#include <string>

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

namespace switcher::win32 {

namespace {

// One line per item, depth first: level, "separator" / "greyed" / "enabled",
// caption; a tab between them.
void Describe(HMENU menu, int level, std::wstring& out) {
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[256] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = caption;
        info.cch = static_cast<UINT>(std::size(caption));
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        const wchar_t* kind = (info.fType & MFT_SEPARATOR) ? L"separator"
                              : (info.fState & MFS_GRAYED) ? L"greyed"
                                                            : L"enabled";
        out += platform::win32::Decimal(static_cast<unsigned>(level)) + L"\t" + kind + L"\t" +
               ((info.fType & MFT_SEPARATOR) ? L"" : caption) + L"\r\n";
        if (info.hSubMenu) Describe(info.hSubMenu, level + 1, out);
    }
}

}  // namespace

void DumpMenuIfAsked(HMENU menu) {
    wchar_t path[MAX_PATH];
    DWORD length = ::GetEnvironmentVariableW(L"VANTREL_MENU_DUMP", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::wstring text;
    Describe(menu, 1, text);
    std::string utf8 = platform::win32::Narrow(text);
    platform::win32::UniqueHandle file(::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace switcher::win32
