// The setup program and its uninstaller, run silently against a stand-in
// game installation: the registration, and the stand-in game under the
// game's executable name with bytes no other test's copy has.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include <windows.h>
#include <aclapi.h>

#include "common/version.h"
#include "tests/win32/support/build_tree.h"
#include "tests/win32/support/desktop.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/registry.h"
#include "tests/win32/support/scratch_folder.h"
#include "tests/win32/support/standin_record.h"
#include "tests/win32/support/text.h"

namespace {

using namespace e2e;

const std::wstring kGameKey = L"SOFTWARE\\Microsoft\\DirectPlay\\Applications\\Age of Empires II - The Conquerors Expansion";
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel";
const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kExecutable = L"age2_x1.exe";

// Every file in a folder with its bytes, to prove nothing in it changed.
std::map<std::wstring, std::string> FolderContents(const std::wstring& folder) {
    std::map<std::wstring, std::string> contents;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return contents;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            contents[found.cFileName] = ReadFileBytes(folder + L"\\" + found.cFileName).value_or("?");
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return contents;
}

struct WellKnownSid {
    explicit WellKnownSid(WELL_KNOWN_SID_TYPE type) {
        DWORD size = sizeof bytes;
        CreateWellKnownSid(type, nullptr, bytes, &size);
    }
    BYTE bytes[SECURITY_MAX_SID_SIZE] = {};
};

// A file's or folder's permissions as GetNamedSecurityInfoW reads them.
struct Permissions {
    explicit Permissions(const std::wstring& path) {
        ok = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                   &owner, nullptr, &dacl, nullptr, &descriptor) == ERROR_SUCCESS;
    }
    ~Permissions() { LocalFree(descriptor); }
    bool Protected() const {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        return GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED);
    }
    // The rights of the entries allowing Users; `own`: only those set on it, not inherited.
    std::vector<DWORD> Users(bool own) const {
        WellKnownSid users(WinBuiltinUsersSid);
        std::vector<DWORD> rights;
        for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
            ACCESS_ALLOWED_ACE* ace = nullptr;
            if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
                EqualSid(&ace->SidStart, users.bytes) && !(own && (ace->Header.AceFlags & INHERITED_ACE)))
                rights.push_back(ace->Mask);
        }
        return rights;
    }
    bool ok = false;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
};

// Whether this system keeps the permissions set on a file. Debian's Wine
// does not (its server is built without extended attributes): it answers
// permissions made up from the Unix mode bits.
bool KeepsPermissions(const std::wstring& file) {
    WellKnownSid users(WinBuiltinUsersSid);
    BYTE buffer[256];
    PACL acl = reinterpret_cast<PACL>(buffer);
    InitializeAcl(acl, sizeof buffer, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, FILE_ADD_FILE, users.bytes);
    std::wstring path = file;
    if (SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl,
                              nullptr) != ERROR_SUCCESS)
        return false;
    return Permissions(file).Users(true) == std::vector<DWORD>{FILE_ADD_FILE};
}

// The build switch service as the service control manager shows it.
struct SwitchService {
    SwitchService() : manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT)) {
        service = OpenServiceW(manager, L"VantrelSwitch", SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS | SERVICE_START |
                                                              SERVICE_USER_DEFINED_CONTROL);
    }
    ~SwitchService() {
        if (service) CloseServiceHandle(service);
        CloseServiceHandle(manager);
    }
    DWORD State() const {
        SERVICE_STATUS status{};
        return QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
    }
    // Start type and command, as "<type> <command>".
    std::wstring Config() const {
        alignas(QUERY_SERVICE_CONFIGW) BYTE buffer[8192];
        auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer);
        DWORD needed = 0;
        if (!QueryServiceConfigW(service, config, sizeof buffer, &needed)) return L"?";
        return std::to_wstring(config->dwStartType) + L" " + config->lpBinaryPathName;
    }
    bool Control(DWORD code) {
        SERVICE_STATUS status{};
        return ControlService(service, code, &status);
    }
    SC_HANDLE manager, service;
};

