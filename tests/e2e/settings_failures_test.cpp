#include <gtest/gtest.h>

#include "desktop.h"
#include "program_run.h"
#include "test_environment.h"

namespace {

// What a user sees when the filter cannot show its settings, and how the program ends.
struct FailureCase {
    const char* name;
    const wchar_t* server;     // null: no library serves the filter's class id
    const wchar_t* behaviour;  // the fixture's misbehaviour
    const wchar_t* boxText;    // null: no message box at all
    BoxIcon icon;
    DWORD exitCode;
};

const FailureCase FailureCases[] = {
    {"FilterNotRegistered", nullptr, L"", L"Error creating settings page", BoxIcon::Error, 0},
    {"FilterWithoutPropertyPages", MisbehavingFilter, L"no-property-pages", L"Error creating settings page", BoxIcon::Error, 0},
    {"PageListFails", MisbehavingFilter, L"pages-fail", nullptr, BoxIcon::None, 0},
    {"PageListFailsLeavingAStalePointer", MisbehavingFilter, L"pages-fail-stale", nullptr, BoxIcon::None, 0},
    {"PageCausesAnAccessViolation", MisbehavingFilter, L"page-faults",
     L"The property page of this filter has just caused a memory access violation", BoxIcon::None, 0xC0000005},
};

void PrintTo(const FailureCase& failure, std::ostream* out)
{
    *out << failure.name;
}

class SettingsFailure : public ::testing::TestWithParam<FailureCase> {
protected:
    void SetUp() override
    {
        const FailureCase& failure = GetParam();
        if (failure.server == nullptr) {
            // Each server takes back only its own registration.
            ASSERT_TRUE(UnregisterServer(StandInFilter));
            ASSERT_TRUE(UnregisterServer(MisbehavingFilter));
        } else
            ASSERT_TRUE(RegisterServer(failure.server));
        ChooseFixtureBehaviour(failure.behaviour);
    }
    void TearDown() override
    {
        ChooseFixtureBehaviour(L"");
        RegisterServer(StandInFilter);
    }
};

} // namespace

TEST_P(SettingsFailure, ShowsWhatWentWrongAndEnds)
{
    const FailureCase& failure = GetParam();
    ProgramRun program(L"vantor_source.exe");
    ASSERT_TRUE(program.Started());
    DWORD exitCode = 0;
    if (failure.boxText != nullptr) {
        const HWND box = WaitForWindow([&program] { return FindMessageBox(program.ProcessId()); });
        ASSERT_NE(nullptr, box) << "no message box";
        const MessageBoxView view = ReadMessageBox(box);
        EXPECT_EQ(failure.boxText, view.text);
        EXPECT_EQ(L"Error", view.caption) << "the system's default caption";
        EXPECT_EQ(failure.icon, view.icon) << "expected " << BoxIconName(failure.icon) << ", got " << BoxIconName(view.icon);
        EXPECT_EQ(std::vector<std::wstring>{L"OK"}, view.buttons);
        EXPECT_EQ(nullptr, FindPropertyFrame(program.ProcessId())) << "a frame was shown";
        PressButton(box, IDOK);
        ASSERT_TRUE(program.WaitForExit(30000, &exitCode)) << "the program did not end";
    } else {
        bool sawWindow = false;
        const bool ended = WaitUntil([&] {
            sawWindow = sawWindow || FindMessageBox(program.ProcessId()) || FindPropertyFrame(program.ProcessId());
            return program.WaitForExit(0, &exitCode);
        }, 30000);
        ASSERT_TRUE(ended) << "the program did not end";
        EXPECT_FALSE(sawWindow) << "something was shown";
    }
    EXPECT_EQ(failure.exitCode, exitCode) << std::hex << "expected 0x" << failure.exitCode << ", got 0x" << exitCode;
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsFailure, ::testing::ValuesIn(FailureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });
