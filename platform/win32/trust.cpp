// Who owns a file or folder and who may change it, read for setup's
// decisions: which install folder is safe for programs that run elevated,
// and which leftover in the game folder is setup's own. Setting permissions
// is access.cpp's.

#include "platform/win32/trust.h"

#include <aclapi.h>
#include <sddl.h>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_services.h"

namespace platform::win32 {

namespace {

bool SidIs(PSID sid, const wchar_t* text) {
    PSID other = nullptr;
    if (!::ConvertStringSidToSidW(text, &other)) return false;
    const bool same = ::EqualSid(sid, other) != FALSE;
    ::LocalFree(other);
    return same;
}

// Entries for these say what the owner, or whoever creates a file, may do:
// the owner is judged on its own, and what setup creates is owned by
// Administrators.
bool StandsForTheOwner(PSID sid) { return SidIs(sid, L"S-1-3-0") || SidIs(sid, L"S-1-3-4"); }

// The folder protection setup gives, as under Program Files: the system and
// administrators have full control, users and app containers read and run.
constexpr wchar_t kProtected[] =
    L"O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;S-1-15-2-1)";

}  // namespace

bool RunningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

RunningAccount::RunningAccount() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    UniqueHandle owned(token);
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size))
        ::CopySid(sizeof user, user, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
    if (::GetTokenInformation(token, TokenOwner, buffer, sizeof buffer, &size))
        ::CopySid(sizeof owner, owner, reinterpret_cast<TOKEN_OWNER*>(buffer)->Owner);
}

bool RunningAccount::Is(PSID sid) const {
    // Zeroed bytes (a token that could not be read) are no valid SID and
    // match nothing.
    auto same = [sid](const BYTE* bytes) {
        PSID mine = const_cast<BYTE*>(bytes);
        return ::IsValidSid(mine) && ::EqualSid(sid, mine);
    };
    return same(user) || same(owner);
}

bool AdministratorsAccount(PSID sid) {
    if (!sid || !::IsValidSid(sid)) return false;
    if (SidIs(sid, L"S-1-5-32-544") || SidIs(sid, L"S-1-5-18") ||
        SidIs(sid, L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"))
        return true;
    return RunningUnderWine() && RunningAccount().Is(sid);
}

Result<bool> OwnedByAdministrators(HANDLE handle) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD rc = ::GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                                       nullptr, &descriptor);
    if (rc != ERROR_SUCCESS) return Failure("Cannot read who owns the file", rc);
    UniqueLocalMemory owned(descriptor);
    return AdministratorsAccount(owner);
}

Result<FolderSecurity> Win32SetupServices::ReadFolderSecurity(std::string_view folder) {
    FolderSecurity security;
    const std::wstring wide = Widen(folder);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Failure("Cannot read the folder " + Quoted(folder), ::GetLastError());
    security.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (RunningUnderWine()) {
        security.permissionsKept = false;
        return security;
    }
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD rc = ::GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT,
                                             OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                                             &dacl, nullptr, &descriptor);
    if (rc != ERROR_SUCCESS) return Failure("Cannot read the permissions of " + Quoted(folder), rc);
    UniqueLocalMemory owned(descriptor);
    // The owner may always change the permissions.
    security.othersMayAlterIt = !AdministratorsAccount(owner);
    if (!dacl) {  // no list at all: everybody may do anything
        security.othersMayAlterIt = security.othersMayRemoveItems = security.othersMayAddOrWrite = true;
        return security;
    }
    GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    constexpr DWORD kAlter = DELETE | WRITE_DAC | WRITE_OWNER;
    constexpr DWORD kWriteCreated = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | kAlter;
    // Entries that deny are passed over: counting a right as allowed that an
    // entry denies only makes the answer stricter.
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!::GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
        DWORD mask = FILE_ALL_ACCESS;  // allow entries of a kind not read here count as allowing all
        if (ace->AceType == ACCESS_ALLOWED_ACE_TYPE || ace->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE) {
            auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
            PSID sid = &allowed->SidStart;
            if (AdministratorsAccount(sid) || StandsForTheOwner(sid)) continue;
            mask = allowed->Mask;
            ::MapGenericMask(&mask, &mapping);
        } else if (ace->AceType != ACCESS_ALLOWED_OBJECT_ACE_TYPE &&
                   ace->AceType != ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE) {
            continue;
        }
        if (!(ace->AceFlags & INHERIT_ONLY_ACE)) {
            security.othersMayAlterIt |= (mask & kAlter) != 0;
            security.othersMayRemoveItems |= (mask & FILE_DELETE_CHILD) != 0;
            security.othersMayAddOrWrite |= (mask & (FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY)) != 0;
        }
        if (ace->AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE))
            security.othersMayAddOrWrite |= (mask & kWriteCreated) != 0;
    }
    return security;
}

Status Win32SetupServices::CreateProtectedFolder(std::string_view folder) {
    PSECURITY_DESCRIPTOR made = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtected, SDDL_REVISION_1, &made, nullptr))
        return Failure("Cannot build the permissions for " + Quoted(folder), ::GetLastError());
    UniqueLocalMemory descriptor(made);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, made, FALSE};
    if (!::CreateDirectoryW(Widen(folder).c_str(), &attributes))
        return Failure("Cannot create the folder " + Quoted(folder), ::GetLastError());
    return Status::Ok();
}

}  // namespace platform::win32
