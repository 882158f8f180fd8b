// The installer as an administrator and its users meet it, from the states a machine may be in
// before: a silent install puts the program and its packs into Program Files for each
// architecture the system runs, and the stand-in filter only when asked and only where no other
// filter is registered; the installed program shows the pages of whichever filter is
// registered; the per-user values reach each user through Active Setup; and the uninstaller
// takes back what the installer wrote, leaving other filters and, unless told, the user's
// settings alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include "desktop.h"
#include "framework/interfaces/our_products.h"
#include "framework/interfaces/program_settings.h"
#include "framework/program_mgr.h"
#include "platform/com_ptr.h"
#include "platform/reg_key.h"
#include "platform/scoped_resource.h"
#include "program_run.h"
#include "shell/component_wiring.h"
#include "stream_settings.h"
#include "version.h"

namespace {

const wchar_t ProductFolder[] = L"ZELK Soft\\ZELK Vantor Source";
const wchar_t CompanyFolder[] = L"ZELK Soft";
const wchar_t CompanyKey[] = L"Software\\ZELK Soft";
const wchar_t ProductKey[] = L"Software\\ZELK Soft\\ZELK Vantor Source";
const wchar_t UninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZELK Vantor Source";
const wchar_t FilterServerKey[] = L"CLSID\\{55C39876-FF76-4AB0-AAB0-0A46D535A26B}\\InprocServer32";
const wchar_t ActiveSetupKey[] = L"Software\\Microsoft\\Active Setup\\Installed Components\\{63FEF752-C8E5-4976-BF2F-332AF5F27D1C}";
const wchar_t FilterSettingsKey[] = L"Software\\ZELK Soft\\ZELK Vantor Source Filter";
const wchar_t ProgramFile[] = L"vantor_source.exe";
const wchar_t FilterFile[] = L"vantor_source_filter.dll";
const wchar_t UninstallerFile[] = L"uninstall.exe";
const wchar_t* const InstalledFiles[] = {ProgramFile, L"lang\\english.dll", L"lang\\german.dll", L"lang\\french.dll"};
// Another maker's filter under the class id, in a folder of its own: a fixture server of the
// driver's architecture, so it registers in the driver's registry view.
const wchar_t OtherFilterFixture[] = L"misbehaving_filter.dll";
const wchar_t OtherFilterFolder[] = L"Other Maker";
// An earlier version's uninstaller that fails partway.
const wchar_t FailingUninstaller[] = L"failing_uninstaller.exe";
const wchar_t NoFilterText[] = L"Error creating settings page";
const wchar_t ShortcutName[] = L"ZELK Vantor Source.lnk";
const wchar_t ShortcutName32[] = L"ZELK Vantor Source (32-bit).lnk";
// The stand-in filter's page, which the frame shows.
const int StreamAddressId = 1001;
const DWORD InstallerTimeoutMs = 120000;

// One architecture's program folder of an installation.
struct InstalledArchitecture {
    const char* name;
    std::wstring folder;
    // The registry view of its COM registration.
    REGSAM view;
};

std::wstring SystemFolder(int csidl)
{
    wchar_t path[MAX_PATH] = L"";
    return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

std::wstring InstallerPath()
{
    const wchar_t* path = _wgetenv(L"VANTOR_TEST_INSTALLER");
    return path == nullptr ? L"" : path;
}

// Told by the bench: a 64-bit host that runs no 32-bit code runs no 32-bit Windows program.
bool Runs32BitPrograms()
{
    const wchar_t* runs = _wgetenv(L"VANTOR_TEST_RUNS_32BIT");
    return runs != nullptr && std::wstring(runs) == L"1";
}

// The driver has the architecture of its prefix, so a 64-bit driver runs on 64-bit Windows.
const bool Windows64 = sizeof(void*) == 8;

InstalledArchitecture Architecture64()
{
    return {"64-bit", SystemFolder(CSIDL_PROGRAM_FILES) + L"\\" + ProductFolder, KEY_WOW64_64KEY};
}
InstalledArchitecture Architecture32()
{
    if (Windows64)
        return {"32-bit", SystemFolder(CSIDL_PROGRAM_FILESX86) + L"\\" + ProductFolder, KEY_WOW64_32KEY};
    return {"32-bit", SystemFolder(CSIDL_PROGRAM_FILES) + L"\\" + ProductFolder, 0};
}

// What this system gets, the native architecture first.
std::vector<InstalledArchitecture> ExpectedArchitectures()
{
    if (!Windows64)
        return {Architecture32()};
    if (Runs32BitPrograms())
        return {Architecture64(), Architecture32()};
    return {Architecture64()};
}

bool IsExpected(const InstalledArchitecture& architecture)
{
    for (const InstalledArchitecture& expected : ExpectedArchitectures()) {
        if (expected.folder == architecture.folder)
            return true;
    }
    return false;
}

std::vector<InstalledArchitecture> EveryArchitecture()
{
    if (Windows64)
        return {Architecture64(), Architecture32()};
    return {Architecture32()};
}

// The registry view of the driver's own architecture, where the servers it registers go.
const REGSAM DriverView = Windows64 ? KEY_WOW64_64KEY : 0;

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool KeyExists(HKEY root, const wchar_t* path, REGSAM view)
{
    vantor::CRegKey key;
    return key.Open(root, path, KEY_READ | view) == ERROR_SUCCESS;
}

std::optional<std::wstring> ReadText(HKEY root, const wchar_t* path, const wchar_t* name, REGSAM view = 0)
{
    vantor::CRegKey key;
    if (key.Open(root, path, KEY_READ | view) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> text(32768);
    ULONG chars = static_cast<ULONG>(text.size());
    if (key.QueryStringValue(name, text.data(), &chars) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text.data());
}

std::wstring ShortcutPath(const wchar_t* name) { return SystemFolder(CSIDL_COMMON_PROGRAMS) + L"\\" + name; }

// The file a Start-menu shortcut starts; empty when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& shortcut)
{
    vantor::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.Receive()))))
        return L"";
    vantor::ComPtr<IPersistFile> file;
    if (FAILED(link.QueryInterface(file)) || FAILED(file->Load(shortcut.c_str(), STGM_READ)))
        return L"";
    wchar_t target[MAX_PATH] = L"";
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)))
        return L"";
    return target;
}

