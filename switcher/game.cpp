#include "switcher/game.h"

#include "common/build_marker.h"

namespace switcher {

using platform::Result;
using platform::Status;

namespace {

constexpr std::size_t kExecutableFolderLength = 7;  // "Age2_x1", say

// Makes `path` the working drive and folder.
Status MoveTo(platform::Services& os, const std::string& path) {
    if (auto s = os.SelectDrive(path.substr(0, 3)); !s) return s;
    return os.SetCurrentFolder(path);
}

// Makes `path` the working drive and folder and answers the working folder
// as the system reports it, which is what every path below is built from. On
// any failure the working drive and folder stay as they were.
Result<std::string> EnterFolder(platform::Services& os, const std::string& path,
                                std::string_view what) {
    if (path.empty() || !os.FolderExists(path))
        return Result<std::string>::Fail("The " + std::string(what) + " " + path + " does not exist.");
    auto previous = os.CurrentFolder();
    auto fail = [&](const Status& why) -> Result<std::string> {
        if (previous) {
            (void)os.SelectDrive(previous->substr(0, 3));
            (void)os.SetCurrentFolder(*previous);
        }
        return Result<std::string>::Fail("Cannot enter the " + std::string(what) + ": " + why.message());
    };
    if (auto s = MoveTo(os, path); !s) return fail(s);
    auto current = os.CurrentFolder();
    if (!current) return fail(current.status());
    return current;
}

Result<std::string> EnterGameFolder(platform::Services& os) {
    auto folder = GameFolder(os);
    if (!folder) return folder.status();
    return EnterFolder(os, *folder, "game folder");
}

// A process's working folder cannot be renamed or removed on Windows: staying
// in the game folder would keep the player or a patcher from moving it for as
// long as the program runs. So each use of a folder ends back in the
// program's own folder. Should that fail, the work itself is still done and
// its outcome is what the caller reports.
class ReturnsHome {
public:
    explicit ReturnsHome(platform::Services& os) : os_(os) {}
    ~ReturnsHome() { (void)MoveTo(os_, os_.ProgramFolder()); }
    ReturnsHome(const ReturnsHome&) = delete;
    ReturnsHome& operator=(const ReturnsHome&) = delete;

private:
    platform::Services& os_;
};

}  // namespace

Result<std::string> GameFolder(platform::Services& os) {
    auto value = os.ReadRegistry(kGamePathValue);
    if (!value)
        return Result<std::string>::Fail("The game is not registered: " + value.message() + ".");
    if (value->empty())
        return Result<std::string>::Fail("The game is not registered: the registry value " +
                                         std::string(kGamePathValue) + " is empty.");
    return value;
}

Result<std::string> GetVersion(platform::Services& os) {
    auto folder = EnterGameFolder(os);
    if (!folder) return folder.status();
    ReturnsHome home(os);
    return std::string(common::CurrentBuild(os, *folder));
}

Status SwitchToC(platform::Services& os) {
    auto folder = EnterGameFolder(os);
    if (!folder) return folder.status();
    ReturnsHome home(os);
    return common::MakeBuild10cCurrent(os, *folder);
}

Status SwitchToE(platform::Services& os) {
    auto folder = EnterGameFolder(os);
    if (!folder) return folder.status();
    ReturnsHome home(os);
    return common::MakeBuild10eCurrent(os, *folder);
}

Status RunInFolder(platform::Services& os, std::string_view folder, std::string_view file,
                   platform::WindowStyle style) {
    auto current = EnterFolder(os, std::string(folder), "folder");
    if (!current) return current.status();
    ReturnsHome home(os);
    const std::string program = *current + "\\" + std::string(file);
    // The service names the program and the reason.
    return os.StartProgram(program, "", style);
}

Result<std::string> SaveGameFolder(platform::Services& os) {
    auto folder = GameFolder(os);
    if (!folder) return folder.status();
    if (folder->size() < kExecutableFolderLength)
        return Result<std::string>::Fail("The game folder " + *folder +
                                         " named in the registry is too short to have a "
                                         "save folder beside it.");
    return folder->substr(0, folder->size() - kExecutableFolderLength) + "SaveGame";
}

}  // namespace switcher
