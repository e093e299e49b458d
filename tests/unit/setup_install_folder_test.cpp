// Where setup installs the programs that run elevated: a folder only
// administrators may change, judged by who may change it, not by its name;
// and whether /D= names the earlier installation's folder.

#include <gtest/gtest.h>

#include "setup/install_folder.h"
#include "tests/unit/fake_services.h"

namespace {

using setup::Outcome;
using testing_support::FakeServices;

TEST(InstallFolder, IsAFullPathWithNothingLeadingElsewhere) {
    EXPECT_EQ(*setup::FullPath("C:\\Program Files\\..\\Games\\.\\Vantrel\\"), "C:\\Games\\Vantrel");
    EXPECT_EQ(*setup::FullPath("D:/Games/Vantrel. "), "D:\\Games\\Vantrel");
    EXPECT_EQ(*setup::FullPath("C:\\..\\.."), "C:\\");
    EXPECT_FALSE(setup::FullPath("Games\\Vantrel"));
    EXPECT_FALSE(setup::FullPath("\\\\server\\share\\Vantrel"));
}

TEST(InstallFolder, IsOneOnlyAdministratorsMayChangeOrAProtectedSubfolder) {
    struct Case {
        const char* name;
        std::function<void(FakeServices&)> arrange;
        std::string chosen;
        Outcome outcome;
        std::string folder;  // empty when refused
    };
    const platform::FolderSecurity addable{true, false, false, false, true}, owned{true, false, true, false, true};
    const Case cases[] = {
        {"new under Program Files", [](FakeServices&) {}, "C:\\Program Files\\Vantrel", Outcome::Done,
         "C:\\Program Files\\Vantrel"},
        {"through ..", [](FakeServices&) {}, "C:\\Program Files\\..\\Program Files\\Vantrel", Outcome::Done,
         "C:\\Program Files\\Vantrel"},
        {"users may add files there", [&](FakeServices& f) { f.folderSecurity[f.Key("C:\\Games")] = addable; },
         "C:\\Games", Outcome::Updated, "C:\\Games\\Vantrel"},
        {"a user owns a folder on the way", [&](FakeServices& f) { f.folderSecurity[f.Key("C:\\Games")] = owned; },
         "C:\\Games\\Vantrel", Outcome::Refused, ""},
        {"a user owns it", [&](FakeServices& f) { f.folderSecurity[f.Key("C:\\Games")] = owned; }, "C:\\Games",
         Outcome::Refused, ""},
        {"its subfolder is somebody's",
         [&](FakeServices& f) {
             f.folderSecurity[f.Key("C:\\Games")] = addable;
             f.AddFolder("C:\\Games\\Vantrel");
             f.folderSecurity[f.Key("C:\\Games\\Vantrel")] = addable;
         },
         "C:\\Games", Outcome::Refused, ""},
        {"a junction", [](FakeServices& f) { f.reparseFolders.insert(f.Key("C:\\Games")); }, "C:\\Games",
         Outcome::Refused, ""},
        {"a drive that keeps no permissions", [](FakeServices& f) { f.drivesKeepPermissions = false; },
         "C:\\Program Files\\Vantrel", Outcome::Refused, ""},
        {"Wine", [&](FakeServices& f) { f.folderSecurity[f.Key("C:\\Games")] = owned, f.permissionsKept = false; },
         "C:\\Games", Outcome::Done, "C:\\Games"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices os;
        for (const char* folder : {"C:\\", "C:\\Program Files", "C:\\Games"}) os.AddFolder(folder);
        c.arrange(os);
        const auto folders = os.folders;
        const auto place = setup::ChooseInstallFolder(os, os, c.chosen);
        EXPECT_EQ(place.outcome, c.outcome) << place.message;
        EXPECT_EQ(place.folder, c.folder);
        EXPECT_TRUE(c.folder.empty() || os.FolderExists(c.folder));
        // Refused, it made nothing; only a drive that keeps no permissions
        // shows that after making the folder.
        EXPECT_TRUE(c.outcome != Outcome::Refused || os.folders == folders ||
                    std::string(c.name) == "a drive that keeps no permissions");
    }
}

TEST(InstallFolder, TellsTheSameFolderByAMarkerAndLeavesNoneBehind) {
    FakeServices os;
    os.AddFolder("C:\\Program Files\\Vantrel");
    os.AddFolder("D:\\Vantrel");
    os.AddFile("C:\\Program Files\\Vantrel\\Vantrel-setup-marker-1.tmp", "somebody's");
    EXPECT_TRUE(*setup::SameFolder(os, "C:\\Program Files\\Vantrel", "c:\\program files\\vantrel\\"));
    EXPECT_FALSE(*setup::SameFolder(os, "C:\\Program Files\\Vantrel", "D:\\Vantrel"));
    EXPECT_FALSE(*setup::SameFolder(os, "C:\\Gone", "D:\\Vantrel"));
    EXPECT_EQ(os.files.size(), 1u);
}

}  // namespace
