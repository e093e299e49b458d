#pragma once
// Every operating-system operation the two programs use goes through this
// interface, so their behaviour can be built and tested away from Windows.
//
// Text is UTF-8 throughout. The Windows implementation converts at its edge
// and uses the wide-character system calls, so names, titles and argument
// text outside the ANSI code page pass unchanged.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace platform {

// How a started program shows its first window.
enum class WindowStyle { Normal, Maximized };

// Buttons and icon of a message box, and its answers.
// OkCancelWarningOnTop: a question that must be seen over another program's
// full-screen window, asked when no click of the user's opened it.
enum class MessageStyle { Ok, OkCancelWarning, OkCancelWarningOnTop, OkError };
enum class Answer { Ok, Cancel };

using WindowHandle = std::uintptr_t;  // 0 means no window

struct TopLevelWindow {
    WindowHandle handle = 0;
    std::string title;  // empty for a window without a title
};

// A Windows service as its control manager reports it; Missing: none of
// that name is installed.
enum class ServiceState { Missing, Stopped, Starting, Running, Stopping };

struct FileFacts {
    bool plain = false;  // a file of its own: no folder, link, junction or device
    unsigned links = 0;  // names the file has (hard links)
    bool ownedByAdministrators = false;  // by Administrators or SYSTEM
};

class Services {
public:
    virtual ~Services() = default;

    // Registry values by full path: root, key path and value name separated
    // by backslashes. Roots: HKEY_LOCAL_MACHINE / HKLM, HKEY_CURRENT_USER /
    // HKCU. Always the 32-bit view. Values are plain strings.
    virtual Result<std::string> ReadRegistry(std::string_view path) = 0;
    virtual Status WriteRegistry(std::string_view path, std::string_view data) = 0;
    // Deleting a value that does not exist succeeds.
    virtual Status DeleteRegistry(std::string_view path) = 0;

    // Per-user settings, shared by both programs:
    // HKEY_CURRENT_USER\Software\Vantrel\<section>, value <key>.
    // A key never written reads as empty text.
    virtual Result<std::string> ReadSetting(std::string_view section, std::string_view key) = 0;
    virtual Status WriteSetting(std::string_view section, std::string_view key,
                                std::string_view value) = 0;

    // The process's working drive and folder. SelectDrive takes a text whose
    // first character is the drive letter ("C:\"). CurrentFolder has no
    // trailing separator unless it is a drive root.
    virtual Status SelectDrive(std::string_view root) = 0;
    virtual Status SetCurrentFolder(std::string_view folder) = 0;
    virtual Result<std::string> CurrentFolder() = 0;

    // Files by full path. A hidden or system file, and a folder, count as
    // absent for PlainFileExists.
    virtual bool PlainFileExists(std::string_view path) = 0;
    virtual bool FolderExists(std::string_view path) = 0;
    virtual Status RemoveFile(std::string_view path) = 0;
    // Creates the file empty, or truncates it.
    virtual Status CreateEmptyFile(std::string_view path) = 0;
    // Appends text, converted to the system's ANSI code page, at the end of
    // the file in one write; creates the file when missing. Earlier bytes
    // never change; readers holding the file open do not make it fail.
    virtual Status AppendAnsiText(std::string_view path, std::string_view text) = 0;

    // Starts a program without waiting for it. The path is never split at a
    // blank; the program receives `arguments` unchanged as its argument text.
    virtual Status StartProgram(std::string_view program, std::string_view arguments,
                                WindowStyle style) = 0;

    // Top-level windows of the desktop, highest in the Z order first, with
    // their whole titles (of any length).
    virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;
    // The window whose whole title matches, or 0.
    virtual WindowHandle FindWindowByTitle(std::string_view title) = 0;
    // Queues WM_CLOSE to the window and returns at once.
    virtual Status PostCloseRequest(WindowHandle window) = 0;

    // Blocks until answered. The program's windows keep receiving messages
    // (timer ticks among them) while the box is open.
    virtual Answer ShowMessage(std::string_view text, std::string_view title,
                               MessageStyle style) = 0;
    // The message box that is open now (the innermost of nested ones) comes
    // to the front with the keyboard focus; nothing when none is open.
    virtual void BringMessageToFront() = 0;
    virtual void Beep() = 0;

