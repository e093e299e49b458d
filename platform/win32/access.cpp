// Permissions of files and folders, as setup sets them: the install folder
// protected like one under Program Files, and single entries for the Users
// group that can be taken back exactly.

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_services.h"

namespace platform::win32 {

namespace {

struct Sid {
    // Should the system fail to make it, the zeroed bytes are no valid SID:
    // they match no entry, and adding an entry with them fails, so the
    // failure still shows.
    explicit Sid(WELL_KNOWN_SID_TYPE type) {
        DWORD size = sizeof bytes;
        ::CreateWellKnownSid(type, nullptr, bytes, &size);
    }
    PSID get() { return bytes; }
    BYTE bytes[SECURITY_MAX_SID_SIZE] = {};
};

struct Dacl {
    UniqueLocalMemory descriptor;  // the security calls allocate it
    PACL acl = nullptr;
    bool isProtected = false;
};

Status ReadDacl(std::string_view path, Dacl& dacl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD rc = ::GetNamedSecurityInfoW(Widen(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                             nullptr, &dacl.acl, nullptr, &descriptor);
    if (rc != ERROR_SUCCESS) return Failure("Cannot read the permissions of " + Quoted(path), rc);
    dacl.descriptor.reset(descriptor);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (::GetSecurityDescriptorControl(descriptor, &control, &revision)) dacl.isProtected = (control & SE_DACL_PROTECTED) != 0;
    return Status::Ok();
}

std::vector<ACE_HEADER*> Entries(PACL acl) {
    std::vector<ACE_HEADER*> entries;
    for (DWORD i = 0; acl && i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (::GetAce(acl, i, &ace)) entries.push_back(static_cast<ACE_HEADER*>(ace));
    }
    return entries;
}

// The SID of an allow or deny entry; null for the object and callback kinds.
PSID SidOf(ACE_HEADER* ace) {
    if (ace->AceType == ACCESS_ALLOWED_ACE_TYPE)
        return &reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
    if (ace->AceType == ACCESS_DENIED_ACE_TYPE) return &reinterpret_cast<ACCESS_DENIED_ACE*>(ace)->SidStart;
    return nullptr;
}

bool IsOurEntry(ACE_HEADER* ace, PSID users, DWORD rights) {
    return ace->AceType == ACCESS_ALLOWED_ACE_TYPE && (ace->AceFlags & (VALID_INHERIT_FLAGS | INHERITED_ACE)) == 0 &&
           reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->Mask == rights && ::EqualSid(SidOf(ace), users);
}

// Writes the object's own entries back: `entries`, with an allow entry for
// Users of `rights` in canonical place (after the explicit entries, before
// the inherited ones) when `add`. Inherited entries are the parent's to set.
Status WriteEntries(std::string_view path, const Dacl& dacl, const std::vector<ACE_HEADER*>& entries, PSID users,
                    DWORD rights, bool add) {
    DWORD size = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(users);
    for (auto* ace : entries) size += ace->AceSize;
    std::vector<BYTE> buffer(size);
    PACL acl = reinterpret_cast<PACL>(buffer.data());
    // A list holding object entries has the later revision; it must keep it.
    const DWORD revision = dacl.acl && dacl.acl->AclRevision > ACL_REVISION ? dacl.acl->AclRevision : ACL_REVISION;
    if (!::InitializeAcl(acl, size, revision))
        return Failure("Cannot build the permissions of " + Quoted(path), ::GetLastError());
    bool added = !add;
    for (auto* ace : entries) {
        if (!added && (ace->AceFlags & INHERITED_ACE)) {
            added = ::AddAccessAllowedAceEx(acl, revision, 0, rights, users) != FALSE;
            if (!added) return Failure("Cannot build the permissions of " + Quoted(path), ::GetLastError());
        }
        if (!::AddAce(acl, revision, MAXDWORD, ace, ace->AceSize))
            return Failure("Cannot build the permissions of " + Quoted(path), ::GetLastError());
    }
    if (!added && !::AddAccessAllowedAceEx(acl, revision, 0, rights, users))
        return Failure("Cannot build the permissions of " + Quoted(path), ::GetLastError());
    std::wstring wide = Widen(path);
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION |
        (dacl.isProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
    const DWORD rc = ::SetNamedSecurityInfoW(wide.data(), SE_FILE_OBJECT, what, nullptr, nullptr, acl, nullptr);
    if (rc != ERROR_SUCCESS) return Failure("Cannot change the permissions of " + Quoted(path), rc);
    return Status::Ok();
}

}  // namespace

Result<std::uint32_t> Win32SetupServices::UsersRights(std::string_view path) {
    Dacl dacl;
    if (auto read = ReadDacl(path, dacl); !read) return read;
    if (!dacl.acl) return std::uint32_t{FILE_ALL_ACCESS};  // no list at all: everyone may do anything
    Sid users(WinBuiltinUsersSid), everyone(WinWorldSid), authenticated(WinAuthenticatedUserSid);
    GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    // Entries in canonical order: a right denied before it is allowed stays denied.
    DWORD allowed = 0, denied = 0;
    for (auto* ace : Entries(dacl.acl)) {
        PSID sid = SidOf(ace);
        if (!sid || (ace->AceFlags & INHERIT_ONLY_ACE)) continue;
        if (!::EqualSid(sid, users.get()) && !::EqualSid(sid, everyone.get()) && !::EqualSid(sid, authenticated.get()))
            continue;
        DWORD mask = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->Mask;
        ::MapGenericMask(&mask, &mapping);
        if (ace->AceType == ACCESS_DENIED_ACE_TYPE) denied |= mask & ~allowed;
        else allowed |= mask & ~denied;
    }
    return std::uint32_t{allowed};
}

Status Win32SetupServices::GrantUsersRights(std::string_view path, std::uint32_t rights) {
    Dacl dacl;
    if (auto read = ReadDacl(path, dacl); !read) return read;
    Sid users(WinBuiltinUsersSid);
    return WriteEntries(path, dacl, Entries(dacl.acl), users.get(), rights, true);
}

Status Win32SetupServices::RevokeUsersRights(std::string_view path, std::uint32_t rights) {
    Dacl dacl;
    if (auto read = ReadDacl(path, dacl); !read) return read;
    Sid users(WinBuiltinUsersSid);
    auto entries = Entries(dacl.acl);
    for (auto it = entries.begin(); it != entries.end(); ++it)
        if (IsOurEntry(*it, users.get(), rights)) {
            entries.erase(it);
            return WriteEntries(path, dacl, entries, users.get(), rights, false);
        }
    return Status::Ok();  // taken back already
}

Status Win32SetupServices::ProtectFolder(std::string_view path) {
    // As under Program Files: the system and administrators have full
    // control, users and app containers (S-1-15-2-1) read and run; nothing
    // is inherited from a parent that lets others change it.
    UniqueLocalMemory descriptor;
    PSECURITY_DESCRIPTOR made = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;S-1-15-2-1)",
            SDDL_REVISION_1, &made, nullptr))
        return Failure("Cannot build the permissions for " + Quoted(path), ::GetLastError());
    descriptor.reset(made);
    PACL acl = nullptr;
    PSID owner = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    ::GetSecurityDescriptorDacl(made, &present, &acl, &defaulted);
    ::GetSecurityDescriptorOwner(made, &owner, &defaulted);
    std::wstring wide = Widen(path);
    const DWORD rc = ::SetNamedSecurityInfoW(
        wide.data(), SE_FILE_OBJECT,
        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, owner, nullptr,
        acl, nullptr);
    if (rc != ERROR_SUCCESS) return Failure("Cannot protect the folder " + Quoted(path), rc);
    return Status::Ok();
}

}  // namespace platform::win32