::testing::AssertionResult EndsWithZero(const std::wstring& commandLine)
{
    ProgramRun run{SystemCommandLine{commandLine}};
    if (!run.Started())
        return ::testing::AssertionFailure() << "could not start " << commandLine;
    DWORD exitCode = 0;
    if (!run.WaitForExit(InstallerTimeoutMs, &exitCode))
        return ::testing::AssertionFailure() << commandLine << " did not end";
    if (exitCode != 0)
        return ::testing::AssertionFailure() << commandLine << " ended with " << exitCode;
    return ::testing::AssertionSuccess();
}

// A silent install with the default choices, or with options such as " /STANDIN".
::testing::AssertionResult Install(const std::wstring& options = std::wstring())
{
    return EndsWithZero(Quoted(InstallerPath()) + L" /S" + options);
}

// As a user uninstalls: the uninstaller hands over to a copy of itself outside the folder and
// ends at once, so the uninstall is over only when the copy has ended too: both run in a job.
::testing::AssertionResult Uninstall(const std::wstring& options = std::wstring())
{
    const std::wstring commandLine =
        Quoted(ExpectedArchitectures().front().folder + L"\\" + UninstallerFile) + L" /S" + options;
    const vantor::ScopedHandle job(::CreateJobObjectW(nullptr, nullptr));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    if (!job || !::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                  &startup, &started))
        return ::testing::AssertionFailure() << "could not start " << commandLine;
    const vantor::ScopedHandle process(started.hProcess);
    const vantor::ScopedHandle thread(started.hThread);
    const bool inJob = ::AssignProcessToJobObject(job.Get(), process.Get()) != FALSE;
    ::ResumeThread(thread.Get());
    if (!inJob)
        return ::testing::AssertionFailure() << "could not watch " << commandLine;
    DWORD exitCode = 0;
    if (::WaitForSingleObject(process.Get(), InstallerTimeoutMs) != WAIT_OBJECT_0
        || !::GetExitCodeProcess(process.Get(), &exitCode))
        return ::testing::AssertionFailure() << commandLine << " did not end";
    if (exitCode != 0)
        return ::testing::AssertionFailure() << commandLine << " ended with " << exitCode;
    const bool copyEnded = WaitUntil(
        [&job] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
            return ::QueryInformationJobObject(job.Get(), JobObjectBasicAccountingInformation, &accounting,
                                               sizeof(accounting), nullptr)
                   && accounting.ActiveProcesses == 0;
        },
        InstallerTimeoutMs);
    if (!copyEnded)
        return ::testing::AssertionFailure() << "the uninstaller's copy did not end";
    return ::testing::AssertionSuccess();
}