    // The folder that holds the running program's file, no trailing separator
    // unless it is a drive root.
    virtual std::string ProgramFolder() = 0;
    // The system's Windows folder, where the shell's own Explorer lives.
    virtual Result<std::string> WindowsFolder() = 0;
    // Everything after the program path and the blanks that follow it, exactly
    // as received, whether or not the path was quoted.
    virtual std::string ArgumentText() = 0;
    // Whether another instance of this program runs in this session. The first
    // call claims the program's name; later calls return the first answer.
    virtual bool AnotherInstanceRunning() = 0;

    // Whole program files, for setup to recognise and move them. Each leaves
    // the disk as it found it when it fails.
    // The file's bytes; meant for files of a few megabytes.
    virtual Result<std::string> ReadFileBytes(std::string_view path) = 0;
    // Creates a file holding `bytes`, on the disk when it returns (flushed
    // past the system's cache). Fails when anything is at the path already;
    // a write that fails part way removes the file it began.
    virtual Status WriteNewFile(std::string_view path, std::string_view bytes) = 0;
    // Renames or moves a file, on the disk when it returns; fails rather
    // than replace anything at `to`.
    virtual Status RenameFile(std::string_view from, std::string_view to) = 0;

    // Setup's changes in the game folder, made so that the game's name never
    // stands empty and each change reaches the disk before the next.
    // MoveFileOver moves `from` over the file at `to` in one step: `to` never
    // stops naming a whole file. Setup calls it only right after checking
    // that what is at `to` is its own. Both within one folder.
    virtual Status MoveFileOver(std::string_view from, std::string_view to) = 0;
    // Gives the file at `existing` a second name (a hard link): the same
    // file, not a copy. Fails where the file system has no such links, and
    // when anything is at `link`.
    virtual Status LinkFile(std::string_view existing, std::string_view link) = 0;
    // Writes the file, and where it stands, through to the disk.
    virtual Status FlushFile(std::string_view path) = 0;
    // Writes the registry key's changes through to the disk (a path as for
    // ReadRegistry, ending with a backslash).
    virtual Status FlushRegistry(std::string_view key) = 0;
    // What a file is, for setup to tell a file an interrupted run of its own
    // left from one somebody put there.
    virtual Result<FileFacts> FactsOf(std::string_view path) = 0;
    // Holds the folder open, not through a link, for as long as the services
    // live, so that it cannot be renamed or removed meanwhile; fails for a
    // junction or a link. CheckHeldFolder fails unless `folder` still names
    // the folder held.
    virtual Status HoldFolder(std::string_view folder) = 0;
    virtual Status CheckHeldFolder(std::string_view folder) = 0;

    // Windows services by name, for asking the build switch service that
    // setup installs to change what the player may not. Users may query and
    // start it and send it its own controls (128 to 255), nothing more.
    virtual Result<ServiceState> ServiceStatus(std::string_view name) = 0;
    // Succeeds too when the service is running already.
    virtual Status LaunchService(std::string_view name) = 0;
    // Returns once the service's handler has taken the control.
    virtual Status SendServiceControl(std::string_view name, unsigned control) = 0;
    // Does nothing for that long; the program's windows get no messages meanwhile.
    virtual void Wait(unsigned milliseconds) = 0;
};

// An entry of a file's or folder's permissions: an account (its SID as
// text, "S-1-5-32-545" for Users) allowed `rights`, on the object itself
// (nothing below it inherits it) or, on a folder, only on the files created
// in it from then on (not on the folder, not on files already there, not
// passed on to subfolders).
enum class Inheritance { None, NewFiles };
struct AccessEntry {
    std::string sid;
    std::uint32_t rights = 0;
    Inheritance inheritance = Inheritance::None;
    bool operator==(const AccessEntry&) const = default;
};

// A service setup installs: its own program, started on demand.
struct ServiceConfig {
    std::string name, displayName, description;
    std::string program;   // full path; the command the system runs quotes it
    std::string account;   // "NT AUTHORITY\\LocalService"
    std::string security;  // who may do what with it, in SDDL (its DACL)
    bool ownSid = false;   // the service's own SID in its token (unrestricted type)
    std::vector<std::string> privileges;  // all its token keeps; empty: the account's
    // Also an event source of the Application log, its texts in the program.
    bool eventSource = false;
};

