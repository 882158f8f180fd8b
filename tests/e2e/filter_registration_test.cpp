#include <gtest/gtest.h>

#include <fstream>

#include "desktop.h"
#include "program_run.h"
#include "test_environment.h"

namespace {

const wchar_t FilterServerKey[] = L"CLSID\\{55C39876-FF76-4AB0-AAB0-0A46D535A26B}\\InprocServer32";

#if defined(_WIN64)
const WORD OwnMachine = IMAGE_FILE_MACHINE_AMD64;
#else
const WORD OwnMachine = IMAGE_FILE_MACHINE_I386;
#endif

std::wstring RegisteredServerPath()
{
    wchar_t path[MAX_PATH] = L"";
    DWORD size = sizeof(path);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, FilterServerKey, nullptr, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return std::wstring();
    return path;
}

// The processor a program file is built for; 0 when it is no program file.
WORD MachineOf(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    IMAGE_DOS_HEADER dosHeader = {};
    if (!file.read(reinterpret_cast<char*>(&dosHeader), sizeof(dosHeader)) || dosHeader.e_magic != IMAGE_DOS_SIGNATURE)
        return 0;
    DWORD signature = 0;
    IMAGE_FILE_HEADER fileHeader = {};
    file.seekg(dosHeader.e_lfanew);
    if (!file.read(reinterpret_cast<char*>(&signature), sizeof(signature)) || signature != IMAGE_NT_SIGNATURE
        || !file.read(reinterpret_cast<char*>(&fileHeader), sizeof(fileHeader)))
        return 0;
    return fileHeader.Machine;
}

} // namespace

TEST(FilterRegistration, TheProgramFindsTheFilterOfItsOwnArchitectureRegisteredByTheSystemsRegsvr32)
{
    ChooseFixtureBehaviour(L"");
    ASSERT_TRUE(UnregisterServer(StandInFilter));
    ASSERT_TRUE(UnregisterServer(MisbehavingFilter));
    ASSERT_EQ(L"", RegisteredServerPath());

    const std::wstring filter = BesideDriver(StandInFilter);
    DWORD exitCode = 1;
    {
        ProgramRun regsvr32(SystemCommandLine{L"regsvr32.exe /s \"" + filter + L"\""});
        ASSERT_TRUE(regsvr32.WaitForExit(60000, &exitCode)) << "regsvr32 did not end";
        EXPECT_EQ(0u, exitCode);
    }
    const std::wstring registered = RegisteredServerPath();
    EXPECT_EQ(0, ::lstrcmpiW(filter.c_str(), registered.c_str())) << "registered: " << testing::PrintToString(registered);
    EXPECT_EQ(OwnMachine, MachineOf(registered)) << std::hex << "expected 0x" << OwnMachine << ", got 0x" << MachineOf(registered);

    ProgramRun program(L"vantor_source.exe");
    ASSERT_TRUE(program.Started());
    const HWND frame = WaitForWindow([&program] { return FindPropertyFrame(program.ProcessId()); });
    ASSERT_NE(nullptr, frame) << "the program did not find the filter";
    PressButton(frame, IDCANCEL);
    ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

// Whoever installed the other server (the real filter's maker) owns its registration: a server's
// unregistration takes back only a class that still names its own file.
TEST(FilterRegistration, UnregistrationLeavesAClassRegisteredToAnotherFileAlone)
{
    struct Case {
        const wchar_t* registered;
        const wchar_t* unregistering;
        bool classStays;
    };
    const Case cases[] = {
        {MisbehavingFilter, StandInFilter, true},
        {StandInFilter, MisbehavingFilter, true},
        {StandInFilter, StandInFilter, false},
        {MisbehavingFilter, MisbehavingFilter, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.registered) + L" registered, " + c.unregistering + L" unregisters"));
        ASSERT_TRUE(RegisterServer(c.registered));
        EXPECT_TRUE(UnregisterServer(c.unregistering));
        const std::wstring registered = RegisteredServerPath();
        if (c.classStays)
            EXPECT_EQ(0, ::lstrcmpiW(BesideDriver(c.registered).c_str(), registered.c_str()))
                << "registered: " << testing::PrintToString(registered);
        else
            EXPECT_EQ(L"", registered);
    }
    ASSERT_TRUE(UnregisterServer(MisbehavingFilter));
    ASSERT_TRUE(RegisterServer(StandInFilter));
}
