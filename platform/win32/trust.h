#pragma once
// Whom setup trusts with what programs that run elevated depend on: the
// accounts only administrators control. Everything else counts as anybody.

#include <windows.h>

#include "platform/result.h"

namespace platform::win32 {

// Wine runs every program of a prefix as one Unix account, elevated or not,
// and keeps no Windows permissions on files: what it reports for a file is
// made up from its Unix mode, owned by that account or, for another Unix
// user's file, by "ANONYMOUS LOGON".
bool RunningUnderWine();

// Administrators, SYSTEM or TrustedInstaller; under Wine also the one
// account every program runs as, which is the prefix's administrator.
bool AdministratorsAccount(PSID sid);

// Whether the file or folder `handle` was opened on is owned by such an
// account. The handle needs READ_CONTROL.
Result<bool> OwnedByAdministrators(HANDLE handle);

// The SID of the account this program runs as, and the owner the system
// gives what it creates (Administrators, when elevated).
struct RunningAccount {
    RunningAccount();
    bool Is(PSID sid) const;
    BYTE user[SECURITY_MAX_SID_SIZE] = {};
    BYTE owner[SECURITY_MAX_SID_SIZE] = {};
};

}  // namespace platform::win32