class Setup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(ReadValue(Root::LocalMachine, kUninstallKey, L"DisplayName"))
            << "Vantrel is installed in this prefix already";
        game_ = scratch_.MakeSubfolder(L"Age of Empires II\\age2_x1");
        installDir_ = scratch_ / L"Program Files\\Vantrel";
        auto standin = ReadFileBytes(BuiltProgram(L"standin_game.exe"));
        ASSERT_TRUE(standin);
        // Trailing bytes leave the program as it runs, but make this copy its own.
        original_ = *standin + "stand-in of " +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                    std::to_string(GetTickCount());
        ASSERT_TRUE(WriteFileBytes(Game(), original_));
        ASSERT_TRUE(WriteFileBytes(Path(L"on.ini"), ""));
        stub_ = ReadFileBytes(BuiltProgram(L"Brennic.exe")).value_or("");
    }
    void TearDown() override {
        if (ReadValue(Root::LocalMachine, kUninstallKey, L"DisplayName")) RunUninstaller();
        RemoveTree(installDir_);
    }

    std::wstring Path(const std::wstring& name) const { return game_ + L"\\" + name; }
    std::wstring Game() const { return Path(kExecutable); }

    // Runs setup silently; answers its exit code.
    std::optional<DWORD> RunSetup(const std::wstring& options = L"", const std::wstring& folder = L"") {
        Process setup(BuiltSetupProgram(), L"/S " + options + L" /D=" + (folder.empty() ? installDir_ : folder));
        return setup.WaitForExit(60000ms);
    }
    std::string SetupLog() const {
        wchar_t temp[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, temp);
        return ReadFileBytes(std::wstring(temp) + L"Vantrel-setup.log").value_or("");
    }
    // Opened for reading, shared with nobody, as a virus scan may hold it.
    struct Held {
        explicit Held(const std::wstring& path)
            : handle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
        ~Held() { CloseHandle(handle); }
        HANDLE handle;
    };
    // Runs the uninstaller in place, so that its exit code is the outcome's.
    std::optional<DWORD> RunUninstaller() {
        Process uninstall(installDir_ + L"\\uninstall.exe", L"/S _?=" + installDir_);
        return uninstall.WaitForExit(60000ms);
    }
    bool Installed() const { return FileExists(installDir_ + L"\\Vantrel.exe"); }
    void ExpectSwapped() {
        EXPECT_EQ(ReadFileBytes(Game()), stub_);
        EXPECT_EQ(ReadFileBytes(Path(L"Brennic.exe")), stub_);
        EXPECT_EQ(ReadFileBytes(Path(L"Brennic_Original.exe")), original_);
    }
    void ExpectGivenBack() {
        EXPECT_EQ(ReadFileBytes(Game()), original_);
        EXPECT_FALSE(FileExists(Path(L"Brennic.exe")));
        EXPECT_FALSE(FileExists(Path(L"Brennic_Original.exe")));
        EXPECT_TRUE(FileExists(Path(L"on.ini")));
    }

    ScratchFolder scratch_{L"setup"};
    std::wstring game_, installDir_;
    std::string original_, stub_;
    ScopedValue path_{Root::LocalMachine, kGameKey, L"Path", std::nullopt};
    ScopedValue file_{Root::LocalMachine, kGameKey, L"File", std::nullopt};
    void Register(bool withFile = true) {
        ASSERT_TRUE(SetValue(Root::LocalMachine, kGameKey, L"Path", game_));
        if (withFile) { ASSERT_TRUE(SetValue(Root::LocalMachine, kGameKey, L"File", kExecutable)); }
    }
};

