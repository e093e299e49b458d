#include "setup/install_folder.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace setup {

using platform::FolderSecurity;
using platform::Result;
using platform::Status;

namespace {

constexpr std::string_view kSubfolder = "Vantrel";

bool Trusted(const FolderSecurity& folder) {
    return !folder.link && !folder.othersMayAlterIt && !folder.othersMayRemoveItems && !folder.othersMayAddOrWrite;
}

std::string Within(const std::string& folder, std::string_view name) {
    return folder + (folder.back() == '\\' ? "" : "\\") + std::string(name);
}

InstallFolder Refuse(const std::string& why) {
    return {Outcome::Refused, "",
            why + "\nVantrel's uninstaller runs with administrator rights and Vantrel.exe starts at every log-on, so "
                  "whoever may change them could take those rights. Choose a folder under Program Files, or one "
                  "only administrators may change. Nothing was installed."};
}

InstallFolder Ours(Outcome outcome, const std::string& folder, const std::string& words) {
    return {outcome, folder, words + "Only administrators may change " + folder + "."};
}

}  // namespace

Result<std::string> FullPath(std::string_view path) {
    std::string text(path);
    std::replace(text.begin(), text.end(), '/', '\\');
    if (text.size() < 3 || !std::isalpha(static_cast<unsigned char>(text[0])) || text[1] != ':' || text[2] != '\\')
        return Result<std::string>::Fail("\"" + std::string(path) + "\" is not a full path on a drive of this PC.");
    std::vector<std::string> names;
    for (std::size_t start = 3; start <= text.size();) {
        const std::size_t end = std::min(text.find('\\', start), text.size());
        std::string name = text.substr(start, end - start);
        start = end + 1;
        if (name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        // Windows drops the dots and blanks that end a name; "." is no name.
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) names.push_back(name);
    }
    std::string full = text.substr(0, 3);
    for (const auto& name : names) full = Within(full, name);
    return full;
}

InstallFolder ChooseInstallFolder(platform::Services& os, platform::SetupServices& system, std::string_view chosen) {
    auto full = FullPath(chosen);
    if (!full) return Refuse(full.message());
    const std::string path = *full;
    // The drive's root, every folder on the way, and the folder itself.
    std::vector<std::string> chain = {path.substr(0, 3)};
    for (std::size_t at = 3; (at = path.find('\\', at)) != std::string::npos; ++at) chain.push_back(path.substr(0, at));
    if (path.size() > 3) chain.push_back(path);

    std::vector<FolderSecurity> existing;
    for (const auto& folder : chain) {
        if (!os.FolderExists(folder)) break;
        auto security = system.ReadFolderSecurity(folder);
        if (!security) return Refuse(security.message());
        if (!security->permissionsKept)
            return {Outcome::Done, path,
                    "This system keeps no Windows permissions on files (under Wine, every program runs as your "
                    "own account), so who may change " + path + " was not checked."};
        existing.push_back(*security);
    }
    if (existing.empty()) return Refuse("The drive of " + path + " cannot be found.");
    // Whoever may rename a folder on the way, or replace what is in it, can
    // put a folder of their own where Vantrel's was.
    for (std::size_t i = 0; i < existing.size() && i + 1 < chain.size(); ++i)
        if (existing[i].othersMayAlterIt || existing[i].othersMayRemoveItems)
            return Refuse("Accounts other than administrators may rename or replace what is in " + chain[i] +
                          ", so no folder in it is safe for Vantrel.");

    if (existing.size() < chain.size()) {
        // Made with the protected permissions from their first instant.
        for (std::size_t i = existing.size(); i < chain.size(); ++i)
            if (Status s = system.CreateProtectedFolder(chain[i]); !s) return Refuse(s.message() + ".");
        auto made = system.ReadFolderSecurity(path);
        if (!made || !Trusted(*made))
            return Refuse("The drive of " + path + " does not keep the permissions setup gave the folder.");
        return Ours(Outcome::Done, path, "");
    }
    const FolderSecurity& here = existing.back();
    if (here.link)
        return Refuse(path + " is a link to another folder (a junction or a symbolic link), which its owner can "
                             "point elsewhere.");
    if (Trusted(here)) return Ours(Outcome::Done, path, "");
    if (here.othersMayAlterIt || here.othersMayRemoveItems)
        return Refuse("Accounts other than administrators may change " + path +
                      " and rename or replace what is in it, so no folder in it is safe for Vantrel.");
    const std::string own = Within(path, kSubfolder);
    if (!os.FolderExists(own))
        if (Status s = system.CreateProtectedFolder(own); !s) return Refuse(s.message() + ".");
    auto mine = system.ReadFolderSecurity(own);
    if (!mine) return Refuse(mine.message() + ".");
    if (!Trusted(*mine))
        return Refuse(own + " is there already, and accounts other than administrators may change it.");
    return Ours(Outcome::Updated, own,
                "Accounts other than administrators may add files to " + path +
                    ", so Vantrel goes into a folder of its own there, " + own + ". ");
}

Result<bool> SameFolder(platform::Services& os, std::string_view folder, std::string_view other) {
    if (!os.FolderExists(folder) || !os.FolderExists(other)) return false;
    for (int i = 1; i <= 9; ++i) {
        const std::string name = "Vantrel-setup-marker-" + std::to_string(i) + ".tmp";
        const std::string here = Within(std::string(folder), name), there = Within(std::string(other), name);
        if (os.PlainFileExists(here) || os.PlainFileExists(there)) continue;  // somebody's file: another name
        if (Status s = os.WriteNewFile(here, ""); !s)
            return Result<bool>::Fail("Cannot tell whether " + std::string(other) + " is " + std::string(folder) +
                                      ": " + s.message());
        const bool same = os.PlainFileExists(there);
        (void)os.RemoveFile(here);
        return same;
    }
    return Result<bool>::Fail("Cannot tell whether " + std::string(other) + " is " + std::string(folder) +
                              ": its marker files are all taken.");
}

}  // namespace setup