// The program's own components, as the installed program builds them.
class ProgramComponents {
public:
    ProgramComponents() { RegisterComponents(::GetModuleHandleW(nullptr)); }

    template <class I>
    boost::shared_ptr<I> Get() { return OxInterfacePtr<I>(&manager, "GlobalUse").Get(); }

private:
    OxProgramMgr manager;
    ProgramMgrPublication publication{&manager};
};

const wchar_t UserLanguage[] = L"deu";
const wchar_t UserStreamAddress[] = L"rtsp://camera.example/stream";

// Settings of the user's, written as the program and the filter write them.
void WriteUserSettings()
{
    ProgramComponents program;
    ASSERT_TRUE(program.Get<IOxProgramSettings>()->SetString(L"Language\\Current", UserLanguage));
    StreamSettings stream = StreamSettings::Defaults();
    stream.streamAddress = UserStreamAddress;
    ASSERT_TRUE(stream.Save());
}

void ExpectUserSettingsKept()
{
    ProgramComponents program;
    EXPECT_EQ(UserLanguage, program.Get<IOxProgramSettings>()->GetString(L"Language\\Current", L"none"));
    EXPECT_EQ(UserStreamAddress, StreamSettings::Load().streamAddress);
}

std::optional<std::wstring> ClassServer(const InstalledArchitecture& architecture)
{
    return ReadText(HKEY_CLASSES_ROOT, FilterServerKey, nullptr, architecture.view);
}

void ExpectClassServer(const InstalledArchitecture& architecture, const std::optional<std::wstring>& expected)
{
    SCOPED_TRACE(architecture.name);
    const std::optional<std::wstring> server = ClassServer(architecture);
    if (!expected) {
        EXPECT_FALSE(server.has_value()) << "the class is registered to " << *server;
        return;
    }
    ASSERT_TRUE(server.has_value()) << "the class is not registered; expected " << *expected;
    EXPECT_TRUE(SamePath(*expected, *server)) << "expected " << *expected << ", registered " << *server;
}

// The values that tell the products component where the program is, in this account's hive.
void ExpectLocationValues(bool present)
{
    const std::optional<std::wstring> folder = ReadText(HKEY_CURRENT_USER, ProductKey, nullptr);
    const std::optional<std::wstring> file = ReadText(HKEY_CURRENT_USER, ProductKey, L"program_exe_name");
    if (present) {
        EXPECT_EQ(ExpectedArchitectures().front().folder, folder.value_or(L"none"));
        EXPECT_EQ(ProgramFile, file.value_or(L"none"));
    } else {
        EXPECT_FALSE(folder.has_value()) << "the program's folder is left: " << *folder;
        EXPECT_FALSE(file.has_value()) << "its file name is left";
    }
}

// The values as the installation wrote them for a user who has not logged on since the uninstall.
void RestoreLocationValues()
{
    vantor::CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, ProductKey, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE));
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue(nullptr, ExpectedArchitectures().front().folder.c_str()));
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue(L"program_exe_name", ProgramFile));
}

// What Active Setup runs at each user's next logon.
std::wstring ActiveSetupCommand()
{
    return ReadText(HKEY_LOCAL_MACHINE, ActiveSetupKey, L"StubPath", DriverView).value_or(L"");
}