TEST_F(Setup, InstallsLaunchesThroughTheStubAndUninstallsLeavingTheGameAsItWas) {
    Register();
    ASSERT_EQ(RunSetup(), 0u);
    ASSERT_TRUE(Installed());
    ExpectSwapped();
    EXPECT_EQ(ReadValue(Root::LocalMachine, kUninstallKey, L"DisplayName"), L"Vantrel");
    EXPECT_EQ(ReadValue(Root::LocalMachine, kUninstallKey, L"Publisher"), L"Holvane");
    EXPECT_EQ(ReadValue(Root::LocalMachine, kUninstallKey, L"InstallLocation"), installDir_);
    EXPECT_TRUE(ReadValue(Root::LocalMachine, kUninstallKey, L"DisplayVersion"));
    auto quiet = ReadValue(Root::LocalMachine, kUninstallKey, L"QuietUninstallString");
    ASSERT_EQ(quiet, L"\"" + installDir_ + L"\\uninstall.exe\" /S");
    EXPECT_EQ(ReadValue(Root::LocalMachine, kUninstallKey, L"UninstallString"),
              L"\"" + installDir_ + L"\\uninstall.exe\"");

    {  // The host starts the game by its executable's name and reaches the stand-in.
        const std::wstring record = scratch_ / L"game.record";
        ScopedEnvironment recordTo(L"VANTREL_STANDIN_RECORD", record);
        ScopedControlValue launching(L"Launching", L"0");
        Process host(BuiltProgram(L"standin_host.exe"),
                     L"/launch:0 /close:200 \"" + Game() + L"\" -multiplayer 7 \"two words\"");
        ASSERT_TRUE(WaitUntil([&] { return !ReadStandinRecords(record).empty(); }, 10000ms));
        auto runs = ReadStandinRecords(record);
        EXPECT_EQ(runs[0].arguments, "-multiplayer 7 \"two words\"");
        EXPECT_EQ(runs[0].program, Utf8(Path(L"Brennic_Original.exe")));
        host.WaitForExit(5000ms);
    }

    ASSERT_TRUE(SetValue(Root::LocalMachine, kRunKey, L"Vantrel", L"\"" + installDir_ + L"\\Vantrel.exe\""));
    ASSERT_TRUE(SetValue(Root::CurrentUser, kRunKey, L"Vantrel", L"\"" + installDir_ + L"\\Vantrel.exe\""));
    ASSERT_TRUE(SetUserValue(kControlKey, L"Starting", L"1"));
    Process vantrel(installDir_ + L"\\Vantrel.exe", L"");
    ASSERT_TRUE(WaitForWindow(WindowQuery{L"" VANTREL_NAME_AND_VERSION, L"Vantrel.Config", vantrel.id(), false}, 10000ms));

    // The uninstall entry's own command: it hands over to a copy of itself
    // and returns, so the outcome is watched for.
    Process uninstall(installDir_ + L"\\uninstall.exe", L"/S");
    // Removing its own entry is the last thing it does.
    EXPECT_TRUE(WaitUntil([&] { return !ReadValue(Root::LocalMachine, kUninstallKey, L"DisplayName"); },
                          60000ms));
    EXPECT_FALSE(FolderExists(installDir_));
    EXPECT_TRUE(vantrel.WaitForExit(1000ms)) << "Vantrel still runs";
    ExpectGivenBack();
    EXPECT_EQ(ReadFileBytes(Path(L"WriteCommandTxt.ini")), "\"-multiplayer 7 \"two words\"\"\r\n");
    EXPECT_FALSE(ReadValue(Root::LocalMachine, kRunKey, L"Vantrel"));
    EXPECT_FALSE(ReadValue(Root::CurrentUser, kRunKey, L"Vantrel"));
    EXPECT_FALSE(ReadUserValue(kControlKey, L"Starting"));
}

TEST_F(Setup, TwiceThenUninstallStillGivesTheGameBack) {
    Register();
    ASSERT_EQ(RunSetup(), 0u);
    ASSERT_EQ(RunSetup(), 0u);
    ExpectSwapped();
    EXPECT_EQ(RunUninstaller(), 0u);
    ExpectGivenBack();
    EXPECT_FALSE(FileExists(installDir_ + L"\\Vantrel.exe"));
}

TEST_F(Setup, RefusesWhileTheGameRunsAndChangesNothing) {
    Register();
    const std::wstring elsewhere = scratch_.MakeSubfolder(L"running");
    ASSERT_TRUE(CopyFileTo(BuiltProgram(L"standin_game.exe"), elsewhere + L"\\game.exe"));
    ScopedEnvironment window(L"VANTREL_STANDIN_WINDOW_MS", L"30000");
    Process running(elsewhere + L"\\game.exe", L"");
    ASSERT_TRUE(WaitForWindow(WindowQuery{L"Age Of Empires II Expansion", L"", running.id()}, 10000ms));
    const auto before = FolderContents(game_);

    EXPECT_EQ(RunSetup(), 2u);
    EXPECT_TRUE(FolderContents(game_) == before);
    EXPECT_FALSE(Installed());
    EXPECT_FALSE(ReadValue(Root::LocalMachine, kUninstallKey, L"DisplayName"));
}

// A patch of the game replaced its executable after setup: a second setup
// changes nothing, and the uninstaller leaves the game folder as it is.
TEST_F(Setup, AForeignFileUnderTheGamesNameIsLeftAlone) {
    Register();
    ASSERT_EQ(RunSetup(), 0u);
    ASSERT_TRUE(WriteFileBytes(Game(), "MZ patched game"));
    const auto before = FolderContents(game_);
    EXPECT_EQ(RunSetup(), 2u);
    EXPECT_TRUE(FolderContents(game_) == before);
    EXPECT_EQ(RunUninstaller(), 0u);
    EXPECT_TRUE(FolderContents(game_) == before);
    EXPECT_FALSE(FileExists(installDir_ + L"\\Vantrel.exe"));
}

