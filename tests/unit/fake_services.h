#pragma once
// An in-memory stand-in for the operating system: files, folders, registry,
// settings, windows and message boxes, with failures that a test can inject.
// A failure reads as the Windows services word it: what could not be done,
// naming the file or value, then the system's reason.

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/services.h"

namespace testing_support {

using platform::Answer;
using platform::MessageStyle;
using platform::Result;
using platform::Status;
using platform::WindowHandle;
using platform::WindowStyle;

class FakeServices : public platform::Services, public platform::SetupServices {
public:
    // Windows paths compare without regard to case.
    static std::string Key(std::string_view path) {
        std::string k(path);
        std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) {
            return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        });
        return k;
    }

    struct File {
        std::string content;
        bool hidden = false;
        bool locked = false;  // in use: cannot be deleted or written
        int id = 0;           // names with the same id are hard links of one file
        bool ownedByAdministrators = true;
    };
    struct Started {
        std::string program;
        std::string arguments;
        WindowStyle style;
        std::string currentFolder;  // the caller's working folder at the time
    };
    struct Message {
        std::string text;
        std::string title;
        MessageStyle style;
    };

    // --- state a test sets up and inspects ---
    std::map<std::string, std::string> registry;  // by Key(path)
    std::set<std::string> registryWriteRefused;   // Key(path) prefixes
    std::map<std::string, std::string> settings;  // "section\key"
    std::map<std::string, File> files;            // by Key(path)
    std::set<std::string> folders;                // by Key(path)
    std::set<std::string> readOnlyFolders;        // no file can be made or removed there
    std::set<std::string> unstartable;            // Key(program) that fail to start
    std::string currentFolder = "C:\\Work";
    std::vector<Started> started;
    std::vector<platform::TopLevelWindow> windows;  // Z order, top first
    std::vector<WindowHandle> closeRequests;
    std::vector<Message> messages;
    std::deque<Answer> answers;  // answers for the next boxes; Cancel when none left
    // Runs while a box is open, before it is answered (to deliver ticks, say).
    std::function<void()> whileMessageOpen;
    int beeps = 0;
    std::string programFolder = "C:\\Program";
    std::string windowsFolder = "C:\\Windows";
    std::string argumentText;
    bool anotherInstance = false;
    // A power cut: after this many more changing calls every change fails,
    // as if the program had stopped there. Negative: no cut.
    int changesLeft = -1;
    bool cut = false;  // a change failed for the power cut
    // How the cut hits: a write under way leaves part of its bytes; the
    // registry loses what was changed since it was last flushed (the files
    // keep every change).
    bool tornWrites = false;
    bool loseUnflushedRegistry = false;
    // Changes, counted from 0 since the last Reset, that fail once each
    // ("Access is denied") while the others go on.
    std::set<int> failing;
    int changes = 0;
    // Runs before every changing call: with a look at the end, a test sees
    // the state after each one.
    std::function<void()> beforeChange;
    // Starts counting changes; what is in the registry now is on the disk.
    void Reset() {
        changes = 0;
        cut = false;
        flushedRegistry_ = registry;
        flushedSystemValues_ = systemValues;
    }

    void AddFolder(const std::string& path) { folders.insert(Key(path)); }
    void AddFile(const std::string& path, std::string content = {}) {
        files[Key(path)] = File{std::move(content)};
        files[Key(path)].id = ++lastId_;
    }
    int Links(const std::string& path) {
        const int id = Named(Key(path)).id;
        return static_cast<int>(std::count_if(files.begin(), files.end(), [&](const auto& f) { return f.second.id == id; }));
    }
    bool HasFile(const std::string& path) const { return files.count(Key(path)) != 0; }
    const std::string& Content(const std::string& path) const { return files.at(Key(path)).content; }
    void SetRegistry(const std::string& path, std::string data) { registry[Key(path)] = std::move(data); }
    void AddWindow(WindowHandle h, std::string title) { windows.push_back({h, std::move(title)}); }
    void RemoveWindow(WindowHandle h) {
        std::erase_if(windows, [h](const auto& w) { return w.handle == h; });
    }

    // --- platform::Services ---
    Result<std::string> ReadRegistry(std::string_view path) override {
        auto it = registry.find(Key(path));
        if (it == registry.end()) return Result<std::string>::Fail("The registry value " + Quoted(path) + " does not exist");
        return it->second;
    }
    Status WriteRegistry(std::string_view path, std::string_view data) override {
        if (Stopped()) return Status::Fail("The power went off.");
        for (const auto& refused : registryWriteRefused)
            if (Key(path).rfind(refused, 0) == 0)
                return Status::Fail("Cannot write the registry value " + Quoted(path) + ": Access is denied");
        registry[Key(path)] = std::string(data);
        return Status::Ok();
    }
    Status DeleteRegistry(std::string_view path) override {
        if (Stopped()) return Status::Fail("The power went off.");
        for (const auto& refused : registryWriteRefused)
            if (Key(path).rfind(refused, 0) == 0 && registry.count(Key(path)))
                return Status::Fail("Cannot delete the registry value " + Quoted(path) + ": Access is denied");
        registry.erase(Key(path));
        return Status::Ok();
    }
    Result<std::string> ReadSetting(std::string_view section, std::string_view key) override {
        auto it = settings.find(std::string(section) + "\\" + std::string(key));
        return it == settings.end() ? std::string() : it->second;
    }
    Status WriteSetting(std::string_view section, std::string_view key, std::string_view value) override {
        if (Stopped()) return Status::Fail("The power went off.");
        settings[std::string(section) + "\\" + std::string(key)] = std::string(value);
        return Status::Ok();
    }

    Status SelectDrive(std::string_view root) override {
        if (root.size() < 2 || root[1] != ':') return Status::Fail("The drive " + std::string(root) + " cannot be found.");
        return Status::Ok();
    }
    Status SetCurrentFolder(std::string_view folder) override {
        std::string f = Trimmed(folder);
        if (!folders.count(Key(f)))
            return Status::Fail("Cannot make " + Quoted(folder) + " the working folder: The system cannot find the path specified");
        currentFolder = f;
        return Status::Ok();
    }
    Result<std::string> CurrentFolder() override { return currentFolder; }

    bool PlainFileExists(std::string_view path) override {
        auto it = files.find(Key(path));
        return it != files.end() && !it->second.hidden;
    }
    bool FolderExists(std::string_view path) override { return folders.count(Key(Trimmed(path))) != 0; }
    Status RemoveFile(std::string_view path) override {
        if (Stopped()) return Status::Fail("The power went off.");
        auto it = files.find(Key(path));
        const std::string what = "Cannot delete the file " + Quoted(path) + ": ";
        if (it == files.end()) return Status::Fail(what + "The system cannot find the file specified");
        if (InReadOnlyFolder(path)) return Status::AccessDenied(what + "Access is denied");
        if (it->second.locked) return Status::Fail(what + "Access is denied");
        files.erase(it);
        return Status::Ok();
    }
    Status CreateEmptyFile(std::string_view path) override {
        if (Stopped()) return Status::Fail("The power went off.");
        const std::string what = "Cannot create the file " + Quoted(path) + ": ";
        if (folders.count(Key(path)) || InReadOnlyFolder(path)) return Status::AccessDenied(what + "Access is denied");
        auto it = files.find(Key(path));
        if (it != files.end() && it->second.locked)
            return Status::Fail(what + "The process cannot access the file because it is being used by another process");
        if (it == files.end()) AddFile(std::string(path));
        else SetContent(Named(Key(path)).id, "");
        return Status::Ok();
    }
    Status AppendAnsiText(std::string_view path, std::string_view text) override {
        if (Stopped()) return Status::Fail("The power went off.");
        auto it = files.find(Key(path));
        if ((it != files.end() && it->second.locked) || (it == files.end() && InReadOnlyFolder(path)))
            return Status::Fail("Cannot open the file " + Quoted(path) + " to add to it: Access is denied");
        if (it == files.end()) AddFile(std::string(path));
        SetContent(Named(Key(path)).id, files[Key(path)].content + std::string(text));
        return Status::Ok();
    }

    Status StartProgram(std::string_view program, std::string_view arguments, WindowStyle style) override {
        if (unstartable.count(Key(program)))
            return Status::Fail("Cannot start " + Quoted(program) + ": The system cannot find the file specified");
        started.push_back({std::string(program), std::string(arguments), style, currentFolder});
        return Status::Ok();
    }

    std::vector<platform::TopLevelWindow> TopLevelWindows() override { return windows; }
    // The whole title, ignoring case, as the system matches it.
    WindowHandle FindWindowByTitle(std::string_view title) override {
        for (const auto& w : windows)
            if (Key(w.title) == Key(title)) return w.handle;
        return 0;
    }
    Status PostCloseRequest(WindowHandle window) override {
        closeRequests.push_back(window);
        return Status::Ok();
    }

    Answer ShowMessage(std::string_view text, std::string_view title, MessageStyle style) override {
        messages.push_back({std::string(text), std::string(title), style});
        if (whileMessageOpen) whileMessageOpen();
        if (answers.empty()) return Answer::Cancel;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void BringMessageToFront() override {}  // no screen to bring it to
    void Beep() override { ++beeps; }

    std::string ProgramFolder() override { return programFolder; }
    Result<std::string> WindowsFolder() override { return windowsFolder; }
    std::string ArgumentText() override { return argumentText; }
    bool AnotherInstanceRunning() override { return anotherInstance; }

    // Paths whose file cannot be written, whether it exists or not.
    std::set<std::string> unwritable;  // by Key(path)
    // Paths whose file cannot be opened at all (held without sharing).
    std::set<std::string> unreadable;  // by Key(path)
    Result<std::string> ReadFileBytes(std::string_view path) override {
        auto it = files.find(Key(path));
        if (it == files.end()) return Result<std::string>::Fail("The system cannot find the file specified.");
        if (unreadable.count(Key(path)))
            return Result<std::string>::Fail("Cannot open the file " + Quoted(path) +
                                             ": The process cannot access the file because it is being used by another process");
        return it->second.content;
    }
    Status WriteNewFile(std::string_view path, std::string_view bytes) override {
        const bool stopped = Stopped();
        if (files.count(Key(path)) || folders.count(Key(path))) return Status::Fail("The file exists.");
        if (stopped) {
            if (cut && tornWrites) AddFile(std::string(path), std::string(bytes.substr(0, bytes.size() / 2)));
            return Status::Fail("The power went off.");
        }
        if (unwritable.count(Key(path)) || InReadOnlyFolder(path)) return Status::Fail("Access is denied.");
        AddFile(std::string(path), std::string(bytes));
        return Status::Ok();
    }
    Status RenameFile(std::string_view from, std::string_view to) override {
        if (Stopped()) return Status::Fail("The power went off.");
        auto it = files.find(Key(from));
        if (it == files.end()) return Status::Fail("The system cannot find the file specified.");
        if (files.count(Key(to)) || folders.count(Key(to))) return Status::Fail("The file exists.");
        if (it->second.locked || InReadOnlyFolder(from) || InReadOnlyFolder(to) || unwritable.count(Key(to)))
            return Status::Fail("Access is denied.");
        File moved = std::move(it->second);
        files.erase(it);
        files[Key(to)] = std::move(moved);
        return Status::Ok();
    }

    bool linksUnsupported = false;  // a FAT drive, say
    std::set<std::string> reparseFolders;  // by Key(path): junctions
    bool folderReplaced = false;   // the held folder's path leads elsewhere now
    std::string heldFolder;
    Status MoveFileOver(std::string_view from, std::string_view to) override {
        if (Stopped()) return Status::Fail("The power went off.");
        auto it = files.find(Key(from));
        if (it == files.end()) return Status::Fail("The system cannot find the file specified.");
        auto there = files.find(Key(to));
        if (folders.count(Key(to)) || (there != files.end() && there->second.locked) || it->second.locked ||
            InReadOnlyFolder(from) || unwritable.count(Key(to)))
            return Status::Fail("Access is denied.");
        File moved = std::move(it->second);
        files.erase(it);
        files[Key(to)] = std::move(moved);
        return Status::Ok();
    }
    Status LinkFile(std::string_view existing, std::string_view link) override {
        if (Stopped()) return Status::Fail("The power went off.");
        if (linksUnsupported) return Status::Fail("Incorrect function.");
        auto it = files.find(Key(existing));
        if (it == files.end()) return Status::Fail("The system cannot find the file specified.");
        if (files.count(Key(link)) || folders.count(Key(link))) return Status::Fail("The file exists.");
        if (InReadOnlyFolder(link) || unwritable.count(Key(link))) return Status::Fail("Access is denied.");
        File second = Named(Key(existing));
        files[Key(link)] = second;
        return Status::Ok();
    }
    Status FlushFile(std::string_view path) override {
        if (Stopped()) return Status::Fail("The power went off.");
        return files.count(Key(path)) ? Status::Ok() : Status::Fail("The system cannot find the file specified.");
    }
    Status FlushRegistry(std::string_view) override {
        if (Stopped()) return Status::Fail("The power went off.");
        flushedRegistry_ = registry;
        flushedSystemValues_ = systemValues;
        return Status::Ok();
    }
    Result<platform::FileFacts> FactsOf(std::string_view path) override {
        auto it = files.find(Key(path));
        if (it == files.end()) return Result<platform::FileFacts>::Fail("The system cannot find the file specified.");
        return platform::FileFacts{!it->second.hidden, static_cast<unsigned>(Links(std::string(path))),
                                   it->second.ownedByAdministrators};
    }
    Status HoldFolder(std::string_view folder) override {
        if (reparseFolders.count(Key(folder))) return Status::Fail("The folder is a link to another folder.");
        heldFolder = Key(folder);
        return Status::Ok();
    }
    Status CheckHeldFolder(std::string_view folder) override {
        if (folderReplaced || heldFolder != Key(folder)) return Status::Fail("The game folder was replaced.");
        return Status::Ok();
    }

    // The build switch service as its control manager shows it. A control
    // sent runs `onServiceControl`, the service's work; each wait counts.
    platform::ServiceState serviceState = platform::ServiceState::Missing;
    std::vector<unsigned> serviceControls;
    int serviceLaunches = 0;
    std::function<void(unsigned)> onServiceControl;
    unsigned waitedMs = 0;
    Result<platform::ServiceState> ServiceStatus(std::string_view) override { return serviceState; }
    Status LaunchService(std::string_view) override {
        ++serviceLaunches;
        if (serviceState == platform::ServiceState::Stopped) serviceState = platform::ServiceState::Running;
        return Status::Ok();
    }
    Status SendServiceControl(std::string_view, unsigned control) override {
        if (serviceState != platform::ServiceState::Running)
            return Status::Fail("The service cannot accept control messages at this time");
        serviceControls.push_back(control);
        if (onServiceControl) onServiceControl(control);
        return Status::Ok();
    }
    void Wait(unsigned milliseconds) override { waitedMs += milliseconds; }

    // --- platform::SetupServices ---
    std::map<std::string, std::string> systemValues;  // by Key(key + "\\" + name)
    std::map<std::string, std::uint32_t> usersRights;  // by Key(path), besides the entries added
    std::vector<std::pair<std::string, platform::AccessEntry>> access;  // (Key(path), entry) added
    std::set<std::string> accessRefused;               // Key(path) whose permissions cannot change
    std::map<std::string, platform::ServiceConfig> services;  // installed, by name
    std::string serviceNotes;                          // what InstallService answers
    bool servicesRefused = false;                      // the control manager refuses changes
    int serviceStops = 0;
    struct Rule {
        std::string name, program;
        bool enabled = true;
        std::string properties = "TCP 2300";
    };
    std::vector<Rule> firewall;
    bool firewallDown = false;  // its interface answers nothing
    std::set<std::string> uncopyableRules;  // names of rules with a property that cannot be copied
    // Who may change which folder; an existing folder not listed is the
    // administrators' alone. A folder made protected is listed as such.
    std::map<std::string, platform::FolderSecurity> folderSecurity;  // by Key(path)
    bool permissionsKept = true;  // false: Wine
    bool drivesKeepPermissions = true;  // false: a FAT drive, which keeps none of what setup sets

    Result<std::string> ReadSystemValue(std::string_view key, std::string_view name) override {
        auto it = systemValues.find(Key(std::string(key) + "\\" + std::string(name)));
        if (it == systemValues.end()) return Result<std::string>::Fail("The registry value does not exist");
        return it->second;
    }
    Status WriteSystemValue(std::string_view key, std::string_view name, std::string_view data) override {
        if (Stopped()) return Status::Fail("The power went off.");
        systemValues[Key(std::string(key) + "\\" + std::string(name))] = std::string(data);
        return Status::Ok();
    }
    Status DeleteSystemValue(std::string_view key, std::string_view name) override {
        if (Stopped()) return Status::Fail("The power went off.");
        systemValues.erase(Key(std::string(key) + "\\" + std::string(name)));
        return Status::Ok();
    }
    Result<std::uint32_t> UsersRights(std::string_view path) override {
        if (!files.count(Key(path)) && !folders.count(Key(path))) return Result<std::uint32_t>::Fail("Not found.");
        std::uint32_t rights = usersRights.count(Key(path)) ? usersRights.at(Key(path)) : 0;
        for (const auto& [changed, entry] : access)
            if (changed == Key(path) && entry.sid == "S-1-5-32-545" && entry.inheritance == platform::Inheritance::None)
                rights |= entry.rights;
        return rights;
    }
    Status AddAccess(std::string_view path, const platform::AccessEntry& entry) override {
        if (Stopped()) return Status::Fail("The power went off.");
        if (accessRefused.count(Key(path))) return Status::Fail("Access is denied.");
        if (!files.count(Key(path)) && !folders.count(Key(path))) return Status::Fail("Not found.");
        if (std::find(access.begin(), access.end(), std::pair{Key(path), entry}) == access.end())
            access.push_back({Key(path), entry});
        return Status::Ok();
    }
    Status RemoveAccess(std::string_view path, const platform::AccessEntry& entry) override {
        if (Stopped()) return Status::Fail("The power went off.");
        if (accessRefused.count(Key(path))) return Status::Fail("Access is denied.");
        std::erase(access, std::pair{Key(path), entry});
        return Status::Ok();
    }
    Result<std::vector<platform::FirewallRule>> FirewallRules(std::string_view program) override {
        if (firewallDown) return Result<std::vector<platform::FirewallRule>>::Fail("Not implemented.");
        std::vector<platform::FirewallRule> rules;
        for (const auto& rule : firewall)
            if (Key(rule.program) == Key(program)) rules.push_back({rule.name, rule.enabled, rule.properties});
        return rules;
    }
    Status CopyFirewallRule(std::string_view program, const platform::FirewallRule& rule, std::string_view copyName,
                            std::string_view copyProgram) override {
        if (Stopped()) return Status::Fail("The power went off.");
        if (uncopyableRules.count(rule.name)) return Status::Fail("setup cannot copy its property LocalUserOwner");
        for (const auto& r : firewall)
            if (r.name == rule.name && r.properties == rule.properties && Key(r.program) == Key(program)) {
                firewall.push_back({std::string(copyName), std::string(copyProgram), true, rule.properties});
                return Status::Ok();
            }
        return Status::Fail("The rule went.");
    }
    Status RemoveFirewallRule(std::string_view program, std::string_view name, std::string_view properties) override {
        if (Stopped()) return Status::Fail("The power went off.");
        auto ours = [&](const Rule& r) {
            return r.name == name && Key(r.program) == Key(program) && (properties.empty() || r.properties == properties);
        };
        if (properties.empty()) std::erase_if(firewall, ours);
        else if (auto it = std::find_if(firewall.begin(), firewall.end(), ours); it != firewall.end()) firewall.erase(it);
        return Status::Ok();
    }
    Result<platform::FolderSecurity> ReadFolderSecurity(std::string_view folder) override {
        if (!folders.count(Key(Trimmed(folder)))) return Result<platform::FolderSecurity>::Fail("Not found.");
        platform::FolderSecurity security;
        if (auto it = folderSecurity.find(Key(Trimmed(folder))); it != folderSecurity.end()) security = it->second;
        security.permissionsKept = permissionsKept;
        security.link = reparseFolders.count(Key(Trimmed(folder))) != 0;
        return security;
    }
    Status CreateProtectedFolder(std::string_view folder) override {
        if (Stopped()) return Status::Fail("The power went off.");
        if (folders.count(Key(Trimmed(folder))) || files.count(Key(folder))) return Status::Fail("It exists.");
        AddFolder(Trimmed(folder));
        if (!drivesKeepPermissions) folderSecurity[Key(Trimmed(folder))].othersMayAddOrWrite = true;
        return Status::Ok();
    }
    Result<std::string> InstallService(const platform::ServiceConfig& config) override {
        if (Stopped()) return Status::Fail("The power went off.");
        if (servicesRefused) return Status::Fail("Cannot install the service: Access is denied");
        services[config.name] = config;
        if (serviceState == platform::ServiceState::Missing) serviceState = platform::ServiceState::Stopped;
        return serviceNotes;
    }
    Status StopService(std::string_view) override {
        if (Stopped()) return Status::Fail("The power went off.");
        ++serviceStops;
        if (serviceState != platform::ServiceState::Missing) serviceState = platform::ServiceState::Stopped;
        return Status::Ok();
    }
    Status RemoveService(std::string_view name) override {
        if (Stopped()) return Status::Fail("The power went off.");
        if (!services.count(std::string(name))) return Status::Ok();
        if (servicesRefused) return Status::Fail("Cannot remove the service: Access is denied");
        services.erase(std::string(name));
        serviceState = platform::ServiceState::Missing;
        return Status::Ok();
    }

private:
    bool Stopped() {
        if (beforeChange) beforeChange();
        if (failing.count(changes++)) return true;
        if (changesLeft == 0) {
            if (!cut && loseUnflushedRegistry) {
                registry = flushedRegistry_;
                systemValues = flushedSystemValues_;
            }
            return cut = true;
        }
        if (changesLeft > 0) --changesLeft;
        return false;
    }
    // A file a test put in place by hand gets its identity when it is needed.
    File& Named(const std::string& key) {
        File& file = files[key];
        if (!file.id) file.id = ++lastId_;
        return file;
    }
    void SetContent(int id, const std::string& content) {
        for (auto& [path, file] : files)
            if (file.id == id) file.content = content;
    }
    int lastId_ = 0;
    std::map<std::string, std::string> flushedRegistry_, flushedSystemValues_;
    static std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }
    static std::string Trimmed(std::string_view folder) {
        std::string f(folder);
        while (f.size() > 3 && (f.back() == '\\' || f.back() == '/')) f.pop_back();
        return f;
    }
    bool InReadOnlyFolder(std::string_view path) const {
        std::string p(path);
        auto slash = p.find_last_of('\\');
        return slash != std::string::npos && readOnlyFolders.count(Key(p.substr(0, slash)));
    }
};

}  // namespace testing_support