void ExpectInstalled(bool standInChosen)
{
    const std::vector<InstalledArchitecture> expected = ExpectedArchitectures();
    for (const InstalledArchitecture& architecture : expected) {
        SCOPED_TRACE(architecture.name);
        for (const wchar_t* file : InstalledFiles)
            EXPECT_TRUE(Exists(architecture.folder + L"\\" + file)) << "missing: " << file;
        // The stand-in is there where it was chosen and its architecture had no other filter.
        const std::wstring standIn = architecture.folder + L"\\" + FilterFile;
        const std::optional<std::wstring> server = ClassServer(architecture);
        const bool standInRegistered = server && SamePath(standIn, *server);
        EXPECT_EQ(standInChosen && standInRegistered, Exists(standIn))
            << (standInChosen ? "the stand-in file without its registration, or the reverse" : "the stand-in was not chosen");
    }
    for (const InstalledArchitecture& architecture : EveryArchitecture()) {
        if (!IsExpected(architecture)) {
            EXPECT_FALSE(Exists(architecture.folder)) << architecture.name << " program installed where it cannot run";
        }
    }

    const std::wstring native = expected.front().folder;
    EXPECT_TRUE(Exists(native + L"\\" + UninstallerFile));
    ExpectLocationValues(true);

    const REGSAM nativeView = Windows64 ? KEY_WOW64_64KEY : 0;
    EXPECT_EQ(VANTOR_VERSION_TEXT, ReadText(HKEY_LOCAL_MACHINE, UninstallKey, L"DisplayVersion", nativeView).value_or(L"none"));
    EXPECT_EQ(Quoted(native + L"\\" + UninstallerFile),
              ReadText(HKEY_LOCAL_MACHINE, UninstallKey, L"UninstallString", nativeView).value_or(L"none"));
    if (Windows64) {
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey, KEY_WOW64_32KEY)) << "the uninstall entry is in the 32-bit view";
    }

    EXPECT_TRUE(SamePath(native + L"\\" + ProgramFile, ShortcutTarget(ShortcutPath(ShortcutName))));
    if (expected.size() == 2)
        EXPECT_TRUE(SamePath(expected.back().folder + L"\\" + ProgramFile, ShortcutTarget(ShortcutPath(ShortcutName32))));
    else
        EXPECT_FALSE(Exists(ShortcutPath(ShortcutName32)));
}

// Nothing of the installation is left; whatever else serves the class is looked at apart.
void ExpectNothingInstalled()
{
    for (const InstalledArchitecture& architecture : EveryArchitecture()) {
        SCOPED_TRACE(architecture.name);
        EXPECT_FALSE(Exists(architecture.folder)) << "left: " << architecture.folder;
        const std::wstring& folder = architecture.folder;
        const std::wstring company = folder.substr(0, folder.size() - std::wstring(ProductFolder).size()) + CompanyFolder;
        EXPECT_FALSE(Exists(company)) << "left: " << company;
        const std::optional<std::wstring> server = ClassServer(architecture);
        if (server) {
            EXPECT_FALSE(SamePath(folder + L"\\" + FilterFile, *server)) << "the stand-in is still registered";
        }
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey, architecture.view)) << "the uninstall entry is left";
    }
    ExpectLocationValues(false);
    EXPECT_FALSE(Exists(ShortcutPath(ShortcutName)));
    EXPECT_FALSE(Exists(ShortcutPath(ShortcutName32)));
}

// The file of the module a window of another process was made from.
std::wstring ModuleOfWindow(DWORD processId, HWND window)
{
    const vantor::ScopedHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    const HMODULE module = reinterpret_cast<HMODULE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
    wchar_t path[MAX_PATH] = L"";
    if (!process || module == nullptr || ::GetModuleFileNameExW(process.Get(), module, path, MAX_PATH) == 0)
        return L"";
    return path;
}