TEST_F(Setup, WithoutTheFileValueInstallsVantrelAlone) {
    Register(false);
    const auto before = FolderContents(game_);
    EXPECT_EQ(RunSetup(), 0u);
    EXPECT_TRUE(Installed());
    EXPECT_TRUE(FolderContents(game_) == before);
    // Named on the command line instead, the game gets its stub.
    ASSERT_EQ(RunSetup(L"/GAME=" + Game()), 0u);
    ExpectSwapped();
    EXPECT_EQ(RunUninstaller(), 0u);
    ExpectGivenBack();
}

// The second copy of the stub cannot be written (an older Brennic.exe is in
// use): the executable, already renamed, is put back under its name.
TEST_F(Setup, AFailedCopyPutsTheGameBack) {
    Register();
    const std::string older = stub_ + "an older build";
    ASSERT_TRUE(WriteFileBytes(Path(L"Brennic.exe"), older));
    HANDLE inUse = CreateFileW(Path(L"Brennic.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    const auto before = FolderContents(game_);
    EXPECT_EQ(RunSetup(), 2u);
    CloseHandle(inUse);
    EXPECT_TRUE(FolderContents(game_) == before);
    EXPECT_EQ(ReadFileBytes(Game()), original_);
    EXPECT_FALSE(Installed());
}

// Vantrel runs (it starts with Windows) while a newer setup runs: it is
// ended and replaced. A file setup cannot replace fails the setup, which
// leaves the earlier installation's Brennic in front. /D= naming another
// folder moves the installation there.
TEST_F(Setup, UpgradesOverARunningVantrelAndMovesOnlyWhenTold) {
    Register();
    ASSERT_EQ(RunSetup(), 0u);
    const std::wstring vantrel = installDir_ + L"\\Vantrel.exe";
    const auto built = ReadFileBytes(BuiltProgram(L"Vantrel.exe"));
    ASSERT_TRUE(built && WriteFileBytes(vantrel, *built + "an older build"));
    Process running(vantrel, L"");
    ASSERT_TRUE(WaitForWindow(WindowQuery{L"" VANTREL_NAME_AND_VERSION, L"Vantrel.Config", running.id(), false}, 10000ms));
    EXPECT_EQ(RunSetup(), 0u);
    EXPECT_TRUE(running.WaitForExit(1000ms)) << "the older Vantrel still runs";
    EXPECT_EQ(ReadFileBytes(vantrel), built);
    ExpectSwapped();
    {
        Held readme(installDir_ + L"\\README.txt");
        EXPECT_EQ(RunSetup(), 2u);
    }
    ExpectSwapped();

    const std::wstring moved = scratch_ / L"Games\\Vantrel";
    ASSERT_EQ(RunSetup(L"", moved), 0u);
    EXPECT_EQ(ReadValue(Root::LocalMachine, kUninstallKey, L"InstallLocation"), moved);
    EXPECT_FALSE(FolderExists(installDir_));
    installDir_ = moved;
    Process again(BuiltSetupProgram(), L"/S");  // without /D=: where it is
    EXPECT_EQ(again.WaitForExit(60000ms), 0u);
    EXPECT_TRUE(FileExists(moved + L"\\Vantrel.exe"));
    EXPECT_FALSE(FolderExists(L"C:\\Program Files\\Vantrel"));
    EXPECT_EQ(RunUninstaller(), 0u);
    ExpectGivenBack();
}

// /D= naming the installation's folder by its short name is that folder:
// nothing moves, and nothing of it is deleted.
TEST_F(Setup, TheShortNameOfTheSameFolderKeepsTheInstallation) {
    ASSERT_EQ(RunSetup(), 0u);
    wchar_t brief[MAX_PATH] = L"";
    ASSERT_GT(GetShortPathNameW(installDir_.c_str(), brief, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(brief), installDir_);
    EXPECT_EQ(RunSetup(L"", brief), 0u);
    EXPECT_TRUE(Installed());
    EXPECT_TRUE(FileExists(installDir_ + L"\\uninstall.exe"));
    EXPECT_EQ(ReadValue(Root::LocalMachine, kUninstallKey, L"InstallLocation"), installDir_);
}

// Vantrel.exe held open by a program that lets nobody delete it: the
// uninstaller cannot move it out of the way, so it stops before it touches
// the game folder.
TEST_F(Setup, AnUninstallThatCannotMoveVantrelChangesNothing) {
    Register();
    ASSERT_EQ(RunSetup(), 0u);
    const auto before = FolderContents(game_);
    {
        HANDLE held = CreateFileW((installDir_ + L"\\Vantrel.exe").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(RunUninstaller(), 2u);
        CloseHandle(held);
    }
    EXPECT_TRUE(FolderContents(game_) == before);
    EXPECT_TRUE(Installed());
    EXPECT_EQ(RunUninstaller(), 0u);
    ExpectGivenBack();
}

// Somebody put a second name of another file where the log goes: setup
// writes nothing through it, and does its work all the same.
TEST_F(Setup, WritesNoLogThroughAnotherFilesName) {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring log = std::wstring(temp) + L"Vantrel-setup.log", other = scratch_ / L"other.txt";
    ASSERT_TRUE(WriteFileBytes(other, "not a log"));
    DeleteFileW(log.c_str());
    ASSERT_TRUE(CreateHardLinkW(log.c_str(), other.c_str(), nullptr));
    EXPECT_EQ(RunSetup(), 0u);
    DeleteFileW(log.c_str());
    EXPECT_EQ(ReadFileBytes(other), "not a log");
    EXPECT_TRUE(Installed());
}

// A scan holds Brennic_Original.exe: the uninstaller cannot tell it is still
// the game, so it changes nothing, says why in its log, and keeps what a
// later run needs; once the file is free, that run gives the game back.
TEST_F(Setup, AHeldOriginalIsRefusedThenGivenBackByTheRetry) {
    Register();
    ASSERT_EQ(RunSetup(), 0u);
    {
        Held scan(Path(L"Brennic_Original.exe"));
        EXPECT_EQ(RunUninstaller(), 2u);
    }
    ExpectSwapped();
    EXPECT_TRUE(Installed());
    EXPECT_TRUE(ReadValue(Root::LocalMachine, kUninstallKey, L"GameSHA256"));
    EXPECT_NE(SetupLog().find("again"), std::string::npos);
    EXPECT_EQ(RunUninstaller(), 0u);
    ExpectGivenBack();
}

// The game's compatibility layers, for the player and for the machine: the
// stub under the game's name keeps only the privilege layers, the rest move
// to Brennic_Original.exe; the players may add to the log and no more (the
// switch service, not they, may create files in the game folder); the
// install folder outside Program Files is the administrators'. The
// uninstaller puts the layers back as they were and takes back the log's
// right.
TEST_F(Setup, MovesLayersAndSetsPermissionsThenTakesThemBack) {
    Register();
    const std::wstring layers = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
    ScopedValue gameLayers(Root::CurrentUser, layers, Game(), L"~ RUNASADMIN 640X480");
    ScopedValue originalLayers(Root::CurrentUser, layers, Path(L"Brennic_Original.exe"), std::nullopt);
    ScopedValue machineLayers(Root::LocalMachine, layers, Game(), L"~ HIGHDPIAWARE");
    ScopedValue machineOriginal(Root::LocalMachine, layers, Path(L"Brennic_Original.exe"), std::nullopt);
    ASSERT_TRUE(WriteFileBytes(Path(L"WriteCommandTxt.ini"), "\"-x\"\r\n"));
    const auto usersBefore = Permissions(game_).Users(true);
    ASSERT_TRUE(WriteFileBytes(scratch_ / L"probe", ""));
    const bool kept = KeepsPermissions(scratch_ / L"probe");
    ASSERT_EQ(RunSetup(), 0u);
    EXPECT_EQ(ReadValue(Root::CurrentUser, layers, Game()), L"~ RUNASADMIN");
    EXPECT_EQ(ReadValue(Root::CurrentUser, layers, Path(L"Brennic_Original.exe")), L"~ 640X480");
    EXPECT_FALSE(ReadValue(Root::LocalMachine, layers, Game()));
    EXPECT_EQ(ReadValue(Root::LocalMachine, layers, Path(L"Brennic_Original.exe")), L"~ HIGHDPIAWARE");

    if (kept) {
        EXPECT_EQ(Permissions(game_).Users(true), usersBefore);
        EXPECT_EQ(Permissions(Path(L"WriteCommandTxt.ini")).Users(true),
                  std::vector<DWORD>{FILE_APPEND_DATA | SYNCHRONIZE});
        const Permissions installed(installDir_);
        ASSERT_TRUE(installed.ok);
        EXPECT_TRUE(installed.Protected());
        WellKnownSid administrators(WinBuiltinAdministratorsSid);
        EXPECT_TRUE(EqualSid(installed.owner, administrators.bytes));
        EXPECT_EQ(installed.Users(false), std::vector<DWORD>{FILE_GENERIC_READ | FILE_GENERIC_EXECUTE});
        EXPECT_EQ(Permissions(installDir_ + L"\\Vantrel.exe").Users(false),
                  std::vector<DWORD>{FILE_GENERIC_READ | FILE_GENERIC_EXECUTE});
    }

    EXPECT_EQ(RunUninstaller(), 0u);
    ExpectGivenBack();
    EXPECT_FALSE(ReadValue(Root::CurrentUser, layers, Path(L"Brennic_Original.exe")));
    EXPECT_EQ(ReadValue(Root::CurrentUser, layers, Game()), L"~ RUNASADMIN 640X480");
    EXPECT_FALSE(ReadValue(Root::LocalMachine, layers, Path(L"Brennic_Original.exe")));
    EXPECT_EQ(ReadValue(Root::LocalMachine, layers, Game()), L"~ HIGHDPIAWARE");
    if (!kept) GTEST_SKIP() << "this system does not keep the permissions set on files; only the layers were checked";
    EXPECT_EQ(Permissions(game_).Users(true), usersBefore);
    EXPECT_TRUE(Permissions(Path(L"WriteCommandTxt.ini")).Users(true).empty());
}

// Players switch builds through the service setup installed: it starts on
// demand from the install folder, creates and deletes on.ini on request,
// stops itself when idle, and goes with the uninstaller.
TEST_F(Setup, InstallsTheSwitchServiceThatSwitchesOnRequestAndStopsWhenIdle) {
    Register();
    ASSERT_EQ(RunSetup(), 0u);
    {
        SwitchService installed;
        ASSERT_TRUE(installed.service) << GetLastError();
        EXPECT_EQ(installed.Config(), L"3 \"" + installDir_ + L"\\VantrelSwitch.exe\"");  // on demand
        EXPECT_EQ(installed.State(), DWORD{SERVICE_STOPPED});
        ASSERT_TRUE(StartServiceW(installed.service, 0, nullptr)) << GetLastError();
        ASSERT_TRUE(WaitUntil([&] { return installed.State() == SERVICE_RUNNING; }, 10000ms));
        ASSERT_TRUE(installed.Control(129));
        EXPECT_TRUE(WaitUntil([&] { return !FileExists(Path(L"on.ini")); }, 2000ms));
        ASSERT_TRUE(installed.Control(128));
        EXPECT_TRUE(WaitUntil([&] { return FileExists(Path(L"on.ini")); }, 2000ms));
        EXPECT_EQ(ReadFileBytes(Path(L"on.ini")), "");
        EXPECT_TRUE(installed.Control(200));  // taken, refused: nothing changes
        EXPECT_TRUE(FileExists(Path(L"on.ini")));
        // Half a minute after the last request it is gone.
        EXPECT_TRUE(StillTrueAfter([&] { return installed.State() == SERVICE_RUNNING; }, 20000ms));
        EXPECT_TRUE(WaitUntil([&] { return installed.State() == SERVICE_STOPPED; }, 20000ms));
    }
    EXPECT_EQ(RunUninstaller(), 0u);
    EXPECT_FALSE(SwitchService().service);
    EXPECT_FALSE(FileExists(installDir_ + L"\\VantrelSwitch.exe"));
    ExpectGivenBack();
}

// Cut off after the rename, with no record (a run of an older setup, say):
// setup does not install Vantrel alone and exit 0, it refuses and says what
// to rename. Recorded, the same state is finished.
TEST_F(Setup, AnInterruptedSwapIsRefusedWithoutARecordAndFinishedWithOne) {
    Register();
    ASSERT_TRUE(MoveFileW(Game().c_str(), Path(L"Brennic_Original.exe").c_str()));
    EXPECT_EQ(RunSetup(), 2u);
    EXPECT_FALSE(Installed());
    EXPECT_FALSE(FileExists(Game()));

    ASSERT_TRUE(MoveFileW(Path(L"Brennic_Original.exe").c_str(), Game().c_str()));
    ASSERT_EQ(RunSetup(), 0u);
    ASSERT_TRUE(DeleteFileW(Game().c_str()));
    EXPECT_EQ(RunSetup(), 0u);
    ExpectSwapped();
}

}  // namespace