struct FirewallRule {
    std::string name;
    bool enabled = false;
    // Every other property but the program, as one line of text: with the
    // name and the program, what tells the rule from any other.
    std::string properties;
};

struct FolderSecurity {
    // False where the system keeps no Windows permissions on files (Wine:
    // what it shows is made up from the Unix modes, and every program of a
    // prefix runs as the same Unix account): the rest then means nothing.
    bool permissionsKept = true;
    bool link = false;             // a junction or a symbolic link
    bool othersMayAlterIt = false;  // own it, or may delete, rename or re-permit it
    bool othersMayRemoveItems = false;  // may delete or rename what is in it
    // May add files or folders to it, or would get a right to write, delete
    // or re-permit what is created in it.
    bool othersMayAddOrWrite = false;
};

// What setup alone needs besides the services above: carrying over what
// Windows keys by the game executable's path, and permissions. Kept apart so
// that the two programs carry none of it.
class SetupServices {
public:
    virtual ~SetupServices() = default;

    // Registry values by key ("HKCU\...", "HKLM\...") and value name, which
    // may hold backslashes (compatibility settings are named by a program's
    // full path), in the system's own view: the 64-bit one on 64-bit
    // Windows, which Windows itself reads. Text values only.
    virtual Result<std::string> ReadSystemValue(std::string_view key, std::string_view name) = 0;
    virtual Status WriteSystemValue(std::string_view key, std::string_view name, std::string_view data) = 0;
    // Deleting a value that does not exist succeeds.
    virtual Status DeleteSystemValue(std::string_view key, std::string_view name) = 0;

    // File access rights (FILE_ADD_FILE, FILE_APPEND_DATA ...) of the local
    // Users group. UsersRights: what the group is allowed, through every
    // entry that names it or Everyone, inherited ones included.
    virtual Result<std::uint32_t> UsersRights(std::string_view path) = 0;
    // Adds `entry` to the object's own entries unless it has it already;
    // RemoveAccess removes that entry again and nothing else. Either changes
    // that one object: what lies below keeps its permissions as they are.
    // Both refuse a link (a reparse point) and a file with more than one
    // name, whose other names may lie anywhere.
    virtual Status AddAccess(std::string_view path, const AccessEntry& entry) = 0;
    virtual Status RemoveAccess(std::string_view path, const AccessEntry& entry) = 0;

    // Windows Firewall rules by the program they are for (a full path,
    // compared without regard to case). FirewallRules: all of them, enabled
    // or not. CopyFirewallRule adds a rule like `rule` of `program` (found
    // by its name and properties), the same in every property the firewall
    // has but named `copyName` and for `copyProgram`; it adds nothing, and
    // says which, when a property cannot be copied. RemoveFirewallRule
    // removes one rule of `program` with that name and those properties,
    // enabled or not, and nothing when none is left; empty `properties`
    // (what earlier versions recorded) means every rule of that name.
    virtual Result<std::vector<FirewallRule>> FirewallRules(std::string_view program) = 0;
    virtual Status CopyFirewallRule(std::string_view program, const FirewallRule& rule, std::string_view copyName,
                                    std::string_view copyProgram) = 0;
    virtual Status RemoveFirewallRule(std::string_view program, std::string_view name,
                                      std::string_view properties) = 0;

    // Who may change a folder, for the install folder of programs that run
    // elevated and at every log-on. "Others": every account besides
    // Administrators, SYSTEM and TrustedInstaller.
    virtual Result<FolderSecurity> ReadFolderSecurity(std::string_view folder) = 0;
    // Creates the folder with the permissions a folder under Program Files
    // has, from its first instant: only administrators and the system may
    // change it, users may read and run it, and Administrators own it. Fails
    // when anything is at the path.
    virtual Status CreateProtectedFolder(std::string_view folder) = 0;

    // Installs a service, or brings the installed one of that name to
    // `config`. Answers, in plain words, what this system could not set and
    // the service does without (Wine has no service SIDs); empty when all
    // was set.
    virtual Result<std::string> InstallService(const ServiceConfig& config) = 0;
    // Stops the service, waiting until it has stopped (its program can be
    // replaced then); one that is not installed or not running is fine.
    virtual Status StopService(std::string_view name) = 0;
    // Stops and removes the service and its event source; one that is not
    // installed is fine.
    virtual Status RemoveService(std::string_view name) = 0;
};

}  // namespace platform