// Starts an architecture's installed program: it shows the pages of the server registered in
// its architecture's view (their dialog comes from that server's file), or, with none, says so.
void ExpectProgramShowsPagesOf(const InstalledArchitecture& architecture, const std::optional<std::wstring>& server)
{
    SCOPED_TRACE(architecture.name);
    ProgramRun program{SystemCommandLine{Quoted(architecture.folder + L"\\" + ProgramFile)}};
    ASSERT_TRUE(program.Started());
    DWORD exitCode = 1;
    if (server) {
        const HWND frame = WaitForWindow([&program] { return FindPropertyFrame(program.ProcessId()); });
        ASSERT_NE(nullptr, frame) << "no frame";
        const HWND field = FindDescendantById(frame, StreamAddressId);
        ASSERT_NE(nullptr, field) << "the filter's page is not in the frame";
        const std::wstring pageModule = ModuleOfWindow(program.ProcessId(), ::GetParent(field));
        EXPECT_TRUE(SamePath(*server, pageModule)) << "expected the page of " << *server << ", shown: " << pageModule;
        PressButton(frame, IDCANCEL);
    } else {
        const HWND box = WaitForWindow([&program] { return FindMessageBox(program.ProcessId()); });
        ASSERT_NE(nullptr, box) << "no message box";
        EXPECT_EQ(NoFilterText, ReadMessageBox(box).text);
        PressButton(box, IDOK);
    }
    ASSERT_TRUE(program.WaitForExit(30000, &exitCode)) << "the program did not end";
    EXPECT_EQ(0u, exitCode);
}

// Another maker's filter, registered by its own DllRegisterServer from a folder of its own as
// its installer would; unregistered and deleted again when the test ends.
class OtherFilter {
public:
    OtherFilter() : folder(SystemFolder(CSIDL_PROGRAM_FILES) + L"\\" + OtherFilterFolder), path(folder + L"\\" + FilterFile) {}
    ~OtherFilter()
    {
        CallEntry("DllUnregisterServer");
        ::DeleteFileW(path.c_str());
        ::RemoveDirectoryW(folder.c_str());
    }
    OtherFilter(const OtherFilter&) = delete;
    OtherFilter& operator=(const OtherFilter&) = delete;

    bool Register()
    {
        ::CreateDirectoryW(folder.c_str(), nullptr);
        return ::CopyFileW(BesideDriver(OtherFilterFixture).c_str(), path.c_str(), FALSE) && CallEntry("DllRegisterServer");
    }
    const std::wstring& Path() const { return path; }

private:
    bool CallEntry(const char* entry) const
    {
        const vantor::ScopedLibrary library(::LoadLibraryW(path.c_str()));
        if (!library)
            return false;
        typedef HRESULT(STDAPICALLTYPE * ServerEntry)();
        const ServerEntry call = reinterpret_cast<ServerEntry>(reinterpret_cast<void*>(::GetProcAddress(library.Get(), entry)));
        return call != nullptr && SUCCEEDED(call());
    }

    std::wstring folder;
    std::wstring path;
};

// A class registration left behind by a filter whose file is gone.
const wchar_t GoneServer[] = L"C:\\Gone Maker\\vantor_source_filter.dll";

bool RegisterGoneServer()
{
    vantor::CRegKey key;
    return key.Create(HKEY_CLASSES_ROOT, FilterServerKey, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | DriverView) == ERROR_SUCCESS
        && key.SetStringValue(nullptr, GoneServer) == ERROR_SUCCESS;
}

void DeleteFilterClass()
{
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"CLSID\\{55C39876-FF76-4AB0-AAB0-0A46D535A26B}");
}

class Installer : public ::testing::Test {
protected:
    // Every test starts from a system without the program or the user's settings.
    void SetUp() override
    {
        ASSERT_TRUE(Exists(InstallerPath())) << "no installer: " << InstallerPath();
        RemoveEverything();
        ExpectNothingInstalled();
        for (const InstalledArchitecture& architecture : EveryArchitecture())
            ExpectClassServer(architecture, std::nullopt);
    }
    void TearDown() override { RemoveEverything(); }

    static void RemoveEverything()
    {
        if (Exists(ExpectedArchitectures().front().folder + L"\\" + UninstallerFile)) {
            EXPECT_TRUE(Uninstall(L" /REMOVESETTINGS"));
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, CompanyKey);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, CompanyKey);
    }
};

// The states a machine can be in before the install.
enum class Registered { Nothing, OtherFilter, GoneFile };
enum class Earlier { None, FailingUninstaller, SameVersion };

