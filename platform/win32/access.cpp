// Permissions of files and folders, as setup sets them: single entries for
// one account that can be taken back exactly.

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
    SECURITY_DESCRIPTOR_CONTROL control = 0;
};

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

// The entry flags of each way an entry is passed on. New files: inherited
// by the files created in the folder, not by the folder itself nor by
// subfolders.
BYTE FlagsOf(Inheritance inheritance) {
    return inheritance == Inheritance::NewFiles ? OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE | NO_PROPAGATE_INHERIT_ACE : 0;
}

bool IsEntry(ACE_HEADER* ace, PSID sid, DWORD rights, BYTE flags) {
    return ace->AceType == ACCESS_ALLOWED_ACE_TYPE && ace->AceFlags == flags &&
           reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->Mask == rights && ::EqualSid(SidOf(ace), sid);
}

// The object at `path` itself, never what a link there points to, opened to
// change its permissions. Setup runs elevated: a link, or a second name of
// a file (a hard link made by a user, which may be a system file), would
// carry the change to an object of someone else's choosing.
Status OpenForPermissions(std::string_view path, UniqueHandle& object, bool& isFolder) {
    object.reset(::CreateFileW(Widen(path).c_str(), READ_CONTROL | WRITE_DAC,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!object) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot open " + Quoted(path) + " to change its permissions", error);
    }
    BY_HANDLE_FILE_INFORMATION facts{};
    if (!::GetFileInformationByHandle(object.get(), &facts)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot read what " + Quoted(path) + " is", error);
    }
    isFolder = (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (facts.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return Status::Fail(Quoted(path) + " is a link to somewhere else, so setup leaves its permissions alone");
    if (!isFolder && facts.nNumberOfLinks > 1)
        return Status::Fail("The file " + Quoted(path) +
                            " has other names too, so setup leaves its permissions alone");
    return Status::Ok();
}

Status ReadDacl(HANDLE object, std::string_view path, Dacl& dacl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD rc = ::GetSecurityInfo(object, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                       &dacl.acl, nullptr, &descriptor);
    if (rc != ERROR_SUCCESS) return Failure("Cannot read the permissions of " + Quoted(path), rc);
    dacl.descriptor.reset(descriptor);
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &dacl.control, &revision);
    return Status::Ok();
}

// Writes the object's entries back: `entries`, with an allow entry for `sid`
// in canonical place (after the object's own entries, before the inherited
// ones) when `add`. Written to this object alone, with its protection from
// inheritance kept: SetNamedSecurityInfo would also walk everything below a
// folder and write the inherited entries of each file again.
Status WriteEntries(HANDLE object, std::string_view path, const Dacl& dacl, const std::vector<ACE_HEADER*>& entries,
                    PSID sid, DWORD rights, BYTE flags, bool add) {
    DWORD size = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(sid);
    for (auto* ace : entries) size += ace->AceSize;
    std::vector<BYTE> buffer(size);
    PACL acl = reinterpret_cast<PACL>(buffer.data());
    auto cannotBuild = [&] {
        const DWORD error = ::GetLastError();
        return Failure("Cannot build the permissions of " + Quoted(path), error);
    };
    // A list holding object entries has the later revision; it must keep it.
    const DWORD revision = dacl.acl && dacl.acl->AclRevision > ACL_REVISION ? dacl.acl->AclRevision : ACL_REVISION;
    if (!::InitializeAcl(acl, size, revision)) return cannotBuild();
    bool added = !add;
    for (auto* ace : entries) {
        if (!added && (ace->AceFlags & INHERITED_ACE)) {
            if (!::AddAccessAllowedAceEx(acl, revision, flags, rights, sid)) return cannotBuild();
            added = true;
        }
        if (!::AddAce(acl, revision, MAXDWORD, ace, ace->AceSize)) return cannotBuild();
    }
    if (!added && !::AddAccessAllowedAceEx(acl, revision, flags, rights, sid)) return cannotBuild();

    SECURITY_DESCRIPTOR descriptor;
    const SECURITY_DESCRIPTOR_CONTROL kept = SE_DACL_PROTECTED | SE_DACL_AUTO_INHERITED;
    if (!::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) ||
        !::SetSecurityDescriptorControl(&descriptor, kept, dacl.control & kept))
        return cannotBuild();
    if (!::SetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, &descriptor)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot change the permissions of " + Quoted(path), error);
    }
    return Status::Ok();
}

Status ChangeAccess(std::string_view path, const AccessEntry& entry, bool add) {
    PSID sid = nullptr;
    if (!::ConvertStringSidToSidW(Widen(entry.sid).c_str(), &sid)) {
        const DWORD error = ::GetLastError();
        return Failure("Cannot read the account " + entry.sid, error);
    }
    UniqueLocalMemory sidMemory(sid);
    UniqueHandle object;
    bool isFolder = false;
    if (Status s = OpenForPermissions(path, object, isFolder); !s) return s;
    if (entry.inheritance == Inheritance::NewFiles && !isFolder)
        return Status::Fail(Quoted(path) + " is not a folder, so nothing can be created in it");
    Dacl dacl;
    if (Status s = ReadDacl(object.get(), path, dacl); !s) return s;
    const BYTE flags = FlagsOf(entry.inheritance);
    auto entries = Entries(dacl.acl);
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (!IsEntry(*it, sid, entry.rights, flags)) continue;
        if (add) return Status::Ok();  // there already
        entries.erase(it);
        return WriteEntries(object.get(), path, dacl, entries, sid, entry.rights, flags, false);
    }
    if (!add) return Status::Ok();  // taken back already
    return WriteEntries(object.get(), path, dacl, entries, sid, entry.rights, flags, true);
}

}  // namespace

Result<std::uint32_t> Win32SetupServices::UsersRights(std::string_view path) {
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD rc = ::GetNamedSecurityInfoW(Widen(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                             nullptr, &acl, nullptr, &descriptor);
    if (rc != ERROR_SUCCESS) return Failure("Cannot read the permissions of " + Quoted(path), rc);
    UniqueLocalMemory owned(descriptor);
    if (!acl) return std::uint32_t{FILE_ALL_ACCESS};  // no list at all: everyone may do anything
    Sid users(WinBuiltinUsersSid), everyone(WinWorldSid), authenticated(WinAuthenticatedUserSid);
    GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    // Entries in canonical order: a right denied before it is allowed stays denied.
    DWORD allowed = 0, denied = 0;
    for (auto* ace : Entries(acl)) {
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

Status Win32SetupServices::AddAccess(std::string_view path, const AccessEntry& entry) {
    return ChangeAccess(path, entry, true);
}

Status Win32SetupServices::RemoveAccess(std::string_view path, const AccessEntry& entry) {
    return ChangeAccess(path, entry, false);
}

}  // namespace platform::win32
