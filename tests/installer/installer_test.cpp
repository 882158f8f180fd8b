// The installer as an administrator and its users meet it: a silent install puts the program,
// its packs and the stand-in filter into Program Files for each architecture the system runs,
// the installed program shows its frame, the products component finds it, and the
// uninstaller takes back everything but the user's settings unless told to remove those too.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
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
const wchar_t ProgramFile[] = L"vantor_source.exe";
const wchar_t FilterFile[] = L"vantor_source_filter.dll";
const wchar_t UninstallerFile[] = L"uninstall.exe";
const wchar_t* const InstalledFiles[] = {ProgramFile, FilterFile, L"lang\\english.dll", L"lang\\german.dll",
                                         L"lang\\french.dll"};
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

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool KeyExists(HKEY root, const wchar_t* path, REGSAM view)
{
    CRegKey key;
    return key.Open(root, path, KEY_READ | view) == ERROR_SUCCESS;
}

std::optional<std::wstring> ReadText(HKEY root, const wchar_t* path, const wchar_t* name, REGSAM view = 0)
{
    CRegKey key;
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
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.Receive()))))
        return L"";
    ComPtr<IPersistFile> file;
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

::testing::AssertionResult Install() { return EndsWithZero(Quoted(InstallerPath()) + L" /S"); }

// As a user uninstalls: the uninstaller hands over to a copy of itself outside the folder and
// ends at once, so the uninstall is over only when the copy has ended too: both run in a job.
::testing::AssertionResult Uninstall(const std::wstring& options = std::wstring())
{
    const std::wstring commandLine =
        Quoted(ExpectedArchitectures().front().folder + L"\\" + UninstallerFile) + L" /S" + options;
    const ScopedHandle job(::CreateJobObjectW(nullptr, nullptr));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    if (!job || !::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                  &startup, &started))
        return ::testing::AssertionFailure() << "could not start " << commandLine;
    const ScopedHandle process(started.hProcess);
    const ScopedHandle thread(started.hThread);
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

void ExpectInstalled()
{
    const std::vector<InstalledArchitecture> expected = ExpectedArchitectures();
    for (const InstalledArchitecture& architecture : expected) {
        SCOPED_TRACE(architecture.name);
        for (const wchar_t* file : InstalledFiles)
            EXPECT_TRUE(Exists(architecture.folder + L"\\" + file)) << "missing: " << file;
        const std::optional<std::wstring> server = ReadText(HKEY_CLASSES_ROOT, FilterServerKey, nullptr, architecture.view);
        ASSERT_TRUE(server.has_value()) << "the filter is not registered";
        EXPECT_TRUE(SamePath(architecture.folder + L"\\" + FilterFile, *server)) << *server;
    }
    for (const InstalledArchitecture& architecture : EveryArchitecture()) {
        if (!IsExpected(architecture)) {
            EXPECT_FALSE(Exists(architecture.folder)) << architecture.name << " program installed where it cannot run";
        }
    }

    const std::wstring native = expected.front().folder;
    EXPECT_TRUE(Exists(native + L"\\" + UninstallerFile));
    EXPECT_EQ(native, ReadText(HKEY_CURRENT_USER, ProductKey, nullptr).value_or(L"none"));
    EXPECT_EQ(ProgramFile, ReadText(HKEY_CURRENT_USER, ProductKey, L"program_exe_name").value_or(L"none"));

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

void ExpectNothingInstalled()
{
    for (const InstalledArchitecture& architecture : EveryArchitecture()) {
        SCOPED_TRACE(architecture.name);
        EXPECT_FALSE(Exists(architecture.folder)) << "left: " << architecture.folder;
        const std::wstring& folder = architecture.folder;
        const std::wstring company = folder.substr(0, folder.size() - std::wstring(ProductFolder).size()) + CompanyFolder;
        EXPECT_FALSE(Exists(company)) << "left: " << company;
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, FilterServerKey, architecture.view)) << "the filter is still registered";
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey, architecture.view)) << "the uninstall entry is left";
    }
    EXPECT_FALSE(ReadText(HKEY_CURRENT_USER, ProductKey, nullptr).has_value()) << "the program's folder is left";
    EXPECT_FALSE(ReadText(HKEY_CURRENT_USER, ProductKey, L"program_exe_name").has_value()) << "its file name is left";
    EXPECT_FALSE(Exists(ShortcutPath(ShortcutName)));
    EXPECT_FALSE(Exists(ShortcutPath(ShortcutName32)));
}

class Installer : public ::testing::Test {
protected:
    // Every test starts from a system without the program or the user's settings.
    void SetUp() override
    {
        ASSERT_TRUE(Exists(InstallerPath())) << "no installer: " << InstallerPath();
        RemoveEverything();
        ExpectNothingInstalled();
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

} // namespace

TEST_F(Installer, SilentInstallPutsEachArchitectureIntoProgramFilesWithItsFilterRegistered)
{
    ASSERT_TRUE(Install());
    ExpectInstalled();
}

TEST_F(Installer, InstalledProgramsShowTheFilterPagesAndEndWithZero)
{
    ASSERT_TRUE(Install());
    for (const InstalledArchitecture& architecture : ExpectedArchitectures()) {
        SCOPED_TRACE(architecture.name);
        ProgramRun program{SystemCommandLine{Quoted(architecture.folder + L"\\" + ProgramFile)}};
        ASSERT_TRUE(program.Started());
        const HWND frame = WaitForWindow([&program] { return FindPropertyFrame(program.ProcessId()); });
        ASSERT_NE(nullptr, frame) << "no frame";
        EXPECT_NE(nullptr, FindDescendantById(frame, StreamAddressId)) << "the filter's page is not in the frame";
        PressButton(frame, IDCANCEL);
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(30000, &exitCode)) << "the program did not end";
        EXPECT_EQ(0u, exitCode);
    }
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
        const ScopedIcon icon(products->GetProductIcon("ZELK", small));
        EXPECT_TRUE(icon.IsValid()) << (small ? "no small icon" : "no large icon");
    }
}

TEST_F(Installer, UninstallLeavesNothingButTheUserSettings)
{
    ASSERT_TRUE(Install());
    WriteUserSettings();
    ASSERT_TRUE(Uninstall());
    ExpectNothingInstalled();
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
}

TEST_F(Installer, SecondInstallOverTheFirstIsCleanAndKeepsTheUserSettings)
{
    ASSERT_TRUE(Install());
    WriteUserSettings();
    ASSERT_TRUE(Install());
    ExpectInstalled();
    ExpectUserSettingsKept();
    ASSERT_TRUE(Uninstall());
    ExpectNothingInstalled();
}