struct MachineState {
    const char* name;
    Registered registered;
    bool standInChosen;
    Earlier earlier;
};

const MachineState MachineStates[] = {
    {"NothingRegistered", Registered::Nothing, false, Earlier::None},
    {"NothingRegisteredStandInChosen", Registered::Nothing, true, Earlier::None},
    {"OtherFilterRegistered", Registered::OtherFilter, false, Earlier::None},
    {"OtherFilterRegisteredStandInChosen", Registered::OtherFilter, true, Earlier::None},
    {"RegistrationOfAGoneFileStandInChosen", Registered::GoneFile, true, Earlier::None},
    {"EarlierInstallationWhoseUninstallerFailsPartway", Registered::Nothing, false, Earlier::FailingUninstaller},
    {"EarlierInstallationOfTheSameVersion", Registered::Nothing, false, Earlier::SameVersion},
};

void PrintTo(const MachineState& state, std::ostream* out)
{
    *out << state.name;
}

class InstallerFromMachineState : public Installer, public ::testing::WithParamInterface<MachineState> {
protected:
    void TearDown() override
    {
        Installer::TearDown();
        DeleteFilterClass();
    }

    // The server each architecture's view names after the install: another filter stays where
    // it is registered, the chosen stand-in comes everywhere else.
    std::optional<std::wstring> ExpectedServerAfterInstall(const InstalledArchitecture& architecture) const
    {
        const MachineState& state = GetParam();
        if (state.registered == Registered::OtherFilter && architecture.view == DriverView)
            return otherFilter.Path();
        if (state.standInChosen)
            return architecture.folder + L"\\" + FilterFile;
        return std::nullopt;
    }
    std::optional<std::wstring> ExpectedServerAfterUninstall(const InstalledArchitecture& architecture) const
    {
        if (GetParam().registered == Registered::OtherFilter && architecture.view == DriverView)
            return otherFilter.Path();
        return std::nullopt;
    }

    OtherFilter otherFilter;
};

} // namespace

TEST_P(InstallerFromMachineState, InstallRunAndUninstallLeaveWhatTheyDidNotWrite)
{
    const MachineState& state = GetParam();
    switch (state.registered) {
    case Registered::Nothing: break;
    case Registered::OtherFilter: ASSERT_TRUE(otherFilter.Register()); break;
    case Registered::GoneFile: ASSERT_TRUE(RegisterGoneServer()); break;
    }
    if (state.earlier != Earlier::None) {
        ASSERT_TRUE(Install());
        if (state.earlier == Earlier::FailingUninstaller) {
            const std::wstring uninstaller = ExpectedArchitectures().front().folder + L"\\" + UninstallerFile;
            ASSERT_TRUE(::CopyFileW(BesideDriver(FailingUninstaller).c_str(), uninstaller.c_str(), FALSE));
        }
    }
    WriteUserSettings();

    {
        SCOPED_TRACE("after the install");
        ASSERT_TRUE(Install(state.standInChosen ? L" /STANDIN" : L""));
        ExpectInstalled(state.standInChosen);
        for (const InstalledArchitecture& architecture : ExpectedArchitectures())
            ExpectClassServer(architecture, ExpectedServerAfterInstall(architecture));
        ExpectUserSettingsKept();
    }
    {
        SCOPED_TRACE("the installed program");
        for (const InstalledArchitecture& architecture : ExpectedArchitectures())
            ExpectProgramShowsPagesOf(architecture, ExpectedServerAfterInstall(architecture));
    }
    {
        SCOPED_TRACE("after the uninstall");
        ASSERT_TRUE(Uninstall());
        ExpectNothingInstalled();
        for (const InstalledArchitecture& architecture : EveryArchitecture())
            ExpectClassServer(architecture, ExpectedServerAfterUninstall(architecture));
        ExpectUserSettingsKept();
    }
}

INSTANTIATE_TEST_SUITE_P(Installer, InstallerFromMachineState, ::testing::ValuesIn(MachineStates),
                         [](const ::testing::TestParamInfo<MachineState>& info) { return std::string(info.param.name); });

