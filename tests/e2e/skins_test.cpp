#include <gtest/gtest.h>

#include "desktop.h"
#include "program_run.h"
#include "test_environment.h"

namespace {

class Skins : public ::testing::Test {
protected:
    void SetUp() override
    {
        ChooseFixtureBehaviour(L"");
        ASSERT_TRUE(RegisterServer(StandInFilter));
    }

    // The settings frame comes up, and the program ends with 0 when it is closed.
    static void ExpectTheFrame(ProgramRun& program)
    {
        const HWND frame = WaitForWindow([&program] { return FindPropertyFrame(program.ProcessId()); });
        ASSERT_NE(nullptr, frame) << "no settings frame";
        EXPECT_EQ(nullptr, FindMessageBox(program.ProcessId()));
        PressButton(frame, IDCANCEL);
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
        EXPECT_EQ(0u, exitCode);
    }
};

} // namespace

TEST_F(Skins, WithNeitherSkinsNorTheNativeLookTheProgramReportsAnErrorAndEndsWithMinusOne)
{
    ProgramRun program(L"lookless_program.exe");
    ASSERT_TRUE(program.Started());
    const HWND box = WaitForWindow([&program] { return FindMessageBox(program.ProcessId()); });
    ASSERT_NE(nullptr, box);
    const MessageBoxView view = ReadMessageBox(box);
    EXPECT_EQ(L"Program error", view.text);
    EXPECT_EQ(BoxIcon::Warning, view.icon) << "expected " << BoxIconName(BoxIcon::Warning) << ", got " << BoxIconName(view.icon);
    EXPECT_EQ(nullptr, FindPropertyFrame(program.ProcessId()));
    PressButton(box, IDOK);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
    EXPECT_EQ(ExitCodeMinusOne, exitCode);
}

TEST_F(Skins, NativeSkinOnTheCommandLineSkipsLoadingTheSkins)
{
    ProgramRun program(L"lookless_program.exe", L"--native-skin");
    ASSERT_TRUE(program.Started());
    ExpectTheFrame(program);
}

TEST_F(Skins, TheProgramLoadsItsNativeLookWithOrWithoutTheSwitch)
{
    for (const wchar_t* arguments : {L"", L"--native-skin"}) {
        ProgramRun program(L"vantor_source.exe", arguments);
        ASSERT_TRUE(program.Started());
        ExpectTheFrame(program);
    }
}