// The stand-in registered by hand after the install is the user's, not the installation's.
TEST_F(Installer, UninstallLeavesAStandInRegisteredFromElsewhere)
{
    ASSERT_TRUE(Install(L" /STANDIN"));
    OtherFilter other;
    ASSERT_TRUE(other.Register());
    ASSERT_TRUE(Uninstall());
    ExpectNothingInstalled();
    for (const InstalledArchitecture& architecture : ExpectedArchitectures())
        ExpectClassServer(architecture, architecture.view == DriverView ? std::optional<std::wstring>(other.Path()) : std::nullopt);
}

TEST_F(Installer, ProductsComponentFindsTheInstalledProgramWithItsVersionAndIcons)
{
    ASSERT_TRUE(Install());
    ProgramComponents program;
    const boost::shared_ptr<IOxOurProducts> products = program.Get<IOxOurProducts>();
    EXPECT_TRUE(products->IsProductInstalled("ZELK"));
    std::wstring path;
    EXPECT_TRUE(products->GetProductExePath("ZELK", path));
    EXPECT_TRUE(SamePath(ExpectedArchitectures().front().folder + L"\\" + ProgramFile, path)) << path;
    int major = -1, minor = -1, build = -1;
    ASSERT_TRUE(products->GetProductVersion("ZELK", &major, &minor, &build));
    EXPECT_EQ(VANTOR_VERSION_MAJOR, major);
    EXPECT_EQ(VANTOR_VERSION_MINOR, minor);
    EXPECT_EQ(VANTOR_VERSION_PATCH, build);
    for (bool small : {false, true}) {
        const vantor::ScopedIcon icon(products->GetProductIcon("ZELK", small));
        EXPECT_TRUE(icon.IsValid()) << (small ? "no small icon" : "no large icon");
    }
}

// Under Wine there is one user, so a second user's logon cannot happen: the entry is checked,
// and its command is run by hand, as Windows runs it at a logon, for this account.
TEST_F(Installer, ActiveSetupGivesEachUserTheProgramsLocationAndTakesItBack)
{
    ASSERT_TRUE(Install());
    EXPECT_EQ(L"ZELK Vantor Source", ReadText(HKEY_LOCAL_MACHINE, ActiveSetupKey, nullptr, DriverView).value_or(L"none"));
    const std::optional<std::wstring> version = ReadText(HKEY_LOCAL_MACHINE, ActiveSetupKey, L"Version", DriverView);
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(*version, ReadText(HKEY_CURRENT_USER, ActiveSetupKey, L"Version").value_or(L"none"))
        << "this account, which has the values already, would get them again at its logon";

    // A user who has not logged on since the install.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, CompanyKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, CompanyKey);
    ASSERT_TRUE(EndsWithZero(ActiveSetupCommand()));
    ExpectLocationValues(true);

    WriteUserSettings();
    ASSERT_TRUE(Uninstall());
    EXPECT_EQ(std::wstring::npos, ActiveSetupCommand().find(L"import")) << "the entry still gives the values: " << ActiveSetupCommand();
    // A user whose values are still there at the first logon after the uninstall.
    RestoreLocationValues();
    ASSERT_TRUE(EndsWithZero(ActiveSetupCommand()));
    ExpectLocationValues(false);
    ExpectUserSettingsKept();
}

TEST_F(Installer, UninstallOfAnUnusedInstallationLeavesNoKeyOfTheCompany)
{
    ASSERT_TRUE(Install());
    ASSERT_TRUE(Uninstall());
    ExpectNothingInstalled();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, CompanyKey, 0)) << "empty keys are left";
}

TEST_F(Installer, UninstallRemovesTheUserSettingsWhenAsked)
{
    ASSERT_TRUE(Install());
    WriteUserSettings();
    ASSERT_TRUE(Uninstall(L" /REMOVESETTINGS"));
    ExpectNothingInstalled();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, CompanyKey, 0)) << "the user's settings are left";

    // Another user's settings go at that user's next logon.
    WriteUserSettings();
    RestoreLocationValues();
    ASSERT_TRUE(EndsWithZero(ActiveSetupCommand()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProductKey, 0)) << "the program's settings are left";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, FilterSettingsKey, 0)) << "the filter's settings are left";
}
